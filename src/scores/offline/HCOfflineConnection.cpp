#include "scores/offline/HCOfflineConnection.h"

#include "kernel/sql/HCSqlSchema.h"
#include "platform/foundation/Log.h"

HCOfflineStatement::HCOfflineStatement(HCSqlQuery* query, bool* inUse, std::unique_ptr<HCSqlQuery> owned)
    : query_(query), inUse_(inUse), owned_(std::move(owned))
{
    if (owned_) query_ = owned_.get();
    if (inUse_) *inUse_ = true;
}

HCOfflineStatement::HCOfflineStatement(HCOfflineStatement&& other) noexcept
    : query_(other.query_), inUse_(other.inUse_), owned_(std::move(other.owned_)), owner_(std::move(other.owner_))
{
    other.query_ = nullptr;
    other.inUse_ = nullptr;
}

HCOfflineStatement::~HCOfflineStatement()
{
    if (query_) {
        query_->resetQuery();
        query_->clearBindings();
    }
    if (inUse_) *inUse_ = false;
}

bool HCOfflineConnection::open(const std::string& path, bool setJournalMode)
{
    close();
    if (!database_.open(path)) return false;
    // Write-ahead logging lets the two connections read while the other
    // writes, and a kill leaves either the whole transaction or none of it.
    if (setJournalMode) {
        HCSqlQuery mode(database_.handle(), "PRAGMA journal_mode=WAL");
        bool wal = mode.execute() && mode.getTextValue("journal_mode") == std::optional<std::string>("wal");
        mode.resetQuery();
        if (!wal) platform::log(platform::LogLevel::Warning, "offline database: write-ahead logging refused");
    }
    // A score answered as stored survives a power loss, not only a kill.
    if (!HCSqlSchema::execute(database_.handle(), "PRAGMA synchronous=FULL"))
        platform::log(platform::LogLevel::Warning, "offline database: synchronous mode refused");
    return true;
}

void HCOfflineConnection::close()
{
    statements_.clear();
    database_.close();
    thread_.detach();
}

HCOfflineStatement HCOfflineConnection::statement(const std::string& sql)
{
    HC_CHECK_THREAD(thread_);
    auto& cached = statements_[sql];
    if (!cached) {
        cached = std::make_unique<Cached>();
        cached->query.reset(database_.handle(), sql);
    }
    if (cached->inUse) {
        auto fresh = std::make_unique<HCSqlQuery>(database_.handle(), sql);
        return HCOfflineStatement(nullptr, nullptr, std::move(fresh));
    }
    // A statement that failed to prepare (the table was missing) is tried again.
    if (!cached->query.isPrepared()) cached->query.reset(database_.handle(), sql);
    return HCOfflineStatement(&cached->query, &cached->inUse, nullptr);
}
