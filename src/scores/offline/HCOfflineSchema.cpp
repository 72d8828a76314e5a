#include "scores/offline/HCOfflineSchema.h"

#include <functional>

#include "kernel/sql/HCSqlSchema.h"
#include "kernel/sql/HCSqlTransaction.h"
#include "platform/foundation/Log.h"
#include "scores/offline/HCOfflineConnection.h"

namespace {

constexpr const char* kCreateTableVersions =
    "CREATE TABLE IF NOT EXISTS table_versions(name TEXT NOT NULL,version INTEGER NOT NULL,UNIQUE(name))";

// unlocked_achievements of version 3: percent_complete is the last column,
// as in files upgraded with ADD COLUMN.
constexpr const char* kCreateUnlockedAchievements =
    "CREATE TABLE IF NOT EXISTS unlocked_achievements(user_id INTEGER NOT NULL, achievement_definition_id INTEGER "
    "NOT NULL, gamerscore INTEGER DEFAULT 0, created_at INTEGER DEFAULT NULL, server_sync_at INTEGER DEFAULT NULL, "
    "percent_complete DOUBLE DEFAULT 100)";
constexpr const char* kCreateUnlockedAchievementsIndex =
    "CREATE UNIQUE INDEX IF NOT EXISTS unlocked_achievements_index ON unlocked_achievements "
    "(achievement_definition_id, user_id)";
constexpr const char* kCreateSynchDate =
    "CREATE TABLE IF NOT EXISTS unlocked_achievements_synch_date(user_id INTEGER NOT NULL, synch_date INTEGER NOT "
    "NULL)";
constexpr const char* kCreateSynchDateIndex =
    "CREATE UNIQUE INDEX IF NOT EXISTS unlocked_achievements_synch_date_index ON unlocked_achievements_synch_date "
    "(user_id)";
constexpr const char* kCreateDefinitions =
    "CREATE TABLE IF NOT EXISTS achievement_definitions(id INTEGER NOT NULL, title TEXT DEFAULT NULL, description "
    "TEXT DEFAULT NULL, gamerscore INTEGER DEFAULT 0, is_secret INTEGER DEFAULT 0, icon_file_name TEXT DEFAULT NULL, "
    "position INTEGER DEFAULT 0, start_version TEXT DEFAULT NULL, end_version TEXT DEFAULT NULL, server_sync_at "
    "INTEGER DEFAULT NULL)";
constexpr const char* kCreateDefinitionsIndex =
    "CREATE UNIQUE INDEX IF NOT EXISTS achievement_definitions_index ON achievement_definitions (id)";
constexpr const char* kCreateHighScores =
    "CREATE TABLE IF NOT EXISTS high_scores(user_id INTEGER NOT NULL, leaderboard_id INTEGER NOT NULL, score "
    "INTEGER DEFAULT 0, display_text TEXT DEFAULT NULL, custom_data TEXT DEFAULT NULL, server_sync_at INTEGER "
    "DEFAULT NULL, blob BLOB DEFAULT NULL, UNIQUE(leaderboard_id, user_id, score))";
constexpr const char* kCreateHighScoresIndex =
    "CREATE INDEX IF NOT EXISTS high_scores_index ON high_scores (user_id, leaderboard_id)";
constexpr const char* kCreateLeaderboards =
    "CREATE TABLE IF NOT EXISTS leaderboards(id INTEGER NOT NULL, name TEXT DEFAULT NULL, descending_sort_order "
    "INTEGER DEFAULT 0, active INTEGER DEFAULT 0, is_aggregate INTEGER DEFAULT 0, visible INTEGER DEFAULT 0, "
    "allow_posting_lower_scores INTEGER DEFAULT 0, start_version TEXT DEFAULT NULL, end_version TEXT DEFAULT NULL, "
    "server_sync_at INTEGER DEFAULT NULL)";
constexpr const char* kCreateLeaderboardsIndex =
    "CREATE UNIQUE INDEX IF NOT EXISTS leaderboards_index ON leaderboards (id)";
constexpr const char* kCreateAggregations =
    "CREATE TABLE IF NOT EXISTS leaderboard_aggregations(aggregate_leaderboard_id INTEGER NOT NULL, "
    "leaderboard_pushing_changes_id INTEGER NOT NULL, server_sync_at INTEGER DEFAULT NULL)";
constexpr const char* kCreateAggregationsIndex =
    "CREATE UNIQUE INDEX IF NOT EXISTS leaderboard_aggregations_index ON leaderboard_aggregations "
    "(aggregate_leaderboard_id, leaderboard_pushing_changes_id)";
constexpr const char* kCreateUsers =
    "CREATE TABLE IF NOT EXISTS users(id INTEGER NOT NULL, name TEXT DEFAULT NULL, profile_picture_url TEXT "
    "DEFAULT NULL)";
constexpr const char* kCreateUsersIndex = "CREATE UNIQUE INDEX IF NOT EXISTS users_index ON users (id)";

// Runs `steps` in one write transaction; anything that fails rolls all of
// it back and is logged under `group`.
bool inTransaction(HCOfflineConnection& connection, const char* group, const std::function<bool()>& steps)
{
    HCSqlTransaction transaction(connection.handle());
    bool done = transaction.begin() && steps() && transaction.commit();
    if (!done) {
        transaction.rollback();
        platform::log(platform::LogLevel::Error,
                      std::string("offline database: the ") + group + " tables kept their earlier layout");
    }
    return done;
}

// Adds the column unless the table has it already.
bool ensureColumn(sqlite3* db, const char* table, const char* column, const char* definition)
{
    if (HCSqlSchema::hasColumn(db, table, column)) return true;
    return HCSqlSchema::execute(db, std::string("ALTER TABLE ") + table + " ADD COLUMN " + column + " " + definition);
}

bool all(sqlite3* db, std::initializer_list<const char*> statements)
{
    for (const char* sql : statements) {
        if (!HCSqlSchema::execute(db, sql)) return false;
    }
    return true;
}

}  // namespace

int HCOfflineSchema::getTableVersion(HCOfflineConnection& connection, const std::string& name)
{
    auto query = connection.statement("SELECT * FROM table_versions WHERE name = :name");
    query->bind("name", name);
    return query->execute() ? static_cast<int>(query->getInt64("version")) : 0;
}

bool HCOfflineSchema::setTableVersion(HCOfflineConnection& connection, const std::string& name, long long version)
{
    auto query = connection.statement("REPLACE INTO table_versions (name, version) values (:name, :version)");
    query->bind("name", name);
    query->bind("version", std::to_string(version));
    query->execute();
    return query.isPrepared() && query->result() == 0;
}

HCOfflineSchema::Outcome HCOfflineSchema::setup(HCOfflineConnection& connection)
{
    Outcome outcome;
    outcome.versions = inTransaction(connection, "version", [&] {
        return HCSqlSchema::execute(connection.handle(), kCreateTableVersions) &&
               setTableVersion(connection, "table_versions", 1);
    });
    if (!outcome.versions) return outcome;
    outcome.achievements = setupAchievements(connection);
    outcome.highScores = setupHighScores(connection);
    outcome.leaderboards = setupLeaderboards(connection);
    outcome.users = setupUsers(connection);
    return outcome;
}

bool HCOfflineSchema::setupAchievements(HCOfflineConnection& connection)
{
    sqlite3* db = connection.handle();
    return inTransaction(connection, "achievement", [&] {
        bool hadUnlocks = HCSqlSchema::hasTable(db, "unlocked_achievements");
        bool hadSave = HCSqlSchema::hasTable(db, "unlocked_achievements_save");
        int stored = getTableVersion(connection, "unlocked_achievements");
        // A file from before the version table holds the first layout. A save
        // table left by an upgrade that was cut short holds unlocks too.
        bool oldLayout = (stored == 1 || stored == 0) && (hadUnlocks || hadSave);
        if (oldLayout) {
            if (hadUnlocks) {
                if (!all(db, {"DROP TABLE IF EXISTS unlocked_achievements_save",
                              "CREATE TABLE unlocked_achievements_save AS SELECT user_id, achievement_definition_id "
                              "FROM unlocked_achievements",
                              "DROP TABLE unlocked_achievements"}))
                    return false;
            }
            // The first layout's definitions are rebuilt: the next log-in
            // asks for them all again, as no user has a synch date yet.
            if (!HCSqlSchema::execute(db, "DROP TABLE IF EXISTS achievement_definitions")) return false;
        }
        if (!all(db, {kCreateUnlockedAchievements}) ||
            !ensureColumn(db, "unlocked_achievements", "percent_complete", "DOUBLE DEFAULT 100") ||
            !all(db, {kCreateUnlockedAchievementsIndex, kCreateSynchDate, kCreateSynchDateIndex}))
            return false;
        if (oldLayout) {
            // Old unlocks become pending unlocks, dated now; one per pair.
            if (!all(db, {"INSERT OR IGNORE INTO unlocked_achievements (user_id, achievement_definition_id, "
                          "created_at) SELECT user_id, achievement_definition_id, strftime('%s', 'now') FROM "
                          "unlocked_achievements_save WHERE user_id IS NOT NULL AND achievement_definition_id IS "
                          "NOT NULL",
                          "DROP TABLE unlocked_achievements_save"}))
                return false;
        }
        if (!setTableVersion(connection, "unlocked_achievements", 3)) return false;

        if (!all(db, {kCreateDefinitions}) ||
            !ensureColumn(db, "achievement_definitions", "start_version", "TEXT DEFAULT NULL") ||
            !ensureColumn(db, "achievement_definitions", "end_version", "TEXT DEFAULT NULL") ||
            !ensureColumn(db, "achievement_definitions", "position", "INT DEFAULT 0") ||
            !all(db, {kCreateDefinitionsIndex}))
            return false;
        return setTableVersion(connection, "achievement_definitions", 3);
    });
}

bool HCOfflineSchema::setupHighScores(HCOfflineConnection& connection)
{
    sqlite3* db = connection.handle();
    return inTransaction(connection, "high score", [&] {
        // Every older layout, with or without a version row, lacks some of
        // the later columns: each missing one is added.
        return all(db, {kCreateHighScores}) &&
               ensureColumn(db, "high_scores", "display_text", "TEXT DEFAULT NULL") &&
               ensureColumn(db, "high_scores", "custom_data", "TEXT DEFAULT NULL") &&
               ensureColumn(db, "high_scores", "blob", "BLOB DEFAULT NULL") && all(db, {kCreateHighScoresIndex}) &&
               setTableVersion(connection, "high_scores", 3);
    });
}

bool HCOfflineSchema::setupLeaderboards(HCOfflineConnection& connection)
{
    sqlite3* db = connection.handle();
    return inTransaction(connection, "leaderboard", [&] {
        return all(db, {kCreateLeaderboards, kCreateLeaderboardsIndex}) &&
               setTableVersion(connection, "leaderboards", 1) &&
               all(db, {kCreateAggregations, kCreateAggregationsIndex}) &&
               setTableVersion(connection, "leaderboard_aggregations", 1);
    });
}

bool HCOfflineSchema::setupUsers(HCOfflineConnection& connection)
{
    sqlite3* db = connection.handle();
    return inTransaction(connection, "users", [&] {
        return all(db, {kCreateUsers, kCreateUsersIndex}) && setTableVersion(connection, "users", 1);
    });
}
