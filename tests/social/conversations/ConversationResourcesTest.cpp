// Conversations and inbox entries read from replies and written back: which
// of the two players is kept, the exact type texts, and a reply read on
// another thread while the local player changes.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/clientstate/HCClientState.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/writer/HCXmlResourceWriter.h"
#include "kernel/xml/HCXmlDocument.h"
#include "social/conversations/HCConversation.h"
#include "social/conversations/HCConversationService.h"
#include "social/conversations/HCSubscription.h"
#include "social/conversations/HCSubscriptionService.h"

namespace {

class ConversationResourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HCConversationService::initializeService();
        HCSubscriptionService::initializeService();
        useLocalPlayer("9");
    }
    void TearDown() override
    {
        HCClientState::setQueries({});
        HCSubscriptionService::shutdownService();
        HCConversationService::shutdownService();
    }

    static void useLocalPlayer(std::string id)
    {
        HCClientStateQueries queries;
        queries.lastLoggedInUserId = [id] { return std::optional<std::string>(id); };
        HCClientState::setQueries(queries);
    }

    template <class T, class S>
    static std::shared_ptr<T> readOne(const std::string& xml)
    {
        auto document = HCXmlDocument::xmlDocumentWithData("<resources>" + xml + "</resources>");
        auto series = HCResource::resourcesFromXml(*document, S::sharedInstance()->getKnownResources().get());
        return series->count() == 1 ? platform::as<T>(series->objectAtIndex(0)) : nullptr;
    }

    static std::shared_ptr<HCConversation> conversation(const char* user, const char* other)
    {
        return readOne<HCConversation, HCConversationService>(
            std::string("<conversation><id>4</id><user><id>") + user + "</id><name>u" + user +
            "</name></user><other_user><id>" + other + "</id><name>u" + other +
            "</name></other_user><posts_count>3</posts_count></conversation>");
    }
};

TEST_F(ConversationResourcesTest, TheOtherParticipantIsKeptWhicheverElementNamesThem)
{
    EXPECT_EQ(conversation("9", "5")->otherUser()->name(), "u5");
    EXPECT_EQ(conversation("5", "9")->otherUser()->name(), "u5");
    EXPECT_FALSE(conversation("9", "9")->otherUser());
    EXPECT_EQ(conversation("9", "5")->messageCount(), 3);
}

TEST_F(ConversationResourcesTest, RepliesReadOnAnotherThreadWhileThePlayerChangesKeepSomeoneElse)
{
    std::atomic<bool> done{false};
    std::thread changer([&] {
        for (int i = 0; !done; ++i) useLocalPlayer(i % 2 ? "9" : "8");
    });
    // Player 5 is never the local one, and is named last: whoever the local
    // player was while "user" was read, 5 is kept.
    for (int i = 0; i < 200; ++i) {
        auto read = conversation("9", "5");
        ASSERT_TRUE(read->otherUser());
        EXPECT_EQ(read->otherUser()->userId(), "5");
    }
    done = true;
    changer.join();
}

TEST_F(ConversationResourcesTest, InboxEntryTypesAreExactAndWriteBack)
{
    auto entry = readOne<HCSubscription, HCSubscriptionService>(
        "<subscription><id>1</id><discussion_type>Conversation</discussion_type><locked>yes</locked>"
        "<unread_count>2x</unread_count><conversation><id>7</id></conversation></subscription>");
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->isConversation());
    EXPECT_FALSE(entry->isForumThread());
    EXPECT_EQ(entry->unreadCount(), 2);
    ASSERT_TRUE(entry->conversation());
    const auto written = HCXmlResourceWriter::xmlStringFromResources({entry});
    EXPECT_NE(written.find("<unread_count>2</unread_count><locked>true</locked><topic_id></topic_id>"
                           "<discussion_type>Conversation</discussion_type>"),
              std::string::npos)
        << written;

    for (const char* text : {"conversation", "CONVERSATION", ""}) {
        auto forum = readOne<HCSubscription, HCSubscriptionService>(
            std::string("<subscription><discussion_type>") + text + "</discussion_type></subscription>");
        ASSERT_TRUE(forum);
        EXPECT_TRUE(forum->isForumThread()) << text;
        EXPECT_EQ(forum->typeFromString(), "Forum");
    }
}

}  // namespace
