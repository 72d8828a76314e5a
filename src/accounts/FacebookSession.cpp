#include "accounts/FacebookSession.h"

#include "platform/runtime/ThreadChecker.h"

std::shared_ptr<FacebookSession> FacebookSession::session()
{
    HC_CHECK_MAIN_THREAD();
    static const auto shared = std::make_shared<FacebookSession>();
    return shared;
}

void FacebookSession::logout()
{
    HC_CHECK_MAIN_THREAD();
    connected_ = false;
}
