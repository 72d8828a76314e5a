#pragma once
// The log-in chain over the JSON session: a log-in asks the session, which
// registers the device when it has to, runs the bootstrap exchange and opens
// the user session; what the session then reports ends the log-in in the
// Halcyon class (a log-in, a failure, a log-out).
//
// Thread: main thread (the session reports there).
#include "core/halcyon/HCLoginChain.h"
#include "core/xp/HCSessionObserver.h"
#include "platform/runtime/Object.h"

class HCSessionLoginChain final : public platform::Object, public HCLoginChain, public HCSessionObserver {
public:
    void attachSession(const std::shared_ptr<HCSession>& session) override;
    void login(const std::optional<std::string>& userId, bool newUser) override;

    void sessionFailureWithException(const std::shared_ptr<HCSession>& session,
                                     const std::shared_ptr<HCServerException>& exception) override;
    void sessionDidLogoutUser(const std::shared_ptr<HCSession>& session, const std::shared_ptr<HCUser>& user) override;
    void sessionDidLoginUser(const std::shared_ptr<HCSession>& session, const std::shared_ptr<HCUser>& user,
                             const std::shared_ptr<HCUser>& previousUser) override;

private:
    std::weak_ptr<HCSession> session_;
};
