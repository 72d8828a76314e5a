// The leaderboard list with the players' best scores, and the bootstrap's
// offline object built from the same definitions and scores.
#include <gtest/gtest.h>

#include "localserver/routes/AchievementRoutes.h"
#include "localserver/routes/LeaderboardRoutes.h"
#include "localserver/routes/ScoreRoutes.h"
#include "localserver/routes/StorageRoutes.h"
#include "support/ServerFixture.h"
#include "support/XmlTree.h"

using namespace localserver;
using namespace localserver_test;

namespace {

class LeaderboardRoutesTest : public ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        registerServiceRoutes(*server);
        scores = registerScoreRoutes(*server, registerStorageRoutes(*server));
        registerLeaderboardRoutes(*server, scores, registerAchievementRoutes(*server));
        accept(defaults::kUserId, "1", 500, 1'700'000'000);
        accept(defaults::kUserId, "1", 700, 1'700'000'100, "seven hundred");
        accept(defaults::kUserId, "2", 30, 1'700'000'000);
        accept(defaults::kUserId, "2", 20, 1'700'000'000);
        accept(defaults::kOtherUserId, "1", 900, 1'700'000'000);
    }

    void accept(const std::string& user, const std::string& board, std::int64_t score, std::int64_t at,
                std::optional<std::string> text = std::nullopt)
    {
        StoredScore posted;
        posted.userId = user;
        posted.leaderboardId = board;
        posted.score = score;
        posted.displayText = std::move(text);
        posted.acceptedAt = at;
        scores->accept(posted);
    }

    static std::string field(const XmlElement& element, const std::string& path)
    {
        const XmlElement* at = &element;
        size_t from = 0;
        while (at) {
            size_t slash = path.find('/', from);
            at = at->child(path.substr(from, slash - from));
            if (slash == std::string::npos) break;
            from = slash + 1;
        }
        return at ? at->text : "(none)";
    }

    std::shared_ptr<ScoreStore> scores;
};

TEST_F(LeaderboardRoutesTest, ListsActiveBoardsWithEachPlayersBestInTheBoardsOrder)
{
    auto result = signedRequest("GET", "client_applications/@me/leaderboards.xml",
                                {{"compared_user_id", defaults::kOtherUserId}});
    ASSERT_EQ(result.status, 200) << result.body;
    auto tree = parseXml(result.body);
    ASSERT_TRUE(tree);
    ASSERT_EQ(tree->childNames(), (std::vector<std::string>{"leaderboard", "leaderboard", "leaderboard"}));
    const auto& highest = tree->children[0];
    EXPECT_EQ(field(highest, "id"), "1");
    EXPECT_EQ(field(highest, "name"), "High Score");
    EXPECT_EQ(field(highest, "descending_sort_order"), "1");
    EXPECT_EQ(field(highest, "current_user_high_score/score"), "700");
    EXPECT_EQ(field(highest, "current_user_high_score/rank"), "2");
    EXPECT_EQ(field(highest, "current_user_high_score/display_text"), "seven hundred");
    EXPECT_EQ(field(highest, "current_user_high_score/user/name"), defaults::kUserName);
    EXPECT_EQ(field(highest, "compared_user_high_score/score"), "900");
    EXPECT_EQ(field(highest, "compared_user_high_score/rank"), "1");
    // Fewer moves rank first; the compared player has none there.
    EXPECT_EQ(field(tree->children[1], "current_user_high_score/score"), "20");
    EXPECT_EQ(field(tree->children[1], "compared_user_high_score/score"), "(none)");
    EXPECT_EQ(field(tree->children[2], "current_user_high_score/score"), "(none)");

    // The game's own id lists the same; another game's lists nothing.
    auto own = parseXml(signedRequest("GET", "client_applications/1/leaderboards.xml").body);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->children.size(), 3u);
    auto other = parseXml(signedRequest("GET", "client_applications/99/leaderboards.xml").body);
    ASSERT_TRUE(other);
    EXPECT_TRUE(other->children.empty());
    // Without a player's token there is no current player's score.
    auto anonymous = parseXml(
        signedRequest("GET", "client_applications/@me/leaderboards.xml", {}, {}, defaultConsumerCredentials()).body);
    ASSERT_TRUE(anonymous);
    EXPECT_EQ(field(anonymous->children[0], "current_user_high_score/score"), "(none)");
}

TEST_F(LeaderboardRoutesTest, TheBootstrapCarriesEveryDefinitionLinkAndThePlayersBest)
{
    auto result = signedRequest("POST", "bootstrap.xml", {}, {{"udid", "dev-1"}, {"user_id", defaults::kUserId}},
                                defaultConsumerCredentials());
    ASSERT_EQ(result.status, 200) << result.body;
    auto tree = parseXml(result.body);
    ASSERT_TRUE(tree);
    ASSERT_EQ(tree->childNames(), (std::vector<std::string>{"bootstrap", "offline"}));
    const XmlElement& offline = tree->children[1];
    EXPECT_EQ(offline.childNames(),
              (std::vector<std::string>{"achievements", "leaderboards", "leaderboard_aggregations"}));
    EXPECT_FALSE(offline.child("achievements")->children.empty());

    const auto& boards = offline.child("leaderboards")->children;
    ASSERT_EQ(boards.size(), 4u);
    EXPECT_EQ(boards[0].childNames(),
              (std::vector<std::string>{"id", "name", "active", "allow_posting_lower_scores", "descending_sort_order",
                                        "is_aggregate", "visible", "start_version", "end_version", "score",
                                        "reached_at", "display_text"}));
    EXPECT_EQ(field(boards[0], "score"), "700");
    EXPECT_EQ(field(boards[0], "reached_at"), "2023-11-14 22:15:00");
    EXPECT_EQ(field(boards[1], "score"), "20");
    EXPECT_EQ(field(boards[1], "descending_sort_order"), "0");
    EXPECT_EQ(field(boards[2], "is_aggregate"), "1");
    EXPECT_EQ(field(boards[2], "score"), "(none)");
    EXPECT_EQ(field(boards[3], "active"), "0");

    const auto& links = offline.child("leaderboard_aggregations")->children;
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(field(links[0], "aggregate_leaderboard_id"), "3");
    EXPECT_EQ(field(links[0], "leaderboard_pushing_changes_id"), "1");
}

TEST_F(LeaderboardRoutesTest, FixturesWithoutIdsOrWithBadFlagsAreReported)
{
    std::string error;
    auto fixtures = parseFixtures("[leaderboard]\nname = x\n[leaderboard]\nid = 9\nactive = maybe\n"
                                  "[leaderboard_aggregation]\naggregate = 9\n[leaderboard]\nid = 8\nvisible = 0\n",
                                  "test.ini", error);
    ASSERT_TRUE(fixtures) << error;
    LeaderboardStore store;
    std::string problems = store.load(*fixtures);
    EXPECT_NE(problems.find("test.ini:1: a leaderboard needs an id"), std::string::npos) << problems;
    EXPECT_NE(problems.find("active is not 1 or 0"), std::string::npos) << problems;
    EXPECT_NE(problems.find("an aggregation needs aggregate and feeds"), std::string::npos) << problems;
    ASSERT_EQ(store.definitions().size(), 1u);
    EXPECT_EQ(store.definitions()[0].id, "8");
    EXPECT_FALSE(store.definitions()[0].visible);
}

}  // namespace
