// The leaderboard list as the player sees it, online and offline.
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HalcyonDashboard.h"
#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "gamepages/highscores/HCHighScoreController.h"
#include "gamepages/leaderboards/HCLeaderboardController.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Fixtures.h"
#include "uiframework/HCControllerLoader.h"

namespace {

constexpr const char* kBoards = "client_applications/@me/leaderboards.xml";

class LeaderboardPageTest : public pagetest::PageHarness {};

TEST_F(LeaderboardPageTest, ListsTheGamesBoardsAndOpensTheTappedOnesScores)
{
    startOnline();
    openPage("Leaderboard");
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"High Score", "Fewest Moves", "Total Score"}));
    EXPECT_EQ(requestsTo(kBoards), 1u);
    EXPECT_FALSE(lastParam(kBoards, "compared_user_id"));

    ASSERT_TRUE(tapRow("Fewest Moves"));
    waitForIdle();
    auto scores = topPageAs<HCHighScoreController>();
    ASSERT_TRUE(scores);
    EXPECT_EQ(scores->title(), "Fewest Moves");
    EXPECT_EQ(*scores->leaderboard()->resourceId(), "2");
}

TEST_F(LeaderboardPageTest, OfflineListsTheDevicesCopyWithoutAskingTheServer)
{
    startOffline();
    openPage("Leaderboard");
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"High Score", "Fewest Moves"}));
    EXPECT_EQ(requestsTo(kBoards), 0u);
}

TEST_F(LeaderboardPageTest, AnotherGamesEmptyListSaysSoWithItsName)
{
    startOnline();
    openPage("Leaderboard", [](const platform::ui::ViewControllerPtr& page) {
        auto info = HCResource::initWithId<HCGameProfilePageInfo>(std::string("77"));
        info->setName(std::string("Other Game"));
        std::dynamic_pointer_cast<HCLeaderboardController>(page)->setGameProfileInfo(info);
    });
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"(There are no leaderboards for Other Game)"}));
    EXPECT_EQ(requestsTo("client_applications/77/leaderboards.xml"), 1u);
}

TEST_F(LeaderboardPageTest, AChangedProfileReloadsAndDropsTheComparisonThePageCannotShow)
{
    startOnline();
    auto page = openPage("Leaderboard");
    auto navigation = std::dynamic_pointer_cast<HCFramedNavigationController>(
        HalcyonDashboard::getActiveNavigationController());
    ASSERT_TRUE(navigation);
    auto ben = HCResource::initWithId<HCUser>(std::string(localserver::defaults::kOtherUserId));
    ASSERT_TRUE(navigation->changeProfileUsers(page, Halcyon::localUser(), ben));
    waitForIdle();
    EXPECT_EQ(requestsTo(kBoards), 2u);
    EXPECT_FALSE(lastParam(kBoards, "compared_user_id"));
    // Telling it the same players again is no change.
    navigation->changeProfileUsers(page, Halcyon::localUser(), nullptr);
    waitForIdle();
    EXPECT_EQ(requestsTo(kBoards), 2u);
}

TEST_F(LeaderboardPageTest, APageComparedAtItsPushAsksForTheComparedPlayersScores)
{
    startOnline();
    seedScore(localserver::defaults::kOtherUserId, "1", 900);
    auto page = HCControllerLoader::load("Leaderboard");
    ASSERT_TRUE(pushComparedWithBen(page));
    waitForIdle();
    EXPECT_EQ(lastParam(kBoards, "compared_user_id"), std::optional<std::string>("1002"));
    EXPECT_EQ(screenRows().size(), 3u);
}

TEST_F(LeaderboardPageTest, TheLaunchWithABoardsIdOpensItsScoresOverTheList)
{
    startOnline();
    Halcyon::launchDashboardWithHighscorePage("2");
    waitForIdle();
    auto scores = topPageAs<HCHighScoreController>();
    ASSERT_TRUE(scores);
    EXPECT_EQ(*scores->leaderboard()->resourceId(), "2");
    auto stack = HalcyonDashboard::getActiveNavigationController()->viewControllers();
    ASSERT_GE(stack.size(), 2u);
    EXPECT_TRUE(std::dynamic_pointer_cast<HCLeaderboardController>(stack[stack.size() - 2]));

    // An id that names no board opens the list alone.
    Halcyon::launchDashboardWithHighscorePage("99");
    waitForIdle();
    EXPECT_TRUE(topPageAs<HCLeaderboardController>());
}

}  // namespace
