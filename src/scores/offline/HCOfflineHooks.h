#pragma once
// What the offline store asks of the achievement service: its resource
// classes, its sync date, its part of the bootstrap's "offline" block and of
// the pending upload after log-in. HCClientHooks::install fills them; an
// empty hook means the service is not in this build (its part is skipped:
// the sync date is 1970, nothing is uploaded).
//
// Thread: as written at each hook. The store reads the set with hooks() from
// either thread; setHooks() runs on the main thread.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Values.h"

class HCResourceNameMap;

struct HCOfflineHooks {
    // Adds the achievement classes of an "offline" block and of the
    // configuration file ("achievement", "unlocked_achievement") to a name
    // map. Any thread.
    std::function<void(HCResourceNameMap& map)> shareKnownResources;

    // --- Achievements ------------------------------------------------------
    // The user's last achievement synchronisation as "yyyy-MM-dd HH:mm:ss"
    // (UTC). Main thread.
    std::function<std::string(const std::optional<std::string>& userId)> achievementsLastSyncDate;
    // Writes the achievement definitions (and, with a user, that user's
    // progress) of an "offline" block in one transaction. Main thread (the
    // configuration file, no user) or the request thread (the bootstrap).
    std::function<void(const std::shared_ptr<platform::Array>& achievements, const std::optional<std::string>& userId)>
        synchAchievementsList;
    // Uploads the user's pending unlocks and progress. Main thread.
    std::function<void(const std::string& userId)> sendPendingAchievements;
};
