// The score-reading routes on bad input: the distributed range refuses
// numbers that are not whole 64-bit decimals and steps, pages or sizes
// below 1, and ranges past the largest score end the page instead of
// wrapping; odd query values fall back to defaults; an unknown score's
// blob cannot be invalidated.
#include <gtest/gtest.h>

#include "localserver/routes/ScoreQueryRoutes.h"
#include "localserver/routes/ScoreRoutes.h"
#include "localserver/routes/StorageRoutes.h"
#include "support/ServerFixture.h"
#include "support/XmlTree.h"

using namespace localserver;
using namespace localserver_test;

namespace {

class ScoreQueryRoutesTest : public ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        registerServiceRoutes(*server);
        auto bucket = registerStorageRoutes(*server);
        store = registerScoreRoutes(*server, bucket);
        registerScoreQueryRoutes(*server, store, bucket);
    }
    std::shared_ptr<ScoreStore> store;
};

TEST_F(ScoreQueryRoutesTest, BadNumbersHaveDefinedAnswers)
{
    StoredScore top;
    top.userId = "1001";
    top.leaderboardId = "1";
    top.score = INT64_MAX;
    store->accept(top);
    for (const char* path : {"leaderboards/1/high_scores/range/x/1/1/1.xml",
                             "leaderboards/1/high_scores/range/0/0/1/1.xml",
                             "leaderboards/1/high_scores/range/0/1/0/1.xml",
                             "leaderboards/1/high_scores/range/0/1/1/-5.xml",
                             "leaderboards/1/high_scores/range/99999999999999999999/1/1/1.xml"}) {
        EXPECT_EQ(signedRequest("GET", path).status, 422) << path;
    }
    // The top score is found; the next page's ranges lie past 64 bits.
    const std::string high = "leaderboards/1/high_scores/range/9223372036854775806/1/1/2.xml";
    auto found = signedRequest("GET", high);
    ASSERT_EQ(found.status, 200);
    auto tree = parseXml(found.body);
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->childNames(), (std::vector<std::string>{"high_score"}));
    auto past = signedRequest("GET", "leaderboards/1/high_scores/range/9223372036854775806/1/2/2.xml");
    ASSERT_EQ(past.status, 200);
    EXPECT_TRUE(parseXml(past.body)->children.empty());

    // Hostile paging falls back to page 1 of 25.
    auto odd = signedRequest("GET", "client_applications/@me/high_scores.xml",
                             {{"leaderboard_id", "1"}, {"page", "-3"}, {"page_size", "0x10"}, {"interval", "many"}});
    ASSERT_EQ(odd.status, 200) << odd.body;
    auto sections = parseXml(odd.body);
    ASSERT_TRUE(sections);
    EXPECT_EQ(sections->children.size(), 2u);

    EXPECT_EQ(signedRequest("POST", "high_scores/404/invalidate_blob.xml").status, 404);
}

}  // namespace
