#include <gtest/gtest.h>

#include "platform/ui/Utf8.h"

using namespace platform::ui;

TEST(Utf8Test, CutsOnlyBetweenCodePointsAndBrokenBytesCountAsOneEach)
{
    const std::string text = "a\u00e9\u4e2d\U0001F600b";  // 1, 2, 3, 4 and 1 bytes
    EXPECT_EQ(utf8::length(text), 5u);
    EXPECT_EQ(utf8::substring(text, 3, 1), "\U0001F600");
    EXPECT_EQ(utf8::replace(text, 1, 3, "-"), "a-b");
    EXPECT_EQ(utf8::replace(text, 9, 2, "!"), text + "!");
    // A lone continuation byte, an overlong '/', a cut-off 3-byte sequence at the end.
    const std::string broken = std::string("x\x80y") + "\xC0\xAF" + "\xE4\xB8";
    const auto cps = utf8::decode(broken);
    ASSERT_EQ(cps.size(), 7u);
    EXPECT_EQ(cps[1], 0xFFFDu);
    EXPECT_EQ(cps[2], U'y');
    EXPECT_EQ(utf8::length(broken), cps.size());
}
