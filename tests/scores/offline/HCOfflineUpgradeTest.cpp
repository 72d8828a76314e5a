// Every older layout of the offline database, made with its own CREATE
// statements and holding pending rows, brought to the current layout with
// nothing lost; a step that fails leaves the file as it was.
#include <gtest/gtest.h>

#include <ctime>
#include <initializer_list>
#include <string_view>

#include "scores/support/OfflineStoreFixture.h"
#include "scores/support/SqlPeek.h"

using testsupport::sqlRows;
using testsupport::sqlValue;

namespace {

// The first layouts, before and with the version table.
constexpr const char* kUnlocksV1 =
    "CREATE TABLE unlocked_achievements(user_id INTEGER NOT NULL, achievement_definition_id INTEGER NOT NULL, "
    "created_at INTEGER DEFAULT NULL);"
    "INSERT INTO unlocked_achievements VALUES (7, 100, 1600000000), (7, 101, 1600000001), (8, 100, NULL);";
constexpr const char* kDefinitionsV1 =
    "CREATE TABLE achievement_definitions(id INTEGER NOT NULL, title TEXT DEFAULT NULL, description TEXT DEFAULT "
    "NULL, gamerscore INTEGER DEFAULT 0, is_secret INTEGER DEFAULT 0, icon_file_name TEXT DEFAULT NULL, "
    "server_sync_at INTEGER DEFAULT NULL);"
    "INSERT INTO achievement_definitions (id, title) VALUES (100, 'First');";
constexpr const char* kHighScoresV0 =
    "CREATE TABLE high_scores(user_id INTEGER NOT NULL, leaderboard_id INTEGER NOT NULL, score INTEGER DEFAULT 0, "
    "server_sync_at INTEGER DEFAULT NULL, UNIQUE(leaderboard_id, user_id, score));"
    "INSERT INTO high_scores VALUES (7, 10, 500, NULL), (7, 10, 400, 1700000000), (8, 11, 9, NULL);";
constexpr const char* kHighScoresV1 =
    "CREATE TABLE high_scores(user_id INTEGER NOT NULL, leaderboard_id INTEGER NOT NULL, score INTEGER DEFAULT 0, "
    "display_text TEXT DEFAULT NULL, server_sync_at INTEGER DEFAULT NULL, UNIQUE(leaderboard_id, user_id, score));"
    "INSERT INTO high_scores VALUES (7, 10, 500, '500 pts', NULL), (7, 10, 400, NULL, 1700000000);";
constexpr const char* kVersionTable =
    "CREATE TABLE table_versions(name TEXT NOT NULL,version INTEGER NOT NULL,UNIQUE(name));";

// One SQL script from its parts. Appended rather than chained with `+`,
// whose inlined moves gcc's optimiser misreads as out-of-bounds copies.
std::string script(std::initializer_list<std::string_view> parts)
{
    std::string joined;
    for (auto part : parts) joined.append(part);
    return joined;
}

class OfflineUpgradeTest : public testsupport::OfflineStoreFixture {
protected:
    std::vector<std::string> scores()
    {
        return sqlRows(db(), "SELECT user_id, leaderboard_id, score, display_text, custom_data, server_sync_at, blob "
                             "FROM high_scores ORDER BY user_id, leaderboard_id, score");
    }
    std::string versions() { return sqlRows(db(), "SELECT group_concat(name || '=' || version, ' ') FROM (SELECT * FROM table_versions ORDER BY name)").front(); }

    static constexpr const char* kCurrentVersions =
        "achievement_definitions=3 high_scores=3 leaderboard_aggregations=1 leaderboards=1 table_versions=1 "
        "unlocked_achievements=3 users=1";
};

TEST_F(OfflineUpgradeTest, AFileFromBeforeTheVersionTableKeepsItsUnlocksAsPendingAndItsScores)
{
    long long before = std::time(nullptr);
    ASSERT_TRUE(startOnFile(script({kUnlocksV1, kDefinitionsV1, kHighScoresV0})));
    long long after = std::time(nullptr);
    ASSERT_TRUE(HCOfflineService::sharedInstance()->schemaOutcome().all());
    EXPECT_EQ(versions(), kCurrentVersions);

    // The same pairs, each a pending unlock of 100 % dated at the upgrade.
    EXPECT_EQ(sqlRows(db(), "SELECT user_id, achievement_definition_id, gamerscore, percent_complete, "
                            "server_sync_at FROM unlocked_achievements ORDER BY user_id, achievement_definition_id"),
              (std::vector<std::string>{"7|100|0|100.0|NULL", "7|101|0|100.0|NULL", "8|100|0|100.0|NULL"}));
    auto oldest = std::stoll(sqlValue(db(), "SELECT MIN(created_at) FROM unlocked_achievements"));
    auto newest = std::stoll(sqlValue(db(), "SELECT MAX(created_at) FROM unlocked_achievements"));
    EXPECT_GE(oldest, before);
    EXPECT_LE(newest, after);
    EXPECT_EQ(sqlValue(db(), "SELECT name FROM pragma_table_info('unlocked_achievements') WHERE cid = 5"),
              "percent_complete");
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM sqlite_master WHERE name = 'unlocked_achievements_save'"), "0");
    // The definitions are asked for again at the next log-in.
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM achievement_definitions"), "0");
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM pragma_table_info('achievement_definitions')"), "10");

    // A scores table without a version row gains every later column, rows kept.
    EXPECT_EQ(scores(), (std::vector<std::string>{"7|10|400|NULL|NULL|1700000000|NULL", "7|10|500|NULL|NULL|NULL|NULL",
                                                  "8|11|9|NULL|NULL|NULL|NULL"}));
}

TEST_F(OfflineUpgradeTest, VersionOneTablesAreRebuiltOrExtendedWithNothingLost)
{
    ASSERT_TRUE(startOnFile(script({kVersionTable,
                                    "INSERT INTO table_versions VALUES ('unlocked_achievements', 1), "
                                    "('achievement_definitions', 1), ('high_scores', 1);",
                                    kUnlocksV1, kDefinitionsV1, kHighScoresV1})));
    ASSERT_TRUE(HCOfflineService::sharedInstance()->schemaOutcome().all());
    EXPECT_EQ(versions(), kCurrentVersions);
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM unlocked_achievements WHERE server_sync_at IS NULL"), "3");
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM pragma_table_info('achievement_definitions')"), "10");
    EXPECT_EQ(scores(), (std::vector<std::string>{"7|10|400|NULL|NULL|1700000000|NULL",
                                                  "7|10|500|500 pts|NULL|NULL|NULL"}));
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM pragma_table_info('high_scores')"), "7");
}

TEST_F(OfflineUpgradeTest, VersionTwoTablesGainTheirLastColumnsAndKeepTheirRows)
{
    ASSERT_TRUE(startOnFile(script({
        kVersionTable,
        "INSERT INTO table_versions VALUES ('unlocked_achievements', 2), ('achievement_definitions', 2), "
        "('high_scores', 2);"
        "CREATE TABLE unlocked_achievements(user_id INTEGER NOT NULL, achievement_definition_id INTEGER NOT NULL, "
        "gamerscore INTEGER DEFAULT 0, created_at INTEGER DEFAULT NULL, server_sync_at INTEGER DEFAULT NULL);"
        "CREATE UNIQUE INDEX unlocked_achievements_index ON unlocked_achievements (achievement_definition_id, "
        "user_id);"
        "INSERT INTO unlocked_achievements VALUES (7, 100, 10, 1600000000, NULL), (7, 101, 20, 1600000001, "
        "1600000002);"
        "CREATE TABLE achievement_definitions(id INTEGER NOT NULL, title TEXT DEFAULT NULL, description TEXT "
        "DEFAULT NULL, gamerscore INTEGER DEFAULT 0, is_secret INTEGER DEFAULT 0, icon_file_name TEXT DEFAULT NULL, "
        "start_version TEXT DEFAULT NULL, end_version TEXT DEFAULT NULL, server_sync_at INTEGER DEFAULT NULL);"
        "INSERT INTO achievement_definitions (id, title, start_version) VALUES (100, 'First', '0001.00.00');"
        "CREATE TABLE high_scores(user_id INTEGER NOT NULL, leaderboard_id INTEGER NOT NULL, score INTEGER DEFAULT "
        "0, display_text TEXT DEFAULT NULL, custom_data TEXT DEFAULT NULL, server_sync_at INTEGER DEFAULT NULL, "
        "UNIQUE(leaderboard_id, user_id, score));"
        "INSERT INTO high_scores VALUES (7, 10, 500, '500 pts', 'level=3', NULL);"})));
    ASSERT_TRUE(HCOfflineService::sharedInstance()->schemaOutcome().all());
    EXPECT_EQ(versions(), kCurrentVersions);
    EXPECT_EQ(sqlRows(db(), "SELECT achievement_definition_id, gamerscore, created_at, server_sync_at, "
                            "percent_complete FROM unlocked_achievements ORDER BY achievement_definition_id"),
              (std::vector<std::string>{"100|10|1600000000|NULL|100.0", "101|20|1600000001|1600000002|100.0"}));
    EXPECT_EQ(sqlRows(db(), "SELECT id, title, start_version, position FROM achievement_definitions"),
              (std::vector<std::string>{"100|First|0001.00.00|0"}));
    EXPECT_EQ(scores(), (std::vector<std::string>{"7|10|500|500 pts|level=3|NULL|NULL"}));
}

TEST_F(OfflineUpgradeTest, UnlocksLeftInTheSaveTableByAnUpgradeCutShortAreRestored)
{
    // An earlier client copied the unlocks aside and dropped the table, then
    // was killed before it put them back.
    ASSERT_TRUE(startOnFile(script({kVersionTable,
                                    "INSERT INTO table_versions VALUES ('unlocked_achievements', 1);"
                                    "CREATE TABLE unlocked_achievements_save(user_id INTEGER, "
                                    "achievement_definition_id INTEGER);"
                                    "INSERT INTO unlocked_achievements_save VALUES (7, 100), (7, 100), (9, 102);"})));
    ASSERT_TRUE(HCOfflineService::sharedInstance()->schemaOutcome().all());
    EXPECT_EQ(sqlRows(db(), "SELECT user_id, achievement_definition_id, server_sync_at FROM unlocked_achievements "
                            "ORDER BY user_id"),
              (std::vector<std::string>{"7|100|NULL", "9|102|NULL"}));
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM sqlite_master WHERE name = 'unlocked_achievements_save'"), "0");
}

TEST_F(OfflineUpgradeTest, AStepThatFailsKeepsTheOriginalTablesAndTheOtherGroupsComeUp)
{
    // A view where the upgrade puts its copy makes the copy step fail.
    std::string oldFile = script({kVersionTable,
                                  "INSERT INTO table_versions VALUES ('unlocked_achievements', 1), ('high_scores', 1);",
                                  kUnlocksV1, kDefinitionsV1, kHighScoresV1,
                                  "CREATE VIEW unlocked_achievements_save AS SELECT * FROM unlocked_achievements;"});
    ASSERT_TRUE(startOnFile(oldFile));
    auto outcome = HCOfflineService::sharedInstance()->schemaOutcome();
    EXPECT_FALSE(outcome.achievements);
    EXPECT_TRUE(outcome.highScores && outcome.leaderboards && outcome.users);

    EXPECT_EQ(HCOfflineService::getTableVersion("unlocked_achievements"), 1);
    EXPECT_EQ(sqlRows(db(), "SELECT user_id, achievement_definition_id, created_at FROM unlocked_achievements "
                            "ORDER BY user_id, achievement_definition_id"),
              (std::vector<std::string>{"7|100|1600000000", "7|101|1600000001", "8|100|NULL"}));
    EXPECT_EQ(sqlRows(db(), "SELECT id, title FROM achievement_definitions"), (std::vector<std::string>{"100|First"}));
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM sqlite_master WHERE name = 'unlocked_achievements_synch_date'"),
              "0");
    EXPECT_EQ(HCOfflineService::getTableVersion("high_scores"), 3);

    // With the obstacle gone, the next start finishes the upgrade.
    ASSERT_TRUE(testsupport::sqlExec(db(), "DROP VIEW unlocked_achievements_save"));
    stopStore();
    startStore();
    EXPECT_TRUE(HCOfflineService::sharedInstance()->schemaOutcome().all());
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM unlocked_achievements WHERE server_sync_at IS NULL"), "3");
}

}  // namespace
