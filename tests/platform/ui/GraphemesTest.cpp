#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ui/Graphemes.h"

using namespace platform::ui;

namespace {

using Clusters = std::vector<std::u32string>;

Clusters clusters(const std::u32string& text)
{
    Clusters out;
    for (size_t start = 0, end = 0; start < text.size(); start = end) {
        end = graphemes::clusterEnd(text, start);
        out.push_back(text.substr(start, end - start));
    }
    return out;
}

// Unicode's own data files, from Debian's unicode-data (scripts/setup
// installs it). A machine without them skips the cases that read them,
// except under CI, where a silent skip would hide the check.
std::string unicodeDataPath(const char* name)
{
    return std::string(HC_UNICODE_DATA_DIR) + "/" + name;
}

#define OPEN_UNICODE_DATA(stream, name)                                                              \
    std::ifstream stream(unicodeDataPath(name));                                                     \
    if (!stream) {                                                                                   \
        const char* ci = std::getenv("CI");                                                          \
        if (ci && std::string(ci) == "true") FAIL() << "no " << unicodeDataPath(name);               \
        GTEST_SKIP() << "no " << unicodeDataPath(name) << " (Debian's unicode-data, scripts/setup)"; \
    }

// "÷ 0061 × 0301 ÷ 0062 ÷" as the clusters it marks: ÷ allows a break, ×
// forbids one.
Clusters expectedClusters(const std::string& line)
{
    Clusters out;
    std::istringstream words(line);
    std::string word;
    while (words >> word) {
        if (word == "\u00F7") {
            out.emplace_back();
        } else if (word != "\u00D7") {
            out.back().push_back(static_cast<char32_t>(std::stoul(word, nullptr, 16)));
        }
    }
    out.pop_back();  // the ÷ that ends the text opens nothing
    return out;
}

struct PropertyRange {
    char32_t first;
    char32_t last;
    std::string property;
};

// The code points of the property file, leaving out the ones no character
// is assigned to yet (general category Cn).
std::vector<PropertyRange> assignedRanges(std::istream& in)
{
    std::vector<PropertyRange> out;
    std::string line;
    while (std::getline(in, line)) {
        const auto semicolon = line.find(';');
        const auto hash = line.find('#');
        if (line.empty() || line[0] == '#' || semicolon == std::string::npos || hash == std::string::npos) continue;
        if (line.compare(hash, 4, "# Cn") == 0) continue;
        PropertyRange range;
        const auto dots = line.find("..");
        range.first = static_cast<char32_t>(std::stoul(line.substr(0, semicolon), nullptr, 16));
        range.last = dots < semicolon ? static_cast<char32_t>(std::stoul(line.substr(dots + 2), nullptr, 16))
                                      : range.first;
        std::istringstream(line.substr(semicolon + 1, hash - semicolon - 1)) >> range.property;
        out.push_back(range);
    }
    return out;
}

// The smallest text that shows what a character of `property` does at a
// cluster's edge, and the clusters the standard makes of it.
Clusters smallestExample(char32_t c, const std::string& property, std::u32string& text)
{
    constexpr char32_t letter = U'a';
    constexpr char32_t mark = U'\u0301';
    if (property == "Extend" || property == "SpacingMark" || property == "ZWJ") {
        text = {letter, c};
        return {text};
    }
    if (property == "Prepend") {
        text = {c, letter};
        return {text};
    }
    if (property == "Control" || property == "CR" || property == "LF") {
        text = {c, mark};
        return {{c}, {mark}};
    }
    if (property == "Regional_Indicator") {
        text = {c, c, c};
        return {{c, c}, {c}};
    }
    if (property == "L") text = {c, U'\u1161'};        // a vowel follows
    if (property == "V") text = {U'\u1100', c};        // after a leading consonant
    if (property == "T") text = {U'\uAC00', c};        // after a syllable with no final
    if (property == "LV" || property == "LVT") text = {c, U'\u11A8'};
    return {text};
}

}  // namespace

TEST(GraphemesTest, EveryCaseOfUnicodesOwnBreakTestAgrees)
{
    OPEN_UNICODE_DATA(in, "GraphemeBreakTest.txt");
    std::string line;
    int cases = 0;
    int disagreeing = 0;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        if (line.find("\u00F7") == std::string::npos) continue;
        const Clusters expected = expectedClusters(line);
        std::u32string text;
        for (const auto& cluster : expected) text += cluster;
        ++cases;
        if (clusters(text) != expected) {
            ++disagreeing;
            ADD_FAILURE() << "splits differently from the standard: " << line;
        }
    }
    EXPECT_GT(cases, 600) << "the test file was not read whole";
    EXPECT_EQ(disagreeing, 0) << "of " << cases;
}

TEST(GraphemesTest, EveryAssignedCharacterOfThePropertyFileJoinsOrBreaksAsItsClassSays)
{
    OPEN_UNICODE_DATA(in, "GraphemeBreakProperty.txt");
    int checked = 0;
    int wrong = 0;
    for (const PropertyRange& range : assignedRanges(in)) {
        for (char32_t c = range.first; c <= range.last; ++c) {
            std::u32string text;
            const Clusters expected = smallestExample(c, range.property, text);
            ++checked;
            if (clusters(text) != expected && ++wrong <= 20) {
                ADD_FAILURE() << std::hex << "U+" << static_cast<unsigned long>(c) << " (" << range.property << ")";
            }
        }
    }
    EXPECT_GT(checked, 13'000) << "the property file was not read whole";
    EXPECT_EQ(wrong, 0) << "of " << checked;
}

TEST(GraphemesTest, WhatThePlayerSeesAsOneCharacterStaysWhole)
{
    // Thai's SARA AM after its consonant, a Devanagari vowel sign, Hangul
    // jamo spelling one syllable, an Arabic number sign before its digits.
    EXPECT_EQ(clusters(U"\u0E17\u0E33\u0915\u093F\u1100\u1161\u11A8\u0600\u0661"),
              (Clusters{U"\u0E17\u0E33", U"\u0915\u093F", U"\u1100\u1161\u11A8", U"\u0600\u0661"}));
    EXPECT_EQ(clusters(U"1\uFE0F\u20E3\U0001F44B\U0001F3FD"), (Clusters{U"1\uFE0F\u20E3", U"\U0001F44B\U0001F3FD"}));
    const std::u32string family = U"\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466";
    const std::u32string england = U"\U0001F3F4\U000E0067\U000E0062\U000E0065\U000E006E\U000E0067\U000E007F";
    EXPECT_EQ(clusters(family + england), (Clusters{family, england}));
    // Three indicators: one flag and a lone half, not a flag straddling two;
    // a joiner between two flags joins neither.
    EXPECT_EQ(clusters(U"\U0001F1EB\U0001F1F7\U0001F1E9x"), (Clusters{U"\U0001F1EB\U0001F1F7", U"\U0001F1E9", U"x"}));
    EXPECT_EQ(clusters(U"\U0001F1EB\U0001F1F7\u200D\U0001F1E9\U0001F1EA"),
              (Clusters{U"\U0001F1EB\U0001F1F7\u200D", U"\U0001F1E9\U0001F1EA"}));
    // A joiner joins pictographs only: after a letter it stays with the
    // letter, and the next letter starts anew.
    EXPECT_EQ(clusters(U"\u845B\U000E0100a\u200Db\u0301c"), (Clusters{U"\u845B\U000E0100", U"a\u200D", U"b\u0301", U"c"}));
}

TEST(GraphemesTest, ControlsTakeNoMarksAndOddValuesStandAlone)
{
    // A zero-width space and a soft hyphen's neighbour: the first is a
    // control and takes nothing, the second is a mark of its own kind.
    EXPECT_EQ(clusters(U"\r\n\n\r\u0301\u0301a\u200B\u0301"),
              (Clusters{U"\r\n", U"\n", U"\r", U"\u0301\u0301", U"a", U"\u200B", U"\u0301"}));
    EXPECT_EQ(clusters(U"a\u200D\u2028\u200D"), (Clusters{U"a\u200D", U"\u2028", U"\u200D"}));
    const std::u32string marks(10'000, U'\u0301');
    EXPECT_EQ(clusters(U"a" + marks + U"b"), (Clusters{U"a" + marks, U"b"}));
    // Values no decoder would give still end somewhere.
    const std::u32string odd{U'a', char32_t{0x110000}, U'\u0301', char32_t{0xFFFFFFFF}, char32_t{0xD800}, U'\u0301'};
    size_t total = 0;
    for (const auto& cluster : clusters(odd)) total += cluster.size();
    EXPECT_EQ(total, odd.size());
}
