// The achievement statements on a real offline database: progress only
// rises and stays pending until the server confirms at least as much, rows
// of no user merge into a user's, doubles stay doubles, and the local list
// shows only this version's achievements with unlock dates only at 100 %.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "scores/achievements/HCAchievement.h"
#include "scores/achievements/HCAchievementService.h"
#include "scores/achievements/HCAchievementStore.h"
#include "scores/support/OfflineStoreFixture.h"
#include "scores/support/SqlPeek.h"

using testsupport::sqlRows;

namespace {

class AchievementStoreTest : public testsupport::OfflineStoreFixture {
protected:
    void SetUp() override
    {
        OfflineStoreFixture::SetUp();
        clock = std::make_unique<testsupport::ScopedManualClock>();
        HCAchievementService::initializeService();
        // 1 to 3 belong to this version ("0001.02.00"), 4 ended with 0001.01.00.
        exec("INSERT INTO achievement_definitions (id, title, description, gamerscore, is_secret, icon_file_name, "
             "position, start_version, end_version) VALUES "
             "(1, 'One', 'first', 10, 0, 'one.png', 2, '0000.00.00', '9999.99.99'),"
             "(2, NULL, NULL, 20, 1, NULL, 1, '0000.00.00', '9999.99.99'),"
             "(3, 'Three', 'third', 0, 0, 'three.png', 3, '0001.02.00', '0001.02.00'),"
             "(4, 'Old', 'gone', 5, 0, 'old.png', 0, '0000.00.00', '0001.01.00')");
    }
    void TearDown() override
    {
        HCAchievementService::shutdownService();
        clock.reset();
        OfflineStoreFixture::TearDown();
    }

    void exec(const std::string& sql)
    {
        char* error = nullptr;
        ASSERT_EQ(sqlite3_exec(db(), sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    }

    // "percent|pending" of a row, "none" without one.
    std::string row(const char* achievement, const char* user)
    {
        std::string result = "none";
        const std::string sql = std::string("SELECT percent_complete, server_sync_at IS NULL FROM unlocked_achievements "
                                            "WHERE achievement_definition_id = ") +
                                achievement + " AND user_id = " + user;
        sqlite3_exec(
            db(), sql.c_str(),
            [](void* out, int, char** values, char**) {
                *static_cast<std::string*>(out) = std::string(values[0]) + (std::string(values[1]) == "1" ? "|pending" : "|confirmed");
                return 0;
            },
            &result, nullptr);
        return result;
    }

    int rowCount(const std::string& where)
    {
        int count = -1;
        const std::string sql = "SELECT COUNT(*) FROM unlocked_achievements WHERE " + where;
        sqlite3_exec(
            db(), sql.c_str(),
            [](void* out, int, char** values, char**) {
                *static_cast<int*>(out) = std::atoi(values[0]);
                return 0;
            },
            &count, nullptr);
        return count;
    }

    std::unique_ptr<testsupport::ScopedManualClock> clock;
};

}  // namespace

TEST_F(AchievementStoreTest, ProgressOnlyRisesAndStaysPendingUntilTheServerConfirmsAsMuch)
{
    auto& c = mainConnection();
    ASSERT_TRUE(HCAchievementStore::writeLocalProgress(c, "1", "1001", 40.0));
    // A lower local value changes nothing, and is no failure of the store.
    ASSERT_TRUE(HCAchievementStore::writeLocalProgress(c, "1", "1001", 20.0));
    EXPECT_EQ(row("1", "1001"), "40.0|pending");

    // The server confirming less (the bootstrap's older view) keeps the
    // higher local value pending.
    auto serverDate = platform::Date::dateWithTimeIntervalSince1970(1767225000);
    ASSERT_TRUE(HCAchievementStore::writeConfirmed(c, "1", "1001", "10", serverDate, 25.0));
    EXPECT_EQ(row("1", "1001"), "40.0|pending");
    ASSERT_EQ(HCAchievementStore::pendingAchievements(c, "1001").size(), 1u);

    // Confirming as much makes it confirmed; a later raise is pending again.
    ASSERT_TRUE(HCAchievementStore::writeConfirmed(c, "1", "1001", "10", serverDate, 40.0));
    EXPECT_EQ(row("1", "1001"), "40.0|confirmed");
    EXPECT_TRUE(HCAchievementStore::pendingAchievements(c, "1001").empty());
    ASSERT_TRUE(HCAchievementStore::writeLocalProgress(c, "1", "1001", 60.0));
    EXPECT_EQ(row("1", "1001"), "60.0|pending");

    // A confirmed value above the local one wins; no number, or a value
    // above 100, is not stored.
    ASSERT_TRUE(HCAchievementStore::writeConfirmed(c, "1", "1001", "10", serverDate, 80.0));
    EXPECT_EQ(row("1", "1001"), "80.0|confirmed");
    EXPECT_FALSE(HCAchievementStore::writeConfirmed(c, "1", "1001", "10", serverDate, std::nan("")));
    EXPECT_FALSE(HCAchievementStore::writeConfirmed(c, "2", "1001", "20", nullptr, 150.0));
    EXPECT_EQ(row("1", "1001"), "80.0|confirmed");
    EXPECT_EQ(row("2", "1001"), "none");
}

TEST_F(AchievementStoreTest, PercentagesReadBackAsTheSameDoubleAtTheirTravellingPrecision)
{
    auto& c = mainConnection();
    const double third = 33.333333;
    ASSERT_TRUE(HCAchievementStore::writeLocalProgress(c, "1", "1001", 33.3));
    ASSERT_TRUE(HCAchievementStore::writeLocalProgress(c, "2", "1001", 100.0 / 3.0));
    EXPECT_EQ(HCAchievementStore::percentComplete(c, "1", "1001"), 33.3);
    EXPECT_EQ(HCAchievementStore::percentComplete(c, "2", "1001"), third);
    const auto pending = HCAchievementStore::pendingAchievements(c, "1001");
    ASSERT_EQ(pending.size(), 2u);
    EXPECT_EQ(pending[0].achievementId, "1");
    EXPECT_EQ(pending[0].percentComplete, 33.3);
    EXPECT_EQ(pending[1].percentComplete, third);
    EXPECT_EQ(HCAchievementStore::percentComplete(c, "3", "1001"), 0.0);
}

TEST_F(AchievementStoreTest, RowsOfNoUserMergeIntoTheUsersKeepingTheHigherProgress)
{
    auto& c = mainConnection();
    exec("INSERT INTO unlocked_achievements (user_id, achievement_definition_id, percent_complete, created_at, "
         "server_sync_at) VALUES (0, 1, 90, 100, NULL), (0, 2, 10, 100, 100), (0, 3, 100, 100, NULL),"
         "(1001, 1, 50, 50, NULL), (1001, 2, 70, 50, 50), (1002, 3, 20, 50, NULL)");
    ASSERT_TRUE(HCAchievementStore::adoptRowsWithoutUser(c, "1001"));
    EXPECT_EQ(rowCount("user_id = 0 OR user_id IS NULL"), 0);
    EXPECT_EQ(rowCount("user_id = 1001"), 3);
    EXPECT_EQ(row("1", "1001"), "90.0|pending");     // no user's was higher
    EXPECT_EQ(row("2", "1001"), "70.0|confirmed");   // the user's was higher: untouched
    EXPECT_EQ(row("3", "1001"), "100.0|pending");    // only no user had it
    EXPECT_EQ(row("3", "1002"), "20.0|pending");     // another user's rows stay theirs
    // Nothing left to adopt is no failure.
    EXPECT_TRUE(HCAchievementStore::adoptRowsWithoutUser(c, "1001"));
}

TEST_F(AchievementStoreTest, LocalListShowsThisVersionWithUnlockDatesOnlyAtHundredAndNullTextsAsNil)
{
    auto& c = mainConnection();
    clock->clock().set(1767226000);
    ASSERT_TRUE(HCAchievementStore::writeLocalProgress(c, "3", "1001", 40.0));
    clock->clock().set(1767227000);
    ASSERT_TRUE(HCAchievementStore::writeLocalProgress(c, "1", "1001", 100.0));
    ASSERT_TRUE(HCAchievementStore::writeLocalProgress(c, "4", "1001", 100.0));

    const auto list = HCAchievementStore::achievementsWithProgress(c, "0001.02.00", "1001");
    ASSERT_EQ(list.size(), 3u);
    // Progress first, newest first; then by position.
    EXPECT_EQ(list[0]->resourceId(), "1");
    EXPECT_EQ(list[1]->resourceId(), "3");
    EXPECT_EQ(list[2]->resourceId(), "2");
    ASSERT_TRUE(list[0]->unlockDate());
    EXPECT_EQ(list[0]->unlockDate()->timeIntervalSince1970(), 1767227000.0);
    EXPECT_EQ(list[1]->unlockDate(), nullptr);
    EXPECT_EQ(list[2]->title(), std::nullopt);
    EXPECT_EQ(list[2]->descriptionText(), std::nullopt);
    EXPECT_EQ(list[2]->iconUrl(), std::nullopt);
    EXPECT_TRUE(list[2]->isSecret());
    EXPECT_EQ(list[2]->gamerscore(), 20u);

    EXPECT_EQ(HCAchievementStore::achievementWithProgress(c, "0001.02.00", "1001", "4"), nullptr);
    EXPECT_EQ(HCAchievementStore::achievementWithProgress(c, "0001.02.00", "1001", "77"), nullptr);
    EXPECT_EQ(HCAchievementStore::definition(c, "77"), nullptr);
    ASSERT_TRUE(HCAchievementStore::definition(c, "4"));
    EXPECT_EQ(HCAchievementStore::definition(c, "4")->unlockDate(), nullptr);
}

TEST_F(AchievementStoreTest, ServerDefinitionsReplaceTheLocalOnesAndBringTheUsersProgress)
{
    auto& c = mainConnection();
    clock->clock().set(1767230000);
    ASSERT_TRUE(HCAchievementStore::writeLocalProgress(c, "1", "1001", 60.0));
    EXPECT_EQ(HCAchievementStore::lastSyncDate(c, std::string("1001")), "1970-01-01 00:00:00");

    auto one = HCResource::initWithId<HCAchievement>("1");
    one->setTitle(std::string("One, renamed"));
    one->setPercentComplete(30.0);  // the server is behind the pending 60
    auto five = HCResource::initWithId<HCAchievement>("5");
    five->setStartVersion(std::string("0000.00.00"));
    five->setEndVersion(std::string("9999.99.99"));
    five->setPercentComplete(100.0);
    five->setUnlockDate(platform::Date::dateWithTimeIntervalSince1970(1767220000));
    auto nameless = std::make_shared<HCAchievement>();  // no id: skipped, the rest stored
    ASSERT_TRUE(HCAchievementStore::writeDefinitions(c, {one, five, nameless}, std::string("1001")));

    EXPECT_EQ(row("1", "1001"), "60.0|pending");
    EXPECT_EQ(row("5", "1001"), "100.0|confirmed");
    EXPECT_EQ(HCAchievementStore::definition(c, "1")->title(), "One, renamed");
    EXPECT_EQ(HCAchievementStore::lastSyncDate(c, std::string("1001")), "2026-01-01 01:13:20");
    // A user never synchronised asks for everything.
    EXPECT_EQ(HCAchievementStore::lastSyncDate(c, std::string("1002")), "1970-01-01 00:00:00");
    EXPECT_EQ(HCAchievementStore::lastSyncDate(c, std::nullopt), "1970-01-01 00:00:00");
}

TEST_F(AchievementStoreTest, AFailedWriteIsReportedAndLeavesNothingHalfDone)
{
    auto& c = mainConnection();
    ASSERT_TRUE(HCAchievementStore::writeLocalProgress(c, "1", "1001", 10.0));
    exec("CREATE TRIGGER refuse BEFORE UPDATE ON unlocked_achievements BEGIN SELECT RAISE(ABORT, 'full'); END");
    EXPECT_FALSE(HCAchievementStore::writeLocalProgress(c, "1", "1001", 50.0));
    EXPECT_EQ(row("1", "1001"), "10.0|pending");

    auto one = HCResource::initWithId<HCAchievement>("1");
    one->setPercentComplete(100.0);
    auto nine = HCResource::initWithId<HCAchievement>("9");
    EXPECT_FALSE(HCAchievementStore::writeDefinitions(c, {nine, one}, std::string("1001")));
    EXPECT_EQ(HCAchievementStore::definition(c, "9"), nullptr);
    EXPECT_EQ(HCAchievementStore::lastSyncDate(c, std::string("1001")), "1970-01-01 00:00:00");
}

TEST_F(AchievementStoreTest, ServerProgressOutsideZeroToHundredIsNoValueAndKeepsTheDefinitionsAndTheLocalUnlock)
{
    auto& c = mainConnection();
    ASSERT_TRUE(HCAchievementStore::writeLocalProgress(c, "1", "1001", 40.0));
    auto definition = [](const char* id, double percent) {
        auto achievement = HCResource::initWithId<HCAchievement>(id);
        achievement->setTitle(std::string("Sent"));
        achievement->setPercentComplete(percent);
        return achievement;
    };
    ASSERT_TRUE(HCAchievementStore::writeDefinitions(
        c, {definition("1", 150.0), definition("2", -5.0), definition("3", std::numeric_limits<double>::infinity()),
            definition("5", 60.0)},
        std::string("1001")));
    EXPECT_EQ(row("1", "1001"), "40.0|pending") << "the player's own progress still goes up to the server";
    EXPECT_EQ(row("2", "1001"), "none");
    EXPECT_EQ(row("3", "1001"), "none");
    EXPECT_EQ(row("5", "1001"), "60.0|confirmed");
    EXPECT_EQ(sqlRows(db(), "SELECT title FROM achievement_definitions WHERE id IN (1, 2, 3, 5) ORDER BY id"),
              (std::vector<std::string>{"Sent", "Sent", "Sent", "Sent"}));
    // An unlock reply's entry the same way.
    EXPECT_FALSE(HCAchievementStore::writeConfirmed(c, "2", "1001", "20", nullptr, 100.5));
    EXPECT_EQ(row("2", "1001"), "none");
}

TEST_F(AchievementStoreTest, DefinitionsWhoseIdIsNoWholeNumberAreSkippedAndTheRestKept)
{
    // Blanks around a number are the XML's indentation; what else is in the text is not.
    auto& c = mainConnection();
    std::vector<std::shared_ptr<HCAchievement>> sent;
    for (const char* id : {"NaN", "1.5", "7 ", "0x10", "2026-01-01", "6", "9223372036854775808", "2147483648"}) {
        auto achievement = HCResource::initWithId<HCAchievement>(id);
        achievement->setPercentComplete(100.0);
        sent.push_back(achievement);
    }
    ASSERT_TRUE(HCAchievementStore::writeDefinitions(c, sent, std::string("1001")));
    EXPECT_EQ(sqlRows(db(), "SELECT id, typeof(id) FROM achievement_definitions WHERE id NOT IN (1, 2, 3, 4) "
                            "ORDER BY id"),
              (std::vector<std::string>{"6|integer", "7|integer", "2147483648|integer"}));
    EXPECT_EQ(sqlRows(db(), "SELECT achievement_definition_id, typeof(achievement_definition_id) FROM "
                            "unlocked_achievements ORDER BY 1"),
              (std::vector<std::string>{"6|integer", "7|integer", "2147483648|integer"}));
}

TEST_F(AchievementStoreTest, ProgressIsStoredAsItTravelsAndAnOlderRowWithMoreDigitsIsConfirmedByWhatWasSent)
{
    auto& c = mainConnection();
    ASSERT_TRUE(HCAchievementStore::writeLocalProgress(c, "1", "1001", 200.0 / 9.0));
    EXPECT_EQ(HCAchievementStore::percentComplete(c, "1", "1001"), 22.222222);
    ASSERT_TRUE(HCAchievementStore::writeConfirmed(c, "1", "1001", "10", nullptr, 22.222222));
    EXPECT_EQ(row("1", "1001"), "22.222222|confirmed");

    // A row an earlier version wrote with every digit is sent, and confirmed, as it travels.
    exec("INSERT INTO unlocked_achievements (user_id, achievement_definition_id, percent_complete, created_at, "
         "server_sync_at) VALUES (1001, 2, 66.666666666666671, 100, NULL)");
    const auto pending = HCAchievementStore::pendingAchievements(c, "1001");
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].percentComplete, 66.666667);
    ASSERT_TRUE(HCAchievementStore::writeConfirmed(c, "2", "1001", "20", nullptr, 66.666667));
    EXPECT_TRUE(HCAchievementStore::pendingAchievements(c, "1001").empty());
    // Less than that on the wire is still less.
    ASSERT_TRUE(HCAchievementStore::writeLocalProgress(c, "3", "1001", 50.000001));
    ASSERT_TRUE(HCAchievementStore::writeConfirmed(c, "3", "1001", "0", nullptr, 50.0));
    EXPECT_EQ(row("3", "1001"), "50.000001|pending");
}
