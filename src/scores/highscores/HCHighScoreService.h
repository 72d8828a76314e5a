#pragma once
// The game's score submission and the local high-score table.
//
// A submission is written to the local table first and answered at once:
// success means the score is stored on this device, never that the service
// has it. While online the score joins a batch that is posted 0.05 s after
// the last submission (every new score postpones it); the reply's accepted
// scores are written back as confirmed. What is not confirmed stays pending
// and is sent again after the next log-in (sendPendingHighScores), through
// crashes, failed requests and days offline.
//
// A score is never posted twice at once: a score in a queued or running
// batch is "in flight" and the re-send leaves it out until that batch ends.
// Every batch ends with exactly one of its callbacks, also when the provider
// drops or cancels the request.
//
// Thread: main thread, except the local writes, which run on the thread that
// calls them with that thread's database handle (the main handle, or the
// bootstrap handle on the provider's request thread).
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/banners/HCNotification.h"
#include "core/services/HCService.h"
#include "platform/foundation/Values.h"
#include "scores/highscores/HCHighScoreBatchEntry.h"
#include "scores/highscores/HCHighScoreLeaderboards.h"

struct sqlite3;
struct HCServerScore;
class HCHighScore;
class HCHighScoreGameCenter;
class HCLocalHighScoreStore;
class HCPaginatedSeries;
class HCUser;
namespace platform::ui {
class Location;
}

using HCHighScoreBatch = std::vector<HCPointer<HCHighScoreBatchEntry>>;

// A score's blob announced in a posted batch ("has_blob" "1"), kept in
// memory until the batch ends: its own score's answer uploads it.
struct HCPendingBlob {
    std::string leaderboardId;
    std::int64_t score = 0;
    std::shared_ptr<platform::Data> blob;
};

// The database the local writes use: one handle per thread, each with the
// leaderboard facts read on that same handle.
struct HCHighScoreDatabase {
    sqlite3* mainHandle = nullptr;
    std::shared_ptr<HCHighScoreLeaderboards> mainLeaderboards;
    sqlite3* bootstrapHandle = nullptr;
    std::shared_ptr<HCHighScoreLeaderboards> bootstrapLeaderboards;
};

class HCHighScoreService final : public HCService {
public:
    static constexpr double kDispatchDelaySeconds = 0.05;
    // The largest blob a single submission uploads; a batch and the re-send
    // upload every blob they carry.
    static constexpr std::size_t kMaxBlobBytes = 51200;
    static constexpr const char* kSubmitPath = "client_applications/@me/high_scores.xml";

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCHighScoreService> sharedInstance();
    void populateKnownResources(HCResourceNameMap& map) override;

    // Prepares the statements on both handles (the table itself belongs to
    // the offline store); teardown finalises them before the handles close.
    static void setupOfflineSupport(const HCHighScoreDatabase& database);
    static void teardownOfflineSupport();
    // What Game Center is to the scores; nil: the client's bridge.
    static void setGameCenter(std::shared_ptr<HCHighScoreGameCenter> gameCenter);

    // --- Submitting one score (main thread) --------------------------------
    static void setHighScore(std::int64_t score, const std::optional<std::string>& leaderboardId,
                             const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static void setHighScore(std::int64_t score, const std::optional<std::string>& leaderboardId, bool silently,
                             const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static void setHighScoreWithDisplayText(std::int64_t score, const std::optional<std::string>& displayText,
                                            const std::optional<std::string>& leaderboardId,
                                            const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static void setHighScoreWithDisplayText(std::int64_t score, const std::optional<std::string>& displayText,
                                            const std::optional<std::string>& leaderboardId, bool silently,
                                            const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static void setHighScoreWithDisplayText(std::int64_t score, const std::optional<std::string>& displayText,
                                            const std::optional<std::string>& customData,
                                            const std::optional<std::string>& leaderboardId, bool silently,
                                            const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static void setHighScoreWithDisplayText(std::int64_t score, const std::optional<std::string>& displayText,
                                            const std::optional<std::string>& customData,
                                            const std::optional<std::string>& leaderboardId, bool silently,
                                            bool deferred, const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // The full form: `deferred` stores the score without queueing it.
    static void setHighScoreWithDisplayText(std::int64_t score, const std::optional<std::string>& displayText,
                                            const std::optional<std::string>& customData,
                                            const std::shared_ptr<platform::Data>& blob,
                                            const std::optional<std::string>& leaderboardId, bool silently,
                                            bool deferred, const HCDelegate& onSuccess, const HCDelegate& onFailure);

    // --- Batches (main thread) ---------------------------------------------
    // The same, not silently: the POST shows the message's banner.
    static std::shared_ptr<HCRequestHandle> batchSetHighScores(HCHighScoreBatch* scores, const HCDelegate& onSuccess,
                                                               const HCDelegate& onFailure,
                                                               const std::optional<std::string>& message);
    // Stores the entries (unless fromSynch) and posts those worth sending.
    // The outcome is failure when any local write failed. Nil when nothing
    // was started; a batch left empty answers success at once.
    static std::shared_ptr<HCRequestHandle> batchSetHighScores(HCHighScoreBatch* scores, bool silently,
                                                               const HCDelegate& onSuccess,
                                                               const HCDelegate& onFailure,
                                                               const std::optional<std::string>& message,
                                                               bool fromSynch = false);
    static std::shared_ptr<HCRequestHandle> submitHighScoreBatch(HCHighScoreBatch* scores, bool silently,
                                                                 const HCDelegate& onSuccess,
                                                                 const HCDelegate& onFailure,
                                                                 const std::optional<std::string>& message);
    // The re-send after a log-in: adopts rows without a user, then posts the
    // user's pending rows that are not in flight, in bounded batches one
    // after the other (HCPendingScoreResend). Always silent. Nil when
    // offline, for the user "Invalid" or an id not above 0, when nothing was
    // pending, or while the user's last re-send still runs; else the first
    // batch's handle. The callbacks hear the end of the whole re-send.
    static std::shared_ptr<HCRequestHandle> sendPendingHighScores(const std::string& userId, bool silently,
                                                                  const HCDelegate& onSuccess,
                                                                  const HCDelegate& onFailure);
    // Posts the queued scores now (the 0.05 s timer calls it).
    void dispatchPendingScores();

    // --- The local table -----------------------------------------------------
    // Stores on the calling thread's handle; false when nothing was written
    // (unknown board, aggregate written directly, a failed step). The
    // should-submit flag, when asked for, says whether the score is worth
    // sending.
    static bool localSetHighScore(std::int64_t score, const std::string& leaderboardId, const std::string& userId,
                                  const std::optional<std::string>& displayText,
                                  const std::optional<std::string>& customData,
                                  const std::shared_ptr<platform::Data>& blob,
                                  std::optional<std::int64_t> serverDate, bool addToExisting, bool* shouldSubmit,
                                  bool overrideExisting);
    // A score the server holds for the player (the bootstrap's copy), stored
    // as confirmed: nothing overwritten, nothing sent; the aggregates it
    // feeds follow it as they follow the game's scores. On
    // the calling thread's connection, inside the caller's transaction.
    static bool recordServerScore(const HCServerScore& score);
    // The local player's best on the board; false (and 0) when none.
    static bool getPreviousHighScoreLocal(std::int64_t* score, const std::string& leaderboardId);
    static std::shared_ptr<HCHighScore> getHighScoreForUser(const std::shared_ptr<HCUser>& user,
                                                            const std::string& leaderboardId,
                                                            bool descendingSortOrder);
    // The local player's stored scores of the board, best first, ranked 1..10.
    static std::vector<std::shared_ptr<HCHighScore>> getHighScoresLocal(const std::string& leaderboardId);
    // The same, at once, as a series to the success callback.
    static void getLocalHighScores(const std::string& leaderboardId, const HCDelegate& onSuccess,
                                   const HCDelegate& onFailure);

    // --- Reading scores from the service (main thread) -----------------------
    // GETs of "client_applications/@me/high_scores.xml" unless said; each
    // success gets the reply's HCPaginatedSeries of HCHighScore (sectioned
    // for the page query). The handle, or nil when nothing was started.
    // A time scope of 0 sends no "interval"; an empty compared user is not
    // sent.
    static std::shared_ptr<HCRequestHandle> getPage(int page, int pageSize, const std::optional<std::string>& leaderboardId,
                                                    const std::optional<std::string>& comparedToUserId,
                                                    bool friendsOnly, bool silently, unsigned timeScope,
                                                    const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static std::shared_ptr<HCRequestHandle> getPage(int page, const std::optional<std::string>& leaderboardId,
                                                    const std::optional<std::string>& comparedToUserId,
                                                    bool friendsOnly, bool silently, unsigned timeScope,
                                                    const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static std::shared_ptr<HCRequestHandle> getPage(int page, const std::optional<std::string>& leaderboardId,
                                                    const std::optional<std::string>& comparedToUserId,
                                                    bool friendsOnly, bool silently, const HCDelegate& onSuccess,
                                                    const HCDelegate& onFailure);
    static std::shared_ptr<HCRequestHandle> getPage(int page, const std::optional<std::string>& leaderboardId,
                                                    bool friendsOnly, bool silently, const HCDelegate& onSuccess,
                                                    const HCDelegate& onFailure);
    static std::shared_ptr<HCRequestHandle> getPage(int page, const std::optional<std::string>& leaderboardId,
                                                    bool friendsOnly, const HCDelegate& onSuccess,
                                                    const HCDelegate& onFailure);
    // The page that holds the player.
    static std::shared_ptr<HCRequestHandle> getPageWithLoggedInUserWithPageSize(
        int pageSize, const std::optional<std::string>& leaderboardId, bool silently, const HCDelegate& onSuccess,
        const HCDelegate& onFailure);
    static std::shared_ptr<HCRequestHandle> getPageWithLoggedInUserWithPageSize(
        int pageSize, const std::optional<std::string>& leaderboardId, const HCDelegate& onSuccess,
        const HCDelegate& onFailure);
    static std::shared_ptr<HCRequestHandle> getPageWithLoggedInUserForLeaderboard(
        const std::optional<std::string>& leaderboardId, const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // The player's score with up to `betterCount` better and `worseCount`
    // worse ones around it.
    static std::shared_ptr<HCRequestHandle> getHighScoreNearCurrentUserForLeaderboard(
        const std::optional<std::string>& leaderboardId, unsigned betterCount, unsigned worseCount,
        const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // Scores near a position (nil: the service's idea of the player's);
    // a radius of 0 and a nil map mode are not sent.
    static void getHighScoresFromLocation(const std::shared_ptr<platform::ui::Location>& location, int radius,
                                          int pageIndex, const std::optional<std::string>& leaderboardId,
                                          const std::optional<std::string>& userMapMode, const HCDelegate& onSuccess,
                                          const HCDelegate& onFailure);
    static void getHighScoresFromLocation(const std::shared_ptr<platform::ui::Location>& location, int radius,
                                          int pageIndex, const std::optional<std::string>& leaderboardId,
                                          const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // The player's best on every leaderboard.
    static void getAllHighScoresForLoggedInUser(const HCDelegate& onSuccess, const HCDelegate& onFailure,
                                                const std::optional<std::string>& optionalMessage);
    // GET "leaderboards/ID/high_scores/range/START/DELTA/PAGE/SIZE.xml":
    // scores sampled from `startScore` in steps of `scoreDelta`, both
    // written whole.
    static std::shared_ptr<HCRequestHandle> getDistributedHighScoresAtPage(
        int page, int pageSize, std::int64_t scoreDelta, std::int64_t startScore,
        const std::optional<std::string>& leaderboardId, const HCDelegate& onSuccess, const HCDelegate& onFailure);

    // --- Blobs held for the reply (main thread) ------------------------------
    // Every score of a running batch that announced its blob holds it here,
    // beside the held blobs of other scores of the board, until its batch
    // ends.
    static void setPendingBlob(const std::shared_ptr<platform::Data>& blob, const std::string& leaderboardId,
                               std::int64_t score);
    static std::shared_ptr<platform::Data> getPendingBlobForLeaderboard(const std::string& leaderboardId,
                                                                       std::int64_t score);

    // --- Score attachments on the storage road (main thread) -----------------
    // Sends the blob on the score's upload parameters (nothing without
    // both); once stored, the score is written back as confirmed with it. A
    // failed upload leaves the row pending for the next re-send.
    static void uploadBlob(const std::shared_ptr<platform::Data>& blob, const std::shared_ptr<HCHighScore>& score,
                           const std::string& owner);
    // Success gets the score with its blob set; nil when nothing was
    // started (no attachment: failure; already here: success). A 404 also
    // reports the attachment missing.
    static std::shared_ptr<HCRequestHandle> downloadBlobForHighScore(const std::shared_ptr<HCHighScore>& score,
                                                                     const HCDelegate& onSuccess,
                                                                     const HCDelegate& onFailure);
    // POST "high_scores/ID/invalidate_blob.xml"; its outcome is not reported.
    static void reportMissingBlobForHighScore(const std::shared_ptr<HCHighScore>& score);

    // What tests and the re-send see of the queue.
    std::size_t queuedScoreCount() const { return mPendingScores.size(); }
    bool isInFlight(const std::string& userId, const std::string& leaderboardId, std::int64_t score) const;

private:
    friend class HCHighScoreBatchCompletion;
    friend class HCGameCenterHighScore;
    friend class HCPendingScoreResend;
    using ScoreKey = std::tuple<std::string, std::string, std::int64_t>;

    static HCLocalHighScoreStore* storeForCurrentThread();
    // The logged-in player's id, or "0" (no player yet) when there is none or
    // it is not an integer: such scores are adopted at the next log-in.
    static std::string submittingUserId();
    static void releasePendingBlob(const HCPendingBlob& held);
    static std::shared_ptr<HCHighScoreGameCenter> gameCenter();
    static bool isLoggedIntoGameCenter();
    // The high-score banner (category 4, success) with this text.
    static HCNotificationDataPtr highScoreNotice(const std::string& text);
    static std::shared_ptr<HCRequestHandle> batchSetForUser(HCHighScoreBatch* scores, const std::string& userId,
                                                            bool silently, const HCDelegate& onSuccess,
                                                            const HCDelegate& onFailure,
                                                            const std::optional<std::string>& message,
                                                            bool fromSynch);
    static std::shared_ptr<HCRequestHandle> submitBatchForUser(HCHighScoreBatch* scores, const std::string& userId,
                                                               bool silently, const HCDelegate& onSuccess,
                                                               const HCDelegate& onFailure,
                                                               const std::optional<std::string>& message);
    static std::shared_ptr<HCRequestHandle> postBatch(HCHighScoreBatch scores, const std::string& userId,
                                                      const std::optional<std::string>& message, bool silently,
                                                      const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // Writes back as confirmed the reply's scores that the batch posted
    // (same player, board and score), or first uploads the blob the batch
    // announced for one; other scores of the reply are left alone. A blob
    // used here leaves `blobs`.
    void writeBackAcceptedScores(const std::shared_ptr<HCPaginatedSeries>& series, const std::string& userId,
                                 const std::vector<ScoreKey>& posted, std::vector<HCPendingBlob>& blobs);
    void scheduleDispatch();
    // The confirmed score into the local table, its attachment kept.
    static void writeBackScore(const HCHighScore& score, const std::string& owner,
                               const std::shared_ptr<platform::Data>& blob);

    HCHighScoreBatch mPendingScores;
    std::string mPendingScoresUser;
    std::vector<HCPendingBlob> mPendingBlobs;
    std::multiset<ScoreKey> inFlight_;
    // The players whose re-send is walking through their pending rows.
    std::set<std::string> resendingFor_;
};
