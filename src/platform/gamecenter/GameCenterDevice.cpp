#include "platform/gamecenter/GameCenterDevice.h"

#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/ProgrammingError.h"
#include "platform/gamecenter/GameCenter.h"
#include "platform/gamecenter/GameCenterState.h"

namespace platform::gamecenter {

namespace {

// The leading number of each of the first two components; a missing one is 0.
std::pair<int, int> majorMinor(const std::string& version)
{
    int parts[2] = {0, 0};
    size_t at = 0;
    for (int& part : parts) {
        while (at < version.size() && version[at] >= '0' && version[at] <= '9') {
            part = part * 10 + (version[at] - '0');
            ++at;
        }
        at = version.find('.', at);
        if (at == std::string::npos) break;
        ++at;
    }
    return {parts[0], parts[1]};
}

bool systemAtLeast(int major, int minor)
{
    const auto [have, haveMinor] = majorMinor(DeviceFacts::systemVersion());
    return have > major || (have == major && haveMinor >= minor);
}

}  // namespace

detail::State& detail::state()
{
    static State instance;
    return instance;
}

void GameCenterDevice::reset()
{
    auto& s = detail::state();
    std::lock_guard lock(s.mutex);
    s.devicePlayer.reset();
    s.friends.clear();
    s.aliases.clear();
    s.scores.clear();
    s.ascending.clear();
    s.achievements.clear();
    s.calls.clear();
    s.reportedScores.clear();
    s.reportedAchievements.clear();
    s.authenticatedPlayer.reset();
    s.authenticationHandler = nullptr;
}

bool GameCenterDevice::isAvailable() { return systemAtLeast(4, 1); }

bool GameCenterDevice::requiresBackgroundReports() { return !systemAtLeast(4, 2); }

void GameCenterDevice::setPlayer(std::optional<std::string> playerID)
{
    auto& s = detail::state();
    std::lock_guard lock(s.mutex);
    s.devicePlayer = std::move(playerID);
}

void GameCenterDevice::setFriends(std::vector<std::string> friendIDs)
{
    auto& s = detail::state();
    std::lock_guard lock(s.mutex);
    s.friends = std::move(friendIDs);
}

void GameCenterDevice::setAlias(const std::string& playerID, const std::string& alias)
{
    auto& s = detail::state();
    std::lock_guard lock(s.mutex);
    s.aliases[playerID] = alias;
}

void GameCenterDevice::addScore(StoredScore score)
{
    auto& s = detail::state();
    std::lock_guard lock(s.mutex);
    s.scores.push_back(std::move(score));
}

void GameCenterDevice::setAscending(const std::string& category)
{
    auto& s = detail::state();
    std::lock_guard lock(s.mutex);
    s.ascending.insert(category);
}

void GameCenterDevice::addAchievement(const std::string& identifier, double percentComplete)
{
    auto& s = detail::state();
    std::lock_guard lock(s.mutex);
    s.achievements[identifier] = percentComplete;
}

void GameCenterDevice::setFailure(Call call, std::optional<Error> error)
{
    auto& s = detail::state();
    std::lock_guard lock(s.mutex);
    s.calls[call].failure = std::move(error);
}

void GameCenterDevice::setDelay(Call call, double seconds)
{
    auto& s = detail::state();
    std::lock_guard lock(s.mutex);
    s.calls[call].delay = seconds;
}

void GameCenterDevice::setDropped(Call call, bool dropped)
{
    auto& s = detail::state();
    std::lock_guard lock(s.mutex);
    s.calls[call].dropped = dropped;
}

void GameCenterDevice::reauthenticate()
{
    ErrorHandler handler;
    {
        auto& s = detail::state();
        std::lock_guard lock(s.mutex);
        handler = s.authenticationHandler;
    }
    if (handler) LocalPlayer::localPlayer().authenticateWithCompletionHandler(std::move(handler));
}

std::vector<ReportedScore> GameCenterDevice::reportedScores()
{
    auto& s = detail::state();
    std::lock_guard lock(s.mutex);
    return s.reportedScores;
}

std::vector<ReportedAchievement> GameCenterDevice::reportedAchievements()
{
    auto& s = detail::state();
    std::lock_guard lock(s.mutex);
    return s.reportedAchievements;
}

bool GameCenterDevice::checkAvailable(const char* what)
{
    if (isAvailable()) return true;
    reportProgrammingError(std::string("Game Center does not exist before system 4.1: ") + what);
    return false;
}

void GameCenterDevice::deliver(Call call, std::function<void(const std::optional<Error>&)> answer)
{
    detail::CallSetup setup;
    {
        auto& s = detail::state();
        std::lock_guard lock(s.mutex);
        setup = s.calls[call];
    }
    if (setup.dropped) return;
    auto task = [answer = std::move(answer), failure = setup.failure] { answer(failure); };
    if (setup.delay > 0) {
        thread()->runLoop()->postAfter(setup.delay, std::move(task));
    } else {
        thread()->runLoop()->post(std::move(task));
    }
}

std::shared_ptr<Thread> GameCenterDevice::thread()
{
    static const std::shared_ptr<Thread> gameCenterThread = Thread::start("GameCenter");
    return gameCenterThread;
}

}  // namespace platform::gamecenter
