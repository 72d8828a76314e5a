#include "localserver/routes/SocialAppRoutes.h"

#include <map>
#include <mutex>

#include "localserver/Server.h"
#include "localserver/XmlWriter.h"

namespace localserver {

namespace {

struct Reviews {
    std::mutex mutex;
    // (game, user) to (favourite, review).
    std::map<std::pair<std::string, std::string>, std::pair<bool, std::string>> entries;
};

std::optional<Game> gameWithId(Server& server, const std::string& id)
{
    for (const auto& game : server.accounts().games())
        if (game.id == id) return game;
    return std::nullopt;
}

Reply one(XmlNode node)
{
    ResourceList list;
    list.resources.push_back(std::move(node));
    return Reply::xml(writeFlatReply(list));
}

}  // namespace

void registerSocialAppRoutes(Server& server)
{
    auto reviews = std::make_shared<Reviews>();
    server.addRoute("GET", "apps/{id}.xml", Access::User, [&server](const Request& request) {
        auto game = gameWithId(server, request.pathParam("id").value_or(""));
        if (!game) return Reply::text(404, "no such game");
        XmlNode info = XmlNode::parent("game_profile_page_info");
        info.add("id", game->id);
        info.add("name", game->name);
        info.add("short_name", game->shortName.empty() ? game->name : game->shortName);
        info.add("icon_url", "images/game_" + game->id + ".png");
        info.add("has_leaderboards", "true");
        info.add("has_achievements", "true");
        info.add("suggestions_topic_id", "20");
        const auto compared = request.param("compared_user_id");
        if (!compared) return one(std::move(info));
        if (!server.accounts().user(*compared)) return Reply::text(404, "no such player");
        XmlNode comparison = XmlNode::parent("game_profile_page_comparison_info");
        comparison.add(std::move(info));
        comparison.add("local_user_achievements_score", "30");
        comparison.add("compared_users_achievements_score", "10");
        return one(std::move(comparison));
    });
    server.addRoute("POST", "client_applications/{id}/users/review.xml", Access::User,
                    [&server, reviews](const Request& request) {
                        const auto gameId = request.pathParam("id").value_or("");
                        if (!gameWithId(server, gameId)) return Reply::text(404, "no such game");
                        const auto favorite = request.param("client_application_user[favorite]");
                        if (!favorite) return Reply::text(422, "a favourite flag is needed");
                        std::lock_guard lock(reviews->mutex);
                        auto& entry = reviews->entries[{gameId, request.userId}];
                        entry.first = *favorite == "1";
                        if (auto review = request.param("client_application_user[review]")) entry.second = *review;
                        XmlNode node = XmlNode::parent("client_application_user");
                        node.add("favorite", entry.first ? "true" : "false");
                        node.add("review", entry.second);
                        return one(std::move(node));
                    });
}

}  // namespace localserver
