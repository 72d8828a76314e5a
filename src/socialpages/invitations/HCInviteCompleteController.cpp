#include "socialpages/invitations/HCInviteCompleteController.h"

#include "platform/runtime/ThreadChecker.h"

void HCInviteCompleteController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    HCShowMessageAndReturnController::loadView();
    view()->addSubview(icon_.inviteIconFrame);
    view()->addSubview(icon_.inviteIcon);
}
