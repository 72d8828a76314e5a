#include "platform/gamecenter/GameCenter.h"

#include <algorithm>
#include <map>

#include "platform/foundation/ProgrammingError.h"
#include "platform/gamecenter/GameCenterState.h"
#include "platform/runtime/Clock.h"

namespace platform::gamecenter {

namespace {

using detail::state;

constexpr int kNotAuthenticated = 6;  // the platform's "not authenticated"
constexpr int kCancelled = 2;         // the platform's "cancelled" (the player declined)
constexpr double kDay = 24 * 60 * 60;

Error notAuthenticated() { return {kNotAuthenticated, "The local player is not signed in."}; }

// Calls that need a signed-in player answer "not authenticated" without one.
std::optional<Error> failureOrSignedOut(const std::optional<Error>& failure)
{
    if (failure) return failure;
    std::lock_guard lock(state().mutex);
    if (!state().authenticatedPlayer) return notAuthenticated();
    return std::nullopt;
}

}  // namespace

// ===== The local player ========================================================

LocalPlayer& LocalPlayer::localPlayer()
{
    static LocalPlayer player;
    return player;
}

void LocalPlayer::authenticateWithCompletionHandler(ErrorHandler handler)
{
    if (!GameCenterDevice::checkAvailable("authenticate")) return;
    {
        std::lock_guard lock(state().mutex);
        state().authenticationHandler = handler;
    }
    GameCenterDevice::deliver(Call::Authenticate, [handler](const std::optional<Error>& failure) {
        std::optional<Error> error = failure;
        {
            std::lock_guard lock(state().mutex);
            if (!error && !state().devicePlayer) error = Error{kCancelled, "The player declined to sign in."};
            state().authenticatedPlayer = error ? std::nullopt : state().devicePlayer;
        }
        if (handler) handler(error);
    });
}

bool LocalPlayer::isAuthenticated() const
{
    std::lock_guard lock(state().mutex);
    return state().authenticatedPlayer.has_value();
}

std::optional<std::string> LocalPlayer::playerID() const
{
    std::lock_guard lock(state().mutex);
    return state().authenticatedPlayer;
}

void LocalPlayer::loadFriendsWithCompletionHandler(FriendsHandler handler)
{
    if (!GameCenterDevice::checkAvailable("loadFriends")) return;
    GameCenterDevice::deliver(Call::LoadFriends, [handler](const std::optional<Error>& failure) {
        const auto error = failureOrSignedOut(failure);
        std::optional<std::vector<std::string>> friends;
        if (!error) {
            std::lock_guard lock(state().mutex);
            friends = state().friends;
        }
        if (handler) handler(friends, error);
    });
}

// ===== Reports =================================================================

Score::Score(std::string category) : category_(std::move(category)), date_(Clock::currentTime())
{
    playerID_ = LocalPlayer::localPlayer().playerID().value_or("");
}

Score::Score(StoredScore stored, int rank)
    : category_(std::move(stored.category)),
      value_(stored.value),
      date_(stored.date),
      playerID_(std::move(stored.playerID)),
      rank_(rank)
{
}

namespace {

// Made on the calling thread; below 4.2 the main thread is not allowed.
bool checkReportThread(const char* what)
{
    if (!GameCenterDevice::checkAvailable(what)) return false;
    if (GameCenterDevice::requiresBackgroundReports() && Thread::isMainThread()) {
        reportProgrammingError(std::string("Below system 4.2 Game Center reports are made off the main thread: ") +
                               what);
        return false;
    }
    return true;
}

}  // namespace

void Score::reportScoreWithCompletionHandler(ErrorHandler handler) const
{
    if (!checkReportThread("reportScore")) return;
    ReportedScore report{category_, value_, date_, Thread::isMainThread()};
    GameCenterDevice::deliver(Call::ReportScore, [handler, report](const std::optional<Error>& failure) {
        const auto error = failureOrSignedOut(failure);
        if (!error) {
            std::lock_guard lock(state().mutex);
            state().reportedScores.push_back(report);
            state().scores.push_back({report.category, *state().authenticatedPlayer, report.value, report.date});
        }
        if (handler) handler(error);
    });
}

void Achievement::reportAchievementWithCompletionHandler(ErrorHandler handler) const
{
    if (!checkReportThread("reportAchievement")) return;
    ReportedAchievement report{identifier_, percentComplete_, Thread::isMainThread()};
    GameCenterDevice::deliver(Call::ReportAchievement, [handler, report](const std::optional<Error>& failure) {
        const auto error = failureOrSignedOut(failure);
        if (!error) {
            std::lock_guard lock(state().mutex);
            state().reportedAchievements.push_back(report);
            auto& stored = state().achievements[report.identifier];
            stored = std::max(stored, report.percentComplete);
        }
        if (handler) handler(error);
    });
}

void Achievement::loadAchievementsWithCompletionHandler(LoadHandler handler)
{
    if (!GameCenterDevice::checkAvailable("loadAchievements")) return;
    GameCenterDevice::deliver(Call::LoadAchievements, [handler](const std::optional<Error>& failure) {
        const auto error = failureOrSignedOut(failure);
        std::vector<std::shared_ptr<Achievement>> achievements;
        if (!error) {
            std::lock_guard lock(state().mutex);
            for (const auto& [identifier, percent] : state().achievements) {
                achievements.push_back(std::make_shared<Achievement>(identifier, percent));
            }
        }
        if (handler) handler(achievements, error);
    });
}

// ===== Leaderboards ============================================================

void Leaderboard::loadScoresWithCompletionHandler(ScoresHandler handler)
{
    if (!GameCenterDevice::checkAvailable("loadScores")) return;
    {
        std::lock_guard lock(mutex_);
        loading_ = true;
    }
    auto self = platform::self(this);
    GameCenterDevice::deliver(Call::LoadScores, [self, handler](const std::optional<Error>& failure) {
        const auto error = failureOrSignedOut(failure);
        std::vector<std::shared_ptr<Score>> ranked;
        if (!error) {
            std::vector<StoredScore> candidates;
            bool ascending = false;
            {
                std::lock_guard lock(state().mutex);
                ascending = state().ascending.count(self->category) > 0;
                const double now = Clock::currentTime();
                const double since = self->timeScope == 0 ? now - kDay : self->timeScope == 1 ? now - 7 * kDay : -1e300;
                auto& friends = state().friends;
                for (const auto& score : state().scores) {
                    if (score.category != self->category || score.date < since) continue;
                    const bool isFriend = std::find(friends.begin(), friends.end(), score.playerID) != friends.end();
                    if (self->playerScope == 1 && !isFriend && score.playerID != state().authenticatedPlayer) continue;
                    candidates.push_back(score);
                }
            }
            auto better = [ascending](const StoredScore& a, const StoredScore& b) {
                return ascending ? a.value < b.value : a.value > b.value;
            };
            // Each player's best; on a tie the earlier score.
            std::map<std::string, StoredScore> best;
            for (const auto& score : candidates) {
                auto [at, added] = best.emplace(score.playerID, score);
                if (!added && better(score, at->second)) at->second = score;
            }
            std::vector<StoredScore> order;
            for (auto& [player, score] : best) order.push_back(score);
            std::stable_sort(order.begin(), order.end(), better);
            const int first = std::max(self->rangeLocation, 1);
            for (int rank = first; rank < first + self->rangeLength && rank <= static_cast<int>(order.size()); ++rank) {
                ranked.push_back(std::make_shared<Score>(order[static_cast<size_t>(rank - 1)], rank));
            }
        }
        {
            std::lock_guard lock(self->mutex_);
            self->scores_ = ranked;
            self->loading_ = false;
        }
        if (handler) handler(ranked, error);
    });
}

bool Leaderboard::isLoading() const
{
    std::lock_guard lock(mutex_);
    return loading_;
}

std::vector<std::shared_ptr<Score>> Leaderboard::scores() const
{
    std::lock_guard lock(mutex_);
    return scores_;
}

// ===== Players =================================================================

void loadPlayersForIdentifiers(const std::vector<std::string>& playerIDs, PlayersHandler handler)
{
    if (!GameCenterDevice::checkAvailable("loadPlayers")) return;
    GameCenterDevice::deliver(Call::LoadPlayers, [playerIDs, handler](const std::optional<Error>& failure) {
        std::vector<Player> players;
        if (!failure) {
            std::lock_guard lock(state().mutex);
            for (const auto& id : playerIDs) {
                auto found = state().aliases.find(id);
                if (found != state().aliases.end()) players.push_back({id, found->second});
            }
        }
        if (handler) handler(players, failure);
    });
}

}  // namespace platform::gamecenter
