#pragma once
// Where a log-in goes once the client has decided to log in: the device
// session, the bootstrap exchange and the user session. The chain reports its
// end through Halcyon::sessionDidLoginUser() or
// Halcyon::sessionFailureWithException(), and a log-out through
// Halcyon::sessionDidLogoutUser().
//
// Until a chain is given to start-up, every log-in ends as a failed one at
// once: the client stays offline and says so (see Halcyon::doBootstrapAsUserId).
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

class HCSession;

class HCLoginChain {
public:
    virtual ~HCLoginChain() = default;
    // Start-up made the client's session; the chain follows it from now on.
    virtual void attachSession(const std::shared_ptr<HCSession>& session) { (void)session; }
    // userId nil with newUser: a new account.
    virtual void login(const std::optional<std::string>& userId, bool newUser) = 0;
};
