#include "localserver/routes/AnnouncementRoutes.h"

#include <algorithm>
#include <ctime>
#include <memory>
#include <vector>

#include "localserver/Server.h"
#include "localserver/routes/SocialReplies.h"
#include "localserver/routes/TimeRoutes.h"

namespace localserver {

namespace {

struct Announcement {
    std::string id, gameId, section, subject, body, linkedGame;
    bool sticky = false;
    bool important = false;
    std::int64_t createdAt = 0;
    std::int64_t updatedAt = 0;
};

// Seconds since 1970 of an HTTP date in UTC; nothing when unreadable.
std::optional<std::int64_t> httpDate(const std::optional<std::string>& text)
{
    if (!text) return std::nullopt;
    std::tm parts{};
    const char* end = strptime(text->c_str(), "%a, %d %b %Y %H:%M:%S", &parts);
    if (end == nullptr) return std::nullopt;
    return static_cast<std::int64_t>(timegm(&parts));
}

XmlNode announcementNode(Server& server, const Announcement& a, std::optional<std::int64_t> since)
{
    XmlNode node = XmlNode::parent("discussion");
    node.add("id", a.id);
    node.add("subject", a.subject);
    node.add(social::userNode(server, defaults::kUserId));
    node.add("updated_at", formatRailsTime(a.updatedAt));
    node.add("locked", "true");
    node.add("posts_count", "1");
    node.add("sticky", social::boolText(a.sticky));
    node.add("important", social::boolText(a.important));
    node.add("unread", social::boolText(!since || a.createdAt > *since));
    node.add(XmlNode::parent("post", {XmlNode::leaf("id", "p" + a.id), XmlNode::leaf("body", a.body)}));
    node.add("linked_client_application_id", a.linkedGame);
    node.add("created_at", formatRailsTime(a.createdAt));
    return node;
}

}  // namespace

void addDefaultAnnouncementFixtures(Fixtures& fixtures)
{
    using namespace defaults;
    auto add = [&](Params fields) {
        fixtures.records.push_back(FixtureRecord{"announcement", std::move(fields), "built-in announcements"});
    };
    add({{"id", "800"}, {"game", kGameId}, {"section", "game"}, {"subject", "Welcome to Tolvarine"},
         {"body", "Read the rules & have fun"}, {"sticky", "true"}, {"created_at", "1735689600"},
         {"updated_at", "1735689600"}});
    add({{"id", "801"}, {"game", kGameId}, {"section", "game"}, {"subject", "Level pack 2 is out"},
         {"body", "Twenty new levels"}, {"important", "true"}, {"created_at", "1767139200"},
         {"updated_at", "1767139200"}});
    add({{"id", "802"}, {"game", kGameId}, {"section", "developer"}, {"subject", "Our next game"},
         {"body", "Coming soon"}, {"created_at", "1767052800"}, {"updated_at", "1767200000"}, {"linked_game", "2"}});
    add({{"id", "803"}, {"game", kGameId}, {"section", "developer"}, {"subject", "Holiday sale"},
         {"body", "Half price"}, {"created_at", "1766966400"}, {"updated_at", "1766966400"}});
}

void registerAnnouncementRoutes(Server& server)
{
    auto all = std::make_shared<std::vector<Announcement>>();
    for (const auto& record : server.fixtures().ofKind("announcement")) {
        Announcement a;
        a.id = record.field("id").value_or("");
        a.gameId = record.field("game").value_or("");
        a.section = record.field("section").value_or("game");
        a.subject = record.field("subject").value_or("");
        a.body = record.field("body").value_or("");
        a.linkedGame = record.field("linked_game").value_or("");
        a.sticky = social::flag(record.field("sticky"));
        a.important = social::flag(record.field("important"));
        a.createdAt = social::number(record.field("created_at"), 0);
        a.updatedAt = social::number(record.field("updated_at"), a.createdAt);
        if (!a.id.empty() && !a.gameId.empty()) all->push_back(std::move(a));
    }
    std::stable_sort(all->begin(), all->end(),
                     [](const Announcement& a, const Announcement& b) { return a.createdAt > b.createdAt; });

    server.addRoute("GET", "client_applications/{id}/forums/announcements.xml", Access::Consumer,
                    [all, &server](const Request& request) {
                        const std::string gameId = request.pathParam("id").value_or("");
                        const auto games = server.accounts().games();
                        if (std::none_of(games.begin(), games.end(), [&](const Game& g) { return g.id == gameId; }))
                            return Reply::text(404, "no such game");
                        const auto since = httpDate(request.param("since"));
                        std::vector<ResourceSection> sections{{"Game", "game", {}}, {"Developer", "developer", {}}};
                        for (const auto& a : *all) {
                            if (a.gameId != gameId) continue;
                            auto& section = a.section == "developer" ? sections[1] : sections[0];
                            section.list.resources.push_back(announcementNode(server, a, since));
                        }
                        return Reply::xml(writeSectionedReply(sections));
                    });
}

}  // namespace localserver
