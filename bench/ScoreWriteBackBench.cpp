// Both sides: the write-back of 1,000 scores the service confirmed (HCLocalHighScoreStore::storeAll, as a
// batch's reply writes them | the same rows updated by hand in one SQLite transaction).
//
// The offline database's main connection (one file in write-ahead logging,
// synchronous=FULL, as the client opens it) holds one pending row of the
// player on each of 1,000 boards, the shape a month offline leaves. Each
// iteration confirms all of them with the reply's server date, texts and
// custom data, then (untimed) makes them pending again.
//
// Ours: what the reply's write-back runs on the main thread, one write per
// confirmed score (the board's definition, the last sync time, the previous
// best, the equal row, its update, the ten best and prune, the one pending
// rule, the aggregates) each in a savepoint of one transaction, one sync at
// its commit. Raw: BEGIN IMMEDIATE, one prepared UPDATE per row bound by
// index, COMMIT. A third case writes the same confirmations one transaction
// each (HCLocalHighScoreStore::store per score), as the write-back did
// before: one sync per score.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "BenchCommandLine.h"
#include "RatioReporter.h"
#include "ScratchFolder.h"
#include "ScratchOfflineDatabase.h"
#include "platform/runtime/Thread.h"
#include "scores/highscores/HCLocalHighScoreStore.h"
#include "scores/highscores/HCOfflineLeaderboardFacts.h"

namespace {

constexpr int kScores = 1000;
constexpr const char* kUser = "1001";
constexpr std::int64_t kServerDate = 1767225600;

bool exec(sqlite3* db, const std::string& sql)
{
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// A fresh file with boards 1000 onwards, each holding the player's one
// pending score.
std::shared_ptr<HCOfflineDatabase> openFile()
{
    auto database = bench::openScratchOfflineDatabase();
    sqlite3* db = database->mainConnection().handle();
    const std::string numbers = "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                                std::to_string(kScores - 1) + ") ";
    exec(db, numbers + "INSERT INTO leaderboards (id, name, descending_sort_order, active, is_aggregate, visible, "
                       "allow_posting_lower_scores, start_version, end_version) SELECT 1000 + i, 'Board', 1, 1, 0, 1, "
                       "0, '0', '9' FROM n");
    exec(db, numbers + "INSERT INTO high_scores (user_id, leaderboard_id, score) SELECT " + kUser +
                 ", 1000 + i, 500 + i FROM n");
    return database;
}

void makePendingAgain(sqlite3* db)
{
    exec(db, "UPDATE high_scores SET server_sync_at = NULL");
}

std::vector<HCLocalHighScoreStore::Write> confirmations()
{
    std::vector<HCLocalHighScoreStore::Write> writes;
    for (int i = 0; i < kScores; ++i) {
        HCLocalHighScoreStore::Write write;
        write.userId = kUser;
        write.leaderboardId = std::to_string(1000 + i);
        write.score = 500 + i;
        write.displayText = std::to_string(500 + i) + " points";
        write.customData = "level=12";
        write.serverDate = kServerDate;
        writes.push_back(std::move(write));
    }
    return writes;
}

void BM_StoreWriteBack(benchmark::State& state)
{
    auto database = openFile();
    sqlite3* db = database->mainConnection().handle();
    HCLocalHighScoreStore store(db, std::make_shared<HCOfflineLeaderboardFacts>());
    const auto writes = confirmations();
    for (auto _ : state) {
        const auto outcomes = store.storeAll(writes);
        state.PauseTiming();
        for (const auto& outcome : outcomes) {
            if (!outcome.stored) state.SkipWithError("a confirmation was not stored");
        }
        makePendingAgain(db);
        state.ResumeTiming();
    }
}

void BM_StoreWriteBackOneTransactionEach(benchmark::State& state)
{
    auto database = openFile();
    sqlite3* db = database->mainConnection().handle();
    HCLocalHighScoreStore store(db, std::make_shared<HCOfflineLeaderboardFacts>());
    const auto writes = confirmations();
    for (auto _ : state) {
        for (const auto& write : writes) {
            if (!store.store(write).stored) state.SkipWithError("a confirmation was not stored");
        }
        state.PauseTiming();
        makePendingAgain(db);
        state.ResumeTiming();
    }
}

void BM_RawSqliteWriteBack(benchmark::State& state)
{
    auto database = openFile();
    sqlite3* db = database->mainConnection().handle();
    sqlite3_stmt* begin = nullptr;
    sqlite3_stmt* update = nullptr;
    sqlite3_stmt* commit = nullptr;
    sqlite3_prepare_v2(db, "BEGIN IMMEDIATE", -1, &begin, nullptr);
    sqlite3_prepare_v2(db, "UPDATE high_scores SET display_text = ?, custom_data = ?, server_sync_at = ? WHERE "
                           "leaderboard_id = ? AND user_id = ? AND score = ?",
                       -1, &update, nullptr);
    sqlite3_prepare_v2(db, "COMMIT", -1, &commit, nullptr);
    const auto writes = confirmations();
    const std::string date = std::to_string(kServerDate);
    for (auto _ : state) {
        sqlite3_step(begin);
        sqlite3_reset(begin);
        for (const auto& write : writes) {
            const std::string score = std::to_string(write.score);
            sqlite3_bind_text(update, 1, write.displayText->c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(update, 2, write.customData->c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(update, 3, date.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(update, 4, write.leaderboardId.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(update, 5, write.userId.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(update, 6, score.c_str(), -1, SQLITE_TRANSIENT);
            if (sqlite3_step(update) != SQLITE_DONE) state.SkipWithError("an update failed");
            sqlite3_reset(update);
        }
        if (sqlite3_step(commit) != SQLITE_DONE) state.SkipWithError("the commit failed");
        sqlite3_reset(commit);
        state.PauseTiming();
        makePendingAgain(db);
        state.ResumeTiming();
    }
    sqlite3_finalize(begin);
    sqlite3_finalize(update);
    sqlite3_finalize(commit);
}

BENCHMARK(BM_StoreWriteBack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawSqliteWriteBack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreWriteBackOneTransactionEach)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    if (auto status = checkBenchCommandLine(argc, argv)) return *status;
    bench::scratchFolder();  // before the store starts a thread
    platform::Thread::adoptCurrentAsMain();
    RatioReporter reporter({
        {"BM_StoreWriteBack", "BM_RawSqliteWriteBack", "1,000 confirmations in one transaction: store / raw SQLite"},
        {"BM_StoreWriteBackOneTransactionEach", "BM_RawSqliteWriteBack",
         "1,000 confirmations one transaction each: store / raw SQLite"},
    });
    return runBenchmarksWithRatio(argc, argv, reporter);
}
