#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Graphemes.h"

using namespace platform::ui;

namespace {

std::vector<std::u32string> clusters(const std::u32string& text)
{
    std::vector<std::u32string> out;
    for (size_t start = 0, end = 0; start < text.size(); start = end) {
        end = graphemes::clusterEnd(text, start);
        out.push_back(text.substr(start, end - start));
    }
    return out;
}

using Clusters = std::vector<std::u32string>;

}  // namespace

TEST(GraphemesTest, ABaseKeepsWhatExtendsItAndFlagsPairTwoByTwo)
{
    EXPECT_EQ(clusters(U"e\u0301x"), (Clusters{U"e\u0301", U"x"}));
    EXPECT_EQ(clusters(U"\u0628\u064E\u0915\u093F\u1100\u1161\u11A8"),
              (Clusters{U"\u0628\u064E", U"\u0915\u093F", U"\u1100\u1161\u11A8"}));
    EXPECT_EQ(clusters(U"1\uFE0F\u20E3\U0001F44B\U0001F3FD"), (Clusters{U"1\uFE0F\u20E3", U"\U0001F44B\U0001F3FD"}));
    const std::u32string family = U"\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466";
    const std::u32string england = U"\U0001F3F4\U000E0067\U000E0062\U000E0065\U000E006E\U000E0067\U000E007F";
    EXPECT_EQ(clusters(family + england), (Clusters{family, england}));
    // Three indicators: one flag and a lone half, not a flag straddling two.
    EXPECT_EQ(clusters(U"\U0001F1EB\U0001F1F7\U0001F1E9x"), (Clusters{U"\U0001F1EB\U0001F1F7", U"\U0001F1E9", U"x"}));
    // A selector from the supplement, a joiner and the mark after a joined character stay on.
    EXPECT_EQ(clusters(U"\u845B\U000E0100a\u200Db\u0301c"), (Clusters{U"\u845B\U000E0100", U"a\u200Db\u0301", U"c"}));
}

TEST(GraphemesTest, ControlsTakeNoMarksAndMarksWithoutABaseStandTogether)
{
    EXPECT_EQ(clusters(U"\r\n\n\r\u0301\u0301a"), (Clusters{U"\r\n", U"\n", U"\r", U"\u0301\u0301", U"a"}));
    EXPECT_EQ(clusters(U"a\u200D\u2028\u200D"), (Clusters{U"a\u200D", U"\u2028", U"\u200D"}));
    const std::u32string marks(10'000, U'\u0301');
    EXPECT_EQ(clusters(U"a" + marks + U"b"), (Clusters{U"a" + marks, U"b"}));
}
