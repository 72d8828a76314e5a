#include "scores/achievements/HCAchievementGameCenter.h"

#include <memory>
#include <mutex>

#include "core/halcyon/Halcyon.h"
#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"

namespace {

std::mutex& slotMutex()
{
    static std::mutex mutex;
    return mutex;
}

HCAchievementGameCenter& slot()
{
    static HCAchievementGameCenter installed;
    return installed;
}

}  // namespace

void HCAchievementGameCenter::install(HCAchievementGameCenter gameCenter)
{
    std::lock_guard lock(slotMutex());
    slot() = std::move(gameCenter);
}

HCAchievementGameCenter HCAchievementGameCenter::installed()
{
    std::lock_guard lock(slotMutex());
    return slot();
}

bool HCAchievementGameCenter::isLoggedIntoGameCenter()
{
    auto isLoggedIn = installed().isLoggedIn;
    return isLoggedIn ? isLoggedIn() : Halcyon::isLoggedIntoGameCenter();
}

std::optional<std::string> HCAchievementGameCenter::gameCenterIdFor(const std::string& achievementId)
{
    auto map = installed().gameCenterAchievementId;
    return map ? map(achievementId) : Halcyon::getGameCenterAchievementId(achievementId);
}

void HCAchievementGameCenter::reportOnMainThread(const std::string& gameCenterId, double percentComplete,
                                                 std::function<void(bool ok)> done)
{
    auto report = installed().report;
    if (!report) {
        // The bridge answers on the main thread already.
        Halcyon::submitAchievementToGameCenter(gameCenterId, percentComplete,
                                               [done = std::move(done)](const auto& error) { done(!error); });
        return;
    }
    report(gameCenterId, percentComplete, [done = std::move(done)](bool ok) {
        platform::Thread::mainThread()->runLoop()->post([done, ok] { done(ok); });
    });
}
