#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "FoundationTestSupport.h"
#include "platform/foundation/DateFormatter.h"

using namespace platform;

namespace {
constexpr double kNewYear2026 = 1767225600.0;  // Thursday, 2026-01-01 00:00:00 UTC

double parsed(const DateFormatter& f, const std::string& text)
{
    auto date = f.dateFromString(text);
    return date ? date->timeIntervalSince1970() : std::numeric_limits<double>::quiet_NaN();
}
}  // namespace

TEST(DateFormatter, RailsDatesRoundTrip)
{
    const auto& rails = DateFormatter::railsFormatter();
    EXPECT_EQ(rails.dateFormat(), "yyyy-MM-dd'T'HH:mm:ss'Z'");
    EXPECT_EQ(parsed(rails, "2026-01-01T00:00:00Z"), kNewYear2026);
    EXPECT_EQ(parsed(rails, "1970-01-01T00:00:00Z"), 0.0);
    for (const char* text : {"2024-02-29T23:59:59Z", "1999-12-31T12:34:56Z", "2038-01-19T03:14:08Z", "0001-01-01T00:00:00Z"}) {
        auto date = rails.dateFromString(text);
        ASSERT_TRUE(date) << text;
        EXPECT_EQ(rails.stringFromDate(*date), text);
    }
    // Fractions are floored; instants a text cannot show give none.
    EXPECT_EQ(rails.stringFromDate(Date(kNewYear2026 + 0.9)), "2026-01-01T00:00:00Z");
    EXPECT_EQ(rails.stringFromDate(Date(-0.5)), "1969-12-31T23:59:59Z");
    for (double unshowable : {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(), 1e300})
        EXPECT_EQ(rails.stringFromDate(Date(unshowable)), "") << unshowable;
}

TEST(DateFormatter, RailsRejectsNearMissesAndHostileText)
{
    const auto& rails = DateFormatter::railsFormatter();
    for (const char* text :
         {"", "2026-13-01T00:00:00Z", "2026-00-01T00:00:00Z", "2026-01-32T00:00:00Z", "2023-02-29T00:00:00Z",
          "2026-01-01T24:00:00Z", "2026-01-01T00:60:00Z", "2026-01-01T00:00:60Z", "2026-01-01T00:00:00Zjunk",
          "2026-01-01T00:00:00", "2026-01-01 00:00:00Z", " 2026-01-01T00:00:00Z", "2026-1-01T00:00:00Z",
          "26-01-01T00:00:00Z", "20260-01-01T00:00:00Z", "2026-01-01T00:00:00+0000", "2026-01-01t00:00:00z",
          "2026-01-01", "T", "'T'", "yyyy-MM-dd'T'HH:mm:ss'Z'", "-026-01-01T00:00:00Z"})
        EXPECT_FALSE(rails.dateFromString(text)) << text;
    EXPECT_FALSE(rails.dateFromString(std::string("2026-01-01T00:00:00Z\0", 21)));
    EXPECT_FALSE(rails.dateFromString(std::string(100000, '9')));
}

TEST(DateFormatter, HttpFormatterWritesAndReadsRfc822Dates)
{
    const auto& http = DateFormatter::httpFormatter();
    EXPECT_EQ(http.stringFromDate(Date(kNewYear2026)), "Thu, 01 Jan 2026 00:00:00 +0000");
    EXPECT_EQ(http.stringFromDate(Date(kNewYear2026 + 86400 * 45 + 3723)), "Sun, 15 Feb 2026 01:02:03 +0000");
    EXPECT_EQ(parsed(http, "Thu, 01 Jan 2026 00:00:00 +0000"), kNewYear2026);
    EXPECT_EQ(parsed(http, "Thu, 01 Jan 2026 01:00:00 +0100"), kNewYear2026);
    EXPECT_EQ(parsed(http, "Wed, 31 Dec 2025 19:00:00 -0500"), kNewYear2026);
    EXPECT_EQ(parsed(http, "thu, 01 JAN 2026 00:00:00 GMT"), kNewYear2026);
    for (const char* text : {"Thu, 01 Jan 2026 00:00:00", "Thx, 01 Jan 2026 00:00:00 +0000",
                             "Thu, 01 Foo 2026 00:00:00 +0000", "Thu 01 Jan 2026 00:00:00 +0000",
                             "Thu, 1 Jan 2026 00:00:00 +0000", "Thu, 01 Jan 2026 00:00:00 +2400",
                             "Thu, 01 Jan 2026 00:00:00 +01", "Thu, 31 Feb 2026 00:00:00 +0000"})
        EXPECT_FALSE(http.dateFromString(text)) << text;
}

TEST(DateFormatter, SqlDatesWithZoneNames)
{
    // The unlock-date reader appends " GMT" to a 19-character text before parsing.
    DateFormatter sql("yyy-MM-dd HH:mm:ss zzz");
    std::string stored = "2026-01-01 12:30:00";
    ASSERT_EQ(stored.size(), 19u);
    EXPECT_EQ(parsed(sql, stored + " GMT"), kNewYear2026 + 45000);
    EXPECT_EQ(parsed(sql, "2026-01-01 12:30:00 UTC"), kNewYear2026 + 45000);
    EXPECT_EQ(parsed(sql, "2026-01-01 12:30:00 GMT+01:00"), kNewYear2026 + 45000 - 3600);
    EXPECT_EQ(parsed(sql, "2026-01-01 12:30:00 GMT-5"), kNewYear2026 + 45000 + 5 * 3600);
    EXPECT_FALSE(sql.dateFromString(stored));
    EXPECT_FALSE(sql.dateFromString(stored + " PST"));
    EXPECT_FALSE(sql.dateFromString(stored + " GMT+"));
    EXPECT_EQ(sql.stringFromDate(Date(kNewYear2026 + 45000)), "2026-01-01 12:30:00 GMT");
    // An early year is written with the four digits reading asks for.
    const auto early = sql.dateFromString("0999-01-01 00:00:00 GMT");
    ASSERT_TRUE(early);
    EXPECT_EQ(sql.stringFromDate(*early), "0999-01-01 00:00:00 GMT");
}

TEST(DateFormatter, NormalFormatterShowsAReadableTwelveHourTime)
{
    const auto& normal = DateFormatter::normalFormatter();
    EXPECT_EQ(normal.stringFromDate(Date(kNewYear2026)), "Jan 1, 2026 12:00 AM");
    EXPECT_EQ(normal.stringFromDate(Date(kNewYear2026 + 13 * 3600 + 5 * 60)), "Jan 1, 2026 1:05 PM");
    EXPECT_EQ(normal.stringFromDate(Date(kNewYear2026 + 12 * 3600)), "Jan 1, 2026 12:00 PM");
    EXPECT_EQ(parsed(normal, "Jan 1, 2026 1:05 PM"), kNewYear2026 + 13 * 3600 + 5 * 60);
    EXPECT_FALSE(normal.dateFromString("Jan 1, 2026 13:05 PM"));
}

TEST(DateFormatter, UnsupportedPatternIsReportedAndNeverMatches)
{
    foundationtest::ScopedProgrammingErrors errors;
    DateFormatter odd("yyyy-QQ");
    ASSERT_EQ(errors.texts.size(), 1u);
    EXPECT_NE(errors.texts[0].find("QQ"), std::string::npos);
    EXPECT_FALSE(odd.dateFromString("2026-01"));
    EXPECT_EQ(odd.stringFromDate(Date(0)), "");
    // A field of one or two digits run into digits would write minute 3 as
    // "30" and read it back as 30; two digits, or a separator, read back.
    DateFormatter runTogether("m0");
    ASSERT_EQ(errors.texts.size(), 2u);
    EXPECT_FALSE(runTogether.dateFromString("30"));
    EXPECT_EQ(runTogether.stringFromDate(Date(180)), "");
    DateFormatter fixed("HHmm");
    const auto read = fixed.dateFromString(fixed.stringFromDate(Date(9 * 3600 + 180)));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->timeIntervalSince1970(), 9 * 3600 + 180);
    EXPECT_EQ(errors.texts.size(), 2u);
    // A zone name reads the offset after it as its own: "zZZ" would read
    // "ZZ" and write "GMT+0000", which no longer reads. An offset after a
    // separator reads back. A pattern with several faults is reported once.
    DateFormatter zones("zZZ");
    EXPECT_EQ(errors.texts.size(), 3u);
    EXPECT_FALSE(zones.dateFromString("ZZ"));
    DateFormatter apart("z ZZ");
    const auto zoned = apart.dateFromString(apart.stringFromDate(Date(60)));
    ASSERT_TRUE(zoned);
    EXPECT_EQ(zoned->timeIntervalSince1970(), 0);
    DateFormatter manyFaults("QQ qq m0");
    EXPECT_EQ(errors.texts.size(), 4u);
}

TEST(DateFormatter, OutputIgnoresTheProcessLocale)
{
    foundationtest::ScopedCommaLocale locale;
    if (!locale.active()) GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_EQ(DateFormatter::httpFormatter().stringFromDate(Date(kNewYear2026)), "Thu, 01 Jan 2026 00:00:00 +0000");
    EXPECT_EQ(parsed(DateFormatter::httpFormatter(), "Thu, 01 Jan 2026 00:00:00 +0000"), kNewYear2026);
}
