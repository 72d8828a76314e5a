#pragma once
// The game's leaderboards: the list from the service, or from the local copy
// while offline; and the local copy itself (definitions and aggregation
// links, written after the bootstrap and from the offline configuration
// file), which the score code reads for a board's sort order and flags, the
// aggregates a score also counts towards, and the last synchronisation.
//
// Thread: initializeService, shutdownService and the list calls on the main
// thread. The look-ups by id, the aggregate parents, the Unix sync time and
// the synchronisation run on the main thread or the provider's request
// thread, each on that thread's connection. getLastSyncDateForUserId and the
// local list on the main thread.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/services/HCService.h"

class HCLeaderboard;
class HCLeaderboard_Sync;
class HCLeaderboardAggregation;

class HCLeaderboardService final : public HCService {
public:
    using Text = std::optional<std::string>;

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCLeaderboardService> sharedInstance();
    void populateKnownResources(HCResourceNameMap& map) override;

    // ===== The list ===========================================================
    // Online: GET "client_applications/{id, or @me when nil or empty}/
    // leaderboards.xml" (with "compared_user_id" when given), request type 2
    // with the download notice; success gets a series of HCLeaderboard.
    // Offline: success with the local list, and no handle. Main thread.
    static std::shared_ptr<HCRequestHandle> getLeaderboardsForApplication(const Text& applicationId,
                                                                          const Text& comparedUserId,
                                                                          const HCDelegate& onSuccess,
                                                                          const HCDelegate& onFailure);
    // This game's list.
    std::shared_ptr<HCRequestHandle> getIndexOnSuccess(const HCDelegate& onSuccess,
                                                       const HCDelegate& onFailure) override;
    // "Downloaded Leaderboards", leaderboards category, downloading type.
    static platform::ObjectPtr getDownloadNotification();

    // ===== The local copy =====================================================
    // The active, visible leaderboards valid for this version, in the table's
    // row order, each with the local player's best local score. Main thread.
    static std::vector<std::shared_ptr<HCLeaderboard>> getLeaderboardsLocal();
    // Success with a series of getLeaderboardsLocal(); never fails.
    static void getLeaderboardsLocal(const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // The definition without scores; nil (logged) when unknown.
    static std::shared_ptr<HCLeaderboard> getLeaderboard(const Text& leaderboardId);
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
    // stays NULL and no score is recorded. A definition or link whose id is
    // not an integer is skipped, as are the scores of such a user; a board
    // without a readable sort order keeps the one the copy has. False,
    // nothing written, when any step failed.
    static bool synchLeaderboardsList(const std::vector<std::shared_ptr<HCLeaderboard_Sync>>& leaderboards,
                                      const std::vector<std::shared_ptr<HCLeaderboardAggregation>>& aggregations,
                                      const Text& userId, bool setSynchTime);
};
