#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "FoundationTestSupport.h"
#include "platform/foundation/TextConversions.h"

using namespace platform;

TEST(TextConversions, BoolValueReadsYesTrueAndNonZeroDigitsAfterBlanksSignAndZeros)
{
    for (const char* yes : {"YES", "yes", "Y", "true", "T", "t", "1", "9", "  \t\nyes", "+1", "-1", "0007",
                            "-0001", "00y", "  +00T", "12abc"})
        EXPECT_TRUE(boolValue(yes)) << yes;
    for (const char* no : {"", "   ", "NO", "no", "false", "0", "000", "+0", "-", "+-1", "0.5", "x1", " n", "00"})
        EXPECT_FALSE(boolValue(no)) << no;
}

TEST(TextConversions, IntegerReadingsTakeTheLeadingNumberAndSaturate)
{
    const std::pair<const char*, int> ints[] = {{"42abc", 42}, {"  -17 apples", -17}, {"+5", 5}, {"007", 7},
                                                {"abc", 0}, {"", 0}, {"- 5", 0}, {"3.9", 3},
                                                {"2147483648", INT_MAX}, {"-2147483649", INT_MIN},
                                                {"99999999999999999999999999", INT_MAX}};
    for (const auto& [text, value] : ints) EXPECT_EQ(intValue(text), value) << text;
    EXPECT_EQ(longLongValue("9223372036854775808"), LLONG_MAX);
    EXPECT_EQ(longLongValue("-99999999999999999999"), LLONG_MIN);
    EXPECT_EQ(longLongValue("  12345678901"), 12345678901LL);
    EXPECT_EQ(integerValue("-12345678901x"), -12345678901L);
    EXPECT_EQ(integerValue("000000000000000000000000000042"), 42);
}

TEST(TextConversions, DoubleValueReadsPlainDecimalsOnly)
{
    const std::pair<const char*, double> doubles[] = {{"  -2.25e2xyz", -225.0}, {"+.5", 0.5}, {"5.", 5.0}, {"1e+", 1.0},
                                                      {"1,5", 1.0},           {"1e400", HUGE_VAL}, {"1e-400", 0.0},
                                                      {"inf", 0.0},           {"nan", 0.0},       {"0x10", 0.0},
                                                      {".", 0.0},             {"-", 0.0}};
    for (const auto& [text, value] : doubles) EXPECT_EQ(doubleValue(text), value) << text;
}

TEST(TextConversions, DoubleValueIgnoresTheProcessLocale)
{
    foundationtest::ScopedCommaLocale locale;
    if (!locale.active()) GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_DOUBLE_EQ(doubleValue("3.75"), 3.75);
    EXPECT_DOUBLE_EQ(doubleValue("3,75"), 3.0);
}
