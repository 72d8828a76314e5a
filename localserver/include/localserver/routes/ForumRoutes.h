#pragma once
// The forums: each game's topic tree, the discussions of a topic, the posts
// of a discussion, opening discussions, replying, and following discussions;
// and the pictures that users and games point at ("images/{name}.png").
//
// Routes (below the service root):
//   GET  client_applications/{id}/forums.xml   the game's root topics, each
//        with its "children" nested; only the calling game's own forums.
//   GET  topics/{id}/discussions.xml           "page" (1-based, kPageSize a
//        page): sticky discussions first, then the latest updated.
//   POST topics/{id}/discussions.xml           "discussion[subject]",
//        "discussion[body]" (both needed, else 422): the new discussion.
//   GET  discussions/{id}/posts.xml            "page": oldest first; no user
//        token needed. With "last_seen_post_id" (a poller's), only the
//        posts after that one.
//   POST discussions/{id}/posts.xml            "post[body]" (needed, else
//        422; a locked discussion answers 403): the new post.
//   POST discussions/{id}/subscribe.xml, unsubscribe.xml   "topic_id": the
//        discussion with the caller's "subscribed".
// Unknown ids (or another game's) answer 404. A conversation (see
// ConversationRoutes.h) is a discussion too: its posts are read and written
// on the same paths, by its two users only. Reading posts marks them read
// for the caller.
//
// Fixture kinds: "forum_topic" (id, game, name, parent), "forum_discussion"
// (id, topic, subject, user, sticky, locked, updated_at as seconds since
// 1970, subscriber repeated), "forum_post" (id, discussion, user, body,
// created_at). Users come from the accounts.
//
// Thread: the store locks; handlers run on connection threads.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "localserver/Fixtures.h"

namespace localserver {
class Server;

struct ForumTopic {
    std::string id, gameId, name, parentId;
};

struct ForumDiscussion {
    std::string id, topicId, subject, userId;
    std::int64_t updatedAt = 0;
    bool locked = false;
    bool sticky = false;
    std::set<std::string> subscribers;
    // A private conversation (no topic) between these two users.
    std::vector<std::string> participants;
    // When each user last read the posts.
    std::map<std::string, std::int64_t> lastViewedAt;

    bool isConversation() const { return !participants.empty(); }
    bool hasParticipant(const std::string& userId) const;
};

struct ForumPost {
    std::string id, discussionId, userId, body;
    std::int64_t createdAt = 0;
};

class ForumStore {
public:
    static constexpr std::uint32_t kPageSize = 10;

    // The message of the first bad record; empty when all were taken.
    std::string load(const Fixtures& fixtures);

    std::vector<ForumTopic> topicsOfGame(const std::string& gameId) const;
    std::optional<ForumTopic> topic(const std::string& id) const;
    std::optional<ForumDiscussion> discussion(const std::string& id) const;
    // In the order the routes answer them.
    std::vector<ForumDiscussion> discussionsOfTopic(const std::string& topicId) const;
    std::vector<ForumPost> postsOfDiscussion(const std::string& discussionId) const;
    std::size_t discussionCount(const std::string& topicId) const;

    ForumDiscussion openDiscussion(const std::string& topicId, const std::string& userId, const std::string& subject,
                                   const std::string& body, std::int64_t now);
    // Nothing when the discussion is unknown.
    std::optional<ForumPost> reply(const std::string& discussionId, const std::string& userId, const std::string& body,
                                   std::int64_t now);
    std::optional<ForumDiscussion> setSubscribed(const std::string& discussionId, const std::string& userId,
                                                 bool subscribed);

    // Conversations are discussions of two users. The one between the two,
    // opened now when there is none.
    ForumDiscussion conversationBetween(const std::string& userId, const std::string& otherUserId, std::int64_t now);
    // The discussions the user follows and the user's conversations, latest first.
    std::vector<ForumDiscussion> inboxOf(const std::string& userId) const;
    // False when the discussion is no conversation of the user.
    bool deleteConversation(const std::string& discussionId, const std::string& userId);
    void markViewed(const std::string& discussionId, const std::string& userId, std::int64_t now);

private:
    mutable std::mutex mutex_;
    std::vector<ForumTopic> topics_;
    std::vector<ForumDiscussion> discussions_;
    std::vector<ForumPost> posts_;
    long long nextId_ = 100000;
};

// The built-in forum of the default game: a topic tree three levels deep,
// a topic with more than one page of discussions (one sticky and locked),
// and posts by several users.
void addDefaultForumFixtures(Fixtures& fixtures);

// Adds the routes over a store loaded from the server's fixtures.
std::shared_ptr<ForumStore> registerForumRoutes(Server& server);

}  // namespace localserver
