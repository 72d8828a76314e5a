#include <memory>

#include "core/gamecenter/GCDeferredSubmission.h"
#include "core/gamecenter/HalcyonGameCenter.h"
#include "core/halcyon/Halcyon.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

namespace gc = platform::gamecenter;

// Set and read on the main thread only.
std::shared_ptr<HalcyonGameCenter> sBridge;

// Game Center answers on its own thread; the client hears on the main thread.
gc::ErrorHandler onMainThread(Halcyon::GameCenterHandler handler)
{
    return [handler = std::move(handler)](const std::optional<gc::Error>& error) {
        if (!handler) return;
        platform::Thread::mainThread()->runLoop()->post([handler, error] { handler(error); });
    };
}

// GameKit may be missing where Game Center is not in use: nothing of it is
// touched then, and the caller hears so.
void failNotInUse(Halcyon::GameCenterHandler handler)
{
    if (handler) onMainThread(std::move(handler))(gc::Error{0, "Game Center is not in use."});
}

// A player signed in before this start-up's bridge exists reports the way
// the system needs all the same.
bool useCustomAsyncSubmission()
{
    return sBridge ? sBridge->useCustomAsyncSubmission() : HalcyonGameCenter::systemNeedsDeferredSubmission();
}

}  // namespace

bool Halcyon::isLoggedIntoGameCenter()
{
    return isUsingGameCenter() && gc::LocalPlayer::localPlayer().isAuthenticated();
}

void Halcyon::startGameCenterBridge()
{
    HC_CHECK_MAIN_THREAD();
    if (!sBridge && isUsingGameCenter()) {
        sBridge = HalcyonGameCenter::create();  // its sign-in ends in the check
        return;
    }
    // A sign-in still under way runs the check when it ends.
    if (sBridge && sBridge->loginCheckOwed()) return;
    loginGameCenterCheck();
}

void Halcyon::releaseGameCenter()
{
    HC_CHECK_MAIN_THREAD();
    sBridge = nullptr;
}

std::optional<std::string> Halcyon::getGameCenterLeaderboardCategory(const std::string& leaderboardId)
{
    HC_CHECK_MAIN_THREAD();
    return sBridge ? sBridge->leaderboardCategory(leaderboardId) : std::nullopt;
}

std::optional<std::string> Halcyon::getGameCenterAchievementId(const std::string& achievementId)
{
    HC_CHECK_MAIN_THREAD();
    return sBridge ? sBridge->achievementId(achievementId) : std::nullopt;
}

std::vector<std::string> Halcyon::getGameCenterMappedLeaderboardIds()
{
    HC_CHECK_MAIN_THREAD();
    if (sBridge) return sBridge->mappedLeaderboardIds();
    return HalcyonGameCenter::mappedLeaderboardIds(HalcyonGameCenter::readMappings());
}

platform::DatePtr Halcyon::submitScoreToGameCenter(std::int64_t value, const std::string& category,
                                                   GameCenterHandler handler)
{
    HC_CHECK_MAIN_THREAD();
    if (!isUsingGameCenter()) {
        failNotInUse(std::move(handler));
        return nullptr;
    }
    auto score = std::make_shared<gc::Score>(category);
    score->setValue(value);
    auto date = platform::Date::dateWithTimeIntervalSince1970(score->date());
    if (useCustomAsyncSubmission()) {
        GCDeferredSubmission::submitScore(score, onMainThread(std::move(handler)));
    } else {
        score->reportScoreWithCompletionHandler(onMainThread(std::move(handler)));
    }
    return date;
}

void Halcyon::submitAchievementToGameCenter(const std::string& identifier, double percentComplete,
                                            GameCenterHandler handler)
{
    HC_CHECK_MAIN_THREAD();
    if (!isUsingGameCenter()) {
        failNotInUse(std::move(handler));
        return;
    }
    auto achievement = std::make_shared<gc::Achievement>(identifier, percentComplete);
    if (useCustomAsyncSubmission()) {
        GCDeferredSubmission::submitAchievement(achievement, onMainThread(std::move(handler)));
    } else {
        achievement->reportAchievementWithCompletionHandler(onMainThread(std::move(handler)));
    }
}

void Halcyon::loadGameCenterScores(const std::string& leaderboardId)
{
    HC_CHECK_MAIN_THREAD();
    if (isUsingGameCenter() && sBridge) sBridge->loadAllScoresForHCLeaderboardId(leaderboardId);
}

std::vector<std::shared_ptr<gc::Score>> Halcyon::getGameCenterScores(int timeScope)
{
    HC_CHECK_MAIN_THREAD();
    auto board = sBridge ? sBridge->leaderboardForScope(timeScope) : nullptr;
    return board ? board->scores() : std::vector<std::shared_ptr<gc::Score>>{};
}

bool Halcyon::isGameCenterScoreLoadedForLeaderboardId(const std::string& leaderboardId, unsigned timeScope)
{
    HC_CHECK_MAIN_THREAD();
    if (!isUsingGameCenter() || !sBridge || sBridge->currentLeaderboardId() != leaderboardId) return true;
    auto board = sBridge->leaderboardForScope(static_cast<int>(timeScope));
    return !(board && board->isLoading());
}

std::optional<std::string> Halcyon::getGameCenterCurrentCategory()
{
    HC_CHECK_MAIN_THREAD();
    return sBridge ? sBridge->currentCategory() : std::nullopt;
}

std::optional<std::string> Halcyon::getGameCenterCurrentLeaderboardId()
{
    HC_CHECK_MAIN_THREAD();
    return sBridge ? sBridge->currentLeaderboardId() : std::nullopt;
}

std::optional<std::vector<std::string>> Halcyon::getGameCenterFriends()
{
    HC_CHECK_MAIN_THREAD();
    if (!sBridge) return std::nullopt;
    if (!sBridge->friendsValid()) {
        platform::log(platform::LogLevel::Error,
                      "Error: GameCenter Friends not yet valid!  Don't call getGameCenterFriends until you get the "
                      "HCNSNotificationGameCenterFriendsLoaded notification.");
    }
    return sBridge->friends();
}

void Halcyon::loadGameCenterPlayerName(const std::string& playerId, GameCenterNameHandler handler)
{
    HC_CHECK_MAIN_THREAD();
    if (!isUsingGameCenter()) {
        // Still answered, so a row waiting for the name does not wait for good.
        if (handler) {
            platform::Thread::mainThread()->runLoop()->post(
                [handler] { handler(std::nullopt, gc::Error{0, "Game Center is not in use."}); });
        }
        return;
    }
    gc::loadPlayersForIdentifiers({playerId}, [handler](const std::vector<gc::Player>& players,
                                                        const std::optional<gc::Error>& error) {
        std::optional<std::string> alias;
        if (!players.empty()) alias = players.front().alias;
        platform::Thread::mainThread()->runLoop()->post([handler, alias, error] {
            if (handler) handler(alias, error);
        });
    });
}
