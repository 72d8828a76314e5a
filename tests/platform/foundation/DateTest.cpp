#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "FoundationTestSupport.h"
#include "platform/foundation/Date.h"
#include "support/TestSupport.h"

using namespace platform;
using testsupport::ScopedManualClock;

TEST(Date, NowAndIntervalsFollowTheClock)
{
    ScopedManualClock clock;
    auto start = Date::now();
    EXPECT_EQ(start->timeIntervalSince1970(), ManualClock::kDefaultStart);
    auto inTen = Date::dateWithTimeIntervalSinceNow(10);
    clock.advance(4);
    EXPECT_DOUBLE_EQ(start->timeIntervalSinceNow(), -4.0);
    EXPECT_DOUBLE_EQ(inTen->timeIntervalSinceNow(), 6.0);
    EXPECT_DOUBLE_EQ(inTen->timeIntervalSinceDate(*start), 10.0);
    EXPECT_EQ(start->description(), "2026-01-01 00:00:00 +0000");
}

TEST(Date, LaterAndEarlierAnswerTheReceiverWhenEqual)
{
    auto a = Date::dateWithTimeIntervalSince1970(100);
    auto sameInstant = Date::dateWithTimeIntervalSince1970(100);
    auto later = Date::dateWithTimeIntervalSince1970(101);
    // Identity matters: callers store a date only when laterDate answers the new object.
    EXPECT_EQ(a->laterDate(sameInstant), a);
    EXPECT_EQ(a->earlierDate(sameInstant), a);
    EXPECT_EQ(a->laterDate(later), later);
    EXPECT_EQ(later->laterDate(a), later);
    EXPECT_EQ(later->earlierDate(a), a);
    EXPECT_EQ(a->laterDate(nullptr), a);
}
