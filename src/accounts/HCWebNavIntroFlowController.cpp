#include "accounts/HCWebNavIntroFlowController.h"

#include "platform/runtime/ThreadChecker.h"

std::shared_ptr<HCWebNavIntroFlowController> HCWebNavIntroFlowController::controller()
{
    HC_CHECK_MAIN_THREAD();
    return std::make_shared<HCWebNavIntroFlowController>();
}
