#pragma once
// The invite flow's confirmation ("InviteComplete"): the definition's icon
// over the message screen, whose button ends the flow.
//
// Thread: main thread.
#include "dashboard/HCShowMessageAndReturnController.h"
#include "socialpages/invitations/HCInviteHeaderViews.h"

class HCInviteCompleteController : public HCShowMessageAndReturnController {
public:
    void loadView() override;
    const std::shared_ptr<HCImageView>& inviteIcon() const { return icon_.inviteIcon; }
    std::string kindName() const override { return "HCInviteCompleteController"; }

private:
    HCInviteIconViews icon_;
};
