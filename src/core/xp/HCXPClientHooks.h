#pragma once
// What the JSON request layer and the session ask of the client core above
// them, installed by the core's start-up (the Halcyon class). Every hook is
// optional; an absent hook gives the answer written next to it. (The 401
// re-login reads the last logged-in user through HCClientState.)
//
//   session               the process's one HCSession (absent: none, and a
//                         request's execute() fails it as a session failure)
//   localUser             the user the bootstrap stored; becomes the
//                         session's current user after log-in (absent: the
//                         user named by the bootstrap reply)
//   reloadInactiveTabBars the device record changed (absent: nothing)
//   releaseVersionString  the client's release, sent as "hc-version"
//                         (absent: kDefaultReleaseVersion)
//
// Thread: installed on the main thread; called on the main thread.
#include <functional>
#include <memory>
#include <optional>
#include <string>

class HCSession;
class HCUser;

struct HCXPClientHooks {
    static constexpr const char* kDefaultReleaseVersion = "2.10";

    std::function<std::shared_ptr<HCSession>()> session;
    std::function<std::shared_ptr<HCUser>()> localUser;
    std::function<void()> reloadInactiveTabBars;
    std::function<std::string()> releaseVersionString;

    static void install(HCXPClientHooks hooks);
    static HCXPClientHooks installed();

    static std::shared_ptr<HCSession> currentSession();
    static std::string currentReleaseVersion();
};
