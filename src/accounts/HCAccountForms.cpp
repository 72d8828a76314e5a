#include "accounts/HCAccountForms.h"

#include "accounts/FacebookSession.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"

HCFacebookAccountLoginController::HCFacebookAccountLoginController()
{
    setTitle("Facebook");
    setSubmitTitle("Connect Facebook");
}

void HCFacebookAccountLoginController::addHiddenParameters(HCHttpNestedQueryStringWriter& parameters)
{
    HCAccountSetupBaseController::addHiddenParameters(parameters);
    if (getPostingPermission_) parameters.io("posting_permission", std::string("1"));
}

void HCFacebookAccountLoginController::onCredentialLinked()
{
    FacebookSession::session()->didConnect();
}

HCTwitterAccountLoginController::HCTwitterAccountLoginController()
{
    setTitle("Twitter");
    addField("username", "Twitter user name");
    addField("password", "Twitter password", true);
    setSubmitTitle("Connect Twitter");
}

HCHttpCredentialsCreateController::HCHttpCredentialsCreateController()
{
    setTitle("Secure Account");
    addField("email", "Email address");
    addField("password", "Password", true);
    setSubmitTitle("Secure Account");
}

HCHalcyonAccountLoginController::HCHalcyonAccountLoginController()
    : introFlowSpacer_(platform::ui::View::make(platform::ui::Rect(0, 0, 320, 10)))
{
}

void HCHalcyonAccountLoginController::viewDidLoad()
{
    view()->addSubview(introFlowSpacer_);
    HCHttpCredentialsCreateController::viewDidLoad();
}
