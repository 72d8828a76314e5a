#include "accounts/HCUsersCredentialCell.h"

HCUsersCredentialCell::Text HCUsersCredentialCell::getCredentialImage(const Text& credentialType)
{
    if (credentialType == "twitter") return std::string("HalcyonAccountSetupTwitterConnectButton.png");
    if (credentialType == "fbconnect") return std::string("HalcyonAccountSetupFacebookConnectButton.png");
    return std::nullopt;
}

HCUsersCredentialCell::Text HCUsersCredentialCell::getCredentialControllerName(const Text& credentialType)
{
    if (credentialType == "twitter") return std::string("TwitterAccountLogin");
    if (credentialType == "fbconnect") return std::string("FacebookAccountLogin");
    // Named "HCHttpCredentialCreate" elsewhere, but the form is loaded as "HttpCredentialsCreate".
    if (credentialType == "http_basic") return std::string("HttpCredentialsCreate");
    return std::nullopt;
}
