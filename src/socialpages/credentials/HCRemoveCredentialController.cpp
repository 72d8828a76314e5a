#include "socialpages/credentials/HCRemoveCredentialController.h"

#include "accounts/FacebookSession.h"
#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"

namespace {

using platform::ui::Rect;

std::string filled(const std::string& pattern, const std::string& value)
{
    std::string out = pattern;
    if (auto at = out.find("%@"); at != std::string::npos) out.replace(at, 2, value);
    return out;
}

}  // namespace

HCRemoveCredentialController::HCRemoveCredentialController()
    : warningText_(platform::ui::Label::make(Rect(20, 60, 280, 40))),
      warningTextTwo_(platform::ui::Label::make(Rect(20, 110, 280, 40))),
      headerTitle_(platform::ui::Label::make(Rect(20, 20, 280, 30))),
      submitButton_(std::make_shared<platform::ui::Button>(platform::ui::ButtonType::RoundedRect, Rect(60, 170, 200, 40)))
{
    submitButton_->setTitle("Remove", platform::ui::ControlStateNormal);
}

void HCRemoveCredentialController::setUp(std::string type, std::string spokenName, const std::string& title,
                                         std::function<void()> submitted)
{
    credentialType_ = std::move(type);
    credentialSpokenName_ = std::move(spokenName);
    setTitle(title);
    headerTitle_->setText(title);
    submitButton_->setTitle(title, platform::ui::ControlStateNormal);
    submittedDelegate_ = std::move(submitted);
}

void HCRemoveCredentialController::setupForTwitter()
{
    setUp("TwitterCredential", "twitter", "Remove Twitter", nullptr);
}

void HCRemoveCredentialController::setupForFacebook()
{
    setUp("FbconnectCredential", "facebook", "Remove Facebook", [] { FacebookSession::session()->logout(); });
}

void HCRemoveCredentialController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    addParts({headerTitle_, warningText_, warningTextTwo_, submitButton_}, submitButton_);
    HCFormControllerHelper::viewDidLoad();
}

void HCRemoveCredentialController::viewWillAppear(bool animated)
{
    warningText_->setText(filled("You are about to disconnect %@ from your account.", credentialSpokenName_));
    warningTextTwo_->setText(filled("You will no longer be able use your %@ profile picture.", credentialSpokenName_));
    HCFormControllerHelper::viewWillAppear(animated);
}

void HCRemoveCredentialController::onSubmitPressed()
{
    HC_CHECK_MAIN_THREAD();
    if (credentialType_.empty()) {
        // Opened by name with no set-up: there is no login to name.
        platform::log(platform::LogLevel::Warning, "remove-credential form shown without a login to remove");
        return;
    }
    if (Halcyon::loggedInUserHasHttpBasicCredential()) {
        onWarningAccepted();
        return;
    }
    showWarning(filled("By disconnecting %@ you will have no way of recovering your account if you lose your device. "
                       "You may secure your account by tapping 'Go Back' and choosing 'Secure Account'.",
                       credentialSpokenName_));
}

void HCRemoveCredentialController::onWarningAccepted()
{
    onSubmitForm(view());
}

void HCRemoveCredentialController::addHiddenParameters(HCHttpNestedQueryStringWriter& parameters)
{
    parameters.io("credential_type", credentialType_);
}

void HCRemoveCredentialController::onFormSubmitted(const HCPaginatedSeriesPtr&)
{
    HC_CHECK_MAIN_THREAD();
    if (submittedDelegate_) submittedDelegate_();
    auto user = Halcyon::localUser();
    if (user && user->profilePictureSource() == credentialType_) {
        user->changeProfilePictureUrl(std::nullopt, false, false, false);
        Halcyon::setLocalUser(user);
    }
    if (credentialType_ == "TwitterCredential") Halcyon::setLoggedInUserHasTwitterCredential(false);
    if (credentialType_ == "FbconnectCredential") Halcyon::setLoggedInUserHasFbconnectCredential(false);
    if (auto navigation = navigationController()) navigation->popViewController(true);
}
