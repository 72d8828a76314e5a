#include "accounts/HCAccountSetupBaseController.h"

#include <algorithm>

#include "core/halcyon/Halcyon.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationController.h"

namespace {

using platform::ui::Rect;

constexpr double kRowHeight = 40.0;

void remember(const std::string& credentialType)
{
    if (credentialType == "fbconnect") Halcyon::setLoggedInUserHasFbconnectCredential(true);
    if (credentialType == "twitter") Halcyon::setLoggedInUserHasTwitterCredential(true);
    if (credentialType == "http_basic") Halcyon::setLoggedInUserHasHttpBasicCredential(true);
    Halcyon::setLoggedInUserHasNonDeviceCredential(true);
}

}  // namespace

HCAccountSetupBaseController::HCAccountSetupBaseController()
    : submitButton_(std::make_shared<platform::ui::Button>(platform::ui::ButtonType::RoundedRect, Rect(60, 20, 200, 40)))
{
}

void HCAccountSetupBaseController::addField(const std::string& name, const std::string& placeholder, bool secure)
{
    const double top = 20 + kRowHeight * static_cast<double>(fields_.size());
    auto field = platform::ui::TextField::make(Rect(20, top, 280, kRowHeight - 8));
    field->setPlaceholder(placeholder);
    field->setSecureTextEntry(secure);
    field->setTag(static_cast<int>(fields_.size()) + 1);
    viewDataMap().addFieldReference(name, field->tag());
    fields_.emplace_back(name, field);
    auto frame = submitButton_->frame();
    frame.origin.y = top + kRowHeight + 10;
    submitButton_->setFrame(frame);
}

void HCAccountSetupBaseController::setSubmitTitle(const std::string& title)
{
    submitButton_->setTitle(title, platform::ui::ControlStateNormal);
}

const std::shared_ptr<platform::ui::TextField>& HCAccountSetupBaseController::field(const std::string& name) const
{
    static const std::shared_ptr<platform::ui::TextField> none;
    for (const auto& [fieldName, view] : fields_)
        if (fieldName == name) return view;
    return none;
}

void HCAccountSetupBaseController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    for (const auto& entry : fields_) view()->addSubview(entry.second);
    view()->addSubview(submitButton_);
    std::weak_ptr<HCAccountSetupBaseController> weakSelf =
        std::static_pointer_cast<HCAccountSetupBaseController>(platform::self(this));
    submitButton_->addTarget(this, [weakSelf](platform::ui::Control&) {
        if (auto form = weakSelf.lock()) form->submit();
    }, platform::ui::ControlEventTouchUpInside);
    HCFormControllerHelper::viewDidLoad();
}

bool HCAccountSetupBaseController::submit()
{
    HC_CHECK_MAIN_THREAD();
    if (!addingAdditionalCredential_) {
        // Logging in with a network's login is the log-in flow's business;
        // these forms only link one to the account already logged in. The
        // player who pressed the button is told rather than left waiting.
        platform::log(platform::LogLevel::Warning, "account form shown for a log-in; it only links a login");
        platform::ui::AlertView::make(kFailureAlertTitle, kCannotSubmitMessage, {}, std::string("Ok"))->show();
        return false;
    }
    for (const auto& entry : fields_) {
        if (entry.second->text().empty()) {
            platform::ui::AlertView::make("Incomplete", "Please fill in every field and try again.", {},
                                          std::string("Ok"))
                ->show();
            return false;
        }
    }
    return onSubmitForm(view());
}

void HCAccountSetupBaseController::addHiddenParameters(HCHttpNestedQueryStringWriter& parameters)
{
    parameters.io("credential_type", credentialType());
}

void HCAccountSetupBaseController::onFormSubmitted(const HCPaginatedSeriesPtr&)
{
    HC_CHECK_MAIN_THREAD();
    remember(credentialType());
    onCredentialLinked();
    leaveForm();
}

void HCAccountSetupBaseController::leaveForm()
{
    HC_CHECK_MAIN_THREAD();
    auto navigation = navigationController();
    if (!navigation) return;
    const auto target = controllerToPopTo_.lock();
    const auto& stack = navigation->viewControllers();
    if (target && std::find(stack.begin(), stack.end(), target) != stack.end()) {
        navigation->popToViewController(target, true);
    } else {
        navigation->popViewController(true);
    }
}
