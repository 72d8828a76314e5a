// A process killed at any point of an upgrade leaves a file that still
// holds every unlock and every score: the upgrade of each group runs in one
// transaction, so the file shows either the old layout or the new one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "scores/offline/HCOfflineConnection.h"
#include "scores/offline/HCOfflineSchema.h"
#include "scores/support/SqlPeek.h"
#include "support/TestSupport.h"

using testsupport::sqlRows;

namespace {

constexpr const char* kOldFile =
    "CREATE TABLE unlocked_achievements(user_id INTEGER NOT NULL, achievement_definition_id INTEGER NOT NULL);"
    "INSERT INTO unlocked_achievements VALUES (7, 100), (7, 101), (8, 100);"
    "CREATE TABLE high_scores(user_id INTEGER NOT NULL, leaderboard_id INTEGER NOT NULL, score INTEGER DEFAULT 0, "
    "server_sync_at INTEGER DEFAULT NULL, UNIQUE(leaderboard_id, user_id, score));"
    "INSERT INTO high_scores VALUES (7, 10, 500, NULL), (7, 10, 400, 1700000000);";

// Counts the virtual machine's steps and kills the process at the chosen one.
int killAt(void* remaining)
{
    if (--*static_cast<long*>(remaining) == 0) raise(SIGKILL);
    return 0;
}

// Runs the upgrade in a child killed after `steps` steps; true when the
// child was killed (false: it finished first).
bool upgradeKilledAfter(const std::string& path, long steps)
{
    pid_t child = fork();
    if (child == 0) {
        HCOfflineConnection connection;
        connection.open(path, true);
        sqlite3_progress_handler(connection.handle(), 1, killAt, &steps);
        HCOfflineSchema::setup(connection);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

TEST(OfflineUpgradeKillTest, AKillAtAnyStepLosesNoUnlockAndNoScore)
{
    testsupport::TempDir dir;
    std::string path = dir.str() + "/halcyon_offline";
    int kills = 0;
    for (long steps = 1;; steps = steps * 3 / 2 + 1) {
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        ASSERT_TRUE(testsupport::sqlExec(db, kOldFile));
        sqlite3_close(db);

        bool killed = upgradeKilledAfter(path, steps);
        kills += killed;

        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        std::string unlocks = sqlRows(db, "SELECT group_concat(user_id || ':' || achievement_definition_id) FROM "
                                          "(SELECT * FROM unlocked_achievements ORDER BY 1, 2)")
                                  .front();
        EXPECT_EQ(unlocks, "7:100,7:101,8:100") << "killed after " << steps << " steps";
        EXPECT_EQ(sqlRows(db, "SELECT user_id, leaderboard_id, score, server_sync_at FROM high_scores ORDER BY score"),
                  (std::vector<std::string>{"7|10|400|1700000000", "7|10|500|NULL"}))
            << "killed after " << steps << " steps";
        sqlite3_close(db);
        if (!killed) break;
        ASSERT_LT(steps, 10'000'000) << "the upgrade never finished";
    }
    EXPECT_GT(kills, 10);
}

}  // namespace
