#include "kernel/sql/HCSqlQuery.h"

#include <sqlite3.h>
#include <strings.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "platform/runtime/Clock.h"

namespace {

std::mutex& sleeperMutex()
{
    static std::mutex m;
    return m;
}
HCSqlQuery::BusySleeper& installedSleeper()
{
    static HCSqlQuery::BusySleeper sleeper;
    return sleeper;
}

void waitOnClock(double seconds)
{
    auto clock = platform::Clock::current();
    if (auto manual = std::dynamic_pointer_cast<platform::ManualClock>(clock)) {
        manual->advance(seconds);
        return;
    }
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

void busyWait()
{
    HCSqlQuery::BusySleeper sleeper;
    {
        std::lock_guard lock(sleeperMutex());
        sleeper = installedSleeper();
    }
    if (sleeper)
        sleeper(HCSqlQuery::kBusyWaitSeconds);
    else
        waitOnClock(HCSqlQuery::kBusyWaitSeconds);
}

bool isBusy(int code)
{
    int primary = code & 0xff;
    return primary == SQLITE_BUSY;
}

std::string parameterName(const char* name)
{
    if (name[0] == ':' || name[0] == '@' || name[0] == '$') return name;
    return std::string(":") + name;
}

}  // namespace

void HCSqlQuery::setBusySleeper(BusySleeper sleeper)
{
    std::lock_guard lock(sleeperMutex());
    installedSleeper() = std::move(sleeper);
}

HCSqlQuery::~HCSqlQuery()
{
    destroyQueryNow();
}

bool HCSqlQuery::reset(sqlite3* db, const std::string& sql)
{
    destroyQueryNow();
    if (!db) {
        result_ = SQLITE_MISUSE;
        return false;
    }
    int rc = SQLITE_OK;
    for (int retries = 0;; ++retries) {
        rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()) + 1, &statement_, nullptr);
        if (!isBusy(rc) || retries >= kMaxBusyRetries) break;
        busyWait();
    }
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
    }
    // Empty SQL prepares to no statement at all.
    result_ = statement_ ? 0 : (rc != SQLITE_OK ? rc : SQLITE_MISUSE);
    return statement_ != nullptr;
}

bool HCSqlQuery::bind(const char* name, const std::optional<std::string>& value)
{
    if (!statement_ || !name) return false;
    int index = sqlite3_bind_parameter_index(statement_, parameterName(name).c_str());
    if (index == 0) return false;
    if (!value) return sqlite3_bind_null(statement_, index) == SQLITE_OK;
    return sqlite3_bind_text64(statement_, index, value->data(), value->size(), SQLITE_TRANSIENT, SQLITE_UTF8) ==
           SQLITE_OK;
}

bool HCSqlQuery::bind(const char* name, const void* bytes, unsigned length)
{
    if (!statement_ || !name) return false;
    int index = sqlite3_bind_parameter_index(statement_, parameterName(name).c_str());
    if (index == 0) return false;
    if (!bytes) return sqlite3_bind_zeroblob(statement_, index, 0) == SQLITE_OK;
    return sqlite3_bind_blob64(statement_, index, bytes, length, SQLITE_TRANSIENT) == SQLITE_OK;
}

bool HCSqlQuery::step()
{
    if (!statement_) {
        result_ = SQLITE_MISUSE;
        return false;
    }
    int rc = sqlite3_step(statement_);
    for (int retries = 0; isBusy(rc) && retries < kMaxBusyRetries; ++retries) {
        busyWait();
        rc = sqlite3_step(statement_);
    }
    if (rc == SQLITE_ROW) {
        result_ = kRow;
        return true;
    }
    // Rewinding releases the statement's locks at once; after an error the
    // code stays here for the caller to read.
    sqlite3_reset(statement_);
    result_ = rc == SQLITE_DONE ? 0 : rc;
    return false;
}

int HCSqlQuery::columnIndex(const char* column) const
{
    if (!statement_ || result_ != kRow || !column) return -1;
    int count = sqlite3_column_count(statement_);
    for (int i = 0; i < count; ++i) {
        const char* name = sqlite3_column_name(statement_, i);
        if (name && strcasecmp(name, column) == 0) return i;
    }
    return -1;
}

const char* HCSqlQuery::getText(const char* column) const
{
    int i = columnIndex(column);
    if (i < 0) return nullptr;
    return reinterpret_cast<const char*>(sqlite3_column_text(statement_, i));
}

std::optional<std::string> HCSqlQuery::getTextValue(const char* column) const
{
    int i = columnIndex(column);
    if (i < 0) return std::nullopt;
    const unsigned char* text = sqlite3_column_text(statement_, i);
    if (!text) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(statement_, i)));
}

int HCSqlQuery::getInt(const char* column) const
{
    int i = columnIndex(column);
    return i < 0 ? 0 : sqlite3_column_int(statement_, i);
}

long long HCSqlQuery::getInt64(const char* column) const
{
    int i = columnIndex(column);
    return i < 0 ? 0 : sqlite3_column_int64(statement_, i);
}

double HCSqlQuery::getDouble(const char* column) const
{
    int i = columnIndex(column);
    return i < 0 ? 0.0 : sqlite3_column_double(statement_, i);
}

bool HCSqlQuery::getBlob(const char* column, const char*& bytes, unsigned& length) const
{
    bytes = nullptr;
    length = 0;
    int i = columnIndex(column);
    if (i < 0 || sqlite3_column_type(statement_, i) == SQLITE_NULL) return false;
    // The pointer first, then the length: asking for the bytes may convert the value.
    bytes = static_cast<const char*>(sqlite3_column_blob(statement_, i));
    length = static_cast<unsigned>(sqlite3_column_bytes(statement_, i));
    return true;
}

void HCSqlQuery::resetQuery()
{
    if (statement_) sqlite3_reset(statement_);
    result_ = 0;
}

void HCSqlQuery::clearBindings()
{
    if (statement_) sqlite3_clear_bindings(statement_);
}

void HCSqlQuery::destroyQueryNow()
{
    if (statement_) sqlite3_finalize(statement_);
    statement_ = nullptr;
    result_ = 0;
}
