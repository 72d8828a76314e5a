#include "scores/highscores/HCGameCenterHighScore.h"

#include <map>
#include <utility>

#include "platform/foundation/ProgrammingError.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/highscores/HCHighScoreBatchEntry.h"
#include "scores/highscores/HCHighScoreGameCenter.h"

HCGameCenterHighScore::HCGameCenterHighScore(HCHighScoreBatch scores, std::string userId,
                                             std::optional<std::string> message, bool silently)
    : scores_(std::move(scores)), userId_(std::move(userId)), message_(std::move(message)), silently_(silently)
{
}

HCRequestHandlePtr HCGameCenterHighScore::submitOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    successDelegate_ = onSuccess;
    failureDelegate_ = onFailure;
    auto self = platform::self(this);

    // Every part is pending before the first one starts.
    std::vector<std::pair<HCPointer<HCHighScoreBatchEntry>, std::string>> reports;
    auto gameCenter = HCHighScoreService::gameCenter();
    if (gameCenter && gameCenter->isLoggedIntoGameCenter()) {
        for (const auto& entry : scores_) {
            if (!entry || !entry->mLeaderboardId) continue;
            if (auto category = gameCenter->gameCenterCategory(*entry->mLeaderboardId)) {
                reports.emplace_back(entry, *category);
            }
        }
    }
    gameCenterCount_ = static_cast<unsigned>(reports.size());
    gameCenterStatus_ = reports.empty() ? kNotStarted : kPending;
    halcyonStatus_ = kPending;

    std::map<std::string, platform::DatePtr> dates;
    for (const auto& [entry, category] : reports) {
        auto date = gameCenter->submitScore(entry->mScore, category, [self](bool ok) { self->gameCenterReported(ok); });
        if (date) dates[*entry->mLeaderboardId] = date;
    }
    for (const auto& entry : scores_) {
        if (!entry || !entry->mLeaderboardId) continue;
        auto found = dates.find(*entry->mLeaderboardId);
        if (found != dates.end()) entry->mGameCenterDate = found->second;
    }
    return HCHighScoreService::postBatch(
        scores_, userId_, message_, silently_,
        HCDelegate::withFunction([self](const platform::ObjectPtr& reply) { self->halcyonEnded(reply, kSucceeded); },
                                 self),
        HCDelegate::withFunction([self](const platform::ObjectPtr&) { self->halcyonEnded(nullptr, kFailed); }, self));
}

void HCGameCenterHighScore::halcyonEnded(const platform::ObjectPtr& reply, Status outcome)
{
    HC_CHECK_MAIN_THREAD();
    if (halcyonStatus_ != kPending) {
        if (!completed_) platform::reportProgrammingError("High score state is invalid");
        return;
    }
    halcyonStatus_ = outcome;
    testCompletion(reply);
}

void HCGameCenterHighScore::gameCenterReported(bool ok)
{
    HC_CHECK_MAIN_THREAD();
    if (gameCenterCount_ > 0) --gameCenterCount_;
    if (!ok) {
        gameCenterStatus_ = kFailed;
    } else if (gameCenterCount_ == 0 && gameCenterStatus_ == kPending) {
        gameCenterStatus_ = kSucceeded;
    }
    testCompletion(nullptr);
}

void HCGameCenterHighScore::testCompletion(const platform::ObjectPtr& object)
{
    if (completed_ || halcyonStatus_ == kPending || gameCenterStatus_ == kPending) return;
    completed_ = true;
    // Let go of the caller's callbacks: nothing is said twice.
    const HCDelegate onSuccess = std::exchange(successDelegate_, HCDelegate());
    const HCDelegate onFailure = std::exchange(failureDelegate_, HCDelegate());
    if (halcyonStatus_ == kFailed || gameCenterStatus_ == kFailed) {
        onFailure.invoke(nullptr);
    } else {
        onSuccess.invoke(object);
    }
}
