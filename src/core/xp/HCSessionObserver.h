#pragma once
// What the session tells about its changes. Every method is optional: the
// session calls only those an observer implements (platform::callOptional).
//
// Thread: main.
#include <memory>

#include "platform/runtime/OptionalMethods.h"

class HCSession;
class HCServerException;
class HCUser;

class HCSessionObserver : public platform::OptionalMethods {
public:
    virtual ~HCSessionObserver() = default;
    // A device registration, user session or log-in failed; nil when the
    // failure carried no exception.
    virtual void sessionFailureWithException(const std::shared_ptr<HCSession>& session,
                                             const std::shared_ptr<HCServerException>& exception)
    {
        (void)session;
        (void)exception;
        notImplemented();
    }
    virtual void sessionDidLogoutUser(const std::shared_ptr<HCSession>& session, const std::shared_ptr<HCUser>& user)
    {
        (void)session;
        (void)user;
        notImplemented();
    }
    virtual void sessionDidLoginUser(const std::shared_ptr<HCSession>& session, const std::shared_ptr<HCUser>& user,
                                     const std::shared_ptr<HCUser>& previousUser)
    {
        (void)session;
        (void)user;
        (void)previousUser;
        notImplemented();
    }
};
