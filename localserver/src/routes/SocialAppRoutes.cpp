#include "localserver/routes/SocialAppRoutes.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <mutex>
#include <set>

#include "localserver/Fixtures.h"
#include "localserver/Server.h"
#include "localserver/XmlWriter.h"

namespace localserver {

namespace {

struct Reviews {
    std::mutex mutex;
    // (game, user) to (favourite, review).
    std::map<std::pair<std::string, std::string>, std::pair<bool, std::string>> entries;
    // (user, game) the player took off their list.
    std::set<std::pair<std::string, std::string>> removed;
};

// Who plays which game, from the fixtures, in fixture order.
std::map<std::string, std::vector<std::string>> gamesByPlayer(const Fixtures& fixtures)
{
    std::map<std::string, std::vector<std::string>> games;
    for (const auto& record : fixtures.ofKind("plays"))
        games[record.field("user").value_or("")].push_back(record.field("game").value_or(""));
    return games;
}

std::optional<Game> gameWithIdInSocialAppRoutes(Server& server, const std::string& id)
{
    for (const auto& game : server.accounts().games())
        if (game.id == id) return game;
    return std::nullopt;
}

Reply oneInSocialAppRoutes(XmlNode node)
{
    ResourceList list;
    list.resources.push_back(std::move(node));
    return Reply::xml(writeFlatReply(list));
}

}  // namespace

struct PlayedGames {
    Server& server;
    std::map<std::string, std::vector<std::string>> plays;
    std::shared_ptr<Reviews> reviews;

    bool has(const std::string& userId, const std::string& gameId) const
    {
        auto found = plays.find(userId);
        if (found == plays.end() || std::count(found->second.begin(), found->second.end(), gameId) == 0) return false;
        std::lock_guard lock(reviews->mutex);
        return reviews->removed.count({userId, gameId}) == 0;
    }
    std::pair<bool, std::string> review(const std::string& gameId, const std::string& userId) const
    {
        std::lock_guard lock(reviews->mutex);
        auto found = reviews->entries.find({gameId, userId});
        return found == reviews->entries.end() ? std::pair<bool, std::string>{false, ""} : found->second;
    }
    XmlNode stat(const std::string& gameId, const std::string& userId) const
    {
        XmlNode node = XmlNode::parent("user_game_stat");
        node.add("user_id", userId);
        node.add("user_has_game", has(userId, gameId) ? "true" : "false");
        node.add("user_gamerscore", has(userId, gameId) ? "40" : "0");
        node.add("user_favorited_game", review(gameId, userId).first ? "true" : "false");
        return node;
    }
    // The game as oneInSocialAppRoutes player's list shows it, with the statistics of each of `players`.
    XmlNode playedGame(const Game& game, const std::string& owner, const std::vector<std::string>& players) const
    {
        XmlNode node = XmlNode::parent("played_game");
        node.add("id", game.id);
        node.add("name", game.name);
        node.add("icon_url", "images/game_" + game.id + ".png");
        node.add("client_application_id", game.id);
        node.add("total_gamerscore", "1000");
        int friends = 0;
        if (auto user = server.accounts().user(owner))
            for (const auto& id : user->friends) friends += has(id, game.id) ? 1 : 0;
        node.add("friends_with_app", std::to_string(friends));
        XmlNode stats = XmlNode::parent("user_game_stats");
        for (const auto& player : players) stats.add(stat(game.id, player));
        node.add(std::move(stats));
        node.add("i_tunes_app_store_url", "https://store.example/app/" + game.id);
        const auto [favorite, text] = review(game.id, owner);
        node.add("favorite", favorite ? "true" : "false");
        node.add("review", text);
        return node;
    }
    Reply list(const std::vector<XmlNode>& games, const Request& request) const
    {
        const long long asked = std::atoll(request.param("page").value_or("1").c_str());
        const long long perPageAsked = std::atoll(request.param("per_page").value_or("10").c_str());
        const auto page = static_cast<std::uint32_t>(std::clamp<long long>(asked, 1, 1 << 20));
        const auto perPage = static_cast<std::uint32_t>(std::clamp<long long>(perPageAsked, 1, 100));
        ResourceList out;
        out.header = paginate(static_cast<std::uint32_t>(games.size()), page, perPage);
        for (std::size_t i = std::size_t{page - 1} * perPage; i < games.size() && i < std::size_t{page} * perPage; ++i)
            out.resources.push_back(games[i]);
        return Reply::xml(writeFlatReply(out));
    }
};

void registerSocialAppRoutes(Server& server)
{
    auto reviews = std::make_shared<Reviews>();
    auto played = std::make_shared<PlayedGames>(PlayedGames{server, gamesByPlayer(server.fixtures()), reviews});
    server.addRoute("GET", "apps/{id}.xml", Access::User, [&server](const Request& request) {
        auto game = gameWithIdInSocialAppRoutes(server, request.pathParam("id").value_or(""));
        if (!game) return Reply::text(404, "no such game");
        XmlNode info = XmlNode::parent("game_profile_page_info");
        info.add("id", game->id);
        info.add("name", game->name);
        info.add("short_name", game->shortName.empty() ? game->name : game->shortName);
        info.add("icon_url", "images/game_" + game->id + ".png");
        info.add("has_leaderboards", "true");
        info.add("has_achievements", "true");
        info.add("suggestions_topic_id", defaults::kSuggestionsTopicId);
        const auto compared = request.param("compared_user_id");
        if (!compared) return oneInSocialAppRoutes(std::move(info));
        if (!server.accounts().user(*compared)) return Reply::text(404, "no such player");
        XmlNode comparison = XmlNode::parent("game_profile_page_comparison_info");
        comparison.add(std::move(info));
        comparison.add("local_user_achievements_score", "30");
        comparison.add("compared_users_achievements_score", "10");
        return oneInSocialAppRoutes(std::move(comparison));
    });
    server.addRoute("POST", "client_applications/{id}/users/review.xml", Access::User,
                    [&server, reviews](const Request& request) {
                        const auto gameId = request.pathParam("id").value_or("");
                        if (!gameWithIdInSocialAppRoutes(server, gameId)) return Reply::text(404, "no such game");
                        const auto favorite = request.param("client_application_user[favorite]");
                        if (!favorite) return Reply::text(422, "a favourite flag is needed");
                        std::lock_guard lock(reviews->mutex);
                        auto& entry = reviews->entries[{gameId, request.userId}];
                        entry.first = *favorite == "1";
                        if (auto review = request.param("client_application_user[review]")) entry.second = *review;
                        XmlNode node = XmlNode::parent("client_application_user");
                        node.add("favorite", entry.first ? "true" : "false");
                        node.add("review", entry.second);
                        return oneInSocialAppRoutes(std::move(node));
                    });
    // The games the followed players have ("people-of-interest").
    server.addRoute("GET", "apps.xml", Access::User, [played](const Request& request) {
        if (request.param("scope") != "people-of-interest") return Reply::text(422, "unknown scope");
        auto caller = played->server.accounts().user(request.userId);
        std::vector<XmlNode> games;
        for (const auto& game : played->server.accounts().games()) {
            if (!caller) break;
            std::vector<std::string> players;
            for (const auto& id : caller->friends)
                if (played->has(id, game.id)) players.push_back(id);
            if (players.empty()) continue;
            players.push_back(request.userId);
            games.push_back(played->playedGame(game, request.userId, players));
        }
        return played->list(games, request);
    });
    server.addRoute("GET", "profiles/{id}/list_games", Access::User, [played](const Request& request) {
        const auto id = request.pathParam("id").value_or("");
        const std::string owner = id == "me" ? request.userId : id;
        if (!played->server.accounts().user(owner)) return Reply::text(404, "no such player");
        const bool compared = request.param("compared_to_user_id") == "me";
        if (compared == (owner == request.userId)) return Reply::text(422, "compare another player's list only");
        const bool favoritesOnly = request.param("only_favorites") == "1";
        std::vector<XmlNode> games;
        for (const auto& game : played->server.accounts().games()) {
            if (!played->has(owner, game.id)) continue;
            if (favoritesOnly && !played->review(game.id, owner).first) continue;
            std::vector<std::string> players{owner};
            if (compared) players.push_back(request.userId);
            games.push_back(played->playedGame(game, owner, players));
        }
        return played->list(games, request);
    });
    server.addRoute("GET", "client_applications/{id}/users/{user}.xml", Access::User, [played](const Request& request) {
        const auto gameId = request.pathParam("id").value_or("");
        auto user = played->server.accounts().user(request.pathParam("user").value_or(""));
        if (!gameWithIdInSocialAppRoutes(played->server, gameId) || !user) return Reply::text(404, "no such game or player");
        const auto [favorite, text] = played->review(gameId, user->id);
        XmlNode node = XmlNode::parent("client_application_user");
        node.add("favorite", favorite ? "true" : "false");
        node.add("review", text);
        XmlNode author = XmlNode::parent("user");
        author.add("id", user->id);
        author.add("name", user->name);
        node.add(std::move(author));
        return oneInSocialAppRoutes(std::move(node));
    });
    server.addRoute("DELETE", "profile/games/{id}", Access::User, [played](const Request& request) {
        const auto gameId = request.pathParam("id").value_or("");
        if (!played->has(request.userId, gameId)) return Reply::text(404, "not in the player's list");
        std::lock_guard lock(played->reviews->mutex);
        played->reviews->removed.insert({request.userId, gameId});
        return Reply::xml(writeFlatReply({}));
    });
    server.addRoute("GET", "client_application_users/fan_club", Access::User, [played](const Request& request) {
        const auto gameId = request.param("client_application_id").value_or("");
        if (!gameWithIdInSocialAppRoutes(played->server, gameId)) return Reply::text(404, "no such game");
        return Reply::xml(writeFlatReply({}));
    });
    server.addRoute("GET", "client_applications/{id}/application_descriptions.xml", Access::User,
                    [&server](const Request& request) {
                        auto game = gameWithIdInSocialAppRoutes(server, request.pathParam("id").value_or(""));
                        if (!game) return Reply::text(404, "no such game");
                        XmlNode node = XmlNode::parent("application_description");
                        node.add("name", game->name);
                        // The second game has no icon yet: an empty text.
                        node.add("icon_url", game->id == "2" ? "" : "images/game_" + game->id + ".png");
                        node.add("price", "0.99");
                        node.add("itunes_id", "90000" + game->id);
                        node.add("current_version", "1.2");
                        node.add("description_brief", "A game of " + game->name);
                        node.add("description_extended", game->name + ", at length.");
                        node.add("client_application_id", game->id);
                        return oneInSocialAppRoutes(std::move(node));
                    });
}

}  // namespace localserver
