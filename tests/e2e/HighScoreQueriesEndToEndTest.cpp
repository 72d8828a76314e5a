// Reading scores back from the local server: each query's parameters on the
// wire, in order, and its reply read into scores, sections and headers.
#include <gtest/gtest.h>

#include "core/users/HCUser.h"
#include "e2e/support/HighScoreServerTest.h"
#include "platform/ui/Location.h"
#include "scores/offline/HCOfflineHooks.h"

namespace {

constexpr const char* kPath = "client_applications/@me/high_scores.xml";
using localserver::Params;

class HighScoreQueriesTest : public HighScoreServerTest {
protected:
    // The last request to the scores path: its parameters, OAuth left out.
    Params lastParams() const
    {
        auto sent = requestsTo(kPath);
        return sent.empty() ? Params{} : sent.back().request.params;
    }
    std::shared_ptr<HCTableSectionDescription> section(const Outcome& outcome, std::size_t index) const
    {
        return outcome.series && index < outcome.series->count()
                   ? platform::as<HCTableSectionDescription>(outcome.series->objectAtIndex(index))
                   : nullptr;
    }
};

TEST_F(HighScoreQueriesTest, PageQueriesAreSectionedWithThePlayersOwnScore)
{
    // Board 1 ranks higher first: 2001..2012 hold 100..1200; the player has
    // 650 (rank 8 of 14, behind its friend 1002's old 5000).
    for (int i = 1; i <= 12; ++i) seed(std::to_string(2000 + i), "1", 100 * i);
    seed("1001", "1", 650);
    seed("1001", "1", 600);  // not the player's best
    seed("1002", "1", 5000, 3 * 86400);

    Outcome page;
    HCHighScoreService::getPage(2, 5, "1", std::nullopt, false, true, 0, page.success(), page.failed());
    ASSERT_TRUE(waitFor(page));
    EXPECT_EQ(lastParams(), (Params{{"leaderboard_id", "1"}, {"page", "2"}, {"page_size", "5"}, {"uses_gc", "0"}}));
    ASSERT_EQ(page.series->count(), 2u);
    auto mine = section(page, 0);
    auto scoresSection = section(page, 1);
    ASSERT_TRUE(mine && scoresSection);
    EXPECT_EQ(mine->title(), "My Score");
    auto own = highScoresOf(mine->page());
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0]->score(), 650);
    EXPECT_EQ(own[0]->rank(), 8);
    EXPECT_EQ(*own[0]->user()->resourceId(), "1001");
    // Page 2 of five: ranks 6..10, with the header of 14 players.
    auto listed = highScoresOf(scoresSection->page());
    EXPECT_EQ(valuesOf(listed), (std::vector<std::int64_t>{800, 700, 650, 600, 500}));
    EXPECT_EQ(listed[0]->rank(), 6);
    ASSERT_TRUE(scoresSection->page()->header());
    EXPECT_EQ(scoresSection->page()->header()->currentPage(), 2u);
    EXPECT_EQ(scoresSection->page()->header()->totalPages(), 3u);
    EXPECT_EQ(listed[0]->displayText(), "800");
    EXPECT_EQ(listed[0]->toHighRankText(), "99,999+");
    EXPECT_FALSE(listed[0]->hasBlob());

    // Friends of the last two days, compared with 1002: only the player is
    // left; the friend's score is too old, and its section stays empty.
    Outcome friends;
    HCHighScoreService::getPage(1, "1", "1002", true, false, 2, friends.success(), friends.failed());
    ASSERT_TRUE(waitFor(friends));
    EXPECT_EQ(lastParams(), (Params{{"leaderboard_id", "1"},
                                    {"page", "1"},
                                    {"page_size", "25"},
                                    {"interval", "2"},
                                    {"friends_leaderboard", "1"},
                                    {"follower_id", "me"},
                                    {"compared_user_id", "1002"},
                                    {"uses_gc", "0"}}));
    ASSERT_EQ(friends.series->count(), 3u);
    EXPECT_EQ(section(friends, 1)->title(), "Compared Score");
    EXPECT_TRUE(highScoresOf(section(friends, 1)->page()).empty());
    EXPECT_EQ(section(friends, 2)->title(), "Friends");
    EXPECT_EQ(valuesOf(highScoresOf(section(friends, 2)->page())), (std::vector<std::int64_t>{650}));
    EXPECT_EQ(highScoresOf(section(friends, 0)->page())[0]->rank(), 1);

    // All time, an empty compared user is not sent; the friend's 5000 leads.
    Outcome allTime;
    HCHighScoreService::getPage(1, "1", "", true, true, allTime.success(), allTime.failed());
    ASSERT_TRUE(waitFor(allTime));
    EXPECT_EQ(lastParams(), (Params{{"leaderboard_id", "1"},
                                    {"page", "1"},
                                    {"page_size", "25"},
                                    {"friends_leaderboard", "1"},
                                    {"follower_id", "me"},
                                    {"uses_gc", "0"}}));
    EXPECT_EQ(valuesOf(highScoresOf(section(allTime, 1)->page())), (std::vector<std::int64_t>{5000, 650}));
}

TEST_F(HighScoreQueriesTest, ScoresAroundThePlayerAndThePageThatHoldsThem)
{
    // Board 2 ranks lower first.
    for (int i = 1; i <= 9; ++i) seed(std::to_string(2000 + i), "2", 10 * i);
    seed("1001", "2", 55);

    Outcome near;
    HCHighScoreService::getHighScoreNearCurrentUserForLeaderboard("2", 2, 1, near.success(), near.failed());
    ASSERT_TRUE(waitFor(near));
    EXPECT_EQ(lastParams(),
              (Params{{"leaderboard_id", "2"}, {"near_user_id", "me"}, {"better_count", "2"}, {"worse_count", "1"}}));
    auto around = highScoresOf(near.series);
    EXPECT_EQ(valuesOf(around), (std::vector<std::int64_t>{40, 50, 55, 60}));
    EXPECT_EQ(around[2]->rank(), 6);

    Outcome withMe;
    HCHighScoreService::getPageWithLoggedInUserWithPageSize(4, "2", true, withMe.success(), withMe.failed());
    ASSERT_TRUE(waitFor(withMe));
    EXPECT_EQ(lastParams(), (Params{{"leaderboard_id", "2"}, {"near_user_id", "me"}, {"page_size", "4"}}));
    EXPECT_EQ(valuesOf(highScoresOf(withMe.series)), (std::vector<std::int64_t>{50, 55, 60, 70}));
    EXPECT_EQ(withMe.series->header()->currentPage(), 2u);

    // A board the player has no score on: nothing around nobody.
    Outcome none;
    HCHighScoreService::getHighScoreNearCurrentUserForLeaderboard("1", 3, 3, none.success(), none.failed());
    ASSERT_TRUE(waitFor(none));
    EXPECT_TRUE(highScoresOf(none.series).empty());
}

TEST_F(HighScoreQueriesTest, LocationAllOfMineAndTheDistributedRange)
{
    // Positions come with the batch that posted the score.
    auto placed = [&](const std::string& user, std::int64_t score, double lat, double lng) {
        localserver::StoredScore posted;
        posted.userId = user;
        posted.leaderboardId = "1";
        posted.score = score;
        posted.latitude = lat;
        posted.longitude = lng;
        scores->accept(posted);
    };
    placed("2001", 300, 51.5, -0.12);   // London
    placed("2002", 200, 48.85, 2.35);   // Paris, about 213 miles away
    placed("2003", 100, 40.7, -74.0);   // New York
    seed("2004", "1", 900);             // no position

    Outcome bare;
    HCHighScoreService::getHighScoresFromLocation(nullptr, 0, 1, "1", bare.success(), bare.failed());
    ASSERT_TRUE(waitFor(bare));
    EXPECT_EQ(lastParams(), (Params{{"geolocation", "1"}, {"page", "1"}, {"leaderboard_id", "1"}}));
    EXPECT_EQ(valuesOf(highScoresOf(bare.series)), (std::vector<std::int64_t>{300, 200, 100}));

    Outcome nearby;
    HCHighScoreService::getHighScoresFromLocation(platform::ui::Location::make(51.5, -0.12), 250, 1, "1",
                                                  std::string("score"), nearby.success(), nearby.failed());
    ASSERT_TRUE(waitFor(nearby));
    EXPECT_EQ(lastParams(), (Params{{"geolocation", "1"},
                                    {"page", "1"},
                                    {"leaderboard_id", "1"},
                                    {"radius", "250"},
                                    {"lat", "51.500000"},
                                    {"lng", "-0.120000"},
                                    {"map_me", "score"}}));
    auto local = highScoresOf(nearby.series);
    ASSERT_EQ(valuesOf(local), (std::vector<std::int64_t>{300, 200}));
    EXPECT_NEAR(local[1]->latitude(), 48.85, 1e-6);
    EXPECT_NEAR(local[1]->longitude(), 2.35, 1e-6);
    EXPECT_NEAR(local[1]->distance(), 213, 2);
    EXPECT_EQ(local[1]->rank(), 2);

    seed("1001", "1", 250);
    seed("1001", "2", 7);
    Outcome mine;
    HCHighScoreService::getAllHighScoresForLoggedInUser(mine.success(), mine.failed(), std::nullopt);
    ASSERT_TRUE(waitFor(mine));
    EXPECT_EQ(lastParams(), (Params{{"across_leaderboards", "1"}, {"user_id", "me"}}));
    auto across = highScoresOf(mine.series);
    ASSERT_EQ(across.size(), 2u);
    EXPECT_EQ(*across[0]->leaderboardId(), "1");
    EXPECT_EQ(across[0]->rank(), 3);
    EXPECT_EQ(*across[1]->leaderboardId(), "2");
    EXPECT_EQ(across[1]->rank(), 1);

    // Start and step beyond 32 bits travel whole.
    seed("3001", "3", 10'000'000'000);
    seed("3002", "3", 16'000'000'000);
    seed("3003", "3", 16'500'000'000);
    Outcome range;
    HCHighScoreService::getDistributedHighScoresAtPage(1, 3, 5'000'000'000, 10'000'000'000, "3", range.success(),
                                                       range.failed());
    ASSERT_TRUE(waitFor(range));
    const std::string rangePath = "leaderboards/3/high_scores/range/10000000000/5000000000/1/3.xml";
    ASSERT_EQ(requestsTo(rangePath).size(), 1u);
    EXPECT_TRUE(requestsTo(rangePath)[0].request.params.empty());
    EXPECT_EQ(valuesOf(highScoresOf(range.series)), (std::vector<std::int64_t>{10'000'000'000, 16'500'000'000}));

    // A range of no board fails without a request.
    const auto sent = server->log().entries().size();
    Outcome noBoard;
    EXPECT_FALSE(HCHighScoreService::getDistributedHighScoresAtPage(1, 3, 1, 0, std::nullopt, noBoard.success(),
                                                                    noBoard.failed()));
    ASSERT_TRUE(waitFor(noBoard));
    EXPECT_FALSE(noBoard.series);
    EXPECT_EQ(server->log().entries().size(), sent);
}

TEST_F(HighScoreQueriesTest, LocalScoresHaveDistinctIdsAndNeedNoServer)
{
    online = false;
    for (std::int64_t score : {30, 10, 20}) {
        HCHighScoreService::setHighScore(score, "3", true, HCDelegate(), HCDelegate());
    }
    Outcome local;
    HCHighScoreService::getLocalHighScores("3", local.success(), local.failed());
    ASSERT_TRUE(waitFor(local));
    auto listed = highScoresOf(local.series);
    ASSERT_EQ(valuesOf(listed), (std::vector<std::int64_t>{30, 20, 10}));
    std::set<std::string> ids;
    for (const auto& score : listed) {
        ASSERT_TRUE(score->resourceId());
        EXPECT_GT(std::stoll(*score->resourceId()), 0);
        ids.insert(*score->resourceId());
    }
    EXPECT_EQ(ids.size(), 3u);
    // The reply reader's duplicate filter keeps all three.
    auto empty = HCTableSectionDescription::sectionWithTitle("Local", HCPaginatedSeries::paginatedSeries());
    auto loaded = HCTableSectionDescription::sectionWithTitle("Local", local.series);
    EXPECT_EQ(empty->addContentsOfSectionWhereUnique(loaded, true, false), 3u);
    EXPECT_EQ(loaded->arrayWithoutDuplicates(loaded, true).size(), 0u);

    Outcome nothing;
    HCHighScoreService::getLocalHighScores("1", nothing.success(), nothing.failed());
    ASSERT_TRUE(waitFor(nothing));
    EXPECT_EQ(nothing.series->count(), 0u);
    EXPECT_TRUE(requestsTo(kPath).empty());

    // A child board's score as the server holds it (the bootstrap's copy)
    // counts towards the aggregate the child feeds.
    boards->boards["9"] = {true, false, true};
    boards->parents["1"] = {"9"};
    HCServerScore held;
    held.userId = "1001";
    held.leaderboardId = "1";
    held.score = 250;
    held.serverDate = platform::Date::dateWithTimeIntervalSince1970(1700000000);
    EXPECT_TRUE(HCHighScoreService::recordServerScore(held));
    EXPECT_EQ(valuesOf(HCHighScoreService::getHighScoresLocal("9")), std::vector<std::int64_t>{250});
}

}  // namespace
