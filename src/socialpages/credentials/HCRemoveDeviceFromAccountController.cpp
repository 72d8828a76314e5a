#include "socialpages/credentials/HCRemoveDeviceFromAccountController.h"

#include "core/halcyon/Halcyon.h"
#include "core/xp/HCSession.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationItem.h"

namespace {

using platform::ui::Rect;

constexpr const char* kSecuredWarning =
    "You are about to remove your account from this device and log out. You will be able to log in to this account "
    "at any time with the email address and password you used to secure this account.";
constexpr const char* kUnsecuredWarning =
    "You are about to remove your account from this device and log out. You will not be able to recover your "
    "account unless you first secure it in the Settings tab!";
constexpr const char* kSheetTitle =
    "Warning! Your account will be lost and you will not be able to recover it. Tap 'Go Back' to return to the "
    "Settings tab and choose 'Secure Account'.";

}  // namespace

HCRemoveDeviceFromAccountController::HCRemoveDeviceFromAccountController()
    : warningText_(platform::ui::Label::make(Rect(20, 60, 280, 80))),
      titleLabel_(platform::ui::Label::make(Rect(20, 20, 280, 30))),
      submitButton_(std::make_shared<platform::ui::Button>(platform::ui::ButtonType::RoundedRect, Rect(60, 160, 200, 40)))
{
    submitButton_->setTitle("Remove Account", platform::ui::ControlStateNormal);
}

void HCRemoveDeviceFromAccountController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    addParts({titleLabel_, warningText_, submitButton_}, submitButton_);
    HCFormControllerHelper::viewDidLoad();
}

void HCRemoveDeviceFromAccountController::viewWillAppear(bool animated)
{
    HCFormControllerHelper::viewWillAppear(animated);
    navigationItem()->setHidesBackButton(false);
    if (Halcyon::loggedInUserHasHttpBasicCredential()) {
        warningText_->setText(kSecuredWarning);
    } else {
        warningText_->setText(kUnsecuredWarning);
        showWarning(kSheetTitle);
    }
    if (!Halcyon::isInLandscapeMode()) titleLabel_->setText("Remove Account");
}

void HCRemoveDeviceFromAccountController::addHiddenParameters(HCHttpNestedQueryStringWriter& parameters)
{
    parameters.io("user_id", Halcyon::lastLoggedInUserId());
    parameters.io("udid", platform::DeviceFacts::uniqueIdentifier());
}

void HCRemoveDeviceFromAccountController::onFormSubmitted(const HCPaginatedSeriesPtr&)
{
    HC_CHECK_MAIN_THREAD();
    if (auto session = Halcyon::session()) session->logoutUser();
    Halcyon::dismissDashboard();
}
