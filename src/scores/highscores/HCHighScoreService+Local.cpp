#include "core/replies/HCPaginatedSeries.h"
#include "core/users/HCUser.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/highscores/HCLocalHighScoreStore.h"
#include "scores/offline/HCOfflineHooks.h"
#include "scores/offline/HCUserService+Private.h"

bool HCHighScoreService::localSetHighScore(std::int64_t score, const std::string& leaderboardId,
                                           const std::string& userId, const std::optional<std::string>& displayText,
                                           const std::optional<std::string>& customData,
                                           const std::shared_ptr<platform::Data>& blob,
                                           std::optional<std::int64_t> serverDate, bool addToExisting,
                                           bool* shouldSubmit, bool overrideExisting)
{
    HCLocalHighScoreStore::Outcome outcome;
    if (auto* store = storeForCurrentThread()) {
        HCLocalHighScoreStore::Write write;
        write.userId = userId;
        write.leaderboardId = leaderboardId;
        write.score = score;
        write.displayText = displayText;
        write.customData = customData;
        write.blob = blob;
        write.serverDate = serverDate;
        write.addToExisting = addToExisting;
        write.overrideExisting = overrideExisting;
        outcome = store->store(write);
    }
    if (shouldSubmit != nullptr) {
        *shouldSubmit = outcome.shouldSubmit;
    }
    return outcome.stored;
}

bool HCHighScoreService::recordServerScore(const HCServerScore& score)
{
    auto* store = storeForCurrentThread();
    if (store == nullptr || !score.serverDate) {
        return false;
    }
    HCLocalHighScoreStore::Write write;
    write.userId = score.userId;
    write.leaderboardId = score.leaderboardId;
    write.score = score.score;
    write.displayText = score.displayText;
    write.customData = score.customData;
    write.serverDate = static_cast<std::int64_t>(score.serverDate->timeIntervalSince1970());
    write.overrideExisting = false;
    return store->store(write).stored;
}

bool HCHighScoreService::getPreviousHighScoreLocal(std::int64_t* score, const std::string& leaderboardId)
{
    std::optional<std::int64_t> best;
    if (auto* store = storeForCurrentThread()) {
        if (auto facts = store->leaderboardFacts(leaderboardId)) {
            best = store->previousBest(submittingUserId(), leaderboardId, facts->descendingSortOrder);
        }
    }
    if (score != nullptr) {
        *score = best.value_or(0);
    }
    return best.has_value();
}

std::shared_ptr<HCHighScore> HCHighScoreService::getHighScoreForUser(const std::shared_ptr<HCUser>& user,
                                                                     const std::string& leaderboardId,
                                                                     bool descendingSortOrder)
{
    HC_CHECK_MAIN_THREAD();
    auto* store = storeForCurrentThread();
    if (!user || !user->resourceId() || store == nullptr) {
        return nullptr;
    }
    auto rows = store->highScores(*user->resourceId(), leaderboardId, descendingSortOrder, 1);
    return rows.empty() ? nullptr : HCHighScore::initWithLocalSQL(rows.front(), user, 1);
}

std::vector<std::shared_ptr<HCHighScore>> HCHighScoreService::getHighScoresLocal(const std::string& leaderboardId)
{
    HC_CHECK_MAIN_THREAD();
    std::vector<std::shared_ptr<HCHighScore>> scores;
    auto* store = storeForCurrentThread();
    const auto facts = store != nullptr ? store->leaderboardFacts(leaderboardId) : std::nullopt;
    if (!facts) {
        return scores;
    }
    const auto rows = store->highScores(submittingUserId(), leaderboardId, facts->descendingSortOrder,
                                        HCLocalHighScoreStore::kScoresKeptPerBoard);
    int rank = 0;
    for (const auto& row : rows) {
        // The player as the device last saw them, name and picture, from
        // the users table; nil for a player it never recorded.
        scores.push_back(HCHighScore::initWithLocalSQL(row, HCUserServicePrivate::getLocalUser(row.userId), ++rank));
    }
    return scores;
}

void HCHighScoreService::getLocalHighScores(const std::string& leaderboardId, const HCDelegate& onSuccess,
                                            const HCDelegate& /*onFailure*/)
{
    HC_CHECK_MAIN_THREAD();
    std::vector<platform::ObjectPtr> objects;
    for (auto& score : getHighScoresLocal(leaderboardId)) {
        objects.push_back(std::move(score));
    }
    onSuccess.invoke(HCPaginatedSeries::paginatedSeriesFromArray(objects));
}
