#include <gtest/gtest.h>

#include <limits>

#include "FoundationTestSupport.h"
#include "platform/foundation/Values.h"

using namespace platform;

TEST(Values, RealNumbersPrintTheShortestRoundTripTextInAnyLocale)
{
    foundationtest::ScopedCommaLocale comma;
    if (!comma.active()) GTEST_SKIP() << "no decimal-comma locale installed";
    EXPECT_EQ(Number(0.1).stringValue(), "0.1");
    EXPECT_EQ(Number(2.5).description(), "2.5");
    EXPECT_EQ(Number(static_cast<long long>(-7)).stringValue(), "-7");
    EXPECT_EQ(Number(true).stringValue(), "1");
}

TEST(Values, DictionaryKeepsInsertionOrderAndReplacesInPlace)
{
    auto d = Dictionary::make();
    d->setString("b", "1");
    d->setString("a", "2");
    d->setString("b", "3");
    EXPECT_EQ(d->allKeys(), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(d->stringForKey("b"), "3");
    d->setObject("b", nullptr);
    EXPECT_EQ(d->allKeys(), (std::vector<std::string>{"a"}));
}

TEST(Values, NumberConversionsSaturateAndRememberBooleans)
{
    EXPECT_EQ(Number(1e30).intValue(), 2147483647);
    EXPECT_EQ(Number(-1e30).longLongValue(), std::numeric_limits<long long>::min());
    EXPECT_TRUE(Number(true).isBoolean());
    EXPECT_FALSE(Number(1).isBoolean());
    EXPECT_TRUE(Number(1) == Number(true));
}
