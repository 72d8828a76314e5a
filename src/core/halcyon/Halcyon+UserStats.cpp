// How often and how long the game is played and the dashboard is open, per
// user, in the user defaults; sent with every log-in and then taken away.
//
// The counters change on the main thread and are reset on the provider's
// request thread when the log-in reply arrives, so every read-modify-write
// holds one lock. The timing state belongs to the main thread.
#include <cmath>
#include <mutex>

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonInstanceSlot.h"
#include "kernel/io/HCISerializer.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Application.h"

namespace {

constexpr const char* kGameSessions = "HalcyonUserStatNumberOfGameSessions";
constexpr const char* kOnlineGameSessions = "HalcyonUserStatNumberOfOnlineGameSessions";
constexpr const char* kGameSessionsDuration = "HalcyonUserStatTotalGameSessionsDuration";
constexpr const char* kDashboardLaunches = "HalcyonUserStatNumberOfDashboardLaunches";
constexpr const char* kDashboardDuration = "HalcyonUserStatTotalDashboardDuration";

// A return within this many seconds continues the same game session.
constexpr double kNewSessionAfterSeconds = 120.0;

std::mutex& countersMutex()
{
    static std::mutex mutex;
    return mutex;
}

// Seconds since 1970; 0 means unset.
struct Timing {
    double sessionActiveAt = 0;
    double sessionNotActiveAt = 0;
    double dashboardLaunchedAt = 0;
    bool suspendedDashboard = false;
    // Launch counts a session although no inactive spell came before it;
    // the became-active notice that follows launch must not count another.
    bool launchCounted = false;
};

Timing& timing()
{
    static Timing t;
    return t;
}

const char* const kObserverToken = "Halcyon+UserStats";

std::string keyFor(const std::string& statKey, const std::string& userId)
{
    return statKey + "." + userId;
}

void addLocked(const std::string& key, long delta)
{
    auto defaults = platform::UserDefaults::standardUserDefaults();
    defaults->setInteger(key, defaults->integerForKey(key) + delta);
    defaults->synchronize();
}

void add(const char* statKey, long delta)
{
    std::lock_guard lock(countersMutex());
    addLocked(keyFor(statKey, Halcyon::lastLoggedInUserId()), delta);
}

long wholeSeconds(double seconds)
{
    return static_cast<long>(std::trunc(seconds));
}

}  // namespace

std::string Halcyon::statUserKeyName(const std::string& statKey)
{
    return keyFor(statKey, lastLoggedInUserId());
}

long Halcyon::getUserStatValue(const std::string& statKey)
{
    std::lock_guard lock(countersMutex());
    return platform::UserDefaults::standardUserDefaults()->integerForKey(statUserKeyName(statKey));
}

void Halcyon::setUserStatValue(const std::string& statKey, long value)
{
    std::lock_guard lock(countersMutex());
    auto defaults = platform::UserDefaults::standardUserDefaults();
    defaults->setInteger(statUserKeyName(statKey), value);
    defaults->synchronize();
}

long Halcyon::numberOfGameSessions() { return getUserStatValue(kGameSessions); }
void Halcyon::setNumberOfGameSessions(long value) { setUserStatValue(kGameSessions, value); }
void Halcyon::incrementNumberOfGameSessions() { add(kGameSessions, 1); }
long Halcyon::numberOfOnlineGameSessions() { return getUserStatValue(kOnlineGameSessions); }
void Halcyon::setNumberOfOnlineGameSessions(long value) { setUserStatValue(kOnlineGameSessions, value); }
void Halcyon::incrementNumberOfOnlineGameSessions() { add(kOnlineGameSessions, 1); }
long Halcyon::totalGameSessionsDuration() { return getUserStatValue(kGameSessionsDuration); }
void Halcyon::setTotalGameSessionsDuration(long value) { setUserStatValue(kGameSessionsDuration, value); }
void Halcyon::incrementTotalGameSessionsDurationBy(long seconds) { add(kGameSessionsDuration, seconds); }
long Halcyon::numberOfDashboardLaunches() { return getUserStatValue(kDashboardLaunches); }
void Halcyon::setNumberOfDashboardLaunches(long value) { setUserStatValue(kDashboardLaunches, value); }
void Halcyon::incrementNumberOfDashboardLaunches() { add(kDashboardLaunches, 1); }
long Halcyon::totalDashboardDuration() { return getUserStatValue(kDashboardDuration); }
void Halcyon::setTotalDashboardDuration(long value) { setUserStatValue(kDashboardDuration, value); }
void Halcyon::incrementTotalDashboardDurationBy(long seconds) { add(kDashboardDuration, seconds); }

void Halcyon::intiailizeUserStats()
{
    HC_CHECK_MAIN_THREAD();
    sessionActive();
    auto& center = platform::NotificationCenter::defaultCenter();
    center.removeObserver(kObserverToken);
    center.addObserver(kObserverToken, platform::ui::ApplicationDidBecomeActiveNotification,
                       [](const platform::Notification&) { sessionActive(); });
    center.addObserver(kObserverToken, platform::ui::ApplicationWillResignActiveNotification,
                       [](const platform::Notification&) { sessionNotActive(); });
}

void Halcyon::shutdownUserStats()
{
    HC_CHECK_MAIN_THREAD();
    // A later start-up observes again; two observers would count twice.
    platform::NotificationCenter::defaultCenter().removeObserver(kObserverToken);
    // A later start-up in this process is a launch again and counts a session.
    timing().launchCounted = false;
}

void Halcyon::sessionActive()
{
    HC_CHECK_MAIN_THREAD();
    Timing& t = timing();
    const double now = platform::Clock::currentTime();
    if (t.sessionActiveAt == 0) {
        t.sessionActiveAt = now;
    }
    const bool atLaunch = t.sessionNotActiveAt == 0 && !t.launchCounted;
    const bool afterLongSpell = t.sessionNotActiveAt != 0 && now - t.sessionNotActiveAt >= kNewSessionAfterSeconds;
    if (atLaunch || afterLongSpell) {
        t.launchCounted = true;
        incrementNumberOfGameSessions();
        if (isOnline()) {
            incrementNumberOfOnlineGameSessions();
        }
    }
    t.sessionNotActiveAt = 0;
    if (t.suspendedDashboard) {
        t.suspendedDashboard = false;
        t.dashboardLaunchedAt = t.sessionActiveAt;
    }
}

void Halcyon::sessionNotActive()
{
    HC_CHECK_MAIN_THREAD();
    Timing& t = timing();
    t.sessionNotActiveAt = platform::Clock::currentTime();
    saveSessionDuration();
    t.suspendedDashboard = t.dashboardLaunchedAt != 0;
    dashboardClosed();
}

void Halcyon::saveSessionDuration()
{
    HC_CHECK_MAIN_THREAD();
    Timing& t = timing();
    if (t.sessionActiveAt != 0) {
        incrementTotalGameSessionsDurationBy(wholeSeconds(t.sessionNotActiveAt - t.sessionActiveAt));
        t.sessionActiveAt = 0;
    }
}

void Halcyon::dashboardLaunched()
{
    HC_CHECK_MAIN_THREAD();
    Timing& t = timing();
    if (t.dashboardLaunchedAt == 0 && hasUserApprovedHalcyon()) {
        t.dashboardLaunchedAt = platform::Clock::currentTime();
        incrementNumberOfDashboardLaunches();
    }
}

void Halcyon::dashboardClosed()
{
    HC_CHECK_MAIN_THREAD();
    Timing& t = timing();
    if (t.dashboardLaunchedAt != 0) {
        incrementTotalDashboardDurationBy(wholeSeconds(platform::Clock::currentTime() - t.dashboardLaunchedAt));
        t.dashboardLaunchedAt = 0;
    }
}

HCUserStatsSnapshot Halcyon::getUserStatsParams(HCISerializer& writer)
{
    HCUserStatsSnapshot sent;
    {
        std::lock_guard lock(countersMutex());
        auto defaults = platform::UserDefaults::standardUserDefaults();
        sent.userId = lastLoggedInUserId();
        sent.dashboardDuration = defaults->integerForKey(keyFor(kDashboardDuration, sent.userId));
        sent.dashboardLaunches = defaults->integerForKey(keyFor(kDashboardLaunches, sent.userId));
        sent.gameSessionsDuration = defaults->integerForKey(keyFor(kGameSessionsDuration, sent.userId));
        sent.gameSessions = defaults->integerForKey(keyFor(kGameSessions, sent.userId));
        sent.onlineGameSessions = defaults->integerForKey(keyFor(kOnlineGameSessions, sent.userId));
    }
    // The service reads these literal names, the bracket before the key, at
    // the top level; written inside a "user_stats" scope they would come out
    // as "user_stats[...]", which it ignores, and the reset that follows the
    // reply would then lose the counters.
    writer.io("[user_stats]total_dashboard_duration", static_cast<int>(sent.dashboardDuration));
    writer.io("[user_stats]total_dashboard_launches", static_cast<int>(sent.dashboardLaunches));
    writer.io("[user_stats]total_game_session_duration", static_cast<int>(sent.gameSessionsDuration));
    writer.io("[user_stats]total_game_sessions", static_cast<int>(sent.gameSessions));
    writer.io("[user_stats]total_online_game_sessions", static_cast<int>(sent.onlineGameSessions));
    writer.io("[user_stats]version", "2");
    return sent;
}

void Halcyon::resetUserStats(const HCUserStatsSnapshot& sent)
{
    // What was sent is taken away from the user it was counted for; what was
    // counted since stays for the next log-in.
    std::lock_guard lock(countersMutex());
    addLocked(keyFor(kGameSessions, sent.userId), -sent.gameSessions);
    addLocked(keyFor(kOnlineGameSessions, sent.userId), -sent.onlineGameSessions);
    addLocked(keyFor(kGameSessionsDuration, sent.userId), -sent.gameSessionsDuration);
    addLocked(keyFor(kDashboardDuration, sent.userId), -sent.dashboardDuration);
    addLocked(keyFor(kDashboardLaunches, sent.userId), -sent.dashboardLaunches);
}

void Halcyon::_resetUserStatsForTesting()
{
    timing() = Timing();
    platform::NotificationCenter::defaultCenter().removeObserver(kObserverToken);
}
