// The score route: the batch form read entry by entry, what the reply
// carries, refused batches that store nothing, and the store counting each
// (player, board, score) once however often it is posted.
#include <gtest/gtest.h>

#include "localserver/routes/ScoreRoutes.h"
#include "localserver/routes/StorageRoutes.h"
#include "support/ServerFixture.h"
#include "support/XmlTree.h"

using namespace localserver;
using namespace localserver_test;

namespace {

constexpr const char* kPath = "client_applications/@me/high_scores.xml";

class ScoreRoutesTest : public ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        registerServiceRoutes(*server);
        store = registerScoreRoutes(*server, registerStorageRoutes(*server));
    }

    std::shared_ptr<ScoreStore> store;
};

TEST_F(ScoreRoutesTest, AcceptsEveryEntryAndAsksForAnnouncedBlobs)
{
    const Pairs form{{"high_scores[][leaderboard_id]", "4"}, {"high_scores[][score]", "-12"},
                     {"high_scores[][display_text]", "twelve"}, {"high_scores[][has_blob]", "1"},
                     {"high_scores[][leaderboard_id]", "5"}, {"high_scores[][score]", "9000000000"},
                     {"high_scores[][has_blob]", "0"}, {"lat", "1.5"}, {"lng", "2.5"}};
    const auto result = signedRequest("POST", kPath, {}, form);
    ASSERT_EQ(result.status, 200) << result.body;
    const auto tree = parseXml(result.body);
    ASSERT_TRUE(tree);
    ASSERT_EQ(tree->childNames(), (std::vector<std::string>{"high_score", "high_score"}));
    const auto& first = tree->children[0];
    EXPECT_EQ(first.child("score")->text, "-12");
    EXPECT_EQ(first.child("user")->child("id")->text, "1001");
    EXPECT_TRUE(first.child("blob_upload_parameters"));
    EXPECT_FALSE(tree->children[1].child("blob_upload_parameters"));
    EXPECT_EQ(tree->children[1].child("score")->text, "9000000000");

    // The same batch again: counted once, posted twice.
    ASSERT_EQ(signedRequest("POST", kPath, {}, form).status, 200);
    ASSERT_EQ(store->all().size(), 2u);
    EXPECT_EQ(store->find("1001", "4", -12)->posts, 2);
    EXPECT_EQ(store->find("1001", "4", -12)->displayText, std::optional<std::string>("twelve"));
    EXPECT_EQ(store->entriesPosted(), 4u);
    EXPECT_EQ(store->repostCount(), 2u);
}

TEST_F(ScoreRoutesTest, RefusesMalformedBatchesWhole)
{
    const std::vector<Pairs> bad{
        {},
        {{"high_scores[][leaderboard_id]", "4"}, {"high_scores[][score]", "12"},
         {"high_scores[][leaderboard_id]", "4x"}, {"high_scores[][score]", "1"}},
        {{"high_scores[][leaderboard_id]", "4"}, {"high_scores[][score]", "1e3"}},
        {{"high_scores[][leaderboard_id]", "4"}, {"high_scores[][score]", "99999999999999999999"}},
        {{"high_scores[][leaderboard_id]", "4"}},
        {{"high_scores[][score]", "4"}},
    };
    for (const auto& form : bad) {
        EXPECT_EQ(signedRequest("POST", kPath, {}, form).status, 422);
    }
    EXPECT_TRUE(store->all().empty());
    // Without a player's token nobody's score is taken.
    EXPECT_EQ(signedRequest("POST", kPath, {}, {{"high_scores[][leaderboard_id]", "4"}, {"high_scores[][score]", "1"}},
                            defaultConsumerCredentials())
                  .status,
              401);
    EXPECT_TRUE(store->all().empty());
}

}  // namespace
