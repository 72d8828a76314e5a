#include "localserver/routes/ForumRoutes.h"

#include <algorithm>
#include <cstdlib>

#include "localserver/Server.h"
#include "localserver/routes/SocialReplies.h"
#include "localserver/routes/TimeRoutes.h"

namespace localserver {

using social::blank;
using social::boolText;
using social::flag;
using social::number;

std::string ForumStore::load(const Fixtures& fixtures)
{
    std::lock_guard lock(mutex_);
    std::string error;
    auto note = [&](const FixtureRecord& record, const char* what) {
        if (error.empty()) error = record.origin + ": " + what;
    };
    for (const auto& record : fixtures.ofKind("forum_topic")) {
        ForumTopic topic{record.field("id").value_or(""), record.field("game").value_or(""),
                         record.field("name").value_or(""), record.field("parent").value_or("")};
        if (topic.id.empty() || topic.gameId.empty()) {
            note(record, "[forum_topic] needs \"id\" and \"game\"");
            continue;
        }
        topics_.push_back(std::move(topic));
    }
    for (const auto& record : fixtures.ofKind("forum_discussion")) {
        ForumDiscussion discussion;
        discussion.id = record.field("id").value_or("");
        discussion.topicId = record.field("topic").value_or("");
        discussion.subject = record.field("subject").value_or("");
        discussion.userId = record.field("user").value_or("");
        discussion.updatedAt = number(record.field("updated_at"), 0);
        discussion.locked = flag(record.field("locked"));
        discussion.sticky = flag(record.field("sticky"));
        for (const auto& subscriber : allValues(record.fields, "subscriber")) discussion.subscribers.insert(subscriber);
        if (discussion.id.empty() || discussion.topicId.empty()) {
            note(record, "[forum_discussion] needs \"id\" and \"topic\"");
            continue;
        }
        discussions_.push_back(std::move(discussion));
    }
    for (const auto& record : fixtures.ofKind("forum_post")) {
        ForumPost post{record.field("id").value_or(""), record.field("discussion").value_or(""),
                       record.field("user").value_or(""), record.field("body").value_or(""),
                       number(record.field("created_at"), 0)};
        if (post.id.empty() || post.discussionId.empty()) {
            note(record, "[forum_post] needs \"id\" and \"discussion\"");
            continue;
        }
        posts_.push_back(std::move(post));
    }
    return error;
}

std::vector<ForumTopic> ForumStore::topicsOfGame(const std::string& gameId) const
{
    std::lock_guard lock(mutex_);
    std::vector<ForumTopic> out;
    std::copy_if(topics_.begin(), topics_.end(), std::back_inserter(out),
                 [&](const ForumTopic& t) { return t.gameId == gameId; });
    return out;
}

std::optional<ForumTopic> ForumStore::topic(const std::string& id) const
{
    std::lock_guard lock(mutex_);
    for (const auto& t : topics_)
        if (t.id == id) return t;
    return std::nullopt;
}

std::optional<ForumDiscussion> ForumStore::discussion(const std::string& id) const
{
    std::lock_guard lock(mutex_);
    for (const auto& d : discussions_)
        if (d.id == id) return d;
    return std::nullopt;
}

std::vector<ForumDiscussion> ForumStore::discussionsOfTopic(const std::string& topicId) const
{
    std::lock_guard lock(mutex_);
    std::vector<ForumDiscussion> out;
    std::copy_if(discussions_.begin(), discussions_.end(), std::back_inserter(out),
                 [&](const ForumDiscussion& d) { return d.topicId == topicId; });
    std::stable_sort(out.begin(), out.end(), [](const ForumDiscussion& a, const ForumDiscussion& b) {
        if (a.sticky != b.sticky) return a.sticky;
        return a.updatedAt > b.updatedAt;
    });
    return out;
}

std::vector<ForumPost> ForumStore::postsOfDiscussion(const std::string& discussionId) const
{
    std::lock_guard lock(mutex_);
    std::vector<ForumPost> out;
    std::copy_if(posts_.begin(), posts_.end(), std::back_inserter(out),
                 [&](const ForumPost& p) { return p.discussionId == discussionId; });
    std::stable_sort(out.begin(), out.end(), [](const ForumPost& a, const ForumPost& b) { return a.createdAt < b.createdAt; });
    return out;
}

std::size_t ForumStore::discussionCount(const std::string& topicId) const
{
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(std::count_if(discussions_.begin(), discussions_.end(),
                                                  [&](const ForumDiscussion& d) { return d.topicId == topicId; }));
}

ForumDiscussion ForumStore::openDiscussion(const std::string& topicId, const std::string& userId,
                                           const std::string& subject, const std::string& body, std::int64_t now)
{
    std::lock_guard lock(mutex_);
    ForumDiscussion discussion;
    discussion.id = std::to_string(nextId_++);
    discussion.topicId = topicId;
    discussion.subject = subject;
    discussion.userId = userId;
    discussion.updatedAt = now;
    discussions_.push_back(discussion);
    posts_.push_back(ForumPost{std::to_string(nextId_++), discussion.id, userId, body, now});
    return discussion;
}

std::optional<ForumPost> ForumStore::reply(const std::string& discussionId, const std::string& userId,
                                           const std::string& body, std::int64_t now)
{
    std::lock_guard lock(mutex_);
    auto found = std::find_if(discussions_.begin(), discussions_.end(),
                              [&](const ForumDiscussion& d) { return d.id == discussionId; });
    if (found == discussions_.end()) return std::nullopt;
    found->updatedAt = now;
    found->userId = userId;
    posts_.push_back(ForumPost{std::to_string(nextId_++), discussionId, userId, body, now});
    return posts_.back();
}

std::optional<ForumDiscussion> ForumStore::setSubscribed(const std::string& discussionId, const std::string& userId,
                                                         bool subscribed)
{
    std::lock_guard lock(mutex_);
    for (auto& d : discussions_) {
        if (d.id != discussionId) continue;
        if (subscribed)
            d.subscribers.insert(userId);
        else
            d.subscribers.erase(userId);
        return d;
    }
    return std::nullopt;
}

bool ForumDiscussion::hasParticipant(const std::string& userId) const
{
    return std::find(participants.begin(), participants.end(), userId) != participants.end();
}

ForumDiscussion ForumStore::conversationBetween(const std::string& userId, const std::string& otherUserId,
                                                std::int64_t now)
{
    std::lock_guard lock(mutex_);
    for (const auto& d : discussions_)
        if (d.isConversation() && d.hasParticipant(userId) && d.hasParticipant(otherUserId)) return d;
    ForumDiscussion conversation;
    conversation.id = std::to_string(nextId_++);
    conversation.subject = "Conversation";
    conversation.userId = userId;
    conversation.updatedAt = now;
    conversation.participants = {userId, otherUserId};
    discussions_.push_back(conversation);
    return conversation;
}

std::vector<ForumDiscussion> ForumStore::inboxOf(const std::string& userId) const
{
    std::lock_guard lock(mutex_);
    std::vector<ForumDiscussion> out;
    std::copy_if(discussions_.begin(), discussions_.end(), std::back_inserter(out), [&](const ForumDiscussion& d) {
        return d.hasParticipant(userId) || d.subscribers.count(userId) > 0;
    });
    std::stable_sort(out.begin(), out.end(),
                     [](const ForumDiscussion& a, const ForumDiscussion& b) { return a.updatedAt > b.updatedAt; });
    return out;
}

bool ForumStore::deleteConversation(const std::string& discussionId, const std::string& userId)
{
    std::lock_guard lock(mutex_);
    auto found = std::find_if(discussions_.begin(), discussions_.end(), [&](const ForumDiscussion& d) {
        return d.id == discussionId && d.hasParticipant(userId);
    });
    if (found == discussions_.end()) return false;
    discussions_.erase(found);
    std::erase_if(posts_, [&](const ForumPost& p) { return p.discussionId == discussionId; });
    return true;
}

void ForumStore::markViewed(const std::string& discussionId, const std::string& userId, std::int64_t now)
{
    std::lock_guard lock(mutex_);
    for (auto& d : discussions_)
        if (d.id == discussionId) d.lastViewedAt[userId] = now;
}

void addDefaultForumFixtures(Fixtures& fixtures)
{
    // A third author, who posts but never signs in.
    constexpr const char* kForumAuthorId = "1004";
    using namespace defaults;
    auto add = [&](const char* kind, Params fields) {
        fixtures.records.push_back(FixtureRecord{kind, std::move(fields), "built-in forum"});
    };
    add("user", {{"id", kForumAuthorId}, {"name", "Cleo"}});
    // General > Strategy > Speed runs; Bugs; and a topic of another game.
    add("forum_topic", {{"id", "10"}, {"game", kGameId}, {"name", "General"}});
    add("forum_topic", {{"id", "11"}, {"game", kGameId}, {"name", "Strategy"}, {"parent", "10"}});
    add("forum_topic", {{"id", "12"}, {"game", kGameId}, {"name", "Speed runs"}, {"parent", "11"}});
    add("forum_topic", {{"id", "20"}, {"game", kGameId}, {"name", "Bugs"}});
    add("forum_topic", {{"id", "90"}, {"game", "2"}, {"name", "Another game"}});
    // Topic 11: a sticky, locked rules thread and twelve others, the newest last.
    add("forum_discussion", {{"id", "200"}, {"topic", "11"}, {"subject", "Forum rules"}, {"user", kUserId},
                             {"sticky", "true"}, {"locked", "true"}, {"updated_at", "1767225600"}});
    for (int i = 1; i <= 12; ++i) {
        const std::string id = std::to_string(200 + i);
        const char* author = i % 2 ? kOtherUserId : kForumAuthorId;
        const std::string when = std::to_string(1767225600 + 60 * i);
        add("forum_discussion", {{"id", id}, {"topic", "11"}, {"subject", "Level " + std::to_string(i) + " tips"},
                                 {"user", author}, {"updated_at", when}});
        add("forum_post", {{"id", std::to_string(500 + i)}, {"discussion", id}, {"user", author},
                           {"body", "What worked for me on level " + std::to_string(i) + "."}, {"created_at", when}});
    }
    add("forum_discussion", {{"id", "300"}, {"topic", "20"}, {"subject", "Paddle stuck"}, {"user", kOtherUserId},
                             {"updated_at", "1767229200"}, {"subscriber", kUserId}});
    add("forum_post", {{"id", "400"}, {"discussion", "200"}, {"user", kUserId}, {"body", "Be kind & stay on topic."},
                       {"created_at", "1767225000"}});
    add("forum_post", {{"id", "401"}, {"discussion", "200"}, {"user", kOtherUserId}, {"body", "Agreed."},
                       {"created_at", "1767225300"}});
    add("forum_post", {{"id", "402"}, {"discussion", "200"}, {"user", kForumAuthorId}, {"body", "<b>Noted</b>"},
                       {"created_at", "1767225600"}});
    add("forum_post", {{"id", "410"}, {"discussion", "300"}, {"user", kOtherUserId}, {"body", "It stops at the wall."},
                       {"created_at", "1767229200"}});
}

namespace {

// A small PNG (2x2, RGBA) for every picture the fixtures point at.
const std::string& picture()
{
    static const std::string bytes(
        "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x02\x00\x00\x00\x02\x08\x06"
        "\x00\x00\x00\x72\xb6\x0d\x24\x00\x00\x00\x11\x49\x44\x41\x54\x78\x9c\x63\x50\x68\x38\xf0\x1f\x84\x19\x60"
        "\x0c\x00\x4f\xb4\x09\x7d\xd9\x7c\x10\xe9\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
        74);
    return bytes;
}

class ForumReplies {
public:
    ForumReplies(Server& server, std::shared_ptr<ForumStore> store) : server_(server), store_(std::move(store)) {}

    XmlNode userNode(const std::string& userId) const { return social::userNode(server_, userId); }

    XmlNode topicNode(const ForumTopic& topic, const std::vector<ForumTopic>& all, int depth) const
    {
        XmlNode node = XmlNode::parent("topic");
        node.add("id", topic.id);
        node.add("name", topic.name);
        node.add("parent_id", topic.parentId);
        node.add("discussions_count", std::to_string(store_->discussionCount(topic.id)));
        XmlNode children = XmlNode::parent("children");
        // The fixtures are trusted, but a parent loop must not hang a connection.
        if (depth < 32) {
            for (const auto& child : all)
                if (child.parentId == topic.id) children.add(topicNode(child, all, depth + 1));
        }
        node.add(std::move(children));
        return node;
    }

    XmlNode discussionNode(const ForumDiscussion& d, const std::string& callerId) const
    {
        XmlNode node = XmlNode::parent("discussion");
        node.add("id", d.id);
        node.add("subject", d.subject);
        node.add(userNode(d.userId));
        node.add("updated_at", formatRailsTime(d.updatedAt));
        node.add("locked", boolText(d.locked));
        node.add("posts_count", std::to_string(store_->postsOfDiscussion(d.id).size()));
        node.add("sticky", boolText(d.sticky));
        node.add("subscribed", boolText(d.subscribers.count(callerId) > 0));
        return node;
    }

    XmlNode postNode(const ForumPost& p) const
    {
        XmlNode node = XmlNode::parent("post");
        node.add("id", p.id);
        node.add("body", p.body);
        node.add(userNode(p.userId));
        node.add("created_at", formatRailsTime(p.createdAt));
        node.add("discussion_id", p.discussionId);
        node.add("is_discussion_conversation", "true");
        return node;
    }

    // A discussion of the calling game's forums.
    // or one of the caller's conversations.
    std::optional<ForumDiscussion> discussionOfGame(const Request& request) const
    {
        auto d = store_->discussion(request.pathParam("id").value_or(""));
        if (d && d->isConversation()) return d->hasParticipant(request.userId) ? d : std::nullopt;
        if (!d || !topicOfGame(d->topicId, request.gameId)) return std::nullopt;
        return d;
    }

    std::optional<ForumTopic> topicOfGame(const std::string& topicId, const std::string& gameId) const
    {
        auto t = store_->topic(topicId);
        if (!t || t->gameId != gameId) return std::nullopt;
        return t;
    }

    template <class T, class F>
    static Reply page(const Request& request, const std::vector<T>& items, F&& toNode)
    {
        std::vector<XmlNode> nodes;
        for (const auto& item : items) nodes.push_back(toNode(item));
        return Reply::xml(social::pageReply(request, nodes, ForumStore::kPageSize));
    }

    static Reply one(XmlNode node) { return Reply::xml(social::oneReply(std::move(node))); }

    Server& server_;
    std::shared_ptr<ForumStore> store_;
};

}  // namespace

std::shared_ptr<ForumStore> registerForumRoutes(Server& server)
{
    auto store = std::make_shared<ForumStore>();
    store->load(server.fixtures());
    auto replies = std::make_shared<ForumReplies>(server, store);

    server.addRoute("GET", "client_applications/{id}/forums.xml", Access::User, [replies](const Request& request) {
        const std::string gameId = request.pathParam("id").value_or("");
        if (gameId != request.gameId) return Reply::text(404, "no such forum");
        const auto topics = replies->store_->topicsOfGame(gameId);
        ResourceList list;
        for (const auto& topic : topics)
            if (topic.parentId.empty()) list.resources.push_back(replies->topicNode(topic, topics, 0));
        return Reply::xml(writeFlatReply(list));
    });
    server.addRoute("GET", "topics/{id}/discussions.xml", Access::User, [replies](const Request& request) {
        auto topic = replies->topicOfGame(request.pathParam("id").value_or(""), request.gameId);
        if (!topic) return Reply::text(404, "no such topic");
        return ForumReplies::page(request, replies->store_->discussionsOfTopic(topic->id),
                                  [&](const ForumDiscussion& d) { return replies->discussionNode(d, request.userId); });
    });
    server.addRoute("POST", "topics/{id}/discussions.xml", Access::User, [replies, &server](const Request& request) {
        auto topic = replies->topicOfGame(request.pathParam("id").value_or(""), request.gameId);
        if (!topic) return Reply::text(404, "no such topic");
        auto subject = request.param("discussion[subject]");
        auto body = request.param("discussion[body]");
        if (blank(subject) || blank(body)) return Reply::text(422, "a discussion needs a subject and a body");
        auto discussion = replies->store_->openDiscussion(topic->id, request.userId, *subject, *body, server.now());
        return ForumReplies::one(replies->discussionNode(discussion, request.userId));
    });
    server.addRoute("GET", "discussions/{id}/posts.xml", Access::Consumer, [replies, &server](const Request& request) {
        auto discussion = replies->discussionOfGame(request);
        if (!discussion) return Reply::text(404, "no such discussion");
        if (!request.userId.empty()) replies->store_->markViewed(discussion->id, request.userId, server.now());
        auto posts = replies->store_->postsOfDiscussion(discussion->id);
        // A poller asks only for what is newer than the last post it saw.
        if (auto lastSeen = request.param("last_seen_post_id")) {
            const long long seen = std::atoll(lastSeen->c_str());
            std::erase_if(posts, [seen](const ForumPost& p) { return std::atoll(p.id.c_str()) <= seen; });
        }
        return ForumReplies::page(request, posts,
                                  [&](const ForumPost& p) { return replies->postNode(p); });
    });
    server.addRoute("POST", "discussions/{id}/posts.xml", Access::User, [replies, &server](const Request& request) {
        auto discussion = replies->discussionOfGame(request);
        if (!discussion) return Reply::text(404, "no such discussion");
        if (discussion->locked) return Reply::text(403, "the discussion is locked");
        auto body = request.param("post[body]");
        if (blank(body)) return Reply::text(422, "a post needs a body");
        auto post = replies->store_->reply(discussion->id, request.userId, *body, server.now());
        if (!post) return Reply::text(404, "no such discussion");
        return ForumReplies::one(replies->postNode(*post));
    });
    for (const bool subscribe : {true, false}) {
        server.addRoute("POST", subscribe ? "discussions/{id}/subscribe.xml" : "discussions/{id}/unsubscribe.xml",
                        Access::User, [replies, subscribe](const Request& request) {
                            auto discussion = replies->discussionOfGame(request);
                            if (!discussion) return Reply::text(404, "no such discussion");
                            auto topicId = request.param("topic_id");
                            if (topicId && *topicId != discussion->topicId)
                                return Reply::text(422, "the discussion is not in that topic");
                            auto changed = replies->store_->setSubscribed(discussion->id, request.userId, subscribe);
                            return ForumReplies::one(replies->discussionNode(*changed, request.userId));
                        });
    }
    server.addRoute("GET", "images/{name}.png", Access::Open, [](const Request&) {
        Reply reply = Reply::xml(picture());
        reply.contentType = "image/png";
        return reply;
    });
    return store;
}

}  // namespace localserver
