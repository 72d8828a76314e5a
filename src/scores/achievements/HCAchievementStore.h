#pragma once
// The statements the achievements run on the offline database's tables
// "achievement_definitions", "unlocked_achievements" and
// "unlocked_achievements_synch_date" (the offline store creates and
// upgrades them), each on the connection it is given.
//
// Rules the statements keep:
//  - progress is a double held at the precision an upload sends (six
//    decimals) and compared at it, so the value the service confirms
//    confirms the row, rows of earlier versions with every digit included;
//  - stored progress only goes up: a local write or a confirmed value below
//    the stored one changes nothing;
//  - a row is pending (server_sync_at NULL) until a value at least as high
//    is confirmed; confirming a lower value leaves the higher pending one;
//  - an unlock date is the row's time only once it reached 100 %;
//  - rows of "no user" (0 or NULL, from older stores and logged-out play)
//    are merged into a user's rows: one row per achievement, the higher
//    progress, pending.
// A write answers whether it ran to its end; a multi-row write is one
// transaction (a savepoint inside the caller's).
//
// Thread: the connection's thread (HCOfflineConnection checks it).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/foundation/Date.h"

class HCAchievement;
class HCOfflineConnection;

struct HCPendingAchievement {
    std::string achievementId;
    double percentComplete = 0.0;
};

class HCAchievementStore final {
public:
    // The percentage as an upload sends it ("%f", as
    // HCHttpNestedQueryStringWriter prints a double).
    static double atWirePrecision(double percent);
    // The number an achievement id stands for: a whole 64-bit number, blanks
    // around it allowed; nil for any other text.
    static std::optional<int64_t> achievementNumber(std::string_view id);

    // Any definition at all.
    static bool hasAchievements(HCOfflineConnection& connection);
    // The definition without progress row or unlock date; nil when unknown.
    static std::shared_ptr<HCAchievement> definition(HCOfflineConnection& connection, const std::string& achievementId);
    // Definitions valid for `appVersion` with the user's unlock dates: those
    // with progress first (newest first), then by position and id.
    static std::vector<std::shared_ptr<HCAchievement>> achievementsWithProgress(
        HCOfflineConnection& connection, const std::string& appVersion, const std::string& userId);
    // The same for one id; nil when unknown or outside the version range.
    static std::shared_ptr<HCAchievement> achievementWithProgress(HCOfflineConnection& connection,
                                                                  const std::string& appVersion,
                                                                  const std::string& userId,
                                                                  const std::string& achievementId);

    // The stored progress; 0 when there is no row.
    static double percentComplete(HCOfflineConnection& connection, const std::string& achievementId,
                                  const std::string& userId);
    // Stores the progress as pending, when it raises the stored one (the
    // row's time becomes now). True when the statement ran to its end.
    static bool writeLocalProgress(HCOfflineConnection& connection, const std::string& achievementId,
                                   const std::string& userId, double percentComplete);
    // The user's pending rows, in table order.
    static std::vector<HCPendingAchievement> pendingAchievements(HCOfflineConnection& connection,
                                                                 const std::string& userId);
    // Gives the rows of "no user" to `userId` (see the rules above).
    static bool adoptRowsWithoutUser(HCOfflineConnection& connection, const std::string& userId);
    // Records progress the server holds (an unlock reply, the bootstrap) as
    // confirmed at `serverDate` (nil: 0), unless the stored progress is
    // higher. A value outside 0..100, or no number, is not stored (false).
    static bool writeConfirmed(HCOfflineConnection& connection, const std::string& achievementId,
                               const std::string& userId, const std::string& gamerscore,
                               const platform::DatePtr& serverDate, double percentComplete);
    // The server's definitions (each stamped now) with, when a user is
    // given, that user's progress above 0; then the user's sync date. A
    // definition whose id is no whole number is skipped, progress that is
    // no percentage left out; false only when a write failed.
    static bool writeDefinitions(HCOfflineConnection& connection,
                                 const std::vector<std::shared_ptr<HCAchievement>>& achievements,
                                 const std::optional<std::string>& userId);
    // "yyyy-MM-dd HH:mm:ss" (UTC) of the earlier of the user's last sync and
    // the newest definition; 1970 for a user never synchronised.
    static std::string lastSyncDate(HCOfflineConnection& connection, const std::optional<std::string>& userId);
};
