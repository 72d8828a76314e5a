#pragma once
// The local high-score table's rules, on one database handle: each player
// keeps the ten best scores of a leaderboard; the one pending row (its
// server_sync_at NULL) of a player and board is the best score the server
// has not confirmed, or on a board that takes lower scores the latest one;
// aggregate boards follow the changes of the boards that feed them; the
// local user's rows are read back for the pages and the re-send.
//
// Every write runs inside one transaction on the handle (a savepoint when
// the caller holds one, as the bootstrap import does), so a kill or a failed
// step leaves the table as it was before the write. Statements are
// prepared once. Readers collect their rows before anything is updated.
//
// Thread: the thread that owns the handle (the main thread for the main
// handle, the provider's request thread for the bootstrap handle); the
// checker binds to the first caller.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kernel/sql/HCSqlQuery.h"
#include "platform/foundation/Values.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/highscores/HCHighScoreLeaderboards.h"

struct sqlite3;

// One row of high_scores as read back.
struct HCLocalScoreRow {
    std::string userId;
    std::string leaderboardId;
    std::int64_t score = 0;
    std::optional<std::string> displayText;  // nil for NULL
    std::optional<std::string> customData;   // nil for NULL
    std::shared_ptr<platform::Data> blob;    // nil for NULL or empty
    std::optional<std::int64_t> serverSyncAt;  // nil: pending
    std::string rowId;  // the table's rowid; filled by highScores() and pendingRows()
};

class HCLocalHighScoreStore {
public:
    static constexpr int kScoresKeptPerBoard = 10;

    struct Write {
        std::string userId;
        std::string leaderboardId;
        std::int64_t score = 0;
        std::optional<std::string> displayText;
        std::optional<std::string> customData;
        std::shared_ptr<platform::Data> blob;
        // Seconds since 1970 at which the server confirmed the score; nil for
        // a score of the game's own.
        std::optional<std::int64_t> serverDate;
        // The board's best gains `score`; the sum is held at the range's
        // ends.
        bool addToExisting = false;
        // An equal score's row takes this write's texts, blob and state;
        // without, an equal score's row stays as it is.
        bool overrideExisting = true;
    };
    struct Outcome {
        bool stored = false;        // the row was written and the savepoint released
        bool shouldSubmit = true;   // the score is worth sending
    };

    HCLocalHighScoreStore(sqlite3* db, std::shared_ptr<HCHighScoreLeaderboards> leaderboards);
    ~HCLocalHighScoreStore();
    HCLocalHighScoreStore(const HCLocalHighScoreStore&) = delete;
    HCLocalHighScoreStore& operator=(const HCLocalHighScoreStore&) = delete;

    Outcome store(const Write& write);
    // The writes in one transaction, so the lot costs one sync: each write
    // keeps its own savepoint (a failed one leaves its row as it was), and
    // a kill before the commit leaves every row as it was. One outcome per
    // write, in order; none stored when the commit failed.
    std::vector<Outcome> storeAll(const std::vector<Write>& writes);
    // The board's facts as the store sees them; nothing when unknown.
    std::optional<HCLeaderboardFacts> leaderboardFacts(const std::string& leaderboardId);

    // The user's best score on the board, in the board's order.
    std::optional<std::int64_t> previousBest(const std::string& userId, const std::string& leaderboardId,
                                             bool descending);
    // The user's best `limit` rows of the board, best first.
    std::vector<HCLocalScoreRow> highScores(const std::string& userId, const std::string& leaderboardId,
                                            bool descending, int limit);
    // Adopts the rows without a user (NULL or 0) for `userId`, merging each
    // with a row of the same board and score the user has already, and
    // leaves one pending row per board; false, with nothing changed, when a
    // step failed.
    bool prepareResend(const std::string& userId);
    // The user's pending rows in the order they were written, at most
    // `limit` (all when negative) of those after the row `afterRowId`; each
    // row carries its rowId, the next call's `afterRowId`.
    std::vector<HCLocalScoreRow> pendingRows(const std::string& userId, std::int64_t afterRowId = 0, int limit = -1);

private:
    struct Statements;
    Outcome storeInSavepoint(const Write& write);
    // One board's part of a write, as `score`: its row, its ten best and its
    // pending row; false when a step failed.
    bool writeRow(const Write& write, std::int64_t score, const HCLeaderboardFacts& facts, std::int64_t now,
                  bool shouldSubmit);
    // Passes the written board's move from `previous` (0 when it had no
    // score) to `score` on to the aggregates its links reach; false when a
    // step failed or a linked board cannot be written.
    bool feedAggregates(const Write& write, std::int64_t previous, std::int64_t score, std::int64_t now);
    // Leaves the best pending row of the board the only one; the others are
    // marked with the user's last sync time, read into `lastSync` when
    // first needed.
    bool makeOnlyOnePending(const std::string& userId, const std::string& leaderboardId,
                            const HCLeaderboardFacts& facts, std::optional<std::int64_t>& lastSync);
    // Marks every pending row of the board but `keepScore`'s as sent, with
    // the user's last sync time.
    bool markOthersSent(const std::string& userId, const std::string& leaderboardId, const std::string& keepScore,
                        std::optional<std::int64_t>& lastSync);
    static HCLocalScoreRow readRow(const HCSqlQuery& query);

    sqlite3* db_;
    std::shared_ptr<HCHighScoreLeaderboards> leaderboards_;
    std::unique_ptr<Statements> sql_;
    platform::ThreadChecker checker_;
};
