// The offline configuration file of the bundle: imported at start-up once
// per modification time, also when it holds nothing usable.
#include <gtest/gtest.h>
#include <sys/time.h>

#include <filesystem>
#include <fstream>

#include "core/halcyon/Halcyon.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "platform/foundation/UserDefaults.h"
#include "scores/support/OfflineStoreFixture.h"
#include "scores/support/SqlPeek.h"

using testsupport::sqlExec;
using testsupport::sqlRows;
using testsupport::sqlValue;

namespace {

class OfflineConfigImportTest : public testsupport::OfflineStoreFixture {
protected:
    void TearDown() override
    {
        OfflineStoreFixture::TearDown();
        platform::UserDefaults::resetStandardUserDefaults();
    }

    std::string file() const { return platform::Sandbox::bundlePath() + "/halcyon_offline_config.xml"; }

    // Writes the file dated `seconds` and restarts the store on it.
    void restartWith(const std::string& text, long seconds)
    {
        std::filesystem::create_directories(platform::Sandbox::bundlePath());
        std::ofstream(file(), std::ios::trunc) << text;
        timeval times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(utimes(file().c_str(), times), 0);
        stopStore();
        startStore();
    }

    static constexpr const char* kConfig =
        "<resources><offline><leaderboards><leaderboard><id>10</id><name>Points</name><active>1</active>"
        "<score>900</score></leaderboard></leaderboards><leaderboard_aggregations><leaderboard_aggregation>"
        "<aggregate_leaderboard_id>20</aggregate_leaderboard_id><leaderboard_pushing_changes_id>10"
        "</leaderboard_pushing_changes_id></leaderboard_aggregation></leaderboard_aggregations></offline>"
        "<game_profile_page_info><name>Tolvarine</name><has_leaderboards>1</has_leaderboards>"
        "</game_profile_page_info></resources>";
};

TEST_F(OfflineConfigImportTest, ImportedOncePerModificationTime)
{
    restartWith(kConfig, 1'600'000'000);
    // Definitions without a sync time, no score for anyone.
    EXPECT_EQ(sqlRows(db(), "SELECT id, name, active, server_sync_at FROM leaderboards"),
              (std::vector<std::string>{"10|Points|1|NULL"}));
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM leaderboard_aggregations"), "1");
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM high_scores"), "0");
    EXPECT_EQ(HCOfflineService::getTableVersion("offline_config_file_date"), 1'600'000'000);
    EXPECT_EQ(Halcyon::localGameProfileInfo()->name(), "Tolvarine");

    // The same file at the next start: not read again.
    ASSERT_TRUE(sqlExec(db(), "DELETE FROM leaderboards"));
    stopStore();
    startStore();
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM leaderboards"), "0");

    // Touched: read again.
    restartWith(kConfig, 1'600'000'060);
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM leaderboards"), "1");
    EXPECT_EQ(HCOfflineService::getTableVersion("offline_config_file_date"), 1'600'000'060);
}

TEST_F(OfflineConfigImportTest, AFileWhoseAchievementsWereNotWrittenIsReadAgain)
{
    int imports = 0;
    bool achievementsWritten = false;
    HCOfflineHooks hooks;
    hooks.synchAchievementsList = [&](const std::shared_ptr<platform::Array>&, const std::optional<std::string>&) {
        ++imports;
        return achievementsWritten;
    };
    HCOfflineService::setHooks(hooks);
    restartWith(kConfig, 1'600'000'000);
    EXPECT_EQ(imports, 1);
    EXPECT_EQ(HCOfflineService::getTableVersion("offline_config_file_date"), 0);
    // The leaderboards were written; the file is read again all the same.
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM leaderboards"), "1");
    achievementsWritten = true;
    stopStore();
    startStore();
    EXPECT_EQ(imports, 2);
    EXPECT_EQ(HCOfflineService::getTableVersion("offline_config_file_date"), 1'600'000'000);
    stopStore();
    startStore();
    EXPECT_EQ(imports, 2);
}

TEST_F(OfflineConfigImportTest, AFileThatDoesNotReadToItsEndCountsAsImportedAndWritesNothing)
{
    restartWith("<resources><offline><leaderboards><leader", 1'600'000'000);
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM leaderboards"), "0");
    EXPECT_EQ(HCOfflineService::getTableVersion("offline_config_file_date"), 1'600'000'000);
    // Cut after a whole board: that board is not imported on its own either.
    const std::string config = kConfig;
    restartWith(config.substr(0, config.find("<leaderboard_aggregations>")), 1'600'000'030);
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM leaderboards"), "0");
    EXPECT_EQ(HCOfflineService::getTableVersion("offline_config_file_date"), 1'600'000'030);

    // Without a file nothing is recorded.
    std::filesystem::remove(file());
    ASSERT_TRUE(sqlExec(db(), "DELETE FROM table_versions WHERE name = 'offline_config_file_date'"));
    stopStore();
    startStore();
    EXPECT_EQ(HCOfflineService::getTableVersion("offline_config_file_date"), 0);
}

}  // namespace
