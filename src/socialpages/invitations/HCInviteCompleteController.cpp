#include "socialpages/invitations/HCInviteCompleteController.h"

void HCInviteCompleteController::loadView()
{
    HCShowMessageAndReturnController::loadView();
    view()->addSubview(icon_.inviteIconFrame);
    view()->addSubview(icon_.inviteIcon);
}
