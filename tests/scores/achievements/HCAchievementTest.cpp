// Reading achievements and unlock replies from the server's XML, and the
// percentage rule.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/replies/HCPaginatedSeries.h"
#include "scores/achievements/HCAchievement.h"
#include "scores/achievements/HCAchievementService.h"
#include "scores/achievements/HCUnlockedAchievement.h"
#include "scores/support/ServiceXml.h"

namespace {

using AchievementXmlTest = testsupport::ServiceXmlTest<HCAchievementService>;

}  // namespace

TEST_F(AchievementXmlTest, AchievementElementFillsEveryFieldAndUnlockDatesWithoutZoneAreGmt)
{
    auto series = read(
        "<resources><achievement><id>7</id><title>First &amp; best</title><description>d</description>"
        "<gamerscore>25</gamerscore><icon_url>http://x/i.png</icon_url><is_secret>true</is_secret>"
        "<percent_complete>33.3</percent_complete><is_unlocked_by_compared_to_user>1</is_unlocked_by_compared_to_user>"
        "<compared_to_user_id>1002</compared_to_user_id><unlock_date>2026-01-01 00:00:05</unlock_date>"
        "<position>3</position><end_version>0002.00.00</end_version><start_version>0001.00.00</start_version>"
        "</achievement>"
        "<achievement><id>8</id><unlock_date>2026-01-01 00:00:05 GMT</unlock_date></achievement>"
        "<achievement><id>9</id><unlock_date></unlock_date></achievement>"
        "<achievement><id>10</id><unlock_date>yesterday at noon</unlock_date></achievement></resources>");
    ASSERT_EQ(series->count(), 4u);
    auto a = platform::as<HCAchievement>(series->objectAtIndex(0));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->resourceId(), "7");
    EXPECT_EQ(a->title(), "First & best");
    EXPECT_EQ(a->gamerscore(), 25u);
    EXPECT_EQ(a->iconUrl(), "http://x/i.png");
    EXPECT_TRUE(a->isSecret());
    EXPECT_EQ(a->percentComplete(), 33.3);
    EXPECT_FALSE(a->isUnlocked());
    EXPECT_TRUE(a->isUnlockedByComparedToUser());
    EXPECT_EQ(a->comparedToUserId(), "1002");
    EXPECT_EQ(a->position(), 3u);
    EXPECT_EQ(a->startVersion(), "0001.00.00");
    EXPECT_EQ(a->endVersion(), "0002.00.00");
    ASSERT_TRUE(a->unlockDate());
    EXPECT_EQ(a->unlockDate()->timeIntervalSince1970(), 1767225605.0);

    auto zoned = platform::as<HCAchievement>(series->objectAtIndex(1));
    ASSERT_TRUE(zoned->unlockDate());
    EXPECT_EQ(zoned->unlockDate()->timeIntervalSince1970(), 1767225605.0);
    EXPECT_EQ(platform::as<HCAchievement>(series->objectAtIndex(2))->unlockDate(), nullptr);
    EXPECT_EQ(platform::as<HCAchievement>(series->objectAtIndex(3))->unlockDate(), nullptr);
}

TEST_F(AchievementXmlTest, UnlockReplyEntriesCarryTheirAchievementResultAndPercentage)
{
    auto series = read(
        "<resources><unlocked_achievement><achievement_definition><id>1</id><gamerscore>10</gamerscore>"
        "<unlock_date>2026-01-01 00:00:05</unlock_date></achievement_definition><result>unlocked</result>"
        "<percent_complete>100.000000</percent_complete></unlocked_achievement>"
        "<unlocked_achievement><achievement_definition><id>999</id></achievement_definition><result>invalid</result>"
        "<percent_complete>0.000000</percent_complete></unlocked_achievement>"
        "<unlocked_achievement><result>updated</result><percent_complete>not a number</percent_complete>"
        "</unlocked_achievement></resources>");
    ASSERT_EQ(series->count(), 3u);
    auto unlocked = platform::as<HCUnlockedAchievement>(series->objectAtIndex(0));
    ASSERT_TRUE(unlocked && unlocked->achievement());
    EXPECT_EQ(unlocked->achievement()->resourceId(), "1");
    EXPECT_EQ(unlocked->achievement()->gamerscore(), 10u);
    EXPECT_FALSE(unlocked->isInvalidResult());
    EXPECT_EQ(unlocked->percentComplete(), 100.0);
    EXPECT_TRUE(platform::as<HCUnlockedAchievement>(series->objectAtIndex(1))->isInvalidResult());
    auto bare = platform::as<HCUnlockedAchievement>(series->objectAtIndex(2));
    EXPECT_EQ(bare->achievement(), nullptr);
    EXPECT_FALSE(bare->isInvalidResult());
    EXPECT_EQ(bare->percentComplete(), 0.0);
}

TEST(AchievementPercentTest, ClampsToZeroToHundredAndCountsNoNumberAsHundred)
{
    EXPECT_EQ(HCAchievementService::clampPercent(150.0), 100.0);
    EXPECT_EQ(HCAchievementService::clampPercent(-5.0), 0.0);
    EXPECT_EQ(HCAchievementService::clampPercent(std::numeric_limits<double>::quiet_NaN()), 100.0);
    EXPECT_EQ(HCAchievementService::clampPercent(std::numeric_limits<double>::infinity()), 100.0);
    EXPECT_EQ(HCAchievementService::clampPercent(-std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_EQ(HCAchievementService::clampPercent(99.99), 99.99);
    EXPECT_FALSE(HCResource::initWithId<HCAchievement>("1")->isUnlocked());
}
