#pragma once
// The game's own delegate, handed to start-up inside the delegates
// container: how the client tells the game about log-ins and the dashboard.
// Every method is optional; the client sends one only when the game
// implements it.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "platform/runtime/OptionalMethods.h"

class HCHighScore;
class HCUser;
namespace platform {
class Data;
}

class HalcyonDelegate : public platform::OptionalMethods {
public:
    virtual ~HalcyonDelegate() = default;

    // A log-in ended online, with the local player's id.
    virtual void userLoggedIn(const std::string& /*userId*/) { notImplemented(); }
    // A log-in ended without the service: the game runs offline.
    virtual void offlineUserLoggedIn(const std::string& /*userId*/) { notImplemented(); }
    virtual void userLoggedOut(const std::string& /*userId*/) { notImplemented(); }
    // The local player signed in to Game Center (each time the platform says so).
    virtual void userLoggedInToGameCenter() { notImplemented(); }
    // NO refuses the log-in as this player.
    virtual bool userAttemptingToLogin(const std::shared_ptr<HCUser>& /*user*/)
    {
        notImplemented();
        return true;
    }
    // YES: the game shows its own approval screen.
    virtual bool showCustomHalcyonApprovalScreen()
    {
        notImplemented();
        return false;
    }
    virtual void privateIgnoreSocialNetworks() { notImplemented(); }
    virtual void dashboardWillAppear() { notImplemented(); }
    virtual void dashboardDidAppear() { notImplemented(); }
    virtual void dashboardWillDisappear() { notImplemented(); }
    virtual void dashboardDidDisappear() { notImplemented(); }
    // The data attached to a score, fetched from the score page at the
    // player's request.
    virtual void userDownloadedBlob(const std::shared_ptr<platform::Data>& /*blob*/,
                                    const std::shared_ptr<HCHighScore>& /*score*/)
    {
        notImplemented();
    }
};
