#pragma once
// One of the offline database's two connections, with the statements
// prepared on it. A statement is prepared on its first use, on the thread
// that owns the connection, and reused (bind, step, reset) for the
// connection's life; HCOfflineStatement resets it and clears its bindings
// when the use ends, so no statement is left mid-step and no value of an
// earlier use is bound by mistake.
//
// Thread: the connection's own thread (the main thread for the main
// connection, the provider's request thread for the bootstrap one); debug
// builds report any other. open() and close() run on the main thread while
// no other thread uses the connection.
#include <memory>
#include <string>
#include <unordered_map>

#include "kernel/sql/HCSqlDatabase.h"
#include "kernel/sql/HCSqlQuery.h"
#include "platform/runtime/ThreadChecker.h"

class HCOfflineConnection;

// A prepared statement in use; reset with its bindings cleared when it ends.
class HCOfflineStatement {
public:
    HCOfflineStatement() = default;
    HCOfflineStatement(HCOfflineStatement&& other) noexcept;
    HCOfflineStatement& operator=(HCOfflineStatement&&) = delete;
    ~HCOfflineStatement();

    // False when the connection is closed or the SQL did not prepare; every
    // step then fails and every read is empty.
    bool isPrepared() const { return query_ && query_->isPrepared(); }
    HCSqlQuery& query() { return query_ ? *query_ : empty_; }
    HCSqlQuery* operator->() { return &query(); }
    // Keeps `owner` (the database) alive while the statement is in use.
    void keepAlive(std::shared_ptr<void> owner) { owner_ = std::move(owner); }

private:
    friend class HCOfflineConnection;
    HCOfflineStatement(HCSqlQuery* query, bool* inUse, std::unique_ptr<HCSqlQuery> owned);

    HCSqlQuery* query_ = nullptr;
    bool* inUse_ = nullptr;
    std::unique_ptr<HCSqlQuery> owned_;
    HCSqlQuery empty_;
    std::shared_ptr<void> owner_;
};

class HCOfflineConnection {
public:
    HCOfflineConnection() = default;
    HCOfflineConnection(const HCOfflineConnection&) = delete;
    HCOfflineConnection& operator=(const HCOfflineConnection&) = delete;

    // Opens the file and sets the connection's options: write-ahead logging
    // (journal_mode is kept by the file; `setJournalMode` on the first
    // connection only), full synchronisation. False, with no handle, when the
    // file cannot be opened.
    bool open(const std::string& path, bool setJournalMode);
    void close();

    // Null when closed.
    sqlite3* handle() const { return database_.handle(); }
    bool isOpen() const { return database_.isOpen(); }

    // The statement for `sql` on this connection. When the statement is
    // already in use further up the call stack, a fresh one is prepared for
    // this use.
    HCOfflineStatement statement(const std::string& sql);

    // The connection's thread: the next check binds it anew.
    void detachThread() { thread_.detach(); }

private:
    struct Cached {
        HCSqlQuery query;
        bool inUse = false;
    };

    HCSqlDatabase database_;
    std::unordered_map<std::string, std::unique_ptr<Cached>> statements_;
    platform::ThreadChecker thread_;
};
