#include "scores/highscores/LocalScoreTable.h"

#include <sqlite3.h>

#include "kernel/sql/HCSqlQuery.h"

namespace scoretest {

std::vector<RawRow> rawRows(sqlite3* db)
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

bool exec(sqlite3* db, const std::string& sql)
{
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace scoretest
