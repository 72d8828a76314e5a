#pragma once
// The form that disconnects a linked Twitter or Facebook login from the
// account ("RemoveCredential"), set up for one network (setupForTwitter,
// setupForFacebook) before it is shown. Without an e-mail login the player
// is warned first that the account could not be recovered; "Go Back" pops.
// A form shown without its set-up names no login and refuses to submit.
//
// Once removed: the Facebook session is logged out (Facebook only), the
// local player's picture is cleared when it came from that login, the
// login's flag is cleared, and the form leaves.
//
// Thread: main thread.
#include <functional>
#include <memory>
#include <string>

#include "kernel/callbacks/HCCallbackable.h"
#include "platform/ui/Label.h"
#include "socialpages/credentials/HCAccountRemovalForm.h"

class HCRemoveCredentialController final : public HCAccountRemovalForm {
public:
    HCRemoveCredentialController();

    void setupForTwitter();
    void setupForFacebook();
    void onSubmitPressed() override;

    std::string getFormSubmissionUrl() override { return "users_credentials/remove.xml"; }
    void addHiddenParameters(HCHttpNestedQueryStringWriter& parameters) override;
    void onFormSubmitted(const HCPaginatedSeriesPtr& reply) override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    const std::string& credentialType() const { return credentialType_; }
    const std::shared_ptr<platform::ui::Label>& warningText() const { return warningText_; }
    const std::shared_ptr<platform::ui::Label>& warningTextTwo() const { return warningTextTwo_; }
    std::string kindName() const override { return "HCRemoveCredentialController"; }

private:
    void setUp(std::string type, std::string spokenName, const std::string& title, std::function<void()> submitted);
    void onWarningAccepted() override;

    std::shared_ptr<platform::ui::Label> warningText_, warningTextTwo_, headerTitle_;
    std::shared_ptr<platform::ui::Button> submitButton_;
    std::string credentialType_, credentialSpokenName_;
    std::function<void()> submittedDelegate_;
};
