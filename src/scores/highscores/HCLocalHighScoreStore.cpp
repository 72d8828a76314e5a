#include "scores/highscores/HCLocalHighScoreStore.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <sqlite3.h>

#include "kernel/sql/HCSqlTransaction.h"
#include "platform/runtime/Clock.h"
#include "scores/highscores/HCAggregateFlow.h"
#include "scores/offline/HCIntegerText.h"

namespace {

std::string text(std::int64_t value)
{
    return std::to_string(value);
}

// Runs a statement that yields no row to its end; true when it did.
bool runToEnd(HCSqlQuery& query)
{
    query.step();
    const bool done = query.isPrepared() && query.result() == 0;
    query.resetQuery();
    return done;
}

bool improves(std::int64_t score, std::int64_t previous, bool descending)
{
    return descending ? score > previous : score < previous;
}

// Aggregates follow the child's best, measured in the child's order. On a
// board that takes lower scores a worse score lowers the aggregate by the
// difference; on any other board the child's best is unchanged by it, so the
// aggregate gains improvements only.
bool movesAggregates(std::optional<std::int64_t> previous, std::int64_t score, const HCLeaderboardFacts& facts)
{
    return !previous || facts.allowPostingLowerScores || improves(score, *previous, facts.descendingSortOrder);
}

// Scores use the whole 64-bit range, and a change is a difference of two of
// them summed over the links that carry it, so changes are taken wide; a
// best plus its gain is held at the range's ends.
__extension__ using Wide = __int128;

std::int64_t addGain(std::int64_t best, Wide gain)
{
    const Wide sum = Wide(best) + gain;
    if (sum > Wide(std::numeric_limits<std::int64_t>::max())) return std::numeric_limits<std::int64_t>::max();
    if (sum < Wide(std::numeric_limits<std::int64_t>::min())) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(sum);
}

}  // namespace

// Each order-dependent statement exists twice: [0] descending, [1] ascending.
struct HCLocalHighScoreStore::Statements {
    explicit Statements(sqlite3* db)
    {
        const char* orders[2] = {"DESC", "ASC"};
        for (int i = 0; i < 2; ++i) {
            const std::string order = orders[i];
            best[i].reset(db, "SELECT score FROM high_scores WHERE leaderboard_id = :leaderboard_id AND user_id = "
                              ":user_id ORDER BY score " + order + " LIMIT 1");
            bestPending[i].reset(db, "SELECT score FROM high_scores WHERE leaderboard_id = :leaderboard_id AND "
                                     "user_id = :user_id AND server_sync_at IS NULL ORDER BY score " + order +
                                         " LIMIT 1");
            keep[i].reset(db, std::string("SELECT ") + (i == 0 ? "min" : "max") + "(x.score) AS keep_score, " +
                                  (i == 0 ? "max" : "min") +
                                  "(x.score) AS high_score FROM (SELECT score FROM high_scores WHERE user_id = "
                                  ":user_id AND leaderboard_id = :leaderboard_id ORDER BY score " + order +
                                  " LIMIT 10) AS x");
            // A pending row is never pruned: it is the one score still owed
            // to the server.
            prune[i].reset(db, std::string("DELETE FROM high_scores WHERE user_id = :user_id AND leaderboard_id = "
                                           ":leaderboard_id AND score ") +
                                   (i == 0 ? "<" : ">") + " :score AND server_sync_at IS NOT NULL");
            list[i].reset(db, "SELECT rowid AS row_id, * FROM high_scores WHERE leaderboard_id = :leaderboard_id AND user_id = "
                              ":user_id ORDER BY score " + order + " LIMIT CAST(:limit AS INTEGER)");
        }
        existing.reset(db, "SELECT server_sync_at FROM high_scores WHERE leaderboard_id = :leaderboard_id AND "
                           "user_id = :user_id AND score = :score");
        insert.reset(db, "INSERT INTO high_scores (user_id, leaderboard_id, score, display_text, custom_data, blob, "
                         "server_sync_at) VALUES(:user_id, :leaderboard_id, :score, :display_text, :custom_data, "
                         ":blob, :server_sync_at)");
        // The row of an equal score is updated in place (older layouts may
        // lack the unique key that REPLACE would rely on); a write without
        // a blob keeps the attachment the row had.
        update.reset(db, "UPDATE high_scores SET display_text = :display_text, custom_data = :custom_data, blob = "
                         "COALESCE(:blob, blob), server_sync_at = :server_sync_at WHERE leaderboard_id = "
                         ":leaderboard_id AND user_id = :user_id AND score = :score");
        makeOnlyOneSynch.reset(db, "UPDATE high_scores SET server_sync_at = :server_sync_at WHERE user_id = :user_id "
                                   "AND leaderboard_id = :leaderboard_id AND score != :score AND server_sync_at IS "
                                   "NULL");
        markAllSynched.reset(db, "UPDATE high_scores SET server_sync_at = :server_sync_at WHERE user_id = :user_id "
                                 "AND leaderboard_id = :leaderboard_id AND server_sync_at IS NULL");
        // The rowid walk reads a long list in slices, each from where the
        // last stopped, without reading what came before again.
        pending.reset(db, "SELECT rowid AS row_id, leaderboard_id, score, display_text, custom_data, blob FROM "
                          "high_scores WHERE rowid > CAST(:after AS INTEGER) AND user_id = :user_id AND "
                          "server_sync_at IS NULL ORDER BY rowid LIMIT CAST(:limit AS INTEGER)");
        nullUserRows.reset(db, "SELECT rowid AS row_id, leaderboard_id, score, display_text, custom_data, blob FROM "
                               "high_scores WHERE user_id IS NULL or user_id = 0");
        adoptRow.reset(db, "UPDATE high_scores SET user_id = :user_id WHERE rowid = :row_id");
        mergeRow.reset(db, "UPDATE high_scores SET display_text = COALESCE(display_text, :display_text), "
                           "custom_data = COALESCE(custom_data, :custom_data), blob = COALESCE(blob, :blob) WHERE "
                           "leaderboard_id = :leaderboard_id AND user_id = :user_id AND score = :score");
        dropRow.reset(db, "DELETE FROM high_scores WHERE rowid = :row_id");
    }

    bool prepared() const
    {
        for (int i = 0; i < 2; ++i) {
            if (!best[i].isPrepared() || !bestPending[i].isPrepared() || !keep[i].isPrepared() ||
                !prune[i].isPrepared() || !list[i].isPrepared()) {
                return false;
            }
        }
        return existing.isPrepared() && insert.isPrepared() && update.isPrepared() && makeOnlyOneSynch.isPrepared() && markAllSynched.isPrepared() &&
               pending.isPrepared() && nullUserRows.isPrepared() && adoptRow.isPrepared() && mergeRow.isPrepared() &&
               dropRow.isPrepared();
    }

    HCSqlQuery best[2], bestPending[2], keep[2], prune[2], list[2];
    HCSqlQuery existing, insert, update, makeOnlyOneSynch, markAllSynched, pending;
    HCSqlQuery nullUserRows, adoptRow, mergeRow, dropRow;
};

HCLocalHighScoreStore::HCLocalHighScoreStore(sqlite3* db, std::shared_ptr<HCHighScoreLeaderboards> leaderboards)
    : db_(db), leaderboards_(std::move(leaderboards)), sql_(std::make_unique<Statements>(db))
{
}

HCLocalHighScoreStore::~HCLocalHighScoreStore() = default;

HCLocalHighScoreStore::Outcome HCLocalHighScoreStore::store(const Write& write)
{
    HC_CHECK_THREAD(checker_);
    return storeInSavepoint(write);
}

std::vector<HCLocalHighScoreStore::Outcome> HCLocalHighScoreStore::storeAll(const std::vector<Write>& writes)
{
    HC_CHECK_THREAD(checker_);
    std::vector<Outcome> outcomes;
    outcomes.reserve(writes.size());
    HCSqlTransaction transaction(db_);
    const bool begun = transaction.begin();
    for (const auto& write : writes) {
        outcomes.push_back(begun ? storeInSavepoint(write) : Outcome{});
    }
    if (!transaction.commit()) {
        for (auto& outcome : outcomes) {
            outcome.stored = false;
        }
    }
    return outcomes;
}

std::optional<HCLeaderboardFacts> HCLocalHighScoreStore::leaderboardFacts(const std::string& leaderboardId)
{
    HC_CHECK_THREAD(checker_);
    return leaderboards_ ? leaderboards_->details(leaderboardId) : std::nullopt;
}

HCLocalHighScoreStore::Outcome HCLocalHighScoreStore::storeInSavepoint(const Write& write)
{
    Outcome outcome;
    // Both ids go into INTEGER columns: other text would be kept as text,
    // a row no reader finds and no re-send can send.
    if (!HCIsIntegerText(write.userId) || !HCIsIntegerText(write.leaderboardId)) {
        outcome.shouldSubmit = false;
        return outcome;
    }
    if (!leaderboards_ || !sql_->prepared()) {
        return outcome;
    }
    const auto facts = leaderboards_->details(write.leaderboardId);
    // Unknown boards, and aggregates written directly, are left alone:
    // aggregates change only through the boards that feed them.
    if (!facts || (facts->isAggregate && !write.addToExisting)) {
        return outcome;
    }
    const std::int64_t now = static_cast<std::int64_t>(std::floor(platform::Clock::currentTime()));

    HCSqlTransaction transaction(db_);
    if (!transaction.begin()) {
        return outcome;
    }
    const auto previous = previousBest(write.userId, write.leaderboardId, facts->descendingSortOrder);
    const std::int64_t score =
        write.addToExisting ? addGain(previous.value_or(0), write.score) : write.score;
    if (previous && !facts->allowPostingLowerScores && !improves(score, *previous, facts->descendingSortOrder)) {
        // An equal score with a new blob is still sent, so the blob travels.
        outcome.shouldSubmit = write.blob != nullptr && score == *previous;
    }
    if (!writeRow(write, score, *facts, now, outcome.shouldSubmit)) {
        return outcome;
    }
    if (movesAggregates(previous, score, *facts) && !feedAggregates(write, previous.value_or(0), score, now)) {
        return outcome;
    }
    outcome.stored = transaction.commit();
    return outcome;
}

bool HCLocalHighScoreStore::writeRow(const Write& write, std::int64_t score, const HCLeaderboardFacts& facts,
                                     std::int64_t now, bool shouldSubmit)
{
    const int order = facts.descendingSortOrder ? 0 : 1;
    // A row already stored under this score that the server has not
    // confirmed stays pending unless this write is the confirmation.
    HCSqlQuery& existing = sql_->existing;
    existing.bind("leaderboard_id", write.leaderboardId);
    existing.bind("user_id", write.userId);
    existing.bind("score", text(score));
    const bool exists = existing.step();
    const bool existingPending = exists && existing.getTextValue("server_sync_at") == std::nullopt;
    if (!exists && existing.result() != 0) {
        existing.resetQuery();
        return false;
    }
    existing.resetQuery();

    std::optional<std::string> serverSyncAt;
    if (write.serverDate) {
        serverSyncAt = text(*write.serverDate);
    } else if (!shouldSubmit && !existingPending) {
        serverSyncAt = text(now);
    }
    if (!exists || write.overrideExisting) {
        HCSqlQuery& row = exists ? sql_->update : sql_->insert;
        row.bind("user_id", write.userId);
        row.bind("leaderboard_id", write.leaderboardId);
        row.bind("score", text(score));
        row.bind("display_text", write.displayText);
        row.bind("custom_data", write.customData);
        if (write.blob && !write.blob->bytes().empty()) {
            row.bind("blob", write.blob->bytes().data(), static_cast<unsigned>(write.blob->bytes().size()));
        } else {
            row.bind("blob", std::nullopt);
        }
        row.bind("server_sync_at", serverSyncAt);
        if (!runToEnd(row)) {
            return false;
        }
    }

    // Keep the ten best.
    HCSqlQuery& keep = sql_->keep[order];
    keep.bind("user_id", write.userId);
    keep.bind("leaderboard_id", write.leaderboardId);
    const bool kept = keep.step();
    const auto keepScore = kept ? keep.getTextValue("keep_score") : std::nullopt;
    keep.resetQuery();
    if (keepScore) {
        HCSqlQuery& prune = sql_->prune[order];
        prune.bind("user_id", write.userId);
        prune.bind("leaderboard_id", write.leaderboardId);
        prune.bind("score", *keepScore);
        if (!runToEnd(prune)) {
            return false;
        }
    }
    std::optional<std::int64_t> lastSync;
    if (facts.allowPostingLowerScores) {
        // A board that takes lower scores owes the server the player's
        // latest score, whatever its rank: the new one stays the pending
        // row. The server's own scores leave the pending row alone.
        return write.serverDate.has_value() || markOthersSent(write.userId, write.leaderboardId, text(score), lastSync);
    }
    return makeOnlyOnePending(write.userId, write.leaderboardId, facts, lastSync);
}

// Every board reached is written once, and each link carries its board's
// change once (HCAggregateFlow), so tangled links cost what they number: a
// walk along every path multiplied the work and the gains with each link.
bool HCLocalHighScoreStore::feedAggregates(const Write& write, std::int64_t previous, std::int64_t score,
                                           std::int64_t now)
{
    const auto flow = HCAggregateFlow::from(
        write.leaderboardId, [this](const std::string& boardId) { return leaderboards_->aggregateParents(boardId); });
    if (!flow) {
        return false;
    }
    // What each board passes on; nothing from a board whose best did not move.
    std::vector<std::optional<Wide>> changes(flow->boardCount());
    changes[0] = Wide(score) - Wide(previous);
    for (const auto& loop : flow->loops()) {
        std::optional<Wide> gain;
        for (const std::size_t feeder : loop.feeders) {
            if (changes[feeder]) {
                gain = gain.value_or(0) + *changes[feeder];
            }
        }
        if (!gain) {
            continue;
        }
        for (const std::size_t board : loop.boards) {
            Write aggregate;
            aggregate.userId = write.userId;
            aggregate.leaderboardId = flow->boardId(board);
            aggregate.serverDate = now;
            const auto facts = leaderboards_->details(aggregate.leaderboardId);
            if (!facts) {
                return false;
            }
            const auto best = previousBest(aggregate.userId, aggregate.leaderboardId, facts->descendingSortOrder);
            aggregate.score = addGain(best.value_or(0), *gain);
            if (!writeRow(aggregate, aggregate.score, *facts, now, false)) {
                return false;
            }
            if (movesAggregates(best, aggregate.score, *facts)) {
                changes[board] = Wide(aggregate.score) - Wide(best.value_or(0));
            }
        }
    }
    return true;
}

bool HCLocalHighScoreStore::makeOnlyOnePending(const std::string& userId, const std::string& leaderboardId,
                                               const HCLeaderboardFacts& facts, std::optional<std::int64_t>& lastSync)
{
    const int order = facts.descendingSortOrder ? 0 : 1;
    // The score that stays pending is the best one not yet confirmed. A
    // board that takes no lower scores would not need it once a better
    // score is confirmed, but that judgement rests on the copy's sort
    // order; retiring the only unsent score on it loses the score without a
    // POST when the order is wrong, while sending it once too often costs
    // one entry of a batch.
    HCSqlQuery& pick = sql_->bestPending[order];
    pick.bind("leaderboard_id", leaderboardId);
    pick.bind("user_id", userId);
    const bool found = pick.step();
    const auto keepScore = found ? pick.getTextValue("score") : std::nullopt;
    const int result = pick.result();
    pick.resetQuery();
    if (!found && result != 0) {
        return false;
    }
    if (!keepScore) {
        return true;
    }
    // Read only when a row is pending: the last sync time looks at all the
    // player's rows, and a confirmation, which leaves none pending, would
    // otherwise pay for it once per confirmed score.
    return markOthersSent(userId, leaderboardId, *keepScore, lastSync);
}

bool HCLocalHighScoreStore::markOthersSent(const std::string& userId, const std::string& leaderboardId,
                                           const std::string& keepScore, std::optional<std::int64_t>& lastSync)
{
    if (!lastSync) {
        lastSync = leaderboards_->lastSyncUnix(userId);
    }
    HCSqlQuery& mark = sql_->makeOnlyOneSynch;
    mark.bind("server_sync_at", text(*lastSync));
    mark.bind("user_id", userId);
    mark.bind("leaderboard_id", leaderboardId);
    mark.bind("score", keepScore);
    return runToEnd(mark);
}

std::optional<std::int64_t> HCLocalHighScoreStore::previousBest(const std::string& userId,
                                                                const std::string& leaderboardId, bool descending)
{
    HC_CHECK_THREAD(checker_);
    HCSqlQuery& best = sql_->best[descending ? 0 : 1];
    best.bind("leaderboard_id", leaderboardId);
    best.bind("user_id", userId);
    std::optional<std::int64_t> score;
    if (best.step()) {
        score = best.getInt64("score");
    }
    best.resetQuery();
    return score;
}

HCLocalScoreRow HCLocalHighScoreStore::readRow(const HCSqlQuery& query)
{
    HCLocalScoreRow row;
    row.userId = query.getTextValue("user_id").value_or("");
    row.leaderboardId = query.getTextValue("leaderboard_id").value_or("");
    row.score = query.getInt64("score");
    row.displayText = query.getTextValue("display_text");
    row.customData = query.getTextValue("custom_data");
    const char* bytes = nullptr;
    unsigned length = 0;
    if (query.getBlob("blob", bytes, length) && length > 0) {
        row.blob = platform::Data::make(std::vector<uint8_t>(bytes, bytes + length));
    }
    if (auto synced = query.getTextValue("server_sync_at")) {
        row.serverSyncAt = query.getInt64("server_sync_at");
    }
    return row;
}

std::vector<HCLocalScoreRow> HCLocalHighScoreStore::highScores(const std::string& userId,
                                                               const std::string& leaderboardId, bool descending,
                                                               int limit)
{
    HC_CHECK_THREAD(checker_);
    HCSqlQuery& list = sql_->list[descending ? 0 : 1];
    list.bind("leaderboard_id", leaderboardId);
    list.bind("user_id", userId);
    list.bind("limit", std::to_string(limit));
    std::vector<HCLocalScoreRow> rows;
    while (list.step()) {
        rows.push_back(readRow(list));
        rows.back().rowId = list.getTextValue("row_id").value_or("");
    }
    list.resetQuery();
    return rows;
}

std::vector<HCLocalScoreRow> HCLocalHighScoreStore::pendingRows(const std::string& userId, std::int64_t afterRowId,
                                                                int limit)
{
    HC_CHECK_THREAD(checker_);
    HCSqlQuery& pending = sql_->pending;
    pending.bind("after", text(afterRowId));
    pending.bind("user_id", userId);
    pending.bind("limit", std::to_string(limit));
    std::vector<HCLocalScoreRow> rows;
    while (pending.step()) {
        HCLocalScoreRow row = readRow(pending);
        row.userId = userId;
        row.rowId = pending.getTextValue("row_id").value_or("");
        rows.push_back(std::move(row));
    }
    pending.resetQuery();
    return rows;
}

bool HCLocalHighScoreStore::prepareResend(const std::string& userId)
{
    HC_CHECK_THREAD(checker_);
    if (!HCIsIntegerText(userId) || !leaderboards_ || !sql_->prepared()) {
        return false;
    }
    // Collect first: the rows are changed below.
    struct Orphan {
        std::string rowId;
        HCLocalScoreRow row;
    };
    std::vector<Orphan> orphans;
    HCSqlQuery& nullUserRows = sql_->nullUserRows;
    while (nullUserRows.step()) {
        orphans.push_back({nullUserRows.getTextValue("row_id").value_or(""), readRow(nullUserRows)});
    }
    const bool readAll = nullUserRows.result() == 0;
    nullUserRows.resetQuery();
    if (!readAll) {
        return false;
    }
    if (orphans.empty()) {
        return true;
    }
    std::optional<std::int64_t> lastSync = leaderboards_->lastSyncUnix(userId);
    HCSqlTransaction transaction(db_);
    if (!transaction.begin()) {
        return false;
    }
    std::vector<std::string> boards;
    for (const auto& orphan : orphans) {
        HCSqlQuery& existing = sql_->existing;
        existing.bind("leaderboard_id", orphan.row.leaderboardId);
        existing.bind("user_id", userId);
        existing.bind("score", text(orphan.row.score));
        const bool clash = existing.step();
        existing.resetQuery();
        if (clash) {
            // The user's own row of the same score wins; it takes what it
            // lacks from the orphan, which goes.
            HCSqlQuery& merge = sql_->mergeRow;
            merge.bind("display_text", orphan.row.displayText);
            merge.bind("custom_data", orphan.row.customData);
            if (orphan.row.blob) {
                merge.bind("blob", orphan.row.blob->bytes().data(), static_cast<unsigned>(orphan.row.blob->bytes().size()));
            } else {
                merge.bind("blob", std::nullopt);
            }
            merge.bind("leaderboard_id", orphan.row.leaderboardId);
            merge.bind("user_id", userId);
            merge.bind("score", text(orphan.row.score));
            sql_->dropRow.bind("row_id", orphan.rowId);
            if (!runToEnd(merge) || !runToEnd(sql_->dropRow)) {
                return false;
            }
        } else {
            sql_->adoptRow.bind("user_id", userId);
            sql_->adoptRow.bind("row_id", orphan.rowId);
            if (!runToEnd(sql_->adoptRow)) {
                return false;
            }
        }
        if (std::find(boards.begin(), boards.end(), orphan.row.leaderboardId) == boards.end()) {
            boards.push_back(orphan.row.leaderboardId);
        }
    }
    for (const auto& board : boards) {
        const auto facts = leaderboards_->details(board);
        if (facts && !makeOnlyOnePending(userId, board, *facts, lastSync)) {
            return false;
        }
    }
    return transaction.commit();
}
