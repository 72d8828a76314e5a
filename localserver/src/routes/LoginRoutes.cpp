#include "localserver/routes/LoginRoutes.h"

#include <algorithm>
#include <charconv>

#include "localserver/Fixtures.h"
#include "localserver/Json.h"
#include "localserver/Server.h"

namespace localserver {

namespace {

std::string flagInLoginRoutes(bool value)
{
    return value ? "true" : "false";
}

bool hasCredential(const User& user, const std::string& kind)
{
    return std::find(user.credentials.begin(), user.credentials.end(), kind) != user.credentials.end();
}

std::optional<Game> gameById(const Accounts& accounts, const std::string& id)
{
    for (const auto& game : accounts.games()) {
        if (game.id == id) {
            return game;
        }
    }
    return std::nullopt;
}

XmlNode userNode(const User& user)
{
    XmlNode node = XmlNode::parent("user");
    node.add("id", user.id);
    if (!user.name.empty()) {
        node.add("name", user.name);
    }
    node.add("gamer_score", std::to_string(user.gamerscore));
    return node;
}

XmlNode gameProfileNode(const Game& game)
{
    XmlNode node = XmlNode::parent("game_profile_page_info");
    node.add("id", game.id);
    node.add("name", game.name);
    node.add("short_name", game.shortName.empty() ? game.name : game.shortName);
    node.add("icon_url", "http://127.0.0.1/icons/" + game.id + ".png");
    node.add("has_leaderboards", "true");
    node.add("has_achievements", "true");
    node.add("has_challenges", "true");
    return node;
}

XmlNode bootstrapNode(const Game& game, const User& user, const Token& token, bool newUser,
                      const BootstrapCounters& counters, const std::optional<std::string>& presenceQueue)
{
    XmlNode node = XmlNode::parent("bootstrap");
    node.add("minimum_halcyon_version_supported", "0");
    node.add("polling_frequency_in_chat", "5");
    node.add("polling_frequency_default", "60");
    node.add(gameProfileNode(game));
    node.add(userNode(user));
    node.add("logged_in_user_has_set_name", flagInLoginRoutes(!user.name.empty()));
    node.add("logged_in_user_has_friends", flagInLoginRoutes(!user.friends.empty()));
    node.add("logged_in_user_is_new_user", flagInLoginRoutes(newUser));
    node.add("access_token", token.token);
    node.add("access_token_secret", token.secret);
    node.add("logged_in_user_has_http_basic_credential", flagInLoginRoutes(hasCredential(user, "http_basic")));
    node.add("logged_in_user_has_fbconnect_credential", flagInLoginRoutes(hasCredential(user, "fbconnect")));
    node.add("logged_in_user_has_twitter_credential", flagInLoginRoutes(hasCredential(user, "twitter")));
    node.add("client_application_id", game.id);
    node.add("client_application_icon_url", "http://127.0.0.1/icons/" + game.id + ".png");
    node.add("unviewed_challenges_count", std::to_string(counters.unviewedChallenges));
    node.add("pending_friends_count", std::to_string(counters.pendingFriends));
    node.add("ims_unread_count", std::to_string(counters.imsUnread));
    node.add("subscribed_threads_unread_count", std::to_string(counters.subscribedThreadsUnread));
    node.add("invites_unread_count", std::to_string(counters.invitesUnread));
    node.add("unfulfilled_invites_count", std::to_string(counters.unfulfilledInvites));
    node.add("topic_app_suggestions_id", defaults::kSuggestionsTopicId);
    node.add("initial_dashboard_screen", "home");
    node.add("initial_dashboard_modal_content_url", "");
    node.add("initialize_presence_service", flagInLoginRoutes(presenceQueue.has_value() && !counters.presenceOff));
    node.add("pipe_http_over_presence_service", "false");
    node.add("presence_queue", presenceQueue.value_or("/queue/presence." + user.id));
    node.add("logged_in_user_has_share_location_enabled", flagInLoginRoutes(counters.shareLocation));
    return node;
}

// The statistics under the service's names; nothing when none was sent.
std::optional<ReportedUserStats> userStats(const Request& req, const std::string& userId)
{
    static constexpr std::string_view kPrefix = "[user_stats]";
    ReportedUserStats stats;
    stats.userId = userId;
    bool any = false;
    for (const auto& [name, value] : req.params) {
        if (!name.starts_with(kPrefix)) {
            continue;
        }
        any = true;
        const std::string key = name.substr(kPrefix.size());
        if (key == "version") {
            stats.version = value;
            continue;
        }
        long long number = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (!value.empty() && error == std::errc() && end == value.data() + value.size()) {
            stats.counters[key] = number;
        }
    }
    return any ? std::optional<ReportedUserStats>(std::move(stats)) : std::nullopt;
}

Reply bootstrap(Server& server, const Request& req)
{
    const auto udid = req.param("udid");
    if (!udid || udid->empty()) {
        return Reply::text(422, "udid is required");
    }
    const auto game = gameById(server.accounts(), req.gameId);
    if (!game) {
        return Reply::text(401, "unknown game");
    }
    std::optional<User> user;
    bool newUser = false;
    const auto userId = req.param("user_id");
    if (req.param("create_new_account") == "1") {
        user = server.accounts().createUser();
        newUser = true;
    } else if (userId) {
        user = server.accounts().user(*userId);
        if (!user) {
            return Reply::text(404, "no such user");
        }
    } else {
        const auto device = server.login().device(*udid);
        if (device && !device->lastUserId.empty()) {
            user = server.accounts().user(device->lastUserId);
        }
        if (!user) {
            user = server.accounts().createUser();
            newUser = true;
        }
    }
    const auto token = server.accounts().issueToken(user->id);
    if (!token) {
        return Reply::text(500, "no token could be issued");
    }
    server.login().addDeviceUser(*udid, user->id);
    if (auto stats = userStats(req, user->id)) {
        server.login().recordUserStats(std::move(*stats));
    }
    // The presence channel logs in with the token pair, so the broker must
    // know it before the client does.
    const auto presenceQueue = server.addPresenceUser(*token);

    ResourceList list;
    list.resources.push_back(bootstrapNode(*game, *user, *token, newUser, server.login().counters(), presenceQueue));
    if (auto offline = server.login().offlineBlock(user->id)) {
        list.resources.push_back(*offline);
    }
    return Reply::xml(writeFlatReply(list));
}

// The request's live session, or the 401 that answers its absence.
std::optional<JsonSession> liveSession(Server& server, const Request& req, std::string& cookie, Reply& refusal)
{
    const auto value = cookieValue(req, LoginState::kSessionCookie);
    const auto session = value ? server.login().session(*value) : std::nullopt;
    if (!session) {
        refusal = json::exception(401, "SessionRequired", "no device session");
        return std::nullopt;
    }
    if (session->expired) {
        refusal = json::exception(401, "SessionExpired", "the session has expired");
        return std::nullopt;
    }
    cookie = *value;
    return session;
}

Reply registerDevice(Server& server, const Request& req)
{
    const auto identifier = req.param("device[identifier]");
    if (!identifier || identifier->empty()) {
        return json::exception(422, "ArgumentError", "device[identifier] is required");
    }
    const DeviceRecord device = server.login().registerDevice(*identifier, req.params);
    const std::string cookie = server.login().openSession(*identifier);

    std::vector<std::string> users;
    for (const auto& id : device.userIds) {
        json::Object entry;
        entry.text("id", id);
        if (const auto user = server.accounts().user(id); user && !user->name.empty()) {
            entry.text("name", user->name);
        }
        users.push_back(entry.str());
    }
    json::Object record;
    record.raw("users", json::array(users));
    if (device.parentalControls) {
        record.raw("parental_control", json::Object().boolean("enabled", *device.parentalControls).str());
    }
    Reply reply = json::reply(200, json::Object().raw("device", record.str()).str());
    reply.headers.emplace_back("Set-Cookie", std::string(LoginState::kSessionCookie) + "=" + cookie + "; Path=/; HttpOnly");
    return reply;
}

Reply openUserSession(Server& server, const Request& req)
{
    std::string cookie;
    Reply refusal;
    if (!liveSession(server, req, cookie, refusal)) {
        return refusal;
    }
    const auto userId = req.param("user_id");
    if (!userId || userId->empty() || !req.param("platform")) {
        return json::exception(422, "ArgumentError", "platform and user_id are required");
    }
    const auto user = server.accounts().user(*userId);
    if (!user) {
        return json::exception(404, "RecordNotFound", "no such user");
    }
    if (user->password && req.param("password") && req.param("password") != user->password) {
        return json::exception(401, "InvalidCredentials", "wrong password");
    }
    server.login().bindUser(cookie, user->id);
    json::Object session;
    session.text("user_id", user->id);
    return json::reply(200, json::Object().raw("session", session.str()).str());
}

Reply closeUserSession(Server& server, const Request& req)
{
    std::string cookie;
    Reply refusal;
    if (!liveSession(server, req, cookie, refusal)) {
        return refusal;
    }
    if (!server.login().unbindUser(cookie)) {
        return json::exception(401, "SessionRequired", "no user session");
    }
    return json::reply(200, "{}");
}

}  // namespace

void registerLoginRoutes(Server& server)
{
    server.addRoute("POST", "bootstrap.xml", Access::Consumer,
                    [&server](const Request& req) { return bootstrap(server, req); });
    server.addRoute("POST", "xp/devices", Access::Product,
                    [&server](const Request& req) { return registerDevice(server, req); });
    server.addRoute("POST", "xp/sessions", Access::Product,
                    [&server](const Request& req) { return openUserSession(server, req); });
    server.addRoute("DELETE", "xp/sessions", Access::Product,
                    [&server](const Request& req) { return closeUserSession(server, req); });
}

}  // namespace localserver
