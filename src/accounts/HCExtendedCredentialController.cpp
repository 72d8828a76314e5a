#include "accounts/HCExtendedCredentialController.h"

#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"

void HCExtendedCredentialForm::getExtendedCredentials(const HCDelegate& onSuccess, const HCDelegate& onFailure,
                                                      const HCDelegate& onCancel)
{
    HC_CHECK_MAIN_THREAD();
    onSuccess_ = onSuccess;
    onFailure_ = onFailure;
    onCancel_ = onCancel;
    finished_ = false;
    // The network is linked already; the form only widens what it may do.
    setAddingAdditionalCredential(true);
}

void HCExtendedCredentialForm::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    std::weak_ptr<HCExtendedCredentialForm> weakSelf =
        std::static_pointer_cast<HCExtendedCredentialForm>(platform::self(this));
    navigationItem()->setRightBarButtonItem(
        platform::ui::BarButtonItem::withTitle("Cancel", platform::ui::BarButtonStyle::Plain, [weakSelf](auto&) {
            if (auto form = weakSelf.lock()) form->cancel();
        }));
    HCAccountSetupBaseController::viewDidLoad();
}

void HCExtendedCredentialForm::addHiddenParameters(HCHttpNestedQueryStringWriter& parameters)
{
    HCAccountSetupBaseController::addHiddenParameters(parameters);
    parameters.io("posting_permission", std::string("1"));
}

void HCExtendedCredentialForm::cancel()
{
    finish(onCancel_);
}

void HCExtendedCredentialForm::onCredentialLinked()
{
    // The base leaves the screen after this; report once it has.
    finished_ = true;
    auto success = onSuccess_;
    clearOutcomes();
    success.invoke();
}

void HCExtendedCredentialForm::onFormSubmissionFailed(const platform::ObjectPtr&)
{
    finish(onFailure_);
}

void HCExtendedCredentialForm::viewDidDisappear(bool animated)
{
    HCAccountSetupBaseController::viewDidDisappear(animated);
    // Gone by the back button without an answer: the player gave up.
    if (!isOnNavigationStack()) finish(onCancel_);
}

void HCExtendedCredentialForm::finish(const HCDelegate& outcome)
{
    HC_CHECK_MAIN_THREAD();
    if (finished_) return;
    finished_ = true;
    auto call = outcome;
    clearOutcomes();
    leaveForm();
    call.invoke();
}

void HCExtendedCredentialForm::clearOutcomes()
{
    onSuccess_ = HCDelegate();
    onFailure_ = HCDelegate();
    onCancel_ = HCDelegate();
}

HCFacebookExtendedCredentialController::HCFacebookExtendedCredentialController()
{
    setTitle("Facebook");
    setSubmitTitle("Allow Posting");
}

HCTwitterExtendedCredentialController::HCTwitterExtendedCredentialController()
{
    setTitle("Twitter");
    addField("username", "Twitter user name");
    addField("password", "Twitter password", true);
    setSubmitTitle("Allow Posting");
}
