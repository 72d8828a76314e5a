// Conversations and the inbox against the local server with the whole
// client running: starting, reading, posting and deleting on the wire, and
// the inbox's two kinds of entry with their unread counts.
#include <gtest/gtest.h>

#include "e2e/support/SocialClientTest.h"
#include "localserver/Fixtures.h"
#include "social/conversations/HCConversation.h"
#include "social/conversations/HCConversationService.h"
#include "social/conversations/HCSubscription.h"
#include "social/conversations/HCSubscriptionService.h"
#include "social/forums/HCForumPost.h"
#include "transport/oauth/OAuthAPIRequestLoader.h"

namespace defaults = localserver::defaults;

namespace {

class ConversationsEndToEndTest : public SocialClientTest {
protected:
    void SetUp() override
    {
        SocialClientTest::SetUp();
        start();
    }


    HCConversationPtr startWithBen()
    {
        Reached started;
        EXPECT_TRUE(HCConversationService::startConversationWithUser(std::string(defaults::kOtherUserId),
                                                                     started.success(), started.failure()));
        EXPECT_TRUE(waitFor(started));
        auto conversations = started.objects<HCConversation>();
        return conversations.size() == 1 ? conversations[0] : nullptr;
    }

    localserver::Request lastRequest() const { return server->log().entries().back().request; }

    std::vector<HCSubscriptionPtr> inbox()
    {
        Reached page;
        EXPECT_TRUE(HCSubscriptionService::getSubscriptionsPage(1, page.success(), page.failure()));
        EXPECT_TRUE(waitFor(page));
        EXPECT_EQ(lastRequest().param("page"), "1");
        return page.objects<HCSubscription>();
    }
};

TEST_F(ConversationsEndToEndTest, AConversationIsStartedReadPostedToAndDeleted)
{
    auto conversation = startWithBen();
    ASSERT_TRUE(conversation);
    auto request = lastRequest();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "discussions.xml");
    EXPECT_EQ(request.param("discussion[other_user_id]"), defaults::kOtherUserId);
    // The reply names the local player first: the other one is kept.
    ASSERT_TRUE(conversation->otherUser());
    EXPECT_EQ(conversation->otherUser()->name(), defaults::kOtherUserName);
    EXPECT_EQ(conversation->messageCount(), 0);
    const auto id = conversation->resourceId();
    ASSERT_TRUE(id);
    EXPECT_EQ(startWithBen()->resourceId(), id);  // the same conversation again

    Reached posted;
    ASSERT_TRUE(HCConversationService::postMessage("See you at level 12 & up", id, posted.success(), posted.failure()));
    ASSERT_TRUE(waitFor(posted));
    ASSERT_FALSE(posted.failed);
    EXPECT_EQ(lastRequest().path, "discussions/" + *id + "/posts.xml");
    EXPECT_EQ(lastRequest().param("post[body]"), "See you at level 12 & up");

    Reached history;
    ASSERT_TRUE(HCConversationService::getConversationHistory(id, 1, history.success(), history.failure()));
    ASSERT_TRUE(waitFor(history));
    EXPECT_EQ(lastRequest().method, "GET");
    EXPECT_EQ(lastRequest().param("page"), "1");
    auto posts = history.objects<HCForumPost>();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0]->body(), "See you at level 12 & up");
    EXPECT_EQ(startWithBen()->messageCount(), 1);

    Reached deleted;
    ASSERT_TRUE(HCConversationService::deleteConversation(id, deleted.success(), deleted.failure()));
    ASSERT_TRUE(waitFor(deleted));
    ASSERT_FALSE(deleted.failed);
    EXPECT_EQ(lastRequest().method, "POST");
    EXPECT_EQ(lastRequest().path, "discussions/" + *id + "/delete.xml");
    EXPECT_EQ(lastRequest().param("client_application_id"), defaults::kGameId);
    Reached gone;
    HCConversationService::getConversationHistory(id, 1, gone.success(), gone.failure());
    ASSERT_TRUE(waitFor(gone));
    ASSERT_TRUE(gone.failed);
    EXPECT_EQ(platform::as<OAuthAPIRequestLoader>(gone.object)->statusCode(), 404);

    // An id that names a path of its own is never sent.
    const size_t sent = server->log().entries().size();
    Reached refused;
    EXPECT_FALSE(HCConversationService::postMessage("x", std::string(".."), refused.success(), refused.failure()));
    ASSERT_TRUE(waitFor(refused));
    EXPECT_TRUE(refused.failed);
    EXPECT_EQ(server->log().entries().size(), sent);
}

TEST_F(ConversationsEndToEndTest, TheInboxHoldsFollowedDiscussionsAndConversationsWithTheirUnreadCounts)
{
    auto conversation = startWithBen();
    ASSERT_TRUE(conversation);
    Reached posted;
    HCConversationService::postMessage("Hi Ben", conversation->resourceId(), posted.success(), posted.failure());
    ASSERT_TRUE(waitFor(posted));

    auto entries = inbox();
    ASSERT_EQ(entries.size(), 2u);
    auto chat = entries[0]->isConversation() ? entries[0] : entries[1];
    auto forum = entries[0]->isConversation() ? entries[1] : entries[0];
    EXPECT_TRUE(chat->isConversation());
    EXPECT_FALSE(chat->isForumThread());
    EXPECT_EQ(chat->discussionId(), conversation->resourceId());
    EXPECT_EQ(chat->summary(), "Hi Ben");
    EXPECT_EQ(chat->unreadCount(), 0);  // the player's own line
    ASSERT_TRUE(chat->otherUser() && chat->conversation() && chat->conversation()->otherUser());
    EXPECT_EQ(chat->otherUser()->name(), defaults::kOtherUserName);
    EXPECT_EQ(chat->conversation()->otherUser()->name(), defaults::kOtherUserName);

    EXPECT_TRUE(forum->isForumThread());
    EXPECT_EQ(forum->title(), "Paddle stuck");
    EXPECT_EQ(forum->topicId(), "20");
    EXPECT_EQ(forum->unreadCount(), 1);
    ASSERT_TRUE(forum->discussion());
    EXPECT_EQ(forum->discussion()->title(), "Paddle stuck");

    // Reading the discussion with the player's token marks it read.
    Reached read;
    HCConversationService::getConversationHistory(forum->discussionId(), 1, read.success(), read.failure());
    ASSERT_TRUE(waitFor(read));
    for (const auto& entry : inbox()) {
        if (entry->isForumThread()) {
            EXPECT_EQ(entry->unreadCount(), 0);
        }
    }
}

}  // namespace
