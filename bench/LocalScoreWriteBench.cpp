// Both sides: one local score write on a board that feeds an aggregate
// (HCLocalHighScoreStore::store | the same SQL through the raw SQLite API).
//
// Each write, on the offline database's main connection (one file in
// write-ahead logging, synchronous=FULL, as the client opens it), in this
// order: the board's definition, the player's last sync time, BEGIN
// IMMEDIATE, the previous best, the row of an equal score, the insert, the
// ten-best query and its prune, the best score and the "only one pending"
// update, the aggregate links and the aggregate's definition, the
// aggregate's own links; then the same again on the aggregate (definition,
// last sync, previous best, equal row, insert, ten best, prune, one
// pending), COMMIT. Every value is bound as text.
//
// Ours: the store with its statements prepared once per connection, the
// leaderboard facts read through the leaderboard service (its cached
// statements, a definition object per look-up), the transaction statements
// prepared per use. Raw: every statement, BEGIN and COMMIT included,
// prepared once with sqlite3_prepare_v2, bound by index.
//
// Each iteration writes a better score than the last for the same player,
// so the row count stays put (one insert, one prune) and every step runs.
// The file holds 1, 100 or 10,000 rows per board, from other players, so
// the cost can be seen not to grow with them.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <optional>
#include <string>
#include <vector>

#include "BenchCommandLine.h"
#include "RatioReporter.h"
#include "ScratchFolder.h"
#include "ScratchOfflineDatabase.h"
#include "platform/runtime/Thread.h"
#include "scores/highscores/HCLocalHighScoreStore.h"
#include "scores/highscores/HCOfflineLeaderboardFacts.h"
#include "scores/offline/HCOfflineDatabase.h"

namespace {

bool exec(sqlite3* db, const std::string& sql)
{
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// A fresh file with boards 1 (descending, feeds 9) and 9 (its aggregate),
// each holding `rows` confirmed rows of other players.
std::shared_ptr<HCOfflineDatabase> openFile(int rows)
{
    auto database = bench::openScratchOfflineDatabase();
    sqlite3* db = database->mainConnection().handle();
    exec(db, "REPLACE INTO leaderboards (id, name, descending_sort_order, active, is_aggregate, visible, "
             "allow_posting_lower_scores, start_version, end_version) VALUES (1, 'Score', 1, 1, 0, 1, 0, '0', '9'), "
             "(9, 'Total', 1, 1, 1, 1, 0, '0', '9')");
    exec(db, "REPLACE INTO leaderboard_aggregations (aggregate_leaderboard_id, leaderboard_pushing_changes_id) "
             "VALUES (9, 1)");
    exec(db, "BEGIN");
    for (int i = 0; i < rows; ++i) {
        const std::string user = std::to_string(100000 + i / 10);
        for (const char* board : {"1", "9"}) {
            exec(db, "INSERT INTO high_scores (user_id, leaderboard_id, score, server_sync_at) VALUES (" + user + ", " +
                         board + ", " + std::to_string(i) + ", 1700000000)");
        }
    }
    exec(db, "COMMIT");
    return database;
}

// The same statements through the raw API, prepared once.
class RawScoreWriter {
public:
    explicit RawScoreWriter(sqlite3* db) : db_(db)
    {
        details_ = prepare("SELECT * FROM leaderboards WHERE id = :id ");
        parents_ = prepare("SELECT aggregate_leaderboard_id FROM leaderboard_aggregations WHERE "
                           "leaderboard_pushing_changes_id = :leaderboard_pushing_changes_id ");
        lastSync_ = prepare(
            "SELECT datetime(MAX(server_sync_at), 'unixepoch') last_sync_date, MAX(server_sync_at) last_sync_unix "
            "FROM (SELECT MIN(server_sync_at) AS server_sync_at FROM (SELECT MAX(server_sync_at) AS server_sync_at "
            "FROM (SELECT MAX(server_sync_at) AS server_sync_at FROM high_scores WHERE user_id = :user_id AND "
            "server_sync_at IS NOT NULL UNION SELECT 0 AS server_sync_at) X UNION SELECT MAX(server_sync_at) AS "
            "server_sync_at FROM leaderboards WHERE server_sync_at IS NOT NULL) Y ) Z");
        begin_ = prepare("BEGIN IMMEDIATE");
        commit_ = prepare("COMMIT");
        best_ = prepare("SELECT score FROM high_scores WHERE leaderboard_id = :leaderboard_id AND user_id = :user_id "
                        "ORDER BY score DESC LIMIT 1");
        existing_ = prepare("SELECT server_sync_at FROM high_scores WHERE leaderboard_id = :leaderboard_id AND "
                            "user_id = :user_id AND score = :score");
        insert_ = prepare("INSERT INTO high_scores (user_id, leaderboard_id, score, display_text, custom_data, blob, "
                          "server_sync_at) VALUES(:user_id, :leaderboard_id, :score, :display_text, :custom_data, "
                          ":blob, :server_sync_at)");
        keep_ = prepare("SELECT min(x.score) AS keep_score, max(x.score) AS high_score FROM (SELECT score FROM "
                        "high_scores WHERE user_id = :user_id AND leaderboard_id = :leaderboard_id ORDER BY score "
                        "DESC LIMIT 10) AS x");
        prune_ = prepare("DELETE FROM high_scores WHERE user_id = :user_id AND leaderboard_id = :leaderboard_id AND "
                         "score < :score AND server_sync_at IS NOT NULL");
        mark_ = prepare("UPDATE high_scores SET server_sync_at = :server_sync_at WHERE user_id = :user_id AND "
                        "leaderboard_id = :leaderboard_id AND score != :score AND server_sync_at IS NULL");
    }
    ~RawScoreWriter()
    {
        for (auto* statement : all_) sqlite3_finalize(statement);
    }

    bool write(const std::string& user, const std::string& board, long long score, const std::string& now)
    {
        if (!isKnown(board) || !run(begin_)) return false;
        const auto improvement = writeRow(user, board, score, now, false);
        const bool done = improvement && feedParents(user, board, *improvement, now) && run(commit_);
        if (!done) exec(db_, "ROLLBACK");
        return done;
    }

private:
    sqlite3_stmt* prepare(const char* sql)
    {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr);
        all_.push_back(statement);
        return statement;
    }
    static void bind(sqlite3_stmt* statement, const char* name, const std::string& value)
    {
        sqlite3_bind_text(statement, sqlite3_bind_parameter_index(statement, name), value.c_str(),
                          static_cast<int>(value.size()), SQLITE_TRANSIENT);
    }
    static bool run(sqlite3_stmt* statement)
    {
        const int result = sqlite3_step(statement);
        sqlite3_reset(statement);
        return result == SQLITE_DONE;
    }
    bool isKnown(const std::string& board)
    {
        bind(details_, ":id", board);
        const bool found = sqlite3_step(details_) == SQLITE_ROW;
        sqlite3_reset(details_);
        return found;
    }
    std::string lastSync(const std::string& user)
    {
        bind(lastSync_, ":user_id", user);
        sqlite3_step(lastSync_);
        const auto* text = sqlite3_column_text(lastSync_, 1);
        std::string value = text ? reinterpret_cast<const char*>(text) : "0";
        sqlite3_reset(lastSync_);
        return value;
    }
    std::optional<std::string> bestOf(const std::string& user, const std::string& board)
    {
        bind(best_, ":leaderboard_id", board);
        bind(best_, ":user_id", user);
        std::optional<std::string> best;
        if (sqlite3_step(best_) == SQLITE_ROW) best = reinterpret_cast<const char*>(sqlite3_column_text(best_, 0));
        sqlite3_reset(best_);
        return best;
    }
    std::vector<std::string> linksOf(const std::string& board)
    {
        std::vector<std::string> parents;
        bind(parents_, ":leaderboard_pushing_changes_id", board);
        while (sqlite3_step(parents_) == SQLITE_ROW)
            parents.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(parents_, 0)));
        sqlite3_reset(parents_);
        return parents;
    }
    // The links reached, each parent's definition and own links read before
    // any is written; then each parent's write.
    bool feedParents(const std::string& user, const std::string& board, long long improvement, const std::string& now)
    {
        const auto parents = linksOf(board);
        for (const auto& parent : parents) {
            if (isKnown(parent)) linksOf(parent);
        }
        for (const auto& parent : parents) {
            if (isKnown(parent) && !writeRow(user, parent, improvement, now, true)) return false;
        }
        return true;
    }
    // The board's row; its best's improvement, nothing when a step failed.
    std::optional<long long> writeRow(const std::string& user, const std::string& board, long long score,
                                      const std::string& now, bool aggregate)
    {
        const std::string sync = lastSync(user);
        const auto previous = bestOf(user, board);
        if (aggregate && previous) score += std::stoll(*previous);
        const std::string value = std::to_string(score);
        bind(existing_, ":leaderboard_id", board);
        bind(existing_, ":user_id", user);
        bind(existing_, ":score", value);
        sqlite3_step(existing_);
        sqlite3_reset(existing_);
        bind(insert_, ":user_id", user);
        bind(insert_, ":leaderboard_id", board);
        bind(insert_, ":score", value);
        sqlite3_bind_null(insert_, sqlite3_bind_parameter_index(insert_, ":display_text"));
        sqlite3_bind_null(insert_, sqlite3_bind_parameter_index(insert_, ":custom_data"));
        sqlite3_bind_null(insert_, sqlite3_bind_parameter_index(insert_, ":blob"));
        if (aggregate) {
            bind(insert_, ":server_sync_at", now);
        } else {
            sqlite3_bind_null(insert_, sqlite3_bind_parameter_index(insert_, ":server_sync_at"));
        }
        if (!run(insert_)) return std::nullopt;
        bind(keep_, ":user_id", user);
        bind(keep_, ":leaderboard_id", board);
        std::string keepScore;
        if (sqlite3_step(keep_) == SQLITE_ROW && sqlite3_column_text(keep_, 0))
            keepScore = reinterpret_cast<const char*>(sqlite3_column_text(keep_, 0));
        sqlite3_reset(keep_);
        if (!keepScore.empty()) {
            bind(prune_, ":user_id", user);
            bind(prune_, ":leaderboard_id", board);
            bind(prune_, ":score", keepScore);
            if (!run(prune_)) return std::nullopt;
        }
        if (auto best = bestOf(user, board)) {
            bind(mark_, ":server_sync_at", sync);
            bind(mark_, ":user_id", user);
            bind(mark_, ":leaderboard_id", board);
            bind(mark_, ":score", *best);
            if (!run(mark_)) return std::nullopt;
        }
        return previous ? score - std::stoll(*previous) : score;
    }

    sqlite3* db_;
    std::vector<sqlite3_stmt*> all_;
    sqlite3_stmt *details_, *parents_, *lastSync_, *begin_, *commit_, *best_, *existing_,
        *insert_, *keep_, *prune_, *mark_;
};

void BM_StoreWrite(benchmark::State& state, int rows)
{
    auto database = openFile(rows);
    HCLocalHighScoreStore store(database->mainConnection().handle(), std::make_shared<HCOfflineLeaderboardFacts>());
    long long score = 0;
    for (auto _ : state) {
        HCLocalHighScoreStore::Write write;
        write.userId = "1001";
        write.leaderboardId = "1";
        write.score = ++score;
        if (!store.store(write).stored) state.SkipWithError("the store refused a write");
    }
    state.SetItemsProcessed(state.iterations());
    HCOfflineDatabase::setCurrent(nullptr);
}

void BM_RawSqliteWrite(benchmark::State& state, int rows)
{
    auto database = openFile(rows);
    RawScoreWriter writer(database->mainConnection().handle());
    long long score = 0;
    for (auto _ : state) {
        if (!writer.write("1002", "1", ++score, "1767225600")) state.SkipWithError("a raw write failed");
    }
    state.SetItemsProcessed(state.iterations());
    HCOfflineDatabase::setCurrent(nullptr);
}

BENCHMARK_CAPTURE(BM_StoreWrite, 1, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RawSqliteWrite, 1, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StoreWrite, 100, 100)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RawSqliteWrite, 100, 100)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StoreWrite, 10000, 10000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RawSqliteWrite, 10000, 10000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (auto status = checkBenchCommandLine(argc, argv)) return *status;
    bench::scratchFolder();  // before the store starts a thread
    platform::Thread::adoptCurrentAsMain();
    RatioReporter reporter({
        {"BM_StoreWrite/1", "BM_RawSqliteWrite/1", "1 row per board: store / raw SQLite"},
        {"BM_StoreWrite/100", "BM_RawSqliteWrite/100", "100 rows per board: store / raw SQLite"},
        {"BM_StoreWrite/10000", "BM_RawSqliteWrite/10000", "10,000 rows per board: store / raw SQLite"},
    });
    return runBenchmarksWithRatio(argc, argv, reporter);
}
