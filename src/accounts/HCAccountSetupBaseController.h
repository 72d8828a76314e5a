#pragma once
// The base of the account set-up forms: one login ("fbconnect", "twitter",
// "http_basic") linked to the player's account through the local route
// "users_credentials/link.xml" (POST "credential_type" and the form's fields
// inside "users_credential"). Once linked, the device remembers the login.
//
// The player's own pages show a form with setAddingAdditionalCredential
// YES: it links the login and goes back to the page below. Logging in with
// a network's login belongs to the log-in flow: a form left at NO sends
// nothing and tells the player so.
//
// The fields are text fields the subclass adds with addField (tags from 1);
// an empty one is refused before anything is sent.
//
// A form told setControllerToPopTo goes back to that page once linked (the
// page that needed the login, however many screens lie between).
//
// A form with fields sends what the player typed: it hears its answer after
// he left it, and a link refused, or let go unanswered, then is told
// wherever he is (nothing else would say his login was not taken); once
// linked it remembers the login and leaves nothing it is no longer on.
//
// Thread: main thread.
#include <memory>
#include <string>
#include <vector>

#include "core/banners/HCNotificationData.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "uiframework/form/HCFormControllerHelper.h"

class HCAccountSetupBaseController : public HCFormControllerHelper {
public:
    HCAccountSetupBaseController();

    static constexpr const char* kCannotSubmitMessage =
        "This form adds a login to the account you are signed in with, and none is signed in here.";
    static constexpr const char* kNotLinkedMessage = "Your login was not added to your account.";

    bool addingAdditionalCredential() const { return addingAdditionalCredential_; }
    void setAddingAdditionalCredential(bool adding) { addingAdditionalCredential_ = adding; }
    void setControllerToPopTo(const platform::ui::ViewControllerPtr& controller) { controllerToPopTo_ = controller; }

    // Refuses an empty field with an alert (and anything while not adding);
    // else sends.
    bool submit();
    const std::shared_ptr<platform::ui::TextField>& field(const std::string& name) const;
    const std::shared_ptr<platform::ui::Button>& submitButton() const { return submitButton_; }

    // --- hooks ------------------------------------------------------------------
    virtual std::string credentialType() const = 0;
    // After the login was linked, before the form leaves.
    virtual void onCredentialLinked() {}

    std::string singularResourceName() override { return "users_credential"; }
    std::string getFormSubmissionUrl() override { return "users_credentials/link.xml"; }
    bool tellsFailureWhereverThePlayerIs() override { return !fields_.empty(); }
    bool canReceiveCallbacksNow() const override
    {
        return !fields_.empty() || HCFormControllerHelper::canReceiveCallbacksNow();
    }
    // kNotLinkedMessage: what the player typed is not quoted.
    std::string failureMessageWithoutReply() override { return kNotLinkedMessage; }
    int failureBannerCategory() override { return HCNotificationCategoryLogin; }
    void addHiddenParameters(HCHttpNestedQueryStringWriter& parameters) override;
    void onFormSubmitted(const HCPaginatedSeriesPtr& reply) override;
    void viewDidLoad() override;

    std::string kindName() const override { return "HCAccountSetupBaseController"; }

protected:
    // A text field sent as `name`; the placeholder is what the player reads.
    void addField(const std::string& name, const std::string& placeholder, bool secure = false);
    void setSubmitTitle(const std::string& title);
    // Back to the page set by setControllerToPopTo while it is on the stack,
    // else to the page below.
    void leaveForm();

private:
    bool addingAdditionalCredential_ = false;
    std::weak_ptr<platform::ui::ViewController> controllerToPopTo_;
    std::vector<std::pair<std::string, std::shared_ptr<platform::ui::TextField>>> fields_;
    std::shared_ptr<platform::ui::Button> submitButton_;
};
