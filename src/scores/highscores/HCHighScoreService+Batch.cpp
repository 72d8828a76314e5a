#include <algorithm>
#include <cmath>
#include <set>

#include "core/clientstate/HCClientState.h"
#include "core/halcyon/Halcyon.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/users/HCUser.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Location.h"
#include "scores/highscores/HCGameCenterHighScore.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/highscores/HCHighScoreGameCenter.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/highscores/HCLocalHighScoreStore.h"
#include "scores/highscores/HCPendingScoreResend.h"
#include "scores/offline/HCIntegerText.h"
#include "transport/provider/HCActionRequest.h"

namespace {

constexpr const char* kDefaultBatchMessage = "Submitted High Scores";

// The score the server accepted, as the owner's confirmed row, its
// attachment kept.
HCLocalHighScoreStore::Write confirmation(const HCHighScore& score, const std::string& owner,
                                          const std::shared_ptr<platform::Data>& blob, std::int64_t serverDate)
{
    HCLocalHighScoreStore::Write write;
    write.userId = owner;
    write.leaderboardId = score.leaderboardId().value_or("");
    write.score = score.score();
    write.displayText = score.displayTextValue();
    write.customData = score.customData();
    write.blob = blob;
    write.serverDate = serverDate;
    return write;
}

}  // namespace

// Ends one posted batch exactly once: with the reply, with the failure, or,
// when the provider dropped or cancelled the request and the callbacks were
// released unused, with failure. Either way the batch's in-flight marks and
// its held blobs go.
// Thread: main thread (the callbacks deliver there, and the delegate release
// rule releases them there).
class HCHighScoreBatchCompletion final : public platform::Object {
public:
    HCHighScoreBatchCompletion(std::shared_ptr<HCHighScoreService> service, std::string userId,
                               std::vector<HCHighScoreService::ScoreKey> marks, std::vector<HCPendingBlob> blobs,
                               HCDelegate onSuccess, HCDelegate onFailure)
        : service_(service), userId_(std::move(userId)), marks_(std::move(marks)), blobs_(std::move(blobs)),
          onSuccess_(std::move(onSuccess)), onFailure_(std::move(onFailure))
    {
        for (const auto& mark : marks_) {
            service->inFlight_.insert(mark);
        }
        for (const auto& held : blobs_) {
            HCHighScoreService::setPendingBlob(held.blob, held.leaderboardId, held.score);
        }
    }
    ~HCHighScoreBatchCompletion() override
    {
        if (!done_) {
            releaseMarks();
            onFailure_.invoke();
        }
    }

    void succeeded(const std::shared_ptr<HCPaginatedSeries>& series)
    {
        HC_CHECK_MAIN_THREAD();
        if (done_) {
            return;
        }
        done_ = true;
        if (auto service = service_.lock()) {
            service->writeBackAcceptedScores(series, userId_, marks_, blobs_);
        }
        releaseMarks();
        onSuccess_.invoke(series);
    }
    void failed(const platform::ObjectPtr& failure)
    {
        HC_CHECK_MAIN_THREAD();
        if (done_) {
            return;
        }
        done_ = true;
        releaseMarks();
        onFailure_.invoke(failure);
    }

private:
    void releaseMarks()
    {
        auto service = service_.lock();
        if (!service) {
            return;
        }
        for (const auto& mark : marks_) {
            auto found = service->inFlight_.find(mark);
            if (found != service->inFlight_.end()) {
                service->inFlight_.erase(found);
            }
        }
        marks_.clear();
        for (const auto& held : blobs_) {
            HCHighScoreService::releasePendingBlob(held);
        }
        blobs_.clear();
    }

    std::weak_ptr<HCHighScoreService> service_;
    std::string userId_;
    std::vector<HCHighScoreService::ScoreKey> marks_;
    std::vector<HCPendingBlob> blobs_;
    HCDelegate onSuccess_;
    HCDelegate onFailure_;
    bool done_ = false;
};

std::shared_ptr<HCRequestHandle> HCHighScoreService::batchSetHighScores(HCHighScoreBatch* scores,
                                                                        const HCDelegate& onSuccess,
                                                                        const HCDelegate& onFailure,
                                                                        const std::optional<std::string>& message)
{
    return batchSetHighScores(scores, false, onSuccess, onFailure, message);
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::batchSetHighScores(HCHighScoreBatch* scores, bool silently,
                                                                        const HCDelegate& onSuccess,
                                                                        const HCDelegate& onFailure,
                                                                        const std::optional<std::string>& message,
                                                                        bool fromSynch)
{
    HC_CHECK_MAIN_THREAD();
    return batchSetForUser(scores, submittingUserId(), silently, onSuccess, onFailure, message, fromSynch);
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::batchSetForUser(HCHighScoreBatch* scores,
                                                                     const std::string& userId, bool silently,
                                                                     const HCDelegate& onSuccess,
                                                                     const HCDelegate& onFailure,
                                                                     const std::optional<std::string>& message,
                                                                     bool fromSynch)
{
    HC_CHECK_MAIN_THREAD();
    if (scores == nullptr) {
        onFailure.invoke();
        return nullptr;
    }
    if (!Halcyon::hasUserApprovedHalcyon() && isLoggedIntoGameCenter()) {
        HCSubmitHighScoreToGameCenterOnly(*gameCenter(), *scores);
    }
    bool outcome = true;
    if (!fromSynch) {
        // Every write counts: one failed write fails the batch.
        for (std::size_t i = scores->size(); i-- > 0;) {
            const auto& entry = (*scores)[i];
            bool shouldSubmit = true;
            const bool stored = entry && localSetHighScore(entry->mScore, entry->mLeaderboardId.value_or(""), userId,
                                                           entry->mDisplayText, entry->mCustomData, entry->mBlob,
                                                           std::nullopt, false, &shouldSubmit, true);
            outcome = outcome && stored;
            if (!entry || !shouldSubmit) {
                scores->erase(scores->begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
    }
    if (!outcome) {
        onFailure.invoke();
        return nullptr;
    }
    return submitBatchForUser(scores, userId, silently, onSuccess, onFailure,
                              message ? message : std::optional<std::string>(kDefaultBatchMessage));
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::submitHighScoreBatch(HCHighScoreBatch* scores, bool silently,
                                                                          const HCDelegate& onSuccess,
                                                                          const HCDelegate& onFailure,
                                                                          const std::optional<std::string>& message)
{
    HC_CHECK_MAIN_THREAD();
    return submitBatchForUser(scores, submittingUserId(), silently, onSuccess, onFailure, message);
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::submitBatchForUser(HCHighScoreBatch* scores,
                                                                        const std::string& userId, bool silently,
                                                                        const HCDelegate& onSuccess,
                                                                        const HCDelegate& onFailure,
                                                                        const std::optional<std::string>& message)
{
    HC_CHECK_MAIN_THREAD();
    if (scores == nullptr || scores->empty()) {
        onSuccess.invoke();
        if (!silently && message) {
            HCNotification::sharedInstance()->showBackgroundNotice(highScoreNotice(*message), HCNotificationStatusSuccess);
        }
        return nullptr;
    }
    // Copies of the entries: the Game Center dates are this batch's own.
    HCHighScoreBatch batch;
    for (const auto& entry : *scores) {
        if (!entry) continue;
        batch.push_back(std::make_shared<HCHighScoreBatchEntry>(entry->mLeaderboardId, entry->mScore,
                                                                entry->mDisplayText, entry->mCustomData,
                                                                entry->mBlob));
    }
    return std::make_shared<HCGameCenterHighScore>(std::move(batch), userId,
                                                   message ? message : std::optional<std::string>(kDefaultBatchMessage),
                                                   silently)
        ->submitOnSuccess(onSuccess, onFailure);
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::postBatch(HCHighScoreBatch scores, const std::string& userId,
                                                               const std::optional<std::string>& message,
                                                               bool silently, const HCDelegate& onSuccess,
                                                               const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    std::erase_if(scores, [](const auto& entry) {
        return !entry || !entry->mLeaderboardId || entry->mLeaderboardId->empty();
    });
    auto service = sharedInstance();
    if (scores.empty() || !service) {
        onFailure.invoke();
        return nullptr;
    }
    std::vector<ScoreKey> marks;
    std::vector<HCPendingBlob> blobs;
    for (const auto& entry : scores) {
        marks.emplace_back(userId, *entry->mLeaderboardId, entry->mScore);
        // Every announced blob is held for its own score's answer, whatever
        // else the batch holds for the board.
        if (entry->mBlob) {
            blobs.push_back(HCPendingBlob{*entry->mLeaderboardId, entry->mScore, entry->mBlob});
        }
    }
    HCHttpNestedQueryStringWriter parameters;
    parameters.serialize("high_scores", "entry", scores);
    if (auto location = platform::as<platform::ui::Location>(Halcyon::getUserLocation())) {
        parameters.io("lat", location->coordinate().latitude);
        parameters.io("lng", location->coordinate().longitude);
    }
    auto completion = std::make_shared<HCHighScoreBatchCompletion>(service, userId, std::move(marks),
                                                                   std::move(blobs), onSuccess, onFailure);
    auto success = HCDelegate::withFunction(
        [completion](const platform::ObjectPtr& reply) {
            completion->succeeded(platform::as<HCPaginatedSeries>(reply));
        },
        service);
    auto failure = HCDelegate::withFunction(
        [completion](const platform::ObjectPtr& reason) { completion->failed(reason); }, service);
    platform::ObjectPtr notice = HCNotificationData::dataWithText(message.value_or(kDefaultBatchMessage),
                                                                  HCNotificationCategoryHighScore,
                                                                  HCNotificationTypeSubmitting);
    return service->postAction(kSubmitPath, &parameters, success, failure,
                               silently ? HCActionRequest::kSilent : HCActionRequest::kBanner, notice);
}

void HCHighScoreService::writeBackAcceptedScores(const std::shared_ptr<HCPaginatedSeries>& series,
                                                 const std::string& userId, const std::vector<ScoreKey>& posted,
                                                 std::vector<HCPendingBlob>& blobs)
{
    HC_CHECK_MAIN_THREAD();
    auto* store = storeForCurrentThread();
    if (!series || store == nullptr) {
        return;
    }
    // The reply's confirmations go to disk together: one sync for the whole
    // reply, not one per score. A kill before the commit leaves them all
    // pending, and a pending score is simply posted again.
    const auto now = static_cast<std::int64_t>(std::floor(platform::Clock::currentTime()));
    // Looked up once per reply score: a reply of a thousand scores would
    // otherwise walk the batch a thousand times.
    const std::set<ScoreKey> batch(posted.begin(), posted.end());
    std::vector<HCLocalHighScoreStore::Write> confirmations;
    for (const auto& object : series->objects()) {
        auto score = platform::as<HCHighScore>(object);
        if (!score || !score->leaderboardId() || !score->hasWholeScore()) {
            continue;
        }
        // Only the batch's own scores are confirmed by its reply: a score it
        // did not post (another number, another player, a number that did
        // not read) would be stored as this player's best and keep a real
        // best from being sent.
        const std::string board = *score->leaderboardId();
        const auto& user = score->user();
        if (user && user->resourceId() && !user->resourceId()->empty() && *user->resourceId() != userId) {
            continue;
        }
        if (!batch.contains(ScoreKey{userId, board, score->score()})) {
            continue;
        }
        std::shared_ptr<platform::Data> blob;
        auto held = std::find_if(blobs.begin(), blobs.end(), [&](const HCPendingBlob& pending) {
            return pending.score == score->score() && pending.leaderboardId == board;
        });
        if (held != blobs.end()) {
            blob = held->blob;
            releasePendingBlob(*held);
            blobs.erase(held);
        }
        if (blob && score->blobUploadParameters()) {
            uploadBlob(blob, score, userId);
        } else {
            confirmations.push_back(confirmation(*score, userId, blob, now));
        }
    }
    if (!confirmations.empty()) {
        store->storeAll(confirmations);
    }
}

void HCHighScoreService::writeBackScore(const HCHighScore& score, const std::string& owner,
                                        const std::shared_ptr<platform::Data>& blob)
{
    if (auto* store = storeForCurrentThread()) {
        const auto now = static_cast<std::int64_t>(std::floor(platform::Clock::currentTime()));
        store->store(confirmation(score, owner, blob, now));
    }
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::sendPendingHighScores(const std::string& userId,
                                                                           bool /*silently*/,
                                                                           const HCDelegate& onSuccess,
                                                                           const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    // "Invalid", "0" and anything not an integer name no player to send for.
    if (!HCClientState::isOnline() || HCIntegerFromText(userId).value_or(0) <= 0) {
        return nullptr;
    }
    auto service = sharedInstance();
    auto* store = storeForCurrentThread();
    if (!service || store == nullptr) {
        return nullptr;
    }
    std::shared_ptr<HCRequestHandle> handle;
    if (isLoggedIntoGameCenter() && !gameCenter()->isSynchedWithGameCenterLeaderboards()) {
        HCHighScoreBatch catchUp;
        for (const auto& board : gameCenter()->mappedLeaderboardIds()) {
            for (const auto& score : getHighScoresLocal(board)) {
                catchUp.push_back(std::make_shared<HCHighScoreBatchEntry>(
                    board, score->score(), score->displayTextValue(), score->customData(), score->blob()));
            }
        }
        handle = batchSetForUser(&catchUp, userId, true, onSuccess, onFailure, std::nullopt, true);
        gameCenter()->setSynchWithGameCenterLeaderboards(true);
    }
    store->prepareResend(userId);
    auto resend = std::make_shared<HCPendingScoreResend>(service, userId, onSuccess, onFailure);
    if (auto first = resend->start()) {
        handle = first;
    }
    return handle;
}
