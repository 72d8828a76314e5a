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

// Why the fields of a link request do not do for its type; empty when they do.
std::string linkProblem(const std::string& type, const Request& request)
{
    const auto field = [&request](const char* name) { return request.param(std::string("users_credential[") + name + "]").value_or(""); };
    if (type == "fbconnect") return {};
    if (type == "twitter")
        return field("username").empty() || field("password").empty() ? "a Twitter user name and password are needed"
                                                                       : "";
    if (type == "http_basic") {
        if (field("email").find('@') == std::string::npos) return "an e-mail address is needed";
        return field("password").size() < 6 ? "the password needs 6 characters or more" : "";
    }
    return "credential_type must be fbconnect, twitter or http_basic";
}

}  // namespace

void registerCredentialRoutes(Server& server)
{
    server.addRoute("POST", "users_credentials/link.xml", Access::User, [&server](const Request& request) {
        const auto type = request.param("credential_type").value_or("");
        if (auto problem = linkProblem(type, request); !problem.empty()) return Reply::text(422, problem);
        auto user = server.accounts().user(request.userId);
        if (!user) return Reply::text(404, "no such user");
        const auto add = [](std::vector<std::string>& list, const std::string& value) {
            if (std::find(list.begin(), list.end(), value) == list.end()) list.push_back(value);
        };
        add(user->credentials, type);
        if (request.param("posting_permission") == "1" && type != "http_basic") add(user->postingAllowed, type);
        server.accounts().addUser(*user);
        return Reply::xml(writeFlatReply({}));
    });
    server.addRoute("GET", "users_credentials/remove.xml", Access::User, [&server](const Request& request) {
        const auto login = loginNamed(request.param("credential_type"));
        if (!login) return Reply::text(422, "credential_type must name a Twitter or Facebook login");
        auto user = server.accounts().user(request.userId);
        if (!user) return Reply::text(404, "no such user");
        auto& logins = user->credentials;
        const auto found = std::find(logins.begin(), logins.end(), *login);
        if (found == logins.end()) return Reply::text(404, "that login is not linked");
        logins.erase(found);
        std::erase(user->postingAllowed, *login);
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
