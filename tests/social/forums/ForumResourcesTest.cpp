// Forum resources read from replies and written back, and the topic tree's
// indent levels at their limits.
#include <gtest/gtest.h>

#include "core/clientstate/HCClientState.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/writer/HCXmlResourceWriter.h"
#include "kernel/xml/HCXmlDocument.h"
#include "social/forums/HCForumPost.h"
#include "social/forums/HCForumService.h"
#include "social/forums/HCForumThread.h"
#include "social/forums/HCForumTopic.h"

namespace {

class ForumResourcesTest : public ::testing::Test {
protected:
    void SetUp() override { HCForumService::initializeService(); }
    void TearDown() override
    {
        HCForumService::shutdownService();
        HCClientState::setQueries({});
    }

    template <class T>
    static std::shared_ptr<T> readOne(const std::string& xml)
    {
        auto document = HCXmlDocument::xmlDocumentWithData("<resources>" + xml + "</resources>");
        auto series = HCResource::resourcesFromXml(*document, HCForumService::sharedInstance()->getKnownResources().get());
        return series->count() == 1 ? platform::as<T>(series->objectAtIndex(0)) : nullptr;
    }

    static std::shared_ptr<HCForumTopic> child(const std::shared_ptr<HCForumTopic>& topic, size_t i = 0)
    {
        return platform::as<HCForumTopic>(topic->children()->items().at(i));
    }
};

TEST_F(ForumResourcesTest, ThreadFieldsReadAndWriteBackInTheServiceForms)
{
    auto thread = readOne<HCForumThread>(
        "<discussion><id>5</id><subject>Hi</subject><user><id>9</id><name>Ann</name></user>"
        "<updated_at>2026-01-02T03:04:05Z</updated_at><locked>true</locked><posts_count>12</posts_count>"
        "<mood>grumpy</mood></discussion>");
    ASSERT_TRUE(thread);
    EXPECT_TRUE(thread->isLocked());
    EXPECT_FALSE(thread->isSticky());
    EXPECT_FALSE(thread->isSubscribed());
    EXPECT_EQ(thread->postCount(), 12);
    ASSERT_TRUE(thread->lastPostAuthor());
    EXPECT_EQ(thread->lastPostAuthor()->name(), "Ann");
    const auto written = HCXmlResourceWriter::xmlStringFromResources({thread});
    EXPECT_NE(written.find("<discussion><id>5</id><subject>Hi</subject><user><id>9</id><name>Ann</name>"),
              std::string::npos);
    EXPECT_NE(written.find("</user><updated_at>2026-01-02T03:04:05Z</updated_at><locked>true</locked><posts_count>12"
                           "</posts_count><sticky>false</sticky><subscribed>false</subscribed></discussion>"),
              std::string::npos)
        << written;

    // Texts the service should not send still read without harm.
    auto odd = readOne<HCForumThread>(
        "<discussion><updated_at>2 Jan 2026</updated_at><posts_count>many</posts_count><locked>nope</locked>"
        "<user/></discussion>");
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->date(), nullptr);
    EXPECT_EQ(odd->postCount(), 0);
    EXPECT_FALSE(odd->isLocked());
    EXPECT_EQ(odd->dateAsString(), std::nullopt);
}

TEST_F(ForumResourcesTest, PostKeepsItsConversationFlagAndItsDiscoveryName)
{
    auto post = readOne<HCForumPost>(
        "<post><id>7</id><body>a &lt;b&gt;</body><created_at>2026-01-02T03:04:05Z</created_at>"
        "<discussion_id>5</discussion_id><is_discussion_conversation>true</is_discussion_conversation></post>");
    ASSERT_TRUE(post);
    EXPECT_EQ(post->body(), "a <b>");
    EXPECT_TRUE(post->isDiscussionConversation());
    EXPECT_EQ(post->discussionId(), "5");
    EXPECT_EQ(post->getResourceDiscoveredNotification(), "post_discovered");
    // Read only: the flag is not written back.
    EXPECT_EQ(HCXmlResourceWriter::xmlStringFromResources({post}).find("is_discussion_conversation"),
              std::string::npos);
}

// One level per generation is read from the server's tree in the forum end-to-end tests.
TEST_F(ForumResourcesTest, TopicIndentStopsAtTheCap)
{
    // A chain deeper than any page shows stops at the cap.
    auto top = HCResource::initWithId<HCForumTopic>("0");
    auto at = top;
    for (int i = 1; i <= 40; ++i) {
        auto next = HCResource::initWithId<HCForumTopic>(std::to_string(i));
        at->setChildren(platform::Array::make({next}));
        at = next;
    }
    top->setIndentLevel(0);
    std::vector<int> levels;
    for (auto t = top; t && t->hasChildren(); t = child(t)) levels.push_back(t->indentLevel());
    EXPECT_EQ(levels[5], 5);
    EXPECT_EQ(levels[HCForumTopic::kMaxIndentLevel], HCForumTopic::kMaxIndentLevel);
    top->setIndentLevel(1000);
    EXPECT_EQ(top->indentLevel(), HCForumTopic::kMaxIndentLevel);

    // A topic that is its own descendant ends too.
    auto loop = HCResource::initWithId<HCForumTopic>("loop");
    auto inner = HCResource::initWithId<HCForumTopic>("inner");
    inner->setChildren(platform::Array::make({loop}));
    loop->setChildren(platform::Array::make({inner}));
    loop->setIndentLevel(2);
    EXPECT_LE(inner->indentLevel(), HCForumTopic::kMaxIndentLevel);
    inner->setChildren(nullptr);  // lets the pair go
}

TEST_F(ForumResourcesTest, ANegativeTopicLevelCountsAsZero)
{
    auto top = HCResource::initWithId<HCForumTopic>("0");
    top->setChildren(platform::Array::make({HCResource::initWithId<HCForumTopic>("1")}));
    top->setIndentLevel(-3);
    EXPECT_EQ(top->indentLevel(), 0);
    EXPECT_EQ(child(top)->indentLevel(), 1);
}

TEST_F(ForumResourcesTest, AReplyNestingTopicsAsDeepAsTheParserAllowsReadsWithCappedLevels)
{
    std::string xml;
    const int depth = 200;  // beyond what the XML parser keeps; the rest is dropped
    for (int i = 0; i < depth; ++i) xml += "<topic><id>" + std::to_string(i) + "</id><children>";
    for (int i = 0; i < depth; ++i) xml += "</children></topic>";
    auto root = readOne<HCForumTopic>(xml);
    ASSERT_TRUE(root);
    int generations = 0;
    for (auto t = root; t; t = t->hasChildren() ? child(t) : nullptr, ++generations) {
        EXPECT_EQ(t->indentLevel(), std::min(generations, HCForumTopic::kMaxIndentLevel)) << generations;
    }
    EXPECT_GT(generations, HCForumTopic::kMaxIndentLevel);
}

}  // namespace
