#pragma once
// The player's Facebook session on this device: open once the Facebook
// log-in form linked the account, closed by logout() (the player removed
// the Facebook login, or logged out).
//
// Thread: main thread.
#include <memory>

#include "platform/runtime/Object.h"

class FacebookSession final : public platform::Object {
public:
    static std::shared_ptr<FacebookSession> session();

    bool isConnected() const { return connected_; }
    void didConnect() { connected_ = true; }
    void logout();


private:
    bool connected_ = false;
};
