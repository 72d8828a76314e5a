#pragma once
// Owns one SQLite connection: opened with the given flags, closed on
// destruction or close(). No connection options are set; a busy database is
// waited for by HCSqlQuery.
//
// Thread: one thread at a time, the connection's.
#include <string>

#include <sqlite3.h>

class HCSqlDatabase {
public:
    HCSqlDatabase() = default;
    ~HCSqlDatabase() { close(); }
    HCSqlDatabase(const HCSqlDatabase&) = delete;
    HCSqlDatabase& operator=(const HCSqlDatabase&) = delete;

    // Closes any earlier connection first. False, with no handle, when the
    // file cannot be opened.
    bool open(const std::string& path, int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    // Statements still prepared on the handle keep it alive until they are
    // finalised; the handle is unusable from here on either way.
    void close();

    sqlite3* handle() const { return db_; }
    bool isOpen() const { return db_ != nullptr; }

private:
    sqlite3* db_ = nullptr;
};
