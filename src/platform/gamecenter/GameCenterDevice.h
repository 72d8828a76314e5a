#pragma once
// The device's Game Center service, headless. The handheld's Game Center
// does not exist here, so this is the world the local player, score,
// achievement and leaderboard objects of this folder talk to: who is signed
// in on the device, the friends, the stored scores and achievements, and how
// each kind of call behaves (fails, answers late, or never answers). Tests
// and the demo set it up with the static calls below and read back what was
// reported.
//
// As on the handheld, every completion handler runs on Game Center's own
// thread, never on the caller's: callers hop back to their own thread. A
// delay is measured on platform::Clock, so a manual clock decides it.
//
// The version gate: Game Center exists only from system 4.1 on (the device
// facts' system version). Before that every call is a programming error and
// does nothing; below 4.2 a report made on the main thread is a programming
// error too (reports there are made from a background thread of their own).
//
// Thread: any thread; the state is guarded.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/Thread.h"

namespace platform::gamecenter {

struct Error {
    int code = 0;
    std::string description;
};
using ErrorHandler = std::function<void(const std::optional<Error>&)>;

// Each kind of call, for failures and delays.
enum class Call { Authenticate, LoadFriends, LoadAchievements, LoadScores, LoadPlayers, ReportScore, ReportAchievement };

struct StoredScore {
    std::string category;
    std::string playerID;
    std::int64_t value = 0;
    // Seconds since 1970 on platform::Clock.
    double date = 0;
};

struct ReportedScore {
    std::string category;
    std::int64_t value = 0;
    double date = 0;
    bool fromMainThread = false;
};

struct ReportedAchievement {
    std::string identifier;
    double percentComplete = 0;
    bool fromMainThread = false;
};

class GameCenterDevice final {
public:
    // Back to launch: nobody signed in, nothing stored, every call answers
    // at once and succeeds. The thread stays.
    static void reset();

    // Game Center exists on this system (4.1 or later).
    static bool isAvailable();
    // Reports must not be made on the main thread (below 4.2).
    static bool requiresBackgroundReports();

    // The player an authentication signs in; nil: the player declines.
    static void setPlayer(std::optional<std::string> playerID);
    static void setFriends(std::vector<std::string> friendIDs);
    static void setAlias(const std::string& playerID, const std::string& alias);
    static void addScore(StoredScore score);
    // Ascending categories rank the lowest value first; others the highest.
    static void setAscending(const std::string& category);
    static void addAchievement(const std::string& identifier, double percentComplete);

    // Every call of that kind fails with this error until cleared (nil).
    static void setFailure(Call call, std::optional<Error> error);
    // Every call of that kind answers this many clock seconds late.
    static void setDelay(Call call, double seconds);
    // Calls of that kind never answer (their handlers are let go unused).
    static void setDropped(Call call, bool dropped);

    // The platform runs the last authentication handler again, as it does
    // when the player comes back from the Game Center application.
    static void reauthenticate();

    static std::vector<ReportedScore> reportedScores();
    static std::vector<ReportedAchievement> reportedAchievements();

    // --- For the objects of this folder ------------------------------------
    // False (after reporting the programming error) when Game Center does not
    // exist on this system.
    static bool checkAvailable(const char* what);
    // Runs `answer` on Game Center's thread as `call` is set up to: with
    // the configured failure (nil when none), late, or never.
    static void deliver(Call call, std::function<void(const std::optional<Error>&)> answer);
    static std::shared_ptr<Thread> thread();
};

}  // namespace platform::gamecenter
