// The local server's forum routes on their own: what they refuse, and the
// built-in forum's shape.
#include <gtest/gtest.h>

#include "localserver/Fixtures.h"
#include "localserver/routes/ForumRoutes.h"

using namespace localserver;

TEST(ForumRoutesTest, BuiltInForumLoadsWholeAndBadRecordsAreNamed)
{
    ForumStore store;
    EXPECT_EQ(store.load(defaultFixtures()), "");
    EXPECT_EQ(store.topicsOfGame(defaults::kGameId).size(), 4u);
    const auto rules = store.discussionsOfTopic("11");
    ASSERT_EQ(rules.size(), 13u);
    EXPECT_TRUE(rules.front().sticky);
    EXPECT_EQ(rules[1].subject, "Level 12 tips");
    EXPECT_EQ(store.postsOfDiscussion("200").size(), 3u);

    std::string error;
    auto bad = parseFixtures("[forum_topic]\nname = x\n[forum_post]\nid = 1\n", "f.ini", error);
    ASSERT_TRUE(bad);
    ForumStore partial;
    EXPECT_EQ(partial.load(*bad), "f.ini:1: [forum_topic] needs \"id\" and \"game\"");
}

TEST(ForumRoutesTest, StoreChangesKeepTheirOrder)
{
    ForumStore store;
    store.load(defaultFixtures());
    auto opened = store.openDiscussion("20", defaults::kUserId, "New", "First", 1767300000);
    EXPECT_EQ(store.discussionsOfTopic("20").front().id, opened.id);  // the latest first
    ASSERT_TRUE(store.reply(opened.id, defaults::kOtherUserId, "Second", 1767300060));
    EXPECT_FALSE(store.reply("nope", defaults::kOtherUserId, "lost", 1));
    const auto posts = store.postsOfDiscussion(opened.id);
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[0].body, "First");
    EXPECT_EQ(posts[1].userId, defaults::kOtherUserId);
    EXPECT_EQ(store.discussion(opened.id)->userId, defaults::kOtherUserId);  // the last poster
    EXPECT_TRUE(store.setSubscribed(opened.id, "7", true)->subscribers.count("7"));
    EXPECT_FALSE(store.setSubscribed(opened.id, "7", false)->subscribers.count("7"));
}
