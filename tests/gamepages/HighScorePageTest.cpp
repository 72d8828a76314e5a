// The score page of one leaderboard as the player sees it: both rankings
// in one table, the tabs, offline, distances, bragging and failures.
#include "core/halcyon/Halcyon.h"
#include "gamepages/highscores/HCHighScoreController.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Fixtures.h"
#include "platform/ui/Label.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"

namespace {

constexpr const char* kScores = "client_applications/@me/high_scores.xml";

class HighScorePageTest : public pagetest::PageHarness {
protected:
    std::shared_ptr<HCTableControllerHelper> openBoard(const std::string& id)
    {
        return openPage("HighScore", [id](const platform::ui::ViewControllerPtr& page) {
            auto board = HCLeaderboardService::getLeaderboard(id);
            ASSERT_TRUE(board);
            std::dynamic_pointer_cast<HCHighScoreController>(page)->setLeaderboard(board);
        });
    }
    void seedBoard()
    {
        seedScore(localserver::defaults::kUserId, "1", 500);
        seedScore(localserver::defaults::kOtherUserId, "1", 900, 3 * 86400);
        seedScore("2001", "1", 700);
    }
};

TEST_F(HighScorePageTest, ShowsBothRankingsAsOneTableWithTheFriendsSecond)
{
    startOnline();
    seedBoard();
    openBoard("1");
    EXPECT_EQ(requestsTo(kScores), 2u);
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[My Score]", "3. Ann | 500", "Share your high score",
                                                      "[Friends]", "1. Ben | 900", "2. Ann | 500", "[High Scores]",
                                                      "1. Ben | 900", "2.  | 700", "3. Ann | 500"}));
    EXPECT_EQ(topPage()->title(), "High Score");
}

TEST_F(HighScorePageTest, ATabPickedWhileALoadRunsReloadsForItsScopeAndTheOldRepliesAreDropped)
{
    startOnline();
    seedBoard();
    auto page = openBoard("1");
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(tapButton("This week"));
        ASSERT_TRUE(tapButton("Today"));
        EXPECT_TRUE(showsLoadingScreen());
    }
    waitForIdle();
    EXPECT_EQ(requestsTo(kScores), 6u);
    // The friends and the global ranking of today, after those of all time
    // and of this week.
    EXPECT_EQ(requestsWithParam(kScores, "interval", "1"), 2u);
    // Ben's score is three days old: only today's ranking shows.
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[My Score]", "2. Ann | 500", "Share your high score",
                                                      "[Friends]", "1. Ann | 500", "[High Scores]", "1.  | 700",
                                                      "2. Ann | 500"}));
    EXPECT_EQ(std::dynamic_pointer_cast<HCHighScoreController>(page)->timeScope(), HCHighScoreController::Today);
}

TEST_F(HighScorePageTest, OfflineShowsTheStoredScoresUnderMyScoresWithoutARequest)
{
    startOffline();
    HCHighScoreService::setHighScore(1234, std::string("1"), true, HCDelegate(), HCDelegate());
    testsupport::drainMain();
    openBoard("1");
    EXPECT_EQ(requestsTo(kScores), 0u);
    EXPECT_TRUE(platform::ui::Driver::findByText("My Scores"));
    const auto rows = screenRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(rows[0].find("1234"), std::string::npos) << rows[0];
}

TEST_F(HighScorePageTest, DistancesAreShownInKilometresUnlessThePlayerChoseMiles)
{
    startOnline();
    ASSERT_TRUE(server->accounts().setPosition(localserver::defaults::kUserId, {59.9139, 10.7522, true}));
    seedScore("2001", "1", 700, 0, std::make_pair(59.9139, 11.0));
    openBoard("1");
    const auto rows = screenRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back(), "1.  | 13.81 kms away | 700");
}

TEST_F(HighScorePageTest, APlayerWithoutAScoreIsNotRankedAndHasNothingToBragAbout)
{
    startOnline();
    scoreQueries->unrankedMyScore = true;
    seedScore(localserver::defaults::kOtherUserId, "1", 900);
    openBoard("1");
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[My Score]", "Ann | Not Ranked", "[Friends]", "1. Ben | 900",
                                                      "[High Scores]", "1. Ben | 900"}));
}

TEST_F(HighScorePageTest, TheBragTextCarriesTheWhole64BitScore)
{
    startOnline();
    seedScore(localserver::defaults::kUserId, "1", 5000000000123LL);
    openBoard("1");
    ASSERT_TRUE(tapRow("Share your high score"));
    EXPECT_TRUE(platform::ui::Driver::findByText(
        "I scored 5000000000123 on the High Score leaderboard in Tolvarine Ruvuru."));
}

TEST_F(HighScorePageTest, AFailedOrDroppedRequestTakesTheLoadingScreenDownAndKeepsTheTable)
{
    startOnline();
    seedBoard();
    openBoard("1");
    const auto shown = screenRows();
    server->faults().injectFor("GET", kScores, localserver::Fault::reply(500, "down"));
    ASSERT_TRUE(tapButton("Today"));
    waitForIdle();
    EXPECT_EQ(screenRows(), shown);

    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(tapButton("This week"));
        EXPECT_TRUE(showsLoadingScreen());
        Halcyon::provider()->destroyAllPendingRequests();
    }
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_EQ(screenRows(), shown);
}

}  // namespace
