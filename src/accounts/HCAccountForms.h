#pragma once
// The account set-up forms the player's pages open, one login each:
// "FacebookAccountLogin" (the Facebook session opens once linked),
// "TwitterAccountLogin" (the Twitter user name and password),
// "HttpCredentialsCreate" (an e-mail address and a password, so the account
// can be had back on another device), and "HalcyonAccountLogin" (the same
// e-mail login, whose intro-flow spacer the settings hide).
//
// The Facebook form told setGetPostingPermission also asks for leave to post
// on the player's behalf ("posting_permission" 1), which the composer needs.
//
// Thread: main thread.
#include "accounts/HCAccountSetupBaseController.h"
#include "platform/ui/View.h"

class HCFacebookAccountLoginController final : public HCAccountSetupBaseController {
public:
    HCFacebookAccountLoginController();
    std::string credentialType() const override { return "fbconnect"; }
    void setGetPostingPermission(bool get) { getPostingPermission_ = get; }
    void addHiddenParameters(HCHttpNestedQueryStringWriter& parameters) override;
    void onCredentialLinked() override;
    std::string kindName() const override { return "HCFacebookAccountLoginController"; }

private:
    bool getPostingPermission_ = false;
};

class HCTwitterAccountLoginController final : public HCAccountSetupBaseController {
public:
    HCTwitterAccountLoginController();
    std::string credentialType() const override { return "twitter"; }
    std::string kindName() const override { return "HCTwitterAccountLoginController"; }
};

class HCHttpCredentialsCreateController : public HCAccountSetupBaseController {
public:
    HCHttpCredentialsCreateController();
    std::string credentialType() const override { return "http_basic"; }
    std::string kindName() const override { return "HCHttpCredentialsCreateController"; }
};

class HCHalcyonAccountLoginController final : public HCHttpCredentialsCreateController {
public:
    HCHalcyonAccountLoginController();
    void setHideIntroFlowSpacer(bool hide) { introFlowSpacer_->setHidden(hide); }
    const platform::ui::ViewPtr& introFlowSpacer() const { return introFlowSpacer_; }
    void viewDidLoad() override;
    std::string kindName() const override { return "HCHalcyonAccountLoginController"; }

private:
    platform::ui::ViewPtr introFlowSpacer_;
};
