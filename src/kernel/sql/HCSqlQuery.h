#pragma once
// A prepared SQLite statement with named parameters, read by column name.
//
// Every value is bound, never spliced into the SQL text. A step that finds
// the database busy waits kBusyWaitSeconds and tries again, kMaxBusyRetries
// times at most; the wait passes on platform::Clock (see setBusySleeper), so
// tests move a ManualClock instead of sleeping. The last step's result stays in the
// object: SQLITE_ROW (100) while a row is current, 0 once the statement ran
// to its end (it is then reset), the SQLite error code otherwise.
//
// Thread: one thread at a time, the one that uses the statement's database
// connection. setBusySleeper() may be called from any thread.
#include <functional>
#include <optional>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

class HCSqlQuery {
public:
    static constexpr double kBusyWaitSeconds = 0.2;
    static constexpr int kMaxBusyRetries = 20;

    using BusySleeper = std::function<void(double seconds)>;
    // Replaces the wait between busy retries for the whole process; nullptr
    // restores the default, which lets `seconds` pass on platform::Clock: a
    // real-time clock is slept on, a ManualClock is advanced.
    static void setBusySleeper(BusySleeper sleeper);

    HCSqlQuery() = default;
    HCSqlQuery(sqlite3* db, const std::string& sql) { reset(db, sql); }
    ~HCSqlQuery();
    HCSqlQuery(const HCSqlQuery&) = delete;
    HCSqlQuery& operator=(const HCSqlQuery&) = delete;

    // Finalises any earlier statement and prepares `sql` on `db`. A prepare
    // that finds the database busy is retried like a step. False (and
    // no statement) when `db` is null or the SQL does not prepare.
    bool reset(sqlite3* db, const std::string& sql);

    // Binds a copy of the text to ":name" (the colon may be given or left
    // out); nil binds NULL. False when the statement has no such parameter.
    bool bind(const char* name, const std::optional<std::string>& value);
    bool bind(const char* name, const char* value) { return bind(name, value ? std::optional<std::string>(value) : std::nullopt); }
    // Binds a copy of the bytes as a blob; null bytes bind a zero-length blob.
    bool bind(const char* name, const void* bytes, unsigned length);

    // Runs one step; true when a row is available.
    bool step();
    bool execute() { return step(); }
    bool hasReachedEnd() const { return result_ != kRow; }
    int result() const { return result_; }

    // Columns of the current row, by name (case-insensitive, as SQLite
    // compares identifiers). An unknown column, a NULL value or no current
    // row gives null, 0 or false.
    // The pointer lives until the next step, reset or finalisation.
    const char* getText(const char* column) const;
    std::optional<std::string> getTextValue(const char* column) const;
    int getInt(const char* column) const;
    long long getInt64(const char* column) const;
    bool getBool(const char* column) const { return getInt64(column) != 0; }
    double getDouble(const char* column) const;
    // False with bytes == nullptr and length == 0 for a NULL value; an empty
    // blob answers true with length 0 (and bytes possibly null).
    bool getBlob(const char* column, const char*& bytes, unsigned& length) const;

    // Rewinds the statement so that it can run again; bindings stay.
    void resetQuery();
    // Sets every parameter back to NULL.
    void clearBindings();
    // Finalises the statement at once; the object can be reset() later.
    void destroyQueryNow();
    bool isPrepared() const { return statement_ != nullptr; }

private:
    static constexpr int kRow = 100;
    int columnIndex(const char* column) const;  // -1 unless a row is current and the column exists

    sqlite3_stmt* statement_ = nullptr;
    int result_ = 0;
};
