#include "kernel/sql/HCSqlTransaction.h"

#include "kernel/sql/HCSqlQuery.h"

namespace {

bool run(sqlite3* db, const char* sql)
{
    HCSqlQuery query(db, sql);
    query.execute();
    return query.isPrepared() && query.result() == 0;
}

}  // namespace

bool HCSqlTransaction::begin()
{
    if (!db_ || open_) return false;
    savepoint_ = !sqlite3_get_autocommit(db_);
    open_ = run(db_, savepoint_ ? "SAVEPOINT hc_transaction" : "BEGIN IMMEDIATE");
    return open_;
}

bool HCSqlTransaction::commit()
{
    if (!open_) return false;
    if (savepoint_) {
        if (!run(db_, "RELEASE hc_transaction")) {
            rollback();
            return false;
        }
        open_ = false;
        return true;
    }
    // A COMMIT that still finds readers after the busy retries leaves the
    // transaction open; it must not stay open under the connection's later writes.
    if (!run(db_, "COMMIT") || !sqlite3_get_autocommit(db_)) {
        rollback();
        return false;
    }
    open_ = false;
    return true;
}

void HCSqlTransaction::rollback()
{
    if (!open_) return;
    open_ = false;
    // SQLite may have ended the transaction itself (some errors roll back).
    if (sqlite3_get_autocommit(db_)) return;
    if (savepoint_) {
        run(db_, "ROLLBACK TO hc_transaction");
        run(db_, "RELEASE hc_transaction");
        return;
    }
    run(db_, "ROLLBACK");
}
