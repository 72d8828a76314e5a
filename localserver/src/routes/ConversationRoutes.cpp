#include "localserver/routes/ConversationRoutes.h"

#include "localserver/Server.h"
#include "localserver/routes/SocialReplies.h"
#include "localserver/routes/TimeRoutes.h"

namespace localserver {

namespace {

constexpr std::uint32_t kInboxPageSize = 20;

XmlNode conversationNode(Server& server, const ForumStore& store, const ForumDiscussion& d, const std::string& caller)
{
    const std::string other = d.participants.at(0) == caller ? d.participants.at(1) : d.participants.at(0);
    XmlNode node = XmlNode::parent("conversation");
    node.add("id", d.id);
    node.add("subject", d.subject);
    node.add("updated_at", formatRailsTime(d.updatedAt));
    node.add("posts_count", std::to_string(store.postsOfDiscussion(d.id).size()));
    node.add(social::userNode(server, caller));
    XmlNode otherNode = social::userNode(server, other);
    otherNode.name = "other_user";
    node.add(std::move(otherNode));
    return node;
}

XmlNode subscriptionNode(Server& server, const ForumStore& store, const ForumDiscussion& d, const std::string& caller)
{
    const auto posts = store.postsOfDiscussion(d.id);
    auto viewed = d.lastViewedAt.find(caller);
    const std::int64_t lastViewed = viewed == d.lastViewedAt.end() ? 0 : viewed->second;
    std::size_t unread = 0;
    for (const auto& p : posts) unread += p.userId != caller && p.createdAt > lastViewed;
    XmlNode node = XmlNode::parent("subscription");
    node.add("id", "s" + d.id);
    node.add("discussion_id", d.id);
    node.add("summary", posts.empty() ? "" : posts.back().body);
    node.add("updated_at", formatRailsTime(d.updatedAt));
    node.add("last_viewed_at", formatRailsTime(lastViewed));
    node.add("unread_count", std::to_string(unread));
    node.add("locked", social::boolText(d.locked));
    node.add("topic_id", d.topicId);
    if (d.isConversation()) {
        auto conversation = conversationNode(server, store, d, caller);
        const std::string other = d.participants.at(0) == caller ? d.participants.at(1) : d.participants.at(0);
        node.add("title", server.accounts().user(other) ? server.accounts().user(other)->name : "");
        node.add("discussion_type", "Conversation");
        node.add(social::userNode(server, other));
        node.add(std::move(conversation));
    } else {
        node.add("title", d.subject);
        node.add("discussion_type", "Forum");
        XmlNode discussion = XmlNode::parent("discussion");
        discussion.add("id", d.id);
        discussion.add("subject", d.subject);
        node.add(std::move(discussion));
    }
    return node;
}

}  // namespace

void registerConversationRoutes(Server& server, std::shared_ptr<ForumStore> store)
{
    server.addRoute("POST", "discussions.xml", Access::User, [store, &server](const Request& request) {
        const std::string other = request.param("discussion[other_user_id]").value_or("");
        if (other == request.userId || !server.accounts().user(other))
            return Reply::text(422, "a conversation needs another user");
        auto conversation = store->conversationBetween(request.userId, other, server.now());
        return Reply::xml(social::oneReply(conversationNode(server, *store, conversation, request.userId)));
    });
    server.addRoute("POST", "discussions/{id}/delete.xml", Access::User, [store](const Request& request) {
        if (request.param("client_application_id") != request.gameId)
            return Reply::text(422, "the client application is not the caller's");
        if (!store->deleteConversation(request.pathParam("id").value_or(""), request.userId))
            return Reply::text(404, "no such conversation");
        return Reply::xml(writeFlatReply(ResourceList{}));
    });
    server.addRoute("GET", "subscriptions.xml", Access::User, [store, &server](const Request& request) {
        std::vector<XmlNode> nodes;
        for (const auto& d : store->inboxOf(request.userId))
            nodes.push_back(subscriptionNode(server, *store, d, request.userId));
        return Reply::xml(social::pageReply(request, nodes, kInboxPageSize));
    });
}

}  // namespace localserver
