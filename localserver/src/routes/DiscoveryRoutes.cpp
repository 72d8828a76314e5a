#include "localserver/routes/DiscoveryRoutes.h"

#include <map>
#include <memory>
#include <vector>

#include "localserver/Server.h"
#include "localserver/routes/SocialReplies.h"

namespace localserver {

namespace {

using Pages = std::map<std::string, std::vector<FixtureRecord>>;

XmlNode entryNode(const FixtureRecord& record, const std::string& orientation)
{
    const std::string element = record.field("element").value_or("category");
    const std::string id = record.field("id").value_or("");
    auto text = [&](const char* name) { return record.field(name).value_or(""); };
    if (element == "banner") {
        XmlNode node = XmlNode::parent("game_discovery_image_hyperlink");
        node.add("id", id);
        node.add("seconds_to_display", text("seconds"));
        node.add("image_url", "images/banner_" + id + "_" + orientation + ".png");
        node.add("target_application_ipurchase_id", text("purchase"));
        node.add("target_discovery_page_title", text("title"));
        node.add("target_discovery_action_name", text("target"));
        node.add("app_banner_placement", text("placement"));
        return node;
    }
    if (element == "game") {
        XmlNode node = XmlNode::parent("played_game");
        node.add("id", id);
        node.add("name", text("name"));
        node.add("icon_url", "images/game_" + id + ".png");
        node.add("client_application_id", id);
        return node;
    }
    if (element == "news") {
        XmlNode node = XmlNode::parent("game_discovery_news_item");
        node.add("id", id);
        node.add("icon_url", text("icon_url"));
        node.add("title", text("title"));
        node.add("subtitle", text("subtitle"));
        return node;
    }
    XmlNode node = XmlNode::parent("game_discovery_category");
    node.add("id", id);
    node.add("icon_url", text("icon_url"));
    node.add("name", text("name"));
    node.add("subtext", text("subtext"));
    node.add("secondary_text", text("secondary_text"));
    node.add("target_discovery_action_name", text("target"));
    node.add("target_discovery_page_title", text("title"));
    return node;
}

Reply pageReply(const Pages& pages, const std::string& name, const Request& request)
{
    auto found = pages.find(name);
    if (found == pages.end()) return Reply::text(404, "no such discovery page");
    const std::string orientation = request.param("orientation").value_or("");
    if (orientation != "ipad" && orientation != "landscape" && orientation != "portrait")
        return Reply::text(422, "orientation must be ipad, landscape or portrait");
    std::vector<XmlNode> nodes;
    for (const auto& record : found->second) nodes.push_back(entryNode(record, orientation));
    return Reply::xml(social::pageReply(request, nodes, kDiscoveryPageSize));
}

}  // namespace

void addDefaultDiscoveryFixtures(Fixtures& fixtures)
{
    auto add = [&](Params fields) {
        fixtures.records.push_back(FixtureRecord{"discovery_entry", std::move(fields), "built-in discovery"});
    };
    add({{"page", ""}, {"element", "category"}, {"id", "1"}, {"name", "Puzzle"}, {"subtext", "Think first"},
         {"target", "puzzle"}, {"title", "Puzzle games"}});
    add({{"page", ""}, {"element", "category"}, {"id", "2"}, {"name", "News"}, {"target", "news"},
         {"title", "What is new"}});
    // A page whose name is not a plain path segment.
    add({{"page", ""}, {"element", "category"}, {"id", "3"}, {"name", "Top 10"}, {"target", "top 10 & more?"},
         {"title", "Top ten"}});
    add({{"page", "puzzle"}, {"element", "category"}, {"id", "4"}, {"name", "Tolvarine Ruvuru"},
         {"secondary_text", "Popular"}});
    add({{"page", "friends"}, {"element", "category"}, {"id", "6"}, {"name", "What are my friends playing?"},
         {"subtext", "Find friends"}, {"target", "what_are_my_friends_playing_find_friends"}});
    add({{"page", "friends"}, {"element", "banner"}, {"id", "12"}, {"seconds", "3"}, {"target", ""},
         {"purchase", "2"}, {"placement", "friends"}});
    add({{"page", "top 10 & more?"}, {"element", "category"}, {"id", "5"}, {"name", "Tolvarine Ruvuru"}});
    add({{"page", "now_playing_featured_placement"}, {"element", "banner"}, {"id", "10"}, {"seconds", "2.5"},
         {"target", "puzzle"}, {"title", "Puzzle games"}, {"placement", "now_playing"}});
    add({{"page", "now_playing_featured_placement"}, {"element", "banner"}, {"id", "11"}, {"seconds", "4"},
         {"target", ""}, {"purchase", "2"}, {"placement", "now_playing"}});
    add({{"page", "news"}, {"element", "news"}, {"id", "20"}, {"title", "Level pack 2"},
         {"subtitle", "Twenty new levels"}});
    // The developer's picks: the service's games, newest first.
    add({{"page", "developers_picks"}, {"element", "game"}, {"id", "2"}, {"name", "Pebble Tide"}});
    add({{"page", "developers_picks"}, {"element", "game"}, {"id", "1"}, {"name", "Tolvarine Ruvuru"}});
}

void registerDiscoveryRoutes(Server& server)
{
    auto pages = std::make_shared<Pages>();
    for (const auto& record : server.fixtures().ofKind("discovery_entry"))
        (*pages)[record.field("page").value_or("")].push_back(record);
    server.addRoute("GET", "game_discovery_categories", Access::Consumer,
                    [pages](const Request& request) { return pageReply(*pages, "", request); });
    server.addRoute("GET", "game_discovery_categories/{name}.xml", Access::Consumer, [pages](const Request& request) {
        return pageReply(*pages, request.pathParam("name").value_or(""), request);
    });
}

}  // namespace localserver
