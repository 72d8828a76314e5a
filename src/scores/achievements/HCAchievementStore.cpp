#include "scores/achievements/HCAchievementStore.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "kernel/sql/HCSqlTransaction.h"
#include "platform/foundation/Date.h"
#include "platform/runtime/Clock.h"
#include "scores/achievements/HCAchievement.h"
#include "scores/offline/HCIntegerText.h"
#include "scores/offline/HCOfflineConnection.h"

namespace {

// Percentages are bound as text that reads back as the same double, so a
// value compares equal to itself once stored.
std::string percentText(double percent)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", percent);
    return text;
}

// What a percentage the server sends must be to be stored; a value outside
// (a clamp would turn 150 into an unlock) is no value, as no number is.
bool isPercentage(double percent)
{
    return percent >= 0.0 && percent <= 100.0;
}

std::string secondsText(int64_t seconds)
{
    return std::to_string(seconds);
}

// Seconds of a date the server sent; 0 for none or one no store could hold.
int64_t secondsOf(const platform::DatePtr& date)
{
    if (!date) return 0;
    const double seconds = date->timeIntervalSince1970();
    return std::isfinite(seconds) && std::fabs(seconds) < 1e15 ? static_cast<int64_t>(seconds) : 0;
}

int64_t nowSeconds()
{
    return static_cast<int64_t>(std::floor(platform::Clock::currentTime()));
}

constexpr const char* kGetAchievements = "SELECT * FROM achievement_definitions ORDER BY position";
constexpr const char* kGetDefinition = "SELECT *, 0 AS unlocked_date FROM achievement_definitions WHERE id = :id";
// The unlock date is the row's time only at 100 %; the order still puts every
// row with progress first.
constexpr const char* kGetWithProgress =
    "SELECT defs.*, CASE WHEN unlocked_achievements.percent_complete >= 100 THEN unlocked_achievements.created_at "
    "ELSE 0 END AS unlocked_date FROM (SELECT * FROM achievement_definitions WHERE start_version <= :app_version AND "
    "end_version >= :app_version) AS defs LEFT JOIN unlocked_achievements ON "
    "unlocked_achievements.achievement_definition_id = defs.id AND unlocked_achievements.user_id = :user_id ORDER BY "
    "unlocked_achievements.created_at DESC, position ASC, defs.id ASC";
constexpr const char* kGetOneWithProgress =
    "SELECT defs.*, CASE WHEN unlocked_achievements.percent_complete >= 100 THEN unlocked_achievements.created_at "
    "ELSE 0 END AS unlocked_date FROM (SELECT * FROM achievement_definitions WHERE start_version <= :app_version AND "
    "end_version >= :app_version AND id = :achievement_id) AS defs LEFT JOIN unlocked_achievements ON "
    "unlocked_achievements.achievement_definition_id = defs.id AND unlocked_achievements.user_id = :user_id ORDER BY "
    "unlocked_achievements.created_at DESC, position ASC, defs.id ASC";
constexpr const char* kGetPercent =
    "SELECT percent_complete FROM unlocked_achievements WHERE user_id = :user_id AND achievement_definition_id = "
    ":achievement_definition_id";
// Progress is compared rounded as it travels (both sides through the same
// function), so a row an earlier version stored with every digit is
// confirmed by the value that was sent for it.
constexpr const char* kWriteLocal =
    "INSERT INTO unlocked_achievements (achievement_definition_id, user_id, gamerscore, percent_complete, created_at, "
    "server_sync_at) VALUES (:achievement_definition_id, :user_id, 0, :percent_complete, :created_at, NULL) ON "
    "CONFLICT(achievement_definition_id, user_id) DO UPDATE SET gamerscore = 0, percent_complete = "
    "excluded.percent_complete, created_at = excluded.created_at, server_sync_at = NULL WHERE "
    "round(excluded.percent_complete, 6) > round(unlocked_achievements.percent_complete, 6)";
constexpr const char* kPending =
    "SELECT achievement_definition_id, percent_complete FROM unlocked_achievements WHERE user_id = :user_id AND "
    "server_sync_at IS NULL";
constexpr const char* kAdoptRowsWithoutUser =
    "INSERT INTO unlocked_achievements (user_id, achievement_definition_id, gamerscore, percent_complete, created_at, "
    "server_sync_at) SELECT :user_id, achievement_definition_id, 0, MAX(percent_complete), MAX(created_at), NULL FROM "
    "unlocked_achievements WHERE user_id IS NULL OR user_id = 0 GROUP BY achievement_definition_id ON "
    "CONFLICT(achievement_definition_id, user_id) DO UPDATE SET gamerscore = 0, percent_complete = "
    "excluded.percent_complete, created_at = excluded.created_at, server_sync_at = NULL WHERE "
    "round(excluded.percent_complete, 6) > round(unlocked_achievements.percent_complete, 6)";
constexpr const char* kDeleteRowsWithoutUser = "DELETE FROM unlocked_achievements WHERE user_id IS NULL OR user_id = 0";
constexpr const char* kWriteConfirmed =
    "INSERT INTO unlocked_achievements (user_id, achievement_definition_id, gamerscore, percent_complete, created_at, "
    "server_sync_at) VALUES (:user_id, :achievement_definition_id, :gamerscore, :percent_complete, :server_sync_at, "
    ":server_sync_at) ON CONFLICT(achievement_definition_id, user_id) DO UPDATE SET gamerscore = excluded.gamerscore, "
    "percent_complete = excluded.percent_complete, created_at = excluded.created_at, server_sync_at = "
    "excluded.server_sync_at WHERE "
    "round(excluded.percent_complete, 6) >= round(unlocked_achievements.percent_complete, 6)";
constexpr const char* kWriteDefinition =
    "REPLACE INTO achievement_definitions (id, title, description, gamerscore, is_secret, icon_file_name, position, "
    "start_version, end_version, server_sync_at) VALUES (:id, :title, :description, :gamerscore, :is_secret, "
    ":icon_file_name, :position, :start_version, :end_version, :server_sync_at)";
constexpr const char* kSetUserSynchDate =
    "REPLACE INTO unlocked_achievements_synch_date (user_id, synch_date) VALUES (:user_id, :synch_date)";
constexpr const char* kLastSynch =
    "SELECT datetime(MAX(server_sync_at), 'unixepoch') as last_sync_date FROM (SELECT MIN(server_sync_at) AS "
    "server_sync_at FROM (SELECT MAX(server_sync_at) AS server_sync_at FROM (SELECT MAX(synch_date) AS server_sync_at "
    "FROM unlocked_achievements_synch_date WHERE user_id = :user_id UNION SELECT 0 AS server_sync_at) X UNION SELECT "
    "MAX(server_sync_at) AS server_sync_at FROM achievement_definitions WHERE server_sync_at IS NOT NULL) Y ) Z";

// Runs a write to its end; true when it finished without error.
bool ranToEnd(HCOfflineStatement& statement)
{
    if (!statement.isPrepared()) return false;
    statement->execute();
    return statement->result() == 0;
}

}  // namespace

double HCAchievementStore::atWirePrecision(double percent)
{
    char text[512];
    const auto printed = std::to_chars(text, text + sizeof text, percent, std::chars_format::fixed, 6);
    if (printed.ec != std::errc()) return percent;
    double value = percent;
    std::from_chars(text, printed.ptr, value);
    return value;
}

std::optional<int64_t> HCAchievementStore::achievementNumber(std::string_view id)
{
    // XML text keeps the indentation around an id; the number itself is
    // read by the store's one strict integer reader.
    constexpr std::string_view kBlanks = " \t\r\n";
    const auto first = id.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return std::nullopt;
    return HCIntegerFromText(id.substr(first, id.find_last_not_of(kBlanks) - first + 1));
}

bool HCAchievementStore::hasAchievements(HCOfflineConnection& connection)
{
    auto statement = connection.statement(kGetAchievements);
    return statement->execute();
}

std::shared_ptr<HCAchievement> HCAchievementStore::definition(HCOfflineConnection& connection,
                                                              const std::string& achievementId)
{
    auto statement = connection.statement(kGetDefinition);
    statement->bind("id", achievementId);
    return statement->execute() ? HCAchievement::initWithLocalSQL(statement.query()) : nullptr;
}

std::vector<std::shared_ptr<HCAchievement>> HCAchievementStore::achievementsWithProgress(
    HCOfflineConnection& connection, const std::string& appVersion, const std::string& userId)
{
    std::vector<std::shared_ptr<HCAchievement>> achievements;
    achievements.reserve(20);
    auto statement = connection.statement(kGetWithProgress);
    statement->bind("app_version", appVersion);
    statement->bind("user_id", userId);
    while (statement->execute()) achievements.push_back(HCAchievement::initWithLocalSQL(statement.query()));
    return achievements;
}

std::shared_ptr<HCAchievement> HCAchievementStore::achievementWithProgress(HCOfflineConnection& connection,
                                                                           const std::string& appVersion,
                                                                           const std::string& userId,
                                                                           const std::string& achievementId)
{
    auto statement = connection.statement(kGetOneWithProgress);
    statement->bind("app_version", appVersion);
    statement->bind("user_id", userId);
    statement->bind("achievement_id", achievementId);
    return statement->execute() ? HCAchievement::initWithLocalSQL(statement.query()) : nullptr;
}

double HCAchievementStore::percentComplete(HCOfflineConnection& connection, const std::string& achievementId,
                                           const std::string& userId)
{
    auto statement = connection.statement(kGetPercent);
    statement->bind("user_id", userId);
    statement->bind("achievement_definition_id", achievementId);
    // A row an earlier version stored with every digit reads as it would travel.
    return statement->execute() ? atWirePrecision(statement->getDouble("percent_complete")) : 0.0;
}

bool HCAchievementStore::writeLocalProgress(HCOfflineConnection& connection, const std::string& achievementId,
                                            const std::string& userId, double percentComplete)
{
    auto statement = connection.statement(kWriteLocal);
    statement->bind("achievement_definition_id", achievementId);
    statement->bind("user_id", userId);
    statement->bind("percent_complete", percentText(atWirePrecision(percentComplete)));
    statement->bind("created_at", secondsText(nowSeconds()));
    return ranToEnd(statement);
}

std::vector<HCPendingAchievement> HCAchievementStore::pendingAchievements(HCOfflineConnection& connection,
                                                                          const std::string& userId)
{
    std::vector<HCPendingAchievement> pending;
    auto statement = connection.statement(kPending);
    statement->bind("user_id", userId);
    while (statement->execute()) {
        pending.push_back(HCPendingAchievement{std::to_string(statement->getInt64("achievement_definition_id")),
                                               atWirePrecision(statement->getDouble("percent_complete"))});
    }
    return pending;
}

bool HCAchievementStore::adoptRowsWithoutUser(HCOfflineConnection& connection, const std::string& userId)
{
    HCSqlTransaction transaction(connection.handle());
    if (!transaction.begin()) return false;
    {
        auto merge = connection.statement(kAdoptRowsWithoutUser);
        merge->bind("user_id", userId);
        if (!ranToEnd(merge)) return false;
    }
    {
        auto drop = connection.statement(kDeleteRowsWithoutUser);
        if (!ranToEnd(drop)) return false;
    }
    return transaction.commit();
}

bool HCAchievementStore::writeConfirmed(HCOfflineConnection& connection, const std::string& achievementId,
                                        const std::string& userId, const std::string& gamerscore,
                                        const platform::DatePtr& serverDate, double percentComplete)
{
    if (!isPercentage(percentComplete)) return false;
    auto statement = connection.statement(kWriteConfirmed);
    statement->bind("user_id", userId);
    statement->bind("achievement_definition_id", achievementId);
    statement->bind("gamerscore", gamerscore);
    statement->bind("percent_complete", percentText(atWirePrecision(percentComplete)));
    statement->bind("server_sync_at", secondsText(secondsOf(serverDate)));
    return ranToEnd(statement);
}

bool HCAchievementStore::writeDefinitions(HCOfflineConnection& connection,
                                          const std::vector<std::shared_ptr<HCAchievement>>& achievements,
                                          const std::optional<std::string>& userId)
{
    const std::string now = secondsText(nowSeconds());
    HCSqlTransaction transaction(connection.handle());
    if (!transaction.begin()) return false;
    for (const auto& achievement : achievements) {
        // A definition whose id is no whole number has no place in the
        // INTEGER columns; it does not stop the others.
        const auto number = achievement && achievement->resourceId() ? achievementNumber(*achievement->resourceId())
                                                                     : std::nullopt;
        if (!number) continue;
        const std::string id = std::to_string(*number);
        const std::string gamerscore = std::to_string(achievement->gamerscore());
        {
            auto statement = connection.statement(kWriteDefinition);
            statement->bind("id", id);
            statement->bind("title", achievement->title());
            statement->bind("description", achievement->description());
            statement->bind("gamerscore", gamerscore);
            statement->bind("is_secret", achievement->isSecret() ? "1" : "0");
            statement->bind("icon_file_name", achievement->iconUrl());
            statement->bind("position", std::to_string(achievement->position()));
            statement->bind("start_version", achievement->startVersion());
            statement->bind("end_version", achievement->endVersion());
            statement->bind("server_sync_at", now);
            if (!ranToEnd(statement)) return false;
        }
        // Progress that is no percentage leaves the definition without it.
        if (userId && achievement->percentComplete() > 0.0 && isPercentage(achievement->percentComplete())) {
            if (!writeConfirmed(connection, id, *userId, gamerscore, achievement->unlockDate(),
                                achievement->percentComplete()))
                return false;
        }
    }
    if (userId) {
        auto statement = connection.statement(kSetUserSynchDate);
        statement->bind("user_id", *userId);
        statement->bind("synch_date", now);
        if (!ranToEnd(statement)) return false;
    }
    return transaction.commit();
}

std::string HCAchievementStore::lastSyncDate(HCOfflineConnection& connection, const std::optional<std::string>& userId)
{
    auto statement = connection.statement(kLastSynch);
    statement->bind("user_id", userId);
    if (!statement->execute()) return "1970-01-01 00:00:00";
    return statement->getTextValue("last_sync_date").value_or("1970-01-01 00:00:00");
}
