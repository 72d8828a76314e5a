#include "localserver/routes/CredentialRoutes.h"

#include <algorithm>

#include "localserver/Server.h"
#include "localserver/XmlWriter.h"

namespace localserver {

namespace {

std::optional<std::string> loginNamed(const std::optional<std::string>& credentialType)
{
    if (credentialType == "TwitterCredential") return "twitter";
    if (credentialType == "FbconnectCredential") return "fbconnect";
    return std::nullopt;
}

}  // namespace

void registerCredentialRoutes(Server& server)
{
    server.addRoute("GET", "users_credentials/remove.xml", Access::User, [&server](const Request& request) {
        const auto login = loginNamed(request.param("credential_type"));
        if (!login) return Reply::text(422, "credential_type must name a Twitter or Facebook login");
        auto user = server.accounts().user(request.userId);
        if (!user) return Reply::text(404, "no such user");
        auto& logins = user->credentials;
        const auto found = std::find(logins.begin(), logins.end(), *login);
        if (found == logins.end()) return Reply::text(404, "that login is not linked");
        logins.erase(found);
        server.accounts().addUser(*user);
        return Reply::xml(writeFlatReply({}));
    });
    server.addRoute("GET", "users/remove_from_device.xml", Access::User, [](const Request& request) {
        if (request.param("user_id") != request.userId) return Reply::text(403, "only one's own account");
        if (request.param("udid").value_or("").empty()) return Reply::text(422, "a device is needed");
        return Reply::xml(writeFlatReply({}));
    });
}

}  // namespace localserver
