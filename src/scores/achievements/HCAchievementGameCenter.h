#pragma once
// What the achievements need of Game Center: whether the player is signed
// in, the Game Center id an achievement maps to, and a report of one
// achievement's progress. A test may install its own; a function left
// empty (all of them after install({})) is the client's Game Center bridge,
// which counts as signed out while Game Center is not in use.
//
// Thread: install and the queries from any thread (the slot is guarded; a
// query runs without the lock); the bridge's own answers need the main
// thread. `report` may call `done` on any thread, once.
#include <functional>
#include <optional>
#include <string>

struct HCAchievementGameCenter {
    std::function<bool()> isLoggedIn;
    // Nil when the achievement has no Game Center counterpart.
    std::function<std::optional<std::string>(const std::string& achievementId)> gameCenterAchievementId;
    std::function<void(const std::string& gameCenterId, double percentComplete, std::function<void(bool ok)> done)> report;

    static void install(HCAchievementGameCenter gameCenter);
    static HCAchievementGameCenter installed();

    static bool isLoggedIntoGameCenter();
    static std::optional<std::string> gameCenterIdFor(const std::string& achievementId);
    // Reports through the installed report, else the bridge; `done` runs on
    // a later main run loop turn.
    static void reportOnMainThread(const std::string& gameCenterId, double percentComplete,
                                   std::function<void(bool ok)> done);
};
