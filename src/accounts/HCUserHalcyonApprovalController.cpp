#include "accounts/HCUserHalcyonApprovalController.h"

#include "accounts/HCIntroScreenView.h"
#include "core/halcyon/Halcyon.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

const bool userHalcyonApprovalControllerRegistered =
    (platform::registerClass<HCUserHalcyonApprovalController>("HCUserHalcyonApprovalController"), true);

}  // namespace

void HCUserHalcyonApprovalController::setApprovedDelegate(const HCDelegate& approved, const HCDelegate& denied)
{
    HC_CHECK_MAIN_THREAD();
    (void)userHalcyonApprovalControllerRegistered;
    approved_ = approved;
    denied_ = denied;
}

void HCUserHalcyonApprovalController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    std::weak_ptr<HCUserHalcyonApprovalController> weak =
        std::static_pointer_cast<HCUserHalcyonApprovalController>(shared_from_this());
    setView(hcintro::makeScreenView(
        "Let " + Halcyon::applicationDisplayName() + " connect you to Halcyon?",
        {{kApproveTitle, [weak] { if (auto self = weak.lock()) self->approve(); }},
         {kDenyTitle, [weak] { if (auto self = weak.lock()) self->deny(); }}}));
}

void HCUserHalcyonApprovalController::approve()
{
    answer(true);
}

void HCUserHalcyonApprovalController::deny()
{
    answer(false);
}

void HCUserHalcyonApprovalController::answer(bool approved)
{
    HC_CHECK_MAIN_THREAD();
    // One answer per question: a second tap while the next screen slides in
    // must not start a second account set-up.
    if (answered_) {
        return;
    }
    answered_ = true;
    Halcyon::userDidApproveHalcyon(approved, HCDelegate());
    (approved ? approved_ : denied_).invoke(nullptr);
    if (!approved) {
        Halcyon::dismissRootControllerOrItsModal(platform::self(this));
    }
}
