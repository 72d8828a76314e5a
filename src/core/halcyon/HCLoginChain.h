#pragma once
// Where a log-in goes once the client has decided to log in: the device
// session, the bootstrap exchange and the user session. The chain reports its
// end through Halcyon::_bootstrapSucceeded() or Halcyon::_bootstrapFailed().
//
// Until a chain is given to start-up, every log-in ends as a failed one at
// once: the client stays offline and says so (see Halcyon::doBootstrapAsUserId).
//
// Thread: main thread.
#include <optional>
#include <string>

class HCLoginChain {
public:
    virtual ~HCLoginChain() = default;
    // userId nil with newUser: a new account.
    virtual void login(const std::optional<std::string>& userId, bool newUser) = 0;
};
