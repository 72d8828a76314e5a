#pragma once
// What the achievements need of Game Center: whether the player is signed
// in, the Game Center id an achievement maps to, and a report of one
// achievement's progress. The Game Center bridge installs it when it is
// built; until then, and after install({}), the player is not signed in and
// nothing is reported.
//
// Thread: install and the queries from any thread (the slot is guarded; a
// query runs without the lock). `report` may call `done` on any thread,
// once.
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
    // Reports through the installed bridge; `done` runs on the main thread.
    // Without a bridge `done(false)` follows at once, on the main thread too.
    static void reportOnMainThread(const std::string& gameCenterId, double percentComplete,
                                   std::function<void(bool ok)> done);
};
