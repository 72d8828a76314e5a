#pragma once
// The screens that ask a linked network for more than the link gave: leave
// to post on the player's behalf. "FacebookExtendedCredential" asks Facebook
// again with the posting permission; "TwitterExtendedCredential" asks for the
// Twitter user name and password again. Each sends the link once more with
// "posting_permission" 1 (users_credentials/link.xml).
//
// The caller pushes the screen and hands it three outcomes through
// getExtendedCredentials: success once the service granted the permission,
// failure when it refused, cancel when the player gave up ("Cancel", or
// leaving by the back button). The screen goes back to the page below it
// before it reports, and reports once.
//
// Thread: main thread.
#include "accounts/HCAccountSetupBaseController.h"
#include "kernel/callbacks/HCDelegate.h"

class HCExtendedCredentialController {
public:
    virtual ~HCExtendedCredentialController() = default;
    virtual void getExtendedCredentials(const HCDelegate& onSuccess, const HCDelegate& onFailure,
                                        const HCDelegate& onCancel) = 0;
};

class HCExtendedCredentialForm : public HCAccountSetupBaseController, public HCExtendedCredentialController {
public:
    void getExtendedCredentials(const HCDelegate& onSuccess, const HCDelegate& onFailure,
                                const HCDelegate& onCancel) override;
    void cancel();

    void addHiddenParameters(HCHttpNestedQueryStringWriter& parameters) override;
    void onFormSubmissionFailed(const platform::ObjectPtr& failure) override;
    void viewDidLoad() override;
    void viewDidDisappear(bool animated) override;
    void onCredentialLinked() override;
    std::string kindName() const override { return "HCExtendedCredentialForm"; }

private:
    // Leaves the screen, then invokes `outcome`; nothing after the first.
    void finish(const HCDelegate& outcome);
    void clearOutcomes();

    HCDelegate onSuccess_;
    HCDelegate onFailure_;
    HCDelegate onCancel_;
    bool finished_ = false;
};

class HCFacebookExtendedCredentialController final : public HCExtendedCredentialForm {
public:
    HCFacebookExtendedCredentialController();
    std::string credentialType() const override { return "fbconnect"; }
    std::string kindName() const override { return "HCFacebookExtendedCredentialController"; }
};

class HCTwitterExtendedCredentialController final : public HCExtendedCredentialForm {
public:
    HCTwitterExtendedCredentialController();
    std::string credentialType() const override { return "twitter"; }
    std::string kindName() const override { return "HCTwitterExtendedCredentialController"; }
};
