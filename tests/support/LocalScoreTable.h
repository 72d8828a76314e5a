#pragma once
// For the score tests: the high_scores table in its current layout,
// leaderboard facts the test sets, and a reader of the raw rows.
// Header-only, so that only the programs that include it need SQLite.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <sqlite3.h>

#include "kernel/sql/HCSqlDatabase.h"
#include "kernel/sql/HCSqlQuery.h"
#include "scores/highscores/HCHighScoreLeaderboards.h"

namespace scoretest {

inline constexpr const char* kCreateHighScores =
    "CREATE TABLE IF NOT EXISTS high_scores(user_id INTEGER NOT NULL, leaderboard_id INTEGER NOT NULL, score "
    "INTEGER DEFAULT 0, display_text TEXT DEFAULT NULL, custom_data TEXT DEFAULT NULL, server_sync_at INTEGER "
    "DEFAULT NULL, blob BLOB DEFAULT NULL, UNIQUE(leaderboard_id, user_id, score))";
inline constexpr const char* kCreateHighScoresIndex =
    "CREATE INDEX IF NOT EXISTS high_scores_index ON high_scores(user_id, leaderboard_id)";

class FakeLeaderboards final : public HCHighScoreLeaderboards {
public:
    std::optional<HCLeaderboardFacts> details(const std::string& id) override
    {
        auto found = boards.find(id);
        return found == boards.end() ? std::nullopt : std::optional<HCLeaderboardFacts>(found->second);
    }
    std::vector<std::string> aggregateParents(const std::string& id) override
    {
        auto found = parents.find(id);
        return found == parents.end() ? std::vector<std::string>{} : found->second;
    }
    std::int64_t lastSyncUnix(const std::string&) override { return lastSync; }

    std::map<std::string, HCLeaderboardFacts> boards;
    std::map<std::string, std::vector<std::string>> parents;
    std::int64_t lastSync = 1000;
};

struct RawRow {
    std::string userId;
    std::string leaderboardId;
    std::int64_t score = 0;
    std::optional<std::string> displayText;
    std::optional<std::int64_t> serverSyncAt;
    std::size_t blobBytes = 0;
};

// Every row, by user, board and score.
inline std::vector<RawRow> rawRows(sqlite3* db)
{
    HCSqlQuery query(db, "SELECT * FROM high_scores ORDER BY user_id, leaderboard_id, score");
    std::vector<RawRow> rows;
    while (query.step()) {
        RawRow row;
        row.userId = query.getTextValue("user_id").value_or("NULL");
        row.leaderboardId = query.getTextValue("leaderboard_id").value_or("");
        row.score = query.getInt64("score");
        row.displayText = query.getTextValue("display_text");
        if (query.getTextValue("server_sync_at")) {
            row.serverSyncAt = query.getInt64("server_sync_at");
        }
        const char* bytes = nullptr;
        unsigned length = 0;
        query.getBlob("blob", bytes, length);
        row.blobBytes = length;
        rows.push_back(row);
    }
    return rows;
}

inline bool exec(sqlite3* db, const std::string& sql)
{
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace scoretest
