#include "localserver/routes/ShowcaseRoutes.h"

#include <string>
#include <vector>

#include "localserver/Server.h"
#include "localserver/XmlWriter.h"

namespace localserver {

namespace {

Reply html(const std::string& title, const std::string& body)
{
    Reply reply = Reply::text(200, "<html><head><title>" + escapeXmlText(title) + "</title></head><body><h1>" +
                                       escapeXmlText(title) + "</h1>" + body + "</body></html>");
    reply.contentType = "text/html; charset=utf-8";
    return reply;
}

std::optional<Game> gameWithId(Server& server, const std::string& id)
{
    for (const auto& game : server.accounts().games())
        if (game.id == id) return game;
    return std::nullopt;
}

XmlNode bannerNode()
{
    XmlNode node = XmlNode::parent("game_discovery_image_hyperlink");
    node.add("id", "30");
    node.add("seconds_to_display", "3");
    node.add("image_url", "images/banner_30.png");
    node.add("target_discovery_action_name", "puzzle");
    node.add("target_discovery_page_title", "Puzzle games");
    node.add("app_banner_placement", "halcyon_five");
    return node;
}

XmlNode gameNode(const Game& game)
{
    XmlNode node = XmlNode::parent("played_game");
    node.add("id", game.id);
    node.add("name", game.name);
    node.add("icon_url", "images/game_" + game.id + ".png");
    node.add("client_application_id", game.id);
    node.add("i_tunes_app_store_url", "https://store.example/app/" + game.id);
    return node;
}

}  // namespace

std::shared_ptr<ShowcaseOptions> registerShowcaseRoutes(Server& server)
{
    auto options = std::make_shared<ShowcaseOptions>();
    server.addRoute("GET", "game_discovery_categories/halcyon_five.xml", Access::Consumer,
                    [&server, options](const Request&) {
                        ResourceSection banner{"", "banner_frame_content", {}};
                        if (!options->emptyBanner) banner.list.resources.push_back(bannerNode());
                        ResourceSection games{"Halcyon Five", "games", {}};
                        const auto all = server.accounts().games();
                        const unsigned start = options->shuffles++;
                        for (size_t i = 0; i < all.size(); ++i)
                            games.list.resources.push_back(gameNode(all[(start + i) % all.size()]));
                        return Reply::xml(writeSectionedReply({banner, games}));
                    });
    server.addRoute("GET", "featured_apps_by_dev.iphone", Access::Open, [&server](const Request& request) {
        const auto id = request.param("client_application_id");
        if (!id) return Reply::text(422, "client_application_id is needed");
        auto game = gameWithId(server, *id);
        if (!game) return Reply::text(404, "no such game");
        std::string list;
        for (const auto& other : server.accounts().games())
            if (other.id != game->id) list += "<p>" + escapeXmlText(other.name) + "</p>";
        return html("Featured Games", list);
    });
    server.addRoute("GET", "game_discovery_news_items/{id}.iphone", Access::Open, [&server](const Request& request) {
        const auto id = request.pathParam("id").value_or("");
        for (const auto& record : server.fixtures().ofKind("discovery_entry")) {
            if (record.field("element") == "news" && record.field("id") == id)
                return html(record.field("title").value_or(""), "<p>" +
                                escapeXmlText(record.field("subtitle").value_or("")) + "</p>");
        }
        return Reply::text(404, "no such news item");
    });
    server.addRoute("GET", "client_applications/{id}/application_descriptions.iphone", Access::Open,
                    [&server](const Request& request) {
                        auto game = gameWithId(server, request.pathParam("id").value_or(""));
                        if (!game) return Reply::text(404, "no such game");
                        return html(game->name, "<p>A game of " + escapeXmlText(game->name) + "</p>");
                    });
    return options;
}

}  // namespace localserver
