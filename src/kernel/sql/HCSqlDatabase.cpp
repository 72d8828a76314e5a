#include "kernel/sql/HCSqlDatabase.h"

bool HCSqlDatabase::open(const std::string& path, int flags)
{
    close();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        // SQLite hands back a handle even when opening fails; it only carries the error.
        sqlite3_close_v2(db);
        return false;
    }
    db_ = db;
    return true;
}

void HCSqlDatabase::close()
{
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}
