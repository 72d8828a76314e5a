#pragma once
// One-time statements and questions about a connection's schema, each with
// a checked result: table creation and upgrades run through these, so a
// failed step is seen by its caller.
//
// Thread: the connection's thread.
#include <string>

struct sqlite3;

namespace HCSqlSchema {

// Prepares, runs to its end and finalises one statement (no parameters).
// True when it ran without an error.
bool execute(sqlite3* db, const std::string& sql);
bool hasTable(sqlite3* db, const std::string& table);
bool hasColumn(sqlite3* db, const std::string& table, const std::string& column);

}  // namespace HCSqlSchema
