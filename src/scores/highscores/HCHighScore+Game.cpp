#include "core/clientstate/HCClientState.h"
#include "core/publicclass/HCClassDelegate.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/replies/HCTableSectionDescription.h"
#include "core/users/HCUser.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/highscores/HCHighScoreDelegates.h"
#include "scores/highscores/HCHighScoreReplies.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/leaderboards/HCLeaderboard.h"
#include "scores/leaderboards/HCLeaderboardService.h"

namespace {

HCClassDelegate<HCHighScoreDelegate> sHighScoreGameDelegate("HCHighScore");
HCClassDelegate<HCLeaderboardDelegate> sLeaderboardDelegate("HCLeaderboard");

}  // namespace

// ===== HCHighScore ==============================================================

std::shared_ptr<HCHighScore> HCHighScore::initForSubmissionWithScore(std::int64_t score)
{
    auto highScore = std::make_shared<HCHighScore>();
    highScore->score_ = score;
    return highScore;
}

void HCHighScore::setDelegate(HCHighScoreDelegate* delegate)
{
    sHighScoreGameDelegate.set(delegate);
}

void HCHighScore::submitTo(const std::shared_ptr<HCLeaderboard>& leaderboard)
{
    auto self = std::static_pointer_cast<HCHighScore>(shared_from_this());
    auto callbacks = sHighScoreGameDelegate.callbacks(
        self,
        [self](auto ticket, const platform::ObjectPtr&) {
            sHighScoreGameDelegate.notify(ticket, [&](HCHighScoreDelegate& d) { d.didSubmit(self); });
        },
        [self](auto ticket) { sHighScoreGameDelegate.notify(ticket, [&](HCHighScoreDelegate& d) { d.didFailSubmit(self); }); });
    HCHighScoreService::setHighScoreWithDisplayText(score_, displayText(), customData_, blob_,
                                                    leaderboard ? leaderboard->leaderboardId() : std::nullopt, false,
                                                    false, callbacks.success, callbacks.failure);
}

std::shared_ptr<HCRequestHandle> HCHighScore::downloadBlob()
{
    auto self = std::static_pointer_cast<HCHighScore>(shared_from_this());
    const auto ticket = sHighScoreGameDelegate.ticket();
    if (!hasBlob()) {
        sHighScoreGameDelegate.notify(ticket, [&](HCHighScoreDelegate& d) { d.didFailDownloadBlob(self); });
        return nullptr;
    }
    if (blob_) {
        sHighScoreGameDelegate.notify(ticket, [&](HCHighScoreDelegate& d) { d.didDownloadBlob(self); });
        return nullptr;
    }
    auto callbacks = sHighScoreGameDelegate.callbacks(
        self,
        [self](auto started, const platform::ObjectPtr&) {
            sHighScoreGameDelegate.notify(started, [&](HCHighScoreDelegate& d) { d.didDownloadBlob(self); });
        },
        [self](auto started) {
            sHighScoreGameDelegate.notify(started, [&](HCHighScoreDelegate& d) { d.didFailDownloadBlob(self); });
        });
    return sHighScoreGameDelegate.track(HCHighScoreService::downloadBlobForHighScore(self, callbacks.success, callbacks.failure));
}

std::shared_ptr<HCRequestHandle> HCHighScore::getHighScoresNearCurrentUserForLeaderboard(
    const std::shared_ptr<HCLeaderboard>& leaderboard, unsigned betterCount, unsigned worseCount)
{
    auto callbacks = sHighScoreGameDelegate.callbacks(
        nullptr,
        [](auto ticket, const platform::ObjectPtr& reply) {
            const auto scores = HCHighScoresIn(platform::as<HCPaginatedSeries>(reply));
            sHighScoreGameDelegate.notify(ticket, [&](HCHighScoreDelegate& d) { d.didGetHighScoresNearCurrentUser(scores); });
        },
        [](auto ticket) {
            sHighScoreGameDelegate.notify(ticket, [](HCHighScoreDelegate& d) { d.didFailGetHighScoresNearCurrentUser(); });
        });
    return sHighScoreGameDelegate.track(HCHighScoreService::getHighScoreNearCurrentUserForLeaderboard(
        leaderboard ? leaderboard->leaderboardId() : std::nullopt, betterCount, worseCount, callbacks.success,
        callbacks.failure));
}

std::vector<std::shared_ptr<HCHighScore>> HCHighScore::allHighScoresForCurrentUser()
{
    std::vector<std::shared_ptr<HCHighScore>> scores;
    for (const auto& board : HCLeaderboard::leaderboards()) {
        if (board->currentUserScore()) scores.push_back(board->currentUserScore());
    }
    return scores;
}

// ===== HCLeaderboard's game interface ============================================

void HCLeaderboard::setDelegate(HCLeaderboardDelegate* delegate)
{
    sLeaderboardDelegate.set(delegate);
}

std::shared_ptr<HCLeaderboard> HCLeaderboard::leaderboard(const Text& leaderboardId)
{
    return HCLeaderboardService::getLeaderboard(leaderboardId);
}

std::vector<std::shared_ptr<HCLeaderboard>> HCLeaderboard::leaderboards()
{
    return HCLeaderboardService::getLeaderboardsLocal();
}

std::shared_ptr<HCHighScore> HCLeaderboard::highScoreForCurrentUser() const
{
    // The local player as stored, name and picture included; scores made
    // before anyone logged in are stored for player "0".
    auto user = HCClientState::localUser();
    if (!user) user = HCResource::initWithId<HCUser>(HCClientState::lastLoggedInUserId().value_or("0"));
    return HCHighScoreService::getHighScoreForUser(user, leaderboardId().value_or(""), descendingScoreOrder_);
}

std::vector<std::shared_ptr<HCHighScore>> HCLeaderboard::locallySubmittedScores() const
{
    return HCHighScoreService::getHighScoresLocal(leaderboardId().value_or(""));
}

std::shared_ptr<HCRequestHandle> HCLeaderboard::downloadHighScoresWithFilter(int filter)
{
    filter_ = filter;
    auto self = std::static_pointer_cast<HCLeaderboard>(shared_from_this());
    auto callbacks = sLeaderboardDelegate.callbacks(
        self,
        [self](auto ticket, const platform::ObjectPtr& reply) {
            const auto scores = HCHighScoresIn(HCHighScorePageOf(platform::as<HCPaginatedSeries>(reply)));
            sLeaderboardDelegate.notify(ticket,
                                        [&](HCLeaderboardDelegate& d) { d.didDownloadHighScores(scores, self); });
        },
        [self](auto ticket) {
            sLeaderboardDelegate.notify(ticket,
                                        [&](HCLeaderboardDelegate& d) { d.didFailDownloadHighScoresHCLeaderboard(self); });
        });
    return sLeaderboardDelegate.track(HCHighScoreService::getPage(1, 25, leaderboardId(), std::nullopt, filter == 1,
                                                                  true, 0, callbacks.success, callbacks.failure));
}

void HCLeaderboard::submitScore(const std::shared_ptr<HCHighScore>& score)
{
    if (!score) return;
    HCHighScoreService::setHighScoreWithDisplayText(score->score(), score->displayText(), score->customData(),
                                                    leaderboardId(), false, HCDelegate(), HCDelegate());
}

std::shared_ptr<HCUser> HCLeaderboard::comparedToUser() const
{
    return comparedUserScore_ ? comparedUserScore_->user() : nullptr;
}
