#include "localserver/routes/IndexRoute.h"

#include <algorithm>
#include <initializer_list>

#include "localserver/Server.h"

namespace localserver {

namespace {

// Each kind of access as the route list names it; a new kind without a name
// fails to compile (-Wswitch).
const char* labelOf(Access access)
{
    switch (access) {
    case Access::Consumer: return "oauth";
    case Access::User: return "oauth+token";
    case Access::Product: return "product";
    case Access::Open: return "open";
    }
    return "?";
}

// What each check (oauth::verify, xp::verify) really asks of a request.
const char* ruleOf(Access access)
{
    switch (access) {
    case Access::Consumer:
        return "OAuth 1.0, HMAC-SHA1; XML replies. oauth_consumer_key: a game's\n"
               "product key; oauth_signature_method HMAC-SHA1; oauth_version 1.0\n"
               "when sent; oauth_timestamp and oauth_nonce present (their age and\n"
               "reuse are not checked); no protocol parameter twice. Parameters\n"
               "from the Authorization header, the query and a form body are all\n"
               "signed; the base string's URI is http://HOST/PATH, HOST from the\n"
               "Host header. Key: the game's secret \"&\" the token's secret, each\n"
               "percent-encoded (no token: empty). A token may be left out; one\n"
               "that is sent must be known. A refusal is 401 with its reason.\n";
    case Access::User: return "the same, with a player's oauth_token (POST bootstrap.xml issues one).\n";
    case Access::Product:
        return "the JSON API. X-HC-Key: a game's product key. X-HC-Signature:\n"
               "Base64 of HMAC-SHA1, keyed with the game's secret and \"&\", over\n"
               "PATH \"+\" SECRET \"+\" METHOD \"+\" ARGUMENTS: the path as sent\n"
               "(root included, no query), and the raw query for GET and DELETE,\n"
               "the raw body otherwise. No timestamp or nonce. A refusal is 401\n"
               "in the JSON error form.\n";
    case Access::Open: return "not signed.\n";
    }
    return "\n";
}

std::string padded(std::string text, std::size_t width)
{
    text.resize(std::max(width, text.size() + 1), ' ');
    return text;
}

}  // namespace

std::string indexPage(const std::string& serviceRootUrl, const std::vector<Game>& games,
                      const std::vector<RouteTable::Entry>& routes)
{
    std::string page = "halcyon-localserver: the service's wire interface, for development and tests.\n"
                       "Service root: " + serviceRootUrl + "\n\nSigning:\n";
    for (const Access access : {Access::Consumer, Access::User, Access::Product, Access::Open}) {
        // Continuation lines stand under the rule's first line.
        std::string rule = ruleOf(access);
        for (std::size_t at = rule.find('\n'); at + 1 < rule.size(); at = rule.find('\n', at + 1)) {
            rule.insert(at + 1, 14, ' ');
        }
        page += "  " + padded(labelOf(access), 12) + rule;
    }
    page += "\nGames (product key and secret):\n";
    for (const auto& game : games) {
        page += "  " + game.id + " \"" + game.name + "\": " + game.productKey + " " + game.secret + "\n";
    }
    page += "\nRoutes ({name}: one path segment):\n";
    for (const auto& route : routes) {
        page += "  " + padded(route.method, 7) + padded(labelOf(route.access), 12) + serviceRootUrl +
                route.pattern + "\n";
    }
    return page;
}

void registerIndexRoute(Server& server)
{
    server.addRoute("GET", "", Access::Open, [&server](const Request&) {
        return Reply::text(200, indexPage(server.serviceRootUrl(), server.accounts().games(), server.routes()));
    });
}

}  // namespace localserver
