#include "core/halcyon/HCSessionLoginChain.h"

#include "core/halcyon/Halcyon.h"
#include "core/xp/HCSession.h"
#include "platform/runtime/ThreadChecker.h"

void HCSessionLoginChain::attachSession(const std::shared_ptr<HCSession>& session)
{
    HC_CHECK_MAIN_THREAD();
    if (auto previous = session_.lock()) {
        previous->removeObserver(std::dynamic_pointer_cast<HCSessionObserver>(shared_from_this()));
    }
    session_ = session;
    if (session) {
        // The client finishes a log-in before anyone else hears of it.
        session->addPriorityObserver(std::dynamic_pointer_cast<HCSessionObserver>(shared_from_this()));
    }
}

void HCSessionLoginChain::login(const std::optional<std::string>& userId, bool newUser)
{
    HC_CHECK_MAIN_THREAD();
    auto session = session_.lock();
    if (!session) {
        Halcyon::sessionFailureWithException(nullptr);
        return;
    }
    if (newUser) {
        session->loginNewUser();
    } else {
        session->loginUserId(userId.value_or("0"), std::nullopt);
    }
}

void HCSessionLoginChain::sessionFailureWithException(const std::shared_ptr<HCSession>&,
                                                      const std::shared_ptr<HCServerException>& exception)
{
    Halcyon::sessionFailureWithException(exception);
}

void HCSessionLoginChain::sessionDidLogoutUser(const std::shared_ptr<HCSession>&, const std::shared_ptr<HCUser>&)
{
    Halcyon::sessionDidLogoutUser();
}

void HCSessionLoginChain::sessionDidLoginUser(const std::shared_ptr<HCSession>&, const std::shared_ptr<HCUser>&,
                                              const std::shared_ptr<HCUser>&)
{
    Halcyon::sessionDidLoginUser();
}
