#include "localserver/routes/ProfileRoutes.h"

#include <map>
#include <mutex>

#include "localserver/Fixtures.h"
#include "localserver/Server.h"
#include "localserver/XmlWriter.h"

namespace localserver {

namespace {

struct PushToken {
    std::string environment;
    std::string token;
    std::string userId;
};

struct PushTokens {
    std::mutex mutex;
    std::map<std::string, PushToken> byDevice;
};

constexpr std::uint32_t kTickerPageSize = 5;
constexpr std::uint32_t kProfilePageSize = 10;

const std::vector<std::pair<std::string, std::string>>& tickerLines()
{
    static const std::vector<std::pair<std::string, std::string>> lines = {
        {"Ben cleared level 12", "2026-01-01T10:00:00Z"}, {"Cleo joined Tolvarine Ruvuru", "2026-01-01T09:00:00Z"},
        {"New levels this week", "2026-01-01T08:00:00Z"}, {"Dora earned Sharpshooter", "2026-01-01T07:00:00Z"},
        {"Ann topped the leaderboard", "2026-01-01T06:00:00Z"}, {"Weekend challenge open", "2026-01-01T05:00:00Z"},
    };
    return lines;
}

std::string gamerscoreOf(const std::string& userId)
{
    // A stable score per player, so replies can be checked.
    return std::to_string(userId.size() * 100 + (userId.empty() ? 0 : userId.back() - '0') * 10);
}

XmlNode gamerscoreNode(const std::string& userId)
{
    XmlNode node = XmlNode::parent("gamerscore");
    node.add("user_id", userId);
    node.add("gamerscore", gamerscoreOf(userId));
    return node;
}

// The first page of the players `user` follows; its header counts them all.
ResourceList friendsOf(Server& server, const User& user)
{
    ResourceList list;
    list.header = paginate(static_cast<std::uint32_t>(user.friends.size()), 1, kProfilePageSize);
    for (std::size_t i = 0; i < user.friends.size() && i < kProfilePageSize; ++i) {
        XmlNode node = XmlNode::parent("user");
        node.add("id", user.friends[i]);
        if (auto followed = server.accounts().user(user.friends[i]); followed && !followed->name.empty())
            node.add("name", followed->name);
        list.resources.push_back(std::move(node));
    }
    return list;
}

// The first page of the games the player plays (fixture kind "plays").
ResourceList gamesOf(const Server& server, const std::string& userId)
{
    std::vector<std::string> ids;
    for (const auto& record : server.fixtures().ofKind("plays"))
        if (record.field("user") == userId) ids.push_back(record.field("game").value_or(""));
    ResourceList list;
    list.header = paginate(static_cast<std::uint32_t>(ids.size()), 1, kProfilePageSize);
    for (std::size_t i = 0; i < ids.size() && i < kProfilePageSize; ++i) {
        XmlNode node = XmlNode::parent("played_game");
        node.add("id", ids[i]);
        node.add("client_application_id", ids[i]);
        list.resources.push_back(std::move(node));
    }
    return list;
}

std::string playerId(const Request& request)
{
    const auto id = request.pathParam("id").value_or("");
    return id == "me" ? request.userId : id;
}

}  // namespace

void registerProfileRoutes(Server& server)
{
    server.addRoute("GET", "profiles/viewed_own", Access::User,
                    [](const Request&) { return Reply::xml(writeFlatReply(ResourceList{})); });
    server.addRoute("GET", "profiles/{id}/gamerscore", Access::User, [&server](const Request& request) {
        const auto id = playerId(request);
        if (!server.accounts().user(id)) return Reply::text(404, "no such player");
        ResourceList list;
        list.resources.push_back(gamerscoreNode(id));
        return Reply::xml(writeFlatReply(list));
    });
    server.addRoute("GET", "profiles/{id}/", Access::User, [&server](const Request& request) {
        const auto id = playerId(request);
        auto user = server.accounts().user(id);
        if (!user) return Reply::text(404, "no such player");
        if (id != request.userId && request.param("compared_to_user_id") != std::optional<std::string>("me"))
            return Reply::text(422, "another player's profile is compared to the caller's");
        ResourceList player;
        XmlNode node = XmlNode::parent("user");
        node.add("id", user->id);
        if (!user->name.empty()) node.add("name", user->name);
        player.resources.push_back(std::move(node));
        XmlNode stat = XmlNode::parent("user_game_stat");
        stat.add("user_has_game", "true");
        stat.add("user_id", user->id);
        stat.add("user_gamerscore", gamerscoreOf(id));
        stat.add("user_favorited_game", "false");
        player.resources.push_back(std::move(stat));
        player.resources.push_back(gamerscoreNode(id));
        return Reply::xml(writeSectionedReply({{"Player", "player", std::move(player)},
                                               {"Friends", "friends", friendsOf(server, *user)},
                                               {"Games", "games", gamesOf(server, id)}}));
    });
    server.addRoute("GET", "tickers.xml", Access::User, [](const Request& request) {
        const auto& lines = tickerLines();
        const auto page = static_cast<std::uint32_t>(std::max(1L, std::atol(request.param("page").value_or("1").c_str())));
        ResourceList list;
        list.header = paginate(static_cast<std::uint32_t>(lines.size()), page, kTickerPageSize);
        for (std::size_t i = list.header->currentOffset; i < lines.size() && i < list.header->currentOffset + kTickerPageSize; ++i) {
            XmlNode line = XmlNode::parent("ticker");
            line.add("message", lines[i].first);
            line.add("date", lines[i].second);
            list.resources.push_back(std::move(line));
        }
        return Reply::xml(writeFlatReply(list));
    });
    auto tokens = std::make_shared<PushTokens>();
    server.addRoute("POST", "push_notification_device_tokens.xml", Access::User, [tokens](const Request& request) {
        const auto environment = request.param("apns_environment").value_or("");
        const auto udid = request.param("udid").value_or("");
        const auto token = request.param("device_token").value_or("");
        if (environment != "sandbox" && environment != "production") return Reply::text(422, "unknown environment");
        if (udid.empty() || token.empty()) return Reply::text(422, "a device and a token are needed");
        std::lock_guard lock(tokens->mutex);
        tokens->byDevice[udid] = {environment, token, request.userId};
        XmlNode node = XmlNode::parent("push_notification_device_token");
        node.add("apns_environment", environment);
        node.add("device_token", token);
        ResourceList list;
        list.resources.push_back(std::move(node));
        return Reply::xml(writeFlatReply(list));
    });
}

}  // namespace localserver
