#pragma once
// The achievements of the running game: the list from the server (compared
// with another player, in pages) or, offline, from the local store; the
// player's progress written to the offline database first, reported at once
// and uploaded (an unlock at once, other progress with the next pending
// upload after log-in); a queue of progress the game sends later; the
// server's definitions and progress applied to the local tables.
//
// Progress is a percentage, held to 0..100 (a value that is no number counts
// as 100); 100 unlocks. It only ever goes up, locally and on the server.
//
// Reply pages and the bootstrap's definitions are written for the player
// they were asked for, on the connection of the calling thread.
//
// Thread: initializeService, shutdownService, the public operations, the
// local reads and writes and the queue on the main thread;
// synchAchievementsList and synchUnlockedAchievement also on the provider's
// request thread (the bootstrap), where they use its connection. Callbacks
// arrive through HCDelegate on the main thread.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/services/HCService.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Values.h"

class HCAchievement;
class HCPaginatedSeries;

class HCAchievementService final : public HCService {
public:
    using Text = std::optional<std::string>;
    static constexpr unsigned kPerPage = 25;

    static void initializeService();
    static void shutdownService();
    // Nil before initializeService and after shutdownService.
    static std::shared_ptr<HCAchievementService> sharedInstance();
    void populateKnownResources(HCResourceNameMap& map) override;

    // The link the game gives achievement posts to social networks; nil by default.
    const Text& mCustomUrlWithSocialNotification() const { return customUrl_; }
    void setMCustomUrlWithSocialNotification(const Text& url) { customUrl_ = url; }

    // --- The game's and the pages' operations (main thread) ----------------
    // Online: GET the list (series of HCAchievement); offline: the local
    // list at once as one page. `applicationId` "@me" or empty: this game.
    static void getAchievementsForApplication(const Text& applicationId, const Text& comparedToUserId, unsigned page,
                                              bool silently, const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static void getAchievementsForApplication(const Text& applicationId, const Text& comparedToUserId, unsigned page,
                                              const HCDelegate& onSuccess, const HCDelegate& onFailure)
    {
        getAchievementsForApplication(applicationId, comparedToUserId, page, false, onSuccess, onFailure);
    }
    // For a player who approved the service: stores the progress when it
    // raises the stored one and the achievement is known, shows the banner
    // when asked, reports success, and at 100 posts the unlock and reports
    // it to Game Center at once (the post's handle is the answer; a post
    // that fails leaves the row for the upload after the next log-in);
    // below 100 it goes to Game Center only. Failure (nil
    // answer) when it does not raise, the achievement is unknown or the
    // write failed. Before anyone logged in it is stored for user "0",
    // which the next player to log in adopts. Not approved: Game Center
    // only, when signed in there.
    static HCRequestHandlePtr updateAchievement(const std::string& achievementId, double percentComplete,
                                                bool showNotification, const HCDelegate& onSuccess,
                                                const HCDelegate& onFailure);
    static HCRequestHandlePtr updateAchievement(const std::string& achievementId, double percentComplete,
                                                bool showNotification)
    {
        return updateAchievement(achievementId, percentComplete, showNotification, HCDelegate(), HCDelegate());
    }
    // Approved: stored at once when it raises the stored value (sent with the
    // next submission or log-in). Not approved but signed in to Game
    // Center: kept for Game Center. Otherwise nothing.
    static void queueUpdateAchievement(const std::string& achievementId, double percentComplete,
                                       bool showNotification);
    // Sends what is pending (approved) or the Game Center queue; nil, with
    // no callback, when nothing was sent. Empties the queue.
    static HCRequestHandlePtr submitQueuedUpdateAchievements(const HCDelegate& onSuccess, const HCDelegate& onFailure);

    // --- The local store -----------------------------------------------------
    static bool hasAchievements();
    // The definition without progress row; nil when unknown.
    static std::shared_ptr<HCAchievement> getAchievement(const std::string& achievementId);
    // For the last logged-in player and this game version; nil when unknown
    // or outside the version range.
    static std::shared_ptr<HCAchievement> getAchievementLocalWithUnlockInfo(const std::string& achievementId);
    static std::vector<std::shared_ptr<HCAchievement>> getAchievementsLocal();
    // Success at once with the local list as one page; failure never.
    static void getAchievementsLocal(const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static double getPercentComplete(const std::string& achievementId, const std::string& userId);
    // Raises the stored progress (and, on the first 100, the local player's
    // gamerscore). False when the write failed.
    static bool localUpdateAchievement(const std::string& achievementId, const std::string& userId,
                                       double percentComplete);
    static std::string getLastSyncDateForUserId(const Text& userId);
    // The server's definitions and, with a user, that user's progress; on
    // the calling thread's connection. False when a write failed (nothing
    // of it is kept).
    static bool synchAchievementsList(const std::vector<std::shared_ptr<HCAchievement>>& achievements,
                                      const Text& userId);
    static bool synchUnlockedAchievement(const std::string& achievementId, const std::string& userId,
                                         const std::string& gamerscore, const platform::DatePtr& serverDate,
                                         double percentComplete);

    // --- The upload ------------------------------------------------------------
    // After log-in: the first Game Center pass, or the user's pending rows
    // (rows of no user adopted first). Nil when offline, no user, or nothing
    // pending.
    static HCRequestHandlePtr sendPendingAchievements(const std::string& userId, bool syncOnly,
                                                      const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // POST the ids and percentages; failure at once (nil) when no entry has an id.
    static HCRequestHandlePtr updateAchievements(const std::vector<std::string>& achievementIds,
                                                 const std::vector<double>& percentsComplete,
                                                 const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // Writes the accepted entries of an unlock reply for `userId`, only
    // those for an achievement of `sentIds` (the request's).
    static void syncOfflineAchievements(const std::shared_ptr<HCPaginatedSeries>& page, const std::string& userId,
                                        const std::vector<std::string>& sentIds);
    // The "Submitted Achievements To Server" banner for a page of two or more, unless syncing.
    static void finishAchievementsPage(const std::shared_ptr<HCPaginatedSeries>& page, bool duringSync, bool fromBatch);

    // The player the local store reads and writes for: the last logged-in
    // player, "0" for nobody (or an id that is no positive number).
    static std::string lastLoggedInUserId();
    // 0..100; a value that is no number, or 100 and above, is 100. Held at
    // the precision an upload sends, so comparing it with the stored value
    // compares what the service sees.
    static double clampPercent(double percentComplete);

private:
    Text customUrl_;
    // Progress kept for Game Center while the player has not approved the
    // service; empty between submissions.
    std::vector<std::string> onlySubmitToGameCenterDeferedAchievementIds_;
    std::vector<double> onlySubmitToGameCenterDeferedAchievementPercentCompletes_;
};
