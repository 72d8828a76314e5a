#pragma once
// The game's leaderboards: the list from the service, or from the local copy
// while offline; and the local copy itself (definitions and aggregation
// links, written after the bootstrap and from the offline configuration
// file), which the score code reads for a board's sort order and flags, the
// aggregates a score also counts towards, and the last synchronisation.
//
// Thread: the list calls on the main thread. The look-ups by id, the
// aggregate parents, the Unix sync time and the synchronisation run on the
// main thread or the provider's request thread, each on that thread's
// connection. getLastSyncDateForUserId and the local list on the main thread.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/services/HCService.h"

class HCLeaderboard_Sync;
class HCLeaderboardAggregation;

class HCLeaderboardService final : public HCService {
public:
    using Text = std::optional<std::string>;

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCLeaderboardService> sharedInstance();
    void populateKnownResources(HCResourceNameMap& map) override;

    // ===== The local copy =====================================================
    // YES when the local copy holds an active, visible leaderboard valid for
    // this version. Main thread.
    static bool hasLeaderboards();
    // The definition, also of inactive, invisible or out-of-version boards;
    // nil (logged) when unknown.
    static std::shared_ptr<HCLeaderboard_Sync> getLeaderboardDetails(const Text& leaderboardId);
    // The active aggregates the board feeds (unknown ones logged and skipped).
    static std::vector<std::shared_ptr<HCLeaderboard_Sync>> getAggregateParents(const Text& leaderboardId);
    // The earlier of the user's newest confirmed score and the newest
    // leaderboard sync (the latter ignored when no leaderboard has one), as
    // "yyyy-MM-dd HH:mm:ss" UTC and as whole seconds since 1970; 1970 and "0"
    // for a user without confirmed scores.
    static std::string getLastSyncDateForUserId(const Text& userId);
    static std::string getLastSyncDateUnixForUserId(const Text& userId);

    // Writes the definitions and links in one transaction on the calling
    // thread's connection. With `setSynchTime` (the bootstrap) rows carry
    // now as their sync time and a positive server score of the user is
    // recorded as confirmed; without (the configuration file) the sync time
    // stays NULL and no score is recorded. False, nothing written, when any
    // step failed.
    static bool synchLeaderboardsList(const std::vector<std::shared_ptr<HCLeaderboard_Sync>>& leaderboards,
                                      const std::vector<std::shared_ptr<HCLeaderboardAggregation>>& aggregations,
                                      const Text& userId, bool setSynchTime);
};
