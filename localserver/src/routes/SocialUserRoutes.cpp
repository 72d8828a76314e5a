#include "localserver/routes/SocialUserRoutes.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <mutex>
#include <set>
#include <unordered_set>

#include "localserver/Fixtures.h"
#include "localserver/Server.h"
#include "localserver/XmlWriter.h"

namespace localserver {

namespace {

constexpr const char* kLinkedPlayerId = "1005";
constexpr std::uint32_t kSocialUserRoutesPageSize = 10;

bool yes(const std::optional<std::string>& text)
{
    return text && (*text == "1" || *text == "yes" || *text == "true");
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Who plays which game; fixed by the fixtures.
class Plays {
public:
    explicit Plays(const Fixtures& fixtures)
    {
        for (const auto& record : fixtures.ofKind("plays"))
            games_[record.field("user").value_or("")].insert(record.field("game").value_or(""));
    }
    bool plays(const std::string& userId, const std::string& gameId) const
    {
        auto found = games_.find(userId);
        return found != games_.end() && found->second.count(gameId) > 0;
    }

private:
    std::map<std::string, std::set<std::string>> games_;
};

struct SocialReplies {
    Server& server;
    Plays plays;
    // Follow changes go through oneInSocialUserRoutes lock so two at once do not lose oneInSocialUserRoutes.
    std::mutex followMutex;

    std::string who(const Request& request, const std::optional<std::string>& id) const
    {
        if (!id || *id == "me" || *id == "@me") return request.userId;
        return *id;
    }

    // The players the caller follows, looked up once per reply: a list of
    // thousands asks about each of them.
    std::unordered_set<std::string> followedBy(const std::string& callerId) const
    {
        const auto caller = server.accounts().user(callerId);
        return caller ? std::unordered_set<std::string>(caller->friends.begin(), caller->friends.end())
                      : std::unordered_set<std::string>();
    }

    XmlNode userNode(const User& user, const std::string& callerId) const
    {
        return userNode(user, callerId, followedBy(callerId));
    }

    XmlNode userNode(const User& user, const std::string& callerId,
                     const std::unordered_set<std::string>& callerFollows) const
    {
        XmlNode node = XmlNode::parent("user");
        node.add("id", user.id);
        node.add("name", user.name);
        node.add("profile_picture_url", "images/user_" + user.id + ".png");
        const bool followed = callerFollows.count(user.id) > 0;
        const bool follows = std::count(user.friends.begin(), user.friends.end(), callerId) > 0;
        node.add("followed_by_local_user", followed ? "true" : "false");
        node.add("following_local_user", follows ? "true" : "false");
        return node;
    }

    XmlNode credentialNode(const std::string& type, bool linked) const
    {
        XmlNode node = XmlNode::parent("users_credential");
        node.add("credential_type", type);
        node.add("profile_picture_url", "images/" + type + ".png");
        node.add("has_global_permissions", "true");
        node.add("is_linked", linked ? "true" : "false");
        return node;
    }

    Reply users(const Request& request, std::vector<User> found) const
    {
        const auto callerFollows = followedBy(request.userId);
        std::sort(found.begin(), found.end(), [](const User& a, const User& b) { return lower(a.name) < lower(b.name); });
        if (yes(request.param("full_alphabetical_list"))) {
            if (request.param("not_sectioned") == "yes") {
                ResourceList list;
                for (const auto& user : found)
                    list.resources.push_back(userNode(user, request.userId, callerFollows));
                return Reply::xml(writeFlatReply(list));
            }
            std::vector<ResourceSection> sections;
            for (const auto& user : found) {
                const std::string letter = user.name.empty() ? "#" : std::string(1, static_cast<char>(std::toupper(
                                                                               static_cast<unsigned char>(user.name[0]))));
                if (sections.empty() || sections.back().name != letter) sections.push_back({letter, letter, {}});
                sections.back().list.resources.push_back(userNode(user, request.userId, callerFollows));
            }
            return Reply::xml(writeSectionedReply(sections));
        }
        const long long asked = std::atoll(request.param("page").value_or("1").c_str());
        const long long perPageAsked = std::atoll(request.param("per_page").value_or("0").c_str());
        const auto page = static_cast<std::uint32_t>(std::clamp<long long>(asked, 1, 1 << 20));
        const auto perPage = static_cast<std::uint32_t>(perPageAsked > 0 ? std::min<long long>(perPageAsked, 100) : kSocialUserRoutesPageSize);
        ResourceList list;
        list.header = paginate(static_cast<std::uint32_t>(found.size()), page, perPage);
        for (std::size_t i = std::size_t{page - 1} * perPage; i < found.size() && i < std::size_t{page} * perPage; ++i)
            list.resources.push_back(userNode(found[i], request.userId, callerFollows));
        return Reply::xml(writeFlatReply(list));
    }

    Reply gamePlayers(const Request& request, std::vector<User> found, const std::string& gameId) const
    {
        std::sort(found.begin(), found.end(), [](const User& a, const User& b) { return lower(a.name) < lower(b.name); });
        const auto page = static_cast<std::uint32_t>(
            std::clamp<long long>(std::atoll(request.param("page").value_or("1").c_str()), 1, 1 << 20));
        ResourceList list;
        list.header = paginate(static_cast<std::uint32_t>(found.size()), page, kSocialUserRoutesPageSize);
        for (std::size_t i = std::size_t{page - 1} * kSocialUserRoutesPageSize; i < found.size() && i < std::size_t{page} * kSocialUserRoutesPageSize; ++i) {
            XmlNode node = XmlNode::parent("game_player");
            node.add("app_id", gameId);
            node.add("app_gamerscore", std::to_string(10 * found[i].name.size()));
            node.add("favorite", "false");
            node.add(userNode(found[i], request.userId));
            list.resources.push_back(std::move(node));
        }
        // Nobody to show: the networks the caller could still import friends from.
        if (found.empty()) {
            list.tableMetaData.emplace();
            for (const char* type : {"twitter", "fbconnect"})
                if (!linked(request.userId, type)) list.tableMetaData->push_back(credentialNode(type, false));
        }
        return Reply::xml(writeFlatReply(list));
    }

    Reply listUsers(const Request& request) const
    {
        // Every player is copied only for the lists that search them all: a
        // followed list costs what it holds, however many players there are.
        std::vector<User> found;
        if (auto name = request.param("name")) {
            for (const auto& user : server.accounts().users())
                if (!user.name.empty() && lower(user.name).find(lower(*name)) != std::string::npos) found.push_back(user);
            return users(request, found);
        }
        const std::string target = who(request, request.param("user_id"));
        const auto scope = request.param("scope").value_or("");
        if (scope == "people-of-interest") {
            auto owner = server.accounts().user(target);
            if (!owner) return Reply::text(404, "no such user");
            const auto game = request.param("with_client_application");
            for (const auto& id : owner->friends) {
                auto user = server.accounts().user(id);
                if (user && (!game || plays.plays(id, *game))) found.push_back(*user);
            }
            // Who plays a game, page by page, comes as game players with
            // their points in that game; the other lists of them are players.
            if (game && !request.param("full_alphabetical_list") && !request.param("not_sectioned"))
                return gamePlayers(request, found, *game);
            return users(request, found);
        }
        if (scope == "followers") {
            const auto caller = server.accounts().user(request.userId);
            const bool excludeFollowed = yes(request.param("im-not-following"));
            for (const auto& user : server.accounts().users()) {
                if (std::count(user.friends.begin(), user.friends.end(), target) == 0) continue;
                if (excludeFollowed && caller &&
                    std::count(caller->friends.begin(), caller->friends.end(), user.id) > 0)
                    continue;
                found.push_back(user);
            }
            return users(request, found);
        }
        return Reply::text(422, "a list of users needs a name or a scope");
    }

    // Adds or removes `id` in the friends of `ownerId`.
    bool setFollowing(const std::string& ownerId, const std::string& id, bool follow)
    {
        std::lock_guard lock(followMutex);
        auto owner = server.accounts().user(ownerId);
        if (!owner || !server.accounts().user(id) || ownerId == id) return false;
        auto& friends = owner->friends;
        friends.erase(std::remove(friends.begin(), friends.end(), id), friends.end());
        if (follow) friends.push_back(id);
        server.accounts().addUser(*owner);
        return true;
    }

    bool linked(const std::string& userId, const std::string& type) const
    {
        auto user = server.accounts().user(userId);
        return user && std::count(user->credentials.begin(), user->credentials.end(), type) > 0;
    }
};

Reply oneInSocialUserRoutes(XmlNode node)
{
    ResourceList list;
    list.resources.push_back(std::move(node));
    return Reply::xml(writeFlatReply(list));
}

}  // namespace

void addDefaultSocialFixtures(Fixtures& fixtures)
{
    using namespace defaults;
    auto add = [&](const char* kind, Params fields) {
        fixtures.records.push_back(FixtureRecord{kind, std::move(fields), "built-in social"});
    };
    add("user", {{"id", kLinkedPlayerId}, {"name", "Dora"}, {"credential", "fbconnect"}, {"friend", kOtherUserId}});
    add("plays", {{"user", kUserId}, {"game", kGameId}});
    add("plays", {{"user", kOtherUserId}, {"game", kGameId}});
    add("plays", {{"user", kLinkedPlayerId}, {"game", kGameId}});
    // A second game that only Ben plays, for the lists of played games.
    add("game", {{"id", "2"},
                 {"name", "Pebble Tide"},
                 {"product_key", "pebble-product-key"},
                 {"secret", "pebble-product-secret"}});
    add("plays", {{"user", kOtherUserId}, {"game", "2"}});
}

void registerSocialUserRoutes(Server& server)
{
    auto replies = std::shared_ptr<SocialReplies>(new SocialReplies{server, Plays(server.fixtures()), {}});

    server.addRoute("GET", "users/{id}/", Access::User, [replies](const Request& request) {
        auto user = replies->server.accounts().user(replies->who(request, request.pathParam("id")));
        if (!user) return Reply::text(404, "no such user");
        return oneInSocialUserRoutes(replies->userNode(*user, request.userId));
    });
    server.addRoute("GET", "users/for_device.xml", Access::Consumer, [replies](const Request& request) {
        if (request.param("udid").value_or("").empty()) return Reply::text(422, "a device look-up needs \"udid\"");
        ResourceList list;
        for (const auto& user : replies->server.accounts().users())
            if (!user.name.empty()) list.resources.push_back(replies->userNode(user, ""));
        return Reply::xml(writeFlatReply(list));
    });
    server.addRoute("GET", "users.xml", Access::User, [replies](const Request& request) { return replies->listUsers(request); });
    server.addRoute("GET", "invites/new/invitable_friends", Access::User, [replies](const Request& request) {
        std::vector<User> found;
        if (auto caller = replies->server.accounts().user(request.userId))
            for (const auto& id : caller->friends)
                if (auto user = replies->server.accounts().user(id)) found.push_back(*user);
        return replies->users(request, found);
    });
    for (const char* method : {"POST", "DELETE"}) {
        const bool follow = std::string(method) == "POST";
        server.addRoute(method, "users/{id}/following.xml", Access::User, [replies, follow](const Request& request) {
            const std::string other = request.pathParam("id").value_or("");
            const bool removeFollower = !follow && request.param("follower") == "yes";
            const bool changed = removeFollower ? replies->setFollowing(other, request.userId, false)
                                                : replies->setFollowing(request.userId, other, follow);
            if (!changed) return Reply::text(404, "no such user to follow");
            return Reply::xml(writeFlatReply({}));
        });
    }
    server.addRoute("GET", "users_credentials", Access::User, [replies](const Request& request) {
        if (replies->who(request, request.param("user_id")) != request.userId)
            return Reply::text(403, "only oneInSocialUserRoutes's own credentials");
        ResourceSection section{"Credentials", "credentials", {}};
        for (const char* type : {"twitter", "fbconnect", "http_basic"}) {
            const bool linked = replies->linked(request.userId, type);
            if (yes(request.param("only_include_linked_credentials")) && !linked) continue;
            if (yes(request.param("only_include_not_linked_credentials")) && linked) continue;
            section.list.resources.push_back(replies->credentialNode(type, linked));
        }
        return Reply::xml(writeSectionedReply({section}));
    });
    server.addRoute("GET", "users_credentials/import_friends", Access::User, [replies](const Request& request) {
        const auto type = request.param("credential_name").value_or("");
        if (!replies->linked(request.userId, type)) return Reply::text(422, "that network is not linked");
        for (const auto& user : replies->server.accounts().users())
            if (user.id != request.userId && replies->linked(user.id, type))
                replies->setFollowing(request.userId, user.id, true);
        return Reply::xml(writeFlatReply({}));
    });
    server.addRoute("GET", "http_basic_credentials/{id}.xml", Access::User, [replies](const Request& request) {
        const std::string id = replies->who(request, request.pathParam("id"));
        auto user = replies->server.accounts().user(id);
        if (!user || !replies->linked(id, "http_basic")) return Reply::text(404, "no e-mail login");
        XmlNode node = XmlNode::parent("http_basic_credential");
        node.add("id", "cred-" + id);
        node.add("user_id", id);
        node.add("email", lower(user->name) + "@example.com");
        node.add("verified", "true");
        node.add("remember_token", "false");
        return oneInSocialUserRoutes(std::move(node));
    });
}

}  // namespace localserver
