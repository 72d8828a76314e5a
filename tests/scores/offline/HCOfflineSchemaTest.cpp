// The offline database as a new file makes it: every table at its current
// layout, on write-ahead logging, with both connections open.
#include <gtest/gtest.h>

#include "scores/offline/HCOfflineSchema.h"
#include "scores/support/OfflineStoreFixture.h"
#include "scores/support/SqlPeek.h"

using testsupport::sqlRows;
using testsupport::sqlValue;

namespace {

class OfflineSchemaTest : public testsupport::OfflineStoreFixture {};

TEST_F(OfflineSchemaTest, NewFileHoldsEveryTableAtItsCurrentVersionOnWriteAheadLogging)
{
    ASSERT_TRUE(HCOfflineService::sharedInstance()->schemaOutcome().all());
    EXPECT_EQ(sqlRows(db(), "SELECT name, version FROM table_versions ORDER BY name"),
              (std::vector<std::string>{"achievement_definitions|3", "high_scores|3", "leaderboard_aggregations|1",
                                        "leaderboards|1", "table_versions|1", "unlocked_achievements|3",
                                        "users|1"}));
    EXPECT_EQ(sqlRows(db(), "SELECT name FROM pragma_table_info('unlocked_achievements')"),
              (std::vector<std::string>{"user_id", "achievement_definition_id", "gamerscore", "created_at",
                                        "server_sync_at", "percent_complete"}));
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM pragma_table_info('high_scores')"), "7");
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM pragma_table_info('achievement_definitions')"), "10");
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM pragma_table_info('leaderboards')"), "10");
    EXPECT_EQ(sqlRows(db(), "SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL ORDER BY name"),
              (std::vector<std::string>{"achievement_definitions_index", "high_scores_index",
                                        "leaderboard_aggregations_index", "leaderboards_index",
                                        "unlocked_achievements_index", "unlocked_achievements_synch_date_index",
                                        "users_index"}));
    EXPECT_EQ(sqlValue(db(), "PRAGMA journal_mode"), "wal");
    EXPECT_TRUE(HCOfflineDatabase::current()->bootstrapConnection().isOpen());
    EXPECT_EQ(HCOfflineService::getTableVersion("no_such_table"), 0);

    // A second start finds everything in place and changes nothing.
    stopStore();
    startStore();
    EXPECT_TRUE(HCOfflineService::sharedInstance()->schemaOutcome().all());
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM table_versions"), "7");
}

TEST_F(OfflineSchemaTest, FormattedVersionTakesThreeNumericComponents)
{
    // Each version is read by a store started with it.
    auto formatted = [this](const std::string& version) {
        HCSettings::Instance()->setObject(version, HCSettings::kBundleVersionKey);
        stopStore();
        startStore();
        return HCOfflineService::getFormattedAppVersion();
    };
    EXPECT_EQ(formatted("1.2"), "0001.02.00");
    EXPECT_EQ(formatted("2.10.3.4"), "0002.10.03");
    EXPECT_EQ(formatted("beta"), "0000.00.00");
    EXPECT_EQ(formatted(""), "0000.00.00");

    // Worked out once, then kept while the store runs.
    EXPECT_EQ(formatted("3.1"), "0003.01.00");
    HCSettings::Instance()->setObject("4.0", HCSettings::kBundleVersionKey);
    EXPECT_EQ(HCOfflineService::getFormattedAppVersion(), "0003.01.00");
}

}  // namespace
