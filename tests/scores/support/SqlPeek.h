#pragma once
// Reads a test's expectations straight from a SQLite file or connection.
//
// Thread: the connection's.
#include <sqlite3.h>

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// Every row of the query, its columns joined by "|" (NULL as "NULL").
inline std::vector<std::string> sqlRows(sqlite3* db, const std::string& sql)
{
    std::vector<std::string> rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return {"ERROR " + sql};
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            if (i) row += "|";
            const unsigned char* text = sqlite3_column_text(statement, i);
            row += text ? reinterpret_cast<const char*>(text) : "NULL";
        }
        rows.push_back(row);
    }
    sqlite3_finalize(statement);
    return rows;
}

inline std::string sqlValue(sqlite3* db, const std::string& sql)
{
    auto rows = sqlRows(db, sql);
    return rows.empty() ? "" : rows.front();
}

inline bool sqlExec(sqlite3* db, const std::string& sql)
{
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace testsupport
