#include "scores/highscores/HCHighScoreService.h"

#include <mutex>

#include "core/banners/HCNotification.h"
#include "core/clientstate/HCClientState.h"
#include "core/halcyon/Halcyon.h"
#include "core/resources/HCResourceClass.h"
#include "core/storage/HCS3UploadParameters.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/highscores/HCAbridgedHighScore.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/highscores/HCHighScoreGameCenter.h"
#include "scores/highscores/HCLocalHighScoreStore.h"
#include "scores/highscores/HCOfflineLeaderboardFacts.h"
#include "scores/offline/HCIntegerText.h"
#include "scores/offline/HCOfflineDatabase.h"

namespace {

std::shared_ptr<HCHighScoreService> sHighScoreService;
std::shared_ptr<HCHighScoreGameCenter> sGameCenter;

// The stores are made and dropped on the main thread and used on two;
// the lock guards only the pointers, never a store's work.
std::mutex sStoresMutex;
std::shared_ptr<HCLocalHighScoreStore> sMainStore;
std::shared_ptr<HCLocalHighScoreStore> sBootstrapStore;
// Set up by hand (tests); otherwise the stores follow the offline database
// that is open now.
bool sSetUpByHand = false;
std::weak_ptr<HCOfflineDatabase> sAttachedDatabase;

}  // namespace

void HCHighScoreService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sHighScoreService) {
        sHighScoreService = HCService::create<HCHighScoreService>();
    }
}

void HCHighScoreService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sHighScoreService = nullptr;
}

std::shared_ptr<HCHighScoreService> HCHighScoreService::sharedInstance()
{
    return sHighScoreService;
}

void HCHighScoreService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCHighScore>(map);
    HCAddKnownResource<HCAbridgedHighScore>(map);
    HCAddKnownResource<HCS3UploadParameters>(map);
}

void HCHighScoreService::setupOfflineSupport(const HCHighScoreDatabase& database)
{
    HC_CHECK_MAIN_THREAD();
    auto main = std::make_shared<HCLocalHighScoreStore>(database.mainHandle, database.mainLeaderboards);
    auto bootstrap = std::make_shared<HCLocalHighScoreStore>(database.bootstrapHandle, database.bootstrapLeaderboards);
    std::lock_guard lock(sStoresMutex);
    sMainStore = std::move(main);
    sBootstrapStore = std::move(bootstrap);
    sSetUpByHand = true;
}

void HCHighScoreService::teardownOfflineSupport()
{
    HC_CHECK_MAIN_THREAD();
    std::lock_guard lock(sStoresMutex);
    sMainStore = nullptr;
    sBootstrapStore = nullptr;
    sSetUpByHand = false;
    sAttachedDatabase.reset();
}

std::shared_ptr<HCHighScoreGameCenter> HCHighScoreService::gameCenter()
{
    return sGameCenter ? sGameCenter : HCHighScoreGameCenter::bridge();
}

bool HCHighScoreService::isLoggedIntoGameCenter()
{
    return gameCenter()->isLoggedIntoGameCenter();
}

HCNotificationDataPtr HCHighScoreService::highScoreNotice(const std::string& text)
{
    auto notice =
        HCNotificationData::dataWithText(text, HCNotificationCategoryHighScore, HCNotificationTypeSuccess);
    notice->imageName = "HighScoreNotificationIcon.png";
    return notice;
}

void HCHighScoreService::setGameCenter(std::shared_ptr<HCHighScoreGameCenter> gameCenter)
{
    HC_CHECK_MAIN_THREAD();
    sGameCenter = std::move(gameCenter);
}

std::string HCHighScoreService::submittingUserId()
{
    const auto userId = HCClientState::lastLoggedInUserId();
    return userId && HCIsIntegerText(*userId) ? *userId : "0";
}

HCLocalHighScoreStore* HCHighScoreService::storeForCurrentThread()
{
    // Kept alive by the thread-local copy until the thread's next call.
    thread_local std::shared_ptr<HCLocalHighScoreStore> held;
    const bool onRequestThread = HCOfflineDatabase::isRequestThread();
    std::lock_guard lock(sStoresMutex);
    if (!sSetUpByHand) {
        auto database = HCOfflineDatabase::current();
        if (database != sAttachedDatabase.lock() || (!database && sMainStore)) {
            auto facts = std::make_shared<HCOfflineLeaderboardFacts>();
            sMainStore = database ? std::make_shared<HCLocalHighScoreStore>(database->mainConnection().handle(), facts)
                                  : nullptr;
            sBootstrapStore = database ? std::make_shared<HCLocalHighScoreStore>(
                                             database->bootstrapConnection().handle(), facts)
                                       : nullptr;
            sAttachedDatabase = database;
        }
    }
    held = onRequestThread ? sBootstrapStore : sMainStore;
    return held.get();
}

void HCHighScoreService::setHighScore(std::int64_t score, const std::optional<std::string>& leaderboardId,
                                      const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    setHighScoreWithDisplayText(score, std::nullopt, leaderboardId, false, onSuccess, onFailure);
}

void HCHighScoreService::setHighScore(std::int64_t score, const std::optional<std::string>& leaderboardId,
                                      bool silently, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    setHighScoreWithDisplayText(score, std::nullopt, leaderboardId, silently, onSuccess, onFailure);
}

void HCHighScoreService::setHighScoreWithDisplayText(std::int64_t score, const std::optional<std::string>& displayText,
                                                     const std::optional<std::string>& leaderboardId,
                                                     const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    setHighScoreWithDisplayText(score, displayText, leaderboardId, false, onSuccess, onFailure);
}

void HCHighScoreService::setHighScoreWithDisplayText(std::int64_t score, const std::optional<std::string>& displayText,
                                                     const std::optional<std::string>& leaderboardId, bool silently,
                                                     const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    setHighScoreWithDisplayText(score, displayText, std::nullopt, leaderboardId, silently, onSuccess, onFailure);
}

void HCHighScoreService::setHighScoreWithDisplayText(std::int64_t score, const std::optional<std::string>& displayText,
                                                     const std::optional<std::string>& customData,
                                                     const std::optional<std::string>& leaderboardId, bool silently,
                                                     const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    setHighScoreWithDisplayText(score, displayText, customData, leaderboardId, silently, false, onSuccess, onFailure);
}

void HCHighScoreService::setHighScoreWithDisplayText(std::int64_t score, const std::optional<std::string>& displayText,
                                                     const std::optional<std::string>& customData,
                                                     const std::optional<std::string>& leaderboardId, bool silently,
                                                     bool deferred, const HCDelegate& onSuccess,
                                                     const HCDelegate& onFailure)
{
    setHighScoreWithDisplayText(score, displayText, customData, nullptr, leaderboardId, silently, deferred, onSuccess,
                                onFailure);
}

void HCHighScoreService::setHighScoreWithDisplayText(std::int64_t score, const std::optional<std::string>& displayText,
                                                     const std::optional<std::string>& customData,
                                                     const std::shared_ptr<platform::Data>& blob,
                                                     const std::optional<std::string>& leaderboardId, bool silently,
                                                     bool deferred, const HCDelegate& onSuccess,
                                                     const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    const std::string board = leaderboardId.value_or("");
    bool sentToGameCenter = false;
    if (!Halcyon::hasUserApprovedHalcyon() && isLoggedIntoGameCenter()) {
        HCSubmitHighScoreToGameCenterOnly(
            *gameCenter(),
            {std::make_shared<HCHighScoreBatchEntry>(leaderboardId, score, std::nullopt, std::nullopt, nullptr)});
        sentToGameCenter = true;
    }
    const std::string userId = submittingUserId();
    bool shouldSubmit = true;
    const bool stored = localSetHighScore(score, board, userId, displayText, customData, blob, std::nullopt, false,
                                          &shouldSubmit, true);
    auto service = sharedInstance();
    if (shouldSubmit && service) {
        std::string text = "New high score! Saving locally.";
        const bool online = HCClientState::isOnline();
        if (!deferred && online) {
            if (service->mPendingScoresUser != userId) {
                // The queue holds another player's scores: they go with
                // their own player's next log-in.
                service->dispatchPendingScores();
            }
            service->inFlight_.emplace(userId, board, score);
            // A blob over the limit is neither announced nor uploaded; the
            // row still keeps it.
            const bool blobFits = blob && blob->bytes().size() <= kMaxBlobBytes;
            service->mPendingScores.push_back(std::make_shared<HCHighScoreBatchEntry>(
                leaderboardId, score, displayText, customData, blobFits ? blob : nullptr));
            service->mPendingScoresUser = userId;
            service->scheduleDispatch();
            text = "New high score!";
        }
        if (!silently) {
            if (online) {
                // Shown with the next successful reply: the batch's.
                HCNotification::sharedInstance()->setDefaultBackgroundNotice(highScoreNotice(text),
                                                                             HCNotificationStatusSuccess);
            } else {
                HCNotification::sharedInstance()->showBackgroundNotice(highScoreNotice(text), HCNotificationStatusSuccess);
            }
        }
    } else if (!shouldSubmit && isLoggedIntoGameCenter() && !sentToGameCenter) {
        HCSubmitHighScoreToGameCenterOnly(
            *gameCenter(),
            {std::make_shared<HCHighScoreBatchEntry>(leaderboardId, score, std::nullopt, std::nullopt, nullptr)});
    }
    if (stored) {
        onSuccess.invoke();
    } else {
        onFailure.invoke();
    }
}

void HCHighScoreService::scheduleDispatch()
{
    auto loop = platform::Thread::mainThread()->runLoop();
    loop->cancelDelayed(this);
    std::weak_ptr<HCHighScoreService> weak = std::static_pointer_cast<HCHighScoreService>(shared_from_this());
    loop->postAfter(
        kDispatchDelaySeconds,
        [weak] {
            if (auto service = weak.lock()) {
                service->dispatchPendingScores();
            }
        },
        this);
}

void HCHighScoreService::dispatchPendingScores()
{
    HC_CHECK_MAIN_THREAD();
    platform::Thread::mainThread()->runLoop()->cancelDelayed(this);
    HCHighScoreBatch scores;
    scores.swap(mPendingScores);
    if (scores.empty()) {
        return;
    }
    // The batch takes the queue's in-flight marks over.
    for (const auto& entry : scores) {
        auto found = inFlight_.find(ScoreKey{mPendingScoresUser, entry->mLeaderboardId.value_or(""), entry->mScore});
        if (found != inFlight_.end()) {
            inFlight_.erase(found);
        }
    }
    // A batch is signed by whoever is logged in when it leaves: scores
    // queued for another player stay pending for that player's next log-in
    // rather than count as this one's.
    if (submittingUserId() != mPendingScoresUser) {
        return;
    }
    submitBatchForUser(&scores, mPendingScoresUser, true, HCDelegate(), HCDelegate(), std::nullopt);
}

bool HCHighScoreService::isInFlight(const std::string& userId, const std::string& leaderboardId,
                                    std::int64_t score) const
{
    return inFlight_.count(ScoreKey{userId, leaderboardId, score}) > 0;
}

void HCHighScoreService::setPendingBlob(const std::shared_ptr<platform::Data>& blob, const std::string& leaderboardId,
                                        std::int64_t score)
{
    HC_CHECK_MAIN_THREAD();
    auto service = sharedInstance();
    if (!service) {
        return;
    }
    service->mPendingBlobs.push_back(HCPendingBlob{leaderboardId, score, blob});
}

std::shared_ptr<platform::Data> HCHighScoreService::getPendingBlobForLeaderboard(const std::string& leaderboardId,
                                                                                std::int64_t score)
{
    HC_CHECK_MAIN_THREAD();
    auto service = sharedInstance();
    if (!service) {
        return nullptr;
    }
    for (const auto& pending : service->mPendingBlobs) {
        if (pending.score == score && pending.leaderboardId == leaderboardId) {
            return pending.blob;
        }
    }
    return nullptr;
}

void HCHighScoreService::releasePendingBlob(const HCPendingBlob& held)
{
    HC_CHECK_MAIN_THREAD();
    auto service = sharedInstance();
    if (!service) {
        return;
    }
    // The same score may be held twice (sent again with another blob while
    // its first batch runs): only this batch's blob goes.
    auto& blobs = service->mPendingBlobs;
    for (auto it = blobs.begin(); it != blobs.end(); ++it) {
        if (it->blob == held.blob && it->score == held.score && it->leaderboardId == held.leaderboardId) {
            blobs.erase(it);
            return;
        }
    }
}
