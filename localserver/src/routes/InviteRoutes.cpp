#include "localserver/routes/InviteRoutes.h"

#include <algorithm>
#include <mutex>
#include <optional>

#include "localserver/Server.h"
#include "localserver/XmlWriter.h"

namespace localserver {

namespace {

struct Definition {
    std::string id;
    std::string gameId;
    std::string identifier;
    bool primary = false;
    std::string suggestedMessage;
};

struct Invite {
    std::string id;
    std::string senderId;
    std::string receiverId;
    std::string definitionId;
    std::string message;
    std::string state = "unviewed";
};

const std::vector<Definition>& definitions()
{
    static const std::vector<Definition> all = {
        {"31", defaults::kGameId, "friends", true, "Come and clear the field with me!"},
        {"32", defaults::kGameId, "rivals", false, "Beat my score if you can."},
    };
    return all;
}

std::optional<Definition> definitionNamed(const std::string& idOrIdentifier)
{
    for (const auto& d : definitions())
        if (d.id == idOrIdentifier || d.identifier == idOrIdentifier) return d;
    return std::nullopt;
}

constexpr std::uint32_t kPageSize = 10;

class InviteStore {
public:
    explicit InviteStore(Server& server) : server_(server) {}

    XmlNode definitionNode(const Definition& d) const
    {
        const auto game = gameName(d.gameId);
        XmlNode node = XmlNode::parent("invite_definition");
        node.add("id", d.id);
        node.add("client_application_name", game);
        node.add("client_application_id", d.gameId);
        node.add("invite_identifier", d.identifier);
        node.add("invite_icon_url", "images/invite_" + d.id + ".png");
        node.add("sender_incentive_text", "100 coins for each friend who joins");
        node.add("suggested_sender_message", d.suggestedMessage);
        return node;
    }

    Reply list(const Request& request)
    {
        std::lock_guard lock(mutex_);
        std::vector<Invite*> mine;
        for (auto it = invites_.rbegin(); it != invites_.rend(); ++it)
            if (it->receiverId == request.userId && it->state != "ignored") mine.push_back(&*it);
        const auto page = static_cast<std::uint32_t>(std::max(1L, std::atol(request.param("page").value_or("1").c_str())));
        ResourceList reply;
        reply.header = paginate(static_cast<std::uint32_t>(mine.size()), page, kPageSize);
        for (std::size_t i = reply.header->currentOffset; i < mine.size() && i < reply.header->currentOffset + kPageSize; ++i)
            reply.resources.push_back(inviteNode(*mine[i]));
        if (request.param("mark_viewed") == std::optional<std::string>("true")) {
            for (std::size_t i = reply.header->currentOffset; i < mine.size() && i < reply.header->currentOffset + kPageSize; ++i)
                if (mine[i]->state == "unviewed") mine[i]->state = "viewed";
        }
        return Reply::xml(writeFlatReply(reply));
    }

    Reply ignore(const Request& request)
    {
        std::lock_guard lock(mutex_);
        const auto id = request.pathParam("id").value_or("");
        for (auto& invite : invites_) {
            if (invite.id != id || invite.receiverId != request.userId) continue;
            invite.state = "ignored";
            ResourceList reply;
            reply.resources.push_back(inviteNode(invite));
            return Reply::xml(writeFlatReply(reply));
        }
        return Reply::text(404, "no such invitation");
    }

    Reply send(const Request& request)
    {
        auto definition = definitionNamed(request.param("key").value_or(""));
        if (!definition || definition->gameId != request.gameId || definition->id != request.param("key"))
            return Reply::text(422, "no such invitation definition");
        const auto players = request.paramValues("invite[receivers][]");
        for (const auto& player : players)
            if (!server_.accounts().user(player)) return Reply::text(422, "no such player: " + player);
        if (players.empty() && request.paramValues("invite[sms_receivers][]").empty() &&
            request.paramValues("invite[email_receivers][]").empty())
            return Reply::text(422, "nobody to invite");
        std::lock_guard lock(mutex_);
        ResourceList reply;
        for (const auto& player : players) {
            invites_.push_back({std::to_string(nextId_++), request.userId, player, definition->id,
                                request.param("invite[sender_message]").value_or(""), "unviewed"});
            reply.resources.push_back(inviteNode(invites_.back()));
        }
        return Reply::xml(writeFlatReply(reply));
    }

    // The page the client shows for one invitation; its ignore link calls
    // back into the client, which leaves the page.
    Reply webPage(const Request& request) const
    {
        std::lock_guard lock(mutex_);
        const auto id = request.pathParam("id").value_or("");
        for (const auto& invite : invites_) {
            if (invite.id != id) continue;
            const auto sender = server_.accounts().user(invite.senderId);
            Reply reply;
            reply.contentType = "text/html; charset=utf-8";
            reply.body = "<html><body><h1>" + escapeXmlText(sender ? sender->name : std::string()) +
                         " invites you</h1><p>" + escapeXmlText(invite.message) +
                         "</p><a href=\"halcyon://ignoreInvite/" + invite.id + "\">Ignore</a></body></html>";
            return reply;
        }
        return Reply::text(404, "no such invitation");
    }

private:
    std::string gameName(const std::string& gameId) const
    {
        for (const auto& game : server_.accounts().games())
            if (game.id == gameId) return game.name;
        return std::string();
    }

    // A player's fields under the element `name` (a nested resource is read
    // from its field's own element).
    XmlNode userNode(const std::string& name, const std::string& id) const
    {
        XmlNode node = XmlNode::parent(name);
        node.add("id", id);
        if (auto user = server_.accounts().user(id); user && !user->name.empty()) node.add("name", user->name);
        return node;
    }

    XmlNode inviteNode(const Invite& invite) const
    {
        const auto definition = definitionNamed(invite.definitionId);
        XmlNode node = XmlNode::parent("invite");
        node.add("id", invite.id);
        node.add(userNode("sender", invite.senderId));
        node.add(userNode("receiver", invite.receiverId));
        if (definition) {
            node.add("client_application_name", gameName(definition->gameId));
            node.add("client_application_id", definition->gameId);
            node.add("invite_identifier", definition->identifier);
        }
        node.add("user_message", invite.message);
        node.add("state", invite.state);
        return node;
    }

    Server& server_;
    mutable std::mutex mutex_;
    std::vector<Invite> invites_;
    int nextId_ = 501;
};

}  // namespace

void registerInviteRoutes(Server& server)
{
    auto store = std::make_shared<InviteStore>(server);
    server.addRoute("GET", "invites.xml", Access::User, [store](const Request& r) { return store->list(r); });
    server.addRoute("PUT", "invites/{id}/ignore", Access::User, [store](const Request& r) { return store->ignore(r); });
    server.addRoute("POST", "invites.xml", Access::User, [store](const Request& r) { return store->send(r); });
    // Loaded by the client's web view, which signs nothing.
    server.addRoute("GET", "client_webviews/invites/{id}", Access::Open,
                    [store](const Request& r) { return store->webPage(r); });
    server.addRoute("GET", "invite_definitions/primary", Access::User, [store](const Request& request) {
        for (const auto& d : definitions()) {
            if (d.primary && d.gameId == request.gameId) {
                ResourceList reply;
                reply.resources.push_back(store->definitionNode(d));
                return Reply::xml(writeFlatReply(reply));
            }
        }
        return Reply::xml(writeFlatReply(ResourceList{}));
    });
    server.addRoute("GET", "invite_definitions/{id}.xml", Access::User, [store](const Request& request) {
        auto d = definitionNamed(request.pathParam("id").value_or(""));
        if (!d) return Reply::text(404, "no such invitation definition");
        ResourceList reply;
        reply.resources.push_back(store->definitionNode(*d));
        return Reply::xml(writeFlatReply(reply));
    });
}

}  // namespace localserver
