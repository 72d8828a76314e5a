#pragma once
// One write transaction on a connection, scoped: begin() takes the write lock
// at once ("BEGIN IMMEDIATE", so two connections never deadlock by both
// upgrading a read to a write), commit() checks COMMIT, and a transaction
// that was not committed, or whose COMMIT failed, is rolled back when the
// object ends. After a failed commit() the connection is never left inside
// an open transaction.
//
// Begun inside another transaction on the same connection, it is a savepoint
// of that one: commit() keeps its changes for the outer transaction to
// commit, and a rollback undoes only its own. So a write that opens its own
// transaction may run inside a caller's.
//
// Busy waits are those of HCSqlQuery (kBusyWaitSeconds, kMaxBusyRetries).
//
// Thread: the connection's thread.
#include <sqlite3.h>

class HCSqlTransaction {
public:
    explicit HCSqlTransaction(sqlite3* db) : db_(db) {}
    ~HCSqlTransaction() { rollback(); }
    HCSqlTransaction(const HCSqlTransaction&) = delete;
    HCSqlTransaction& operator=(const HCSqlTransaction&) = delete;

    // False when the connection is null, already begun, or the write lock
    // could not be had.
    bool begin();
    // True once the changes are on disk (or, for a savepoint, kept for the
    // outer transaction); false, everything of this one rolled back,
    // otherwise, also without begin().
    bool commit();
    // Undoes what this transaction did; nothing when none is open.
    void rollback();
    bool isOpen() const { return open_; }
    bool isSavepoint() const { return savepoint_; }

private:
    sqlite3* db_;
    bool open_ = false;
    bool savepoint_ = false;
};
