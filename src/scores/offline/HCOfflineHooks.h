#pragma once
// What the offline store and the leaderboard copy ask of the achievement
// and high-score services: their parts of the bootstrap's synchronisation
// and of the pending upload after log-in. HCClientHooks::install fills
// them; an empty hook means the service is not in this build (its part is
// skipped: no sync date other than 1970, nothing uploaded, no score recorded).
//
// Thread: as written at each hook. The store reads the set with hooks() from
// either thread; setHooks() runs on the main thread.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Date.h"
#include "platform/foundation/Values.h"


// A score the server holds for the player, recorded as confirmed.
struct HCServerScore {
    std::string userId;
    std::string leaderboardId;
    int64_t score = 0;
    std::optional<std::string> displayText;  // nil when empty
    std::optional<std::string> customData;   // nil when empty
    platform::DatePtr serverDate;            // never nil: when the score was reached
};

class HCResourceNameMap;

struct HCOfflineHooks {
    // Adds the achievement and score classes of an "offline" block and of
    // the configuration file ("achievement", "unlocked_achievement",
    // "high_score") to a name map. Any thread.
    std::function<void(HCResourceNameMap& map)> shareKnownResources;

    // --- Achievements ------------------------------------------------------
    // The user's last achievement synchronisation as "yyyy-MM-dd HH:mm:ss"
    // (UTC). Main thread.
    std::function<std::string(const std::optional<std::string>& userId)> achievementsLastSyncDate;
    // Writes the achievement definitions (and, with a user, that user's
    // progress) of an "offline" block in one transaction; true when every
    // row was written (entries that are no achievement are skipped, not
    // failed). Main thread (the configuration file, no user) or the request
    // thread (the bootstrap).
    std::function<bool(const std::shared_ptr<platform::Array>& achievements, const std::optional<std::string>& userId)>
        synchAchievementsList;
    // Uploads the user's pending unlocks and progress. Main thread.
    std::function<void(const std::string& userId)> sendPendingAchievements;

    // --- High scores -------------------------------------------------------
    // Uploads the user's pending scores. Main thread.
    std::function<void(const std::string& userId)> sendPendingHighScores;
    // Records a score from the bootstrap as confirmed by the server (no
    // submission, nothing overwritten; its aggregates follow), on the calling
    // thread's connection inside the caller's open transaction. Request thread.
    std::function<bool(const HCServerScore& score)> recordServerScore;
};
