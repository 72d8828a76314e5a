// The game page: its buttons by what the game has, its badges, and what it
// does when the service cannot describe the game or cannot be reached.
#include <filesystem>
#include <utility>

#include "core/halcyon/Halcyon.h"
#include "kernel/reachability/HCReachability.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HalcyonDashboard.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "gamepages/discovery/HCFeaturedGameCell.h"
#include "gamepages/gameprofile/HCGameProfileController.h"
#include "gamepages/leaderboards/HCLeaderboardController.h"
#include "gamepages/support/DroppedRequests.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Faults.h"
#include "localserver/XmlWriter.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Driver.h"
#include "uiframework/widgets/HCBadgeButton.h"
#include "uiframework/widgets/HCButtonPanel.h"

namespace {

constexpr const char* kOtherGame = "7";

class GameProfilePageTest : public pagetest::PageHarness {
protected:
    void SetUp() override
    {
        PageHarness::SetUp();
        HCGameProfileController::_resetForumRulesShownForTesting();
        // The Now Playing tab shows the running game's page.
        usePagesAsTabs({{"GameProfile", "Now Playing"}});
        server->accounts().addGame(localserver::Game{kOtherGame, "Other Game", "other-key", "other-secret", "Other"});
    }

    // The server describes every game with these features.
    void serveFeatures(bool leaderboards, bool achievements, bool challenges)
    {
        server->addRoute("GET", "apps/{id}.xml", localserver::Access::User,
                         [=](const localserver::Request& request) {
                             auto info = localserver::XmlNode::parent("game_profile_page_info");
                             info.add("id", request.pathParam("id").value_or(""));
                             info.add("short_name", "Other");
                             info.add("has_leaderboards", leaderboards ? "true" : "false");
                             info.add("has_achievements", achievements ? "true" : "false");
                             info.add("has_challenges", challenges ? "true" : "false");
                             localserver::ResourceList list;
                             list.resources.push_back(std::move(info));
                             return localserver::Reply::xml(localserver::writeFlatReply(list));
                         });
    }

    // The page made, whatever a refusal of its load has put over it since.
    std::shared_ptr<HCGameProfileController> openGame(const std::string& id)
    {
        std::shared_ptr<HCGameProfileController> made;
        openPage("GameProfile", [&](const platform::ui::ViewControllerPtr& page) {
            made = std::dynamic_pointer_cast<HCGameProfileController>(page);
            made->setClientApplicationId(id);
        });
        return made;
    }

    // "title@row" for each slot of the grid in order, "-" for an empty slot.
    static std::vector<std::string> grid(const HCGameProfileController& page)
    {
        std::vector<std::string> out;
        const auto& panel = *page.buttonPanel();
        for (unsigned position = 0; position < 6; ++position) {
            auto button = panel.buttonAtPosition(position);
            out.push_back(button ? button->titleForState(platform::ui::ControlStateNormal).value_or("?") + "@" +
                                       std::to_string(position / panel.numColumns())
                                 : "-");
        }
        return out;
    }

    static std::vector<std::string> alertTitles()
    {
        std::vector<std::string> out;
        for (const auto& alert : platform::ui::AlertView::visibleAlerts()) {
            out.push_back(alert->title().empty() ? alert->message() : alert->title());
        }
        return out;
    }
};

TEST_F(GameProfilePageTest, AnotherGameIsFetchedAndItsGridFollowsTheOrientation)
{
    startOnline();
    serveFeatures(true, false, true);
    auto page = openGame(kOtherGame);
    ASSERT_TRUE(page);
    EXPECT_EQ(requestsTo("apps/7.xml"), 1u);
    EXPECT_EQ(page->title(), "Other");
    auto framed = std::dynamic_pointer_cast<HCFramedNavigationController>(page->navigationController());
    ASSERT_TRUE(framed && framed->currentGameContext());
    EXPECT_EQ(framed->currentGameContext()->resourceId(), std::string(kOtherGame));
    EXPECT_EQ(grid(*page), (std::vector<std::string>{"Leaderboards@0", "Challenges@0", "Discussions@1", "Fan Club@1",
                                                     "Who's Playing@2", "-"}));
    // Badges belong to the running game's page only.
    Halcyon::postUnreadAnnouncementCountChangedTo(0);
    EXPECT_EQ(page->challengesButton()->badgeNumber(), 0u);

    // A small screen's dashboard turns only while closed.
    Halcyon::dismissDashboard();
    settle();
    Halcyon::setDashboardOrientation(static_cast<int>(platform::ui::InterfaceOrientation::LandscapeLeft));
    page = openGame(kOtherGame);
    ASSERT_TRUE(page);
    EXPECT_EQ(grid(*page), (std::vector<std::string>{"Leaderboards@0", "Challenges@0", "Discussions@0", "Fan Club@1",
                                                     "Who's Playing@1", "-"}));
}

TEST_F(GameProfilePageTest, AFailedOrEmptyReplyLeavesOnlyTheButtonsThatNeedNoFeatures)
{
    startOnline();
    auto page = openGame("77");  // not on the server
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->gameProfileInfo());
    // Nothing of the game's own: one column of wide buttons.
    EXPECT_EQ(grid(*page), (std::vector<std::string>{"Discussions@0", "Fan Club@1", "Who's Playing@2", "-", "-", "-"}));

    server->addRoute("GET", "apps/{id}.xml", localserver::Access::User, [](const localserver::Request&) {
        return localserver::Reply::xml(localserver::writeFlatReply(localserver::ResourceList{}));
    });
    auto empty = openGame(kOtherGame);
    ASSERT_TRUE(empty);
    EXPECT_EQ(requestsTo("apps/7.xml"), 1u);
    EXPECT_FALSE(empty->gameProfileInfo());
    EXPECT_FALSE(showsLoadingScreen());
    // An empty reply is a failure: the game in context is not wiped.
    auto framed = std::dynamic_pointer_cast<HCFramedNavigationController>(empty->navigationController());
    ASSERT_TRUE(framed);
    EXPECT_TRUE(framed->currentGameContext());
    EXPECT_EQ(grid(*empty)[0], "Discussions@0");
}

// What a button looks like: a grid button's background by its row (top,
// middle, bottom), a wide button's bevel; both stretch from fixed edges.
TEST_F(GameProfilePageTest, GridButtonsTakeTheirRowsBackgroundAndAGameWithoutListsGetsWideBevelledButtons)
{
    for (const char* name : {"HCGameProfileButtonTop", "HCGameProfileButtonMiddle", "HCGameProfileButtonBottom",
                             "HCButtonBevel"}) {
        addBundleImage(std::string(name) + ".png");
        addBundleImage(std::string(name) + "Hit.png");
    }
    startOnline();
    auto looks = [](const platform::ui::ButtonPtr& button) {
        auto normal = button->backgroundImageForState(platform::ui::ControlStateNormal);
        auto hit = button->backgroundImageForState(platform::ui::ControlStateHighlighted);
        if (!normal || !hit) return std::string("none");
        return normal->name() + "/" + hit->name() + " " + std::to_string(normal->leftCapWidth()) + "x" +
               std::to_string(normal->topCapHeight());
    };
    serveFeatures(true, false, true);
    auto page = openGame(kOtherGame);
    ASSERT_TRUE(page);
    const auto& panel = *page->buttonPanel();
    EXPECT_EQ(looks(panel.buttonAtPosition(0)), "HCGameProfileButtonTop.png/HCGameProfileButtonTopHit.png 1x1");
    EXPECT_EQ(looks(panel.buttonAtPosition(2)), "HCGameProfileButtonMiddle.png/HCGameProfileButtonMiddleHit.png 1x1");
    EXPECT_EQ(looks(panel.buttonAtPosition(4)), "HCGameProfileButtonBottom.png/HCGameProfileButtonBottomHit.png 1x1");

    server->addRoute("GET", "apps/{id}.xml", localserver::Access::User, [](const localserver::Request& request) {
        auto info = localserver::XmlNode::parent("game_profile_page_info");
        info.add("id", request.pathParam("id").value_or(""));
        info.add("short_name", "Plain");
        localserver::ResourceList list;
        list.resources.push_back(std::move(info));
        return localserver::Reply::xml(localserver::writeFlatReply(list));
    });
    auto plain = openGame(kOtherGame);
    ASSERT_TRUE(plain && plain->gameProfileInfo());
    EXPECT_EQ(grid(*plain), (std::vector<std::string>{"Discussions@0", "Fan Club@1", "Who's Playing@2", "-", "-", "-"}));
    for (unsigned position = 0; position < 3; ++position) {
        auto button = plain->buttonPanel()->buttonAtPosition(position);
        ASSERT_TRUE(button);
        EXPECT_EQ(looks(button), "HCButtonBevel.png/HCButtonBevelHit.png 0x1") << position;
        EXPECT_EQ(button->frame().size, (platform::ui::Size{308, 65})) << position;
    }
    // The wide buttons lead where the grid's do.
    ASSERT_TRUE(tapButton("Fan Club"));
    waitForIdle();
    EXPECT_EQ(lastParam("client_application_users/fan_club", "client_application_id"), std::string(kOtherGame));
}

// On a large screen the game's page is the one under a navigation bar: its
// grid starts below the bar.
TEST_F(GameProfilePageTest, OnALargeScreenAnotherGameOpensInThePageWithANavigationBar)
{
    platform::DeviceFacts::setLargeScreen(true);
    startOnline();
    serveFeatures(true, true, false);
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    waitForIdle();
    auto page = HCGameProfileController::showGameProfileWithClientApplicationId(std::string(kOtherGame));
    ASSERT_TRUE(page);
    settle();
    waitForIdle();
    ASSERT_EQ(topPage(), page);
    EXPECT_EQ(requestsTo("apps/7.xml"), 1u);
    EXPECT_EQ(page->title(), "Other");
    // A large screen's dashboard stands in landscape: three columns.
    EXPECT_EQ(grid(*page), (std::vector<std::string>{"Leaderboards@0", "Achievements@0", "Discussions@0",
                                                     "Fan Club@1", "Who's Playing@1", "-"}));
    EXPECT_GE(page->buttonPanel()->frameForPosition(0).minY(), HCButtonPanel::kNavigationBarHeight);
    EXPECT_EQ(page->buttonPanel()->buttonAtPosition(0)->frame().size, (platform::ui::Size{210, 149}));
}

TEST_F(GameProfilePageTest, ButtonsOpenTheGamesPages)
{
    startOnline();
    serveFeatures(true, true, true);
    auto page = openGame(kOtherGame);
    ASSERT_TRUE(page);
    ASSERT_TRUE(tapButton("Leaderboards"));
    waitForIdle();
    auto boards = topPageAs<HCLeaderboardController>();
    ASSERT_TRUE(boards);
    ASSERT_TRUE(boards->gameProfileInfo());
    EXPECT_EQ(boards->gameProfileInfo()->resourceId(), std::string(kOtherGame));
    EXPECT_EQ(requestsTo("client_applications/7/leaderboards.xml"), 1u);
    driver->tapBack();
    settle();

    ASSERT_EQ(topPage(), page);
    ASSERT_TRUE(tapButton("Fan Club"));
    waitForIdle();
    // The fan club is of the game the page shows.
    EXPECT_EQ(lastParam("client_application_users/fan_club", "client_application_id"), std::string(kOtherGame));
    driver->tapBack();
    settle();
    ASSERT_TRUE(tapButton("Who's Playing"));
    waitForIdle();
    EXPECT_EQ(lastParam("users.xml", "with_client_application"), std::string(kOtherGame));
    driver->tapBack();
    settle();
    ASSERT_TRUE(tapButton("Challenges"));
    waitForIdle();
    EXPECT_EQ(lastParam("challenges_users.xml", "client_application_id"), std::string(kOtherGame));
    driver->tapBack();
    settle();

    // The forum's rules come with the first press only.
    ASSERT_TRUE(tapButton("Discussions"));
    EXPECT_EQ(alertTitles(), (std::vector<std::string>{HCGameProfileController::kForumRulesMessage}));
    ASSERT_TRUE(platform::ui::AlertView::visibleAlerts().front()->clickButton(0));
    settle();
    EXPECT_TRUE(Halcyon::dashboardVisible());
    // The forum pages have landed: the press opens the game's topics.
    EXPECT_NE(topPage(), page);
    driver->tapBack();
    settle();
    ASSERT_EQ(topPage(), page);
    ASSERT_TRUE(tapButton("Discussions"));
    EXPECT_TRUE(alertTitles().empty());
}

TEST_F(GameProfilePageTest, TheRunningGamesBadgesFollowTheCounts)
{
    startOnline();
    serveFeatures(true, true, true);
    openPage("Leaderboard");  // the tab's root page is the running game's
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    ASSERT_TRUE(navigation);
    auto root = std::dynamic_pointer_cast<HCGameProfileController>(navigation->viewControllers().front());
    ASSERT_TRUE(root);
    Halcyon::postUnreadAnnouncementCountChangedTo(3);
    Halcyon::postUnviewedChallengeCountChangedTo(2);
    settle();
    EXPECT_EQ(root->fanClubButton()->badgeNumber(), 3u);
    // The stored game has no challenges: its count stays off the page.
    EXPECT_EQ(root->challengesButton()->badgeNumber(), 0u);
    auto tab = root->owningTabBarItem();
    ASSERT_TRUE(tab);
    EXPECT_EQ(tab->tabBarItem()->badgeValue(), std::optional<std::string>("3"));

    // A running game with challenges counts the unviewed ones on its button and its tab.
    auto game = Halcyon::localGameProfileInfo();
    game->setHasChallenges(std::string("true"));
    Halcyon::setLocalGameProfileInfo(game);
    Halcyon::setUnviewedChallengesCount(1);
    root->profileUsersChanged(nullptr, nullptr);  // reads the game again
    waitForIdle();
    EXPECT_EQ(root->challengesButton()->badgeNumber(), 1u);
    Halcyon::postUnviewedChallengeCountChangedTo(2);
    settle();
    EXPECT_EQ(root->challengesButton()->badgeNumber(), 2u);
    // The redraw took the announcements' own count onto the fan club; the
    // log-in's download of them may or may not have landed by now.
    EXPECT_EQ(tab->tabBarItem()->badgeValue(), std::to_string(2 + root->fanClubButton()->badgeNumber()));
}

TEST_F(GameProfilePageTest, TheFeaturedGameBannerShowsOnlyWhileThePageIsAloneOnItsTab)
{
    startOnline();
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    waitForIdle();
    auto frame =
        std::dynamic_pointer_cast<HCFramedNavigationController>(HalcyonDashboard::getActiveNavigationController());
    auto banner = std::dynamic_pointer_cast<HCFeaturedGameCell>(frame->featuredBanner());
    ASSERT_TRUE(banner);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return banner->resource() != nullptr; }));
    // A page pushed over it (the fan club) shows none; back on top, the game's page has it again.
    ASSERT_TRUE(tapButton("Fan Club"));
    waitForIdle();
    EXPECT_FALSE(frame->featuredBanner());
    ASSERT_TRUE(driver->tapBack());
    settle();
    EXPECT_TRUE(std::dynamic_pointer_cast<HCFeaturedGameCell>(frame->featuredBanner()));
}

TEST_F(GameProfilePageTest, ALaunchOntoNowPlayingGivesThePushedPageTheRunningGame)
{
    startOnline();
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {platform::String::make("Leaderboard")});
    settle();
    waitForIdle();
    auto boards = topPageAs<HCLeaderboardController>();
    ASSERT_TRUE(boards);
    ASSERT_TRUE(boards->gameProfileInfo());
    EXPECT_EQ(boards->gameProfileInfo()->resourceId(), std::string("1"));
}

TEST_F(GameProfilePageTest, OfflineWithNothingOnTheDeviceSaysSoAndItsAnswerClosesTheDashboard)
{
    // The game keeps no leaderboards on the device; the connection goes
    // while the page is shown.
    std::filesystem::remove(bundle.str() + "/halcyon_offline_config.xml");
    startOnline();
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    auto page = topPageAs<HCGameProfileController>();
    ASSERT_TRUE(page);
    HCReachability::Instance()->setOverride(HCReachability::NotReachable);
    settle();
    ASSERT_FALSE(Halcyon::isOnline());
    // The client turns its dashboard offline, which tells the page.
    Halcyon::switchToOfflineDashboard();
    settle();
    for (unsigned position = 0; position < 6; ++position) {
        auto button = page->buttonPanel()->buttonAtPosition(position);
        EXPECT_TRUE(!button || !button->isEnabled()) << position;
    }
    ASSERT_EQ(alertTitles(), (std::vector<std::string>{HCGameProfileController::kNoOfflineSupportTitle}));
    ASSERT_TRUE(platform::ui::AlertView::visibleAlerts().front()->clickButton(0));
    settle();
    EXPECT_FALSE(Halcyon::dashboardVisible());

    // An approved player has nothing to approve: no loading screen stays up.
    page->pressedEnableHalcyon();
    EXPECT_FALSE(page->isShowingLoadingScreen());
}

// Offline only the grid's buttons to the service's pages are disabled; the
// wide ones stay. The service refuses a player it has not logged in, and
// each refusal brings the dashboard's "cannot reach the service" page over
// the page whose load it was: first over the game page, then over each page
// a wide button opens; the player comes back the way they went.
//
// The refusal's page comes a moment after the refusal, on the test's clock,
// so the test lets every refusal in (waitForReplies) before it moves the
// clock, and reads which page lies under the error page: whichever comes
// first on a busy machine, the page it sees is the one that load brought.
TEST_F(GameProfilePageTest, OfflineTheWideButtonsStayEnabledAndLeadToTheirPagesAndBack)
{
    const std::string unableToLogin = "Unable to login to Halcyon. Restart to try again.";
    // The error page on top, and the kind of the page it came over.
    auto errorOver = [&]() -> std::string {
        waitForReplies();
        settle();
        auto navigation = HalcyonDashboard::getActiveNavigationController();
        const auto& stack = navigation->viewControllers();
        if (stack.size() < 2 || !platform::ui::Driver::findByText(unableToLogin)) return "no error page";
        return stack[stack.size() - 2]->kindName();
    };
    startOffline();
    auto page = openGame(kOtherGame);
    ASSERT_TRUE(page);
    ASSERT_EQ(grid(*page), (std::vector<std::string>{"Discussions@0", "Fan Club@1", "Who's Playing@2", "-", "-", "-"}));
    EXPECT_TRUE(alertTitles().empty());
    ASSERT_EQ(errorOver(), "HCGameProfileController") << platform::ui::Driver::describeScreen();

    // Back on the game page it asks again; from now on the service fails
    // that request without refusing the player, so the game page stays
    // under the player's finger and the next error page can only be the one
    // the button's page brings.
    server->faults().injectFor("GET", "apps/" + std::string(kOtherGame) + ".xml",
                               localserver::Fault::reply(500), localserver::Faults::kUntilCleared);
    ASSERT_TRUE(driver->tapBack());
    settle();
    waitForIdle();
    settle();
    ASSERT_EQ(topPage(), page) << platform::ui::Driver::describeScreen();

    // The fan club's rows need nothing from the service: its page comes
    // with no error page over it.
    struct Pressed {
        const char* title;
        const char* opened;
        bool loads;
    };
    const Pressed pressed[] = {
        {"Discussions", "HCForumTopicListController", true},
        {"Fan Club", "HCFanClubController", false},
        {"Who's Playing", "HCWhosPlayingController", true},
    };
    for (const auto& [title, opened, loads] : pressed) {
        SCOPED_TRACE(title);
        ASSERT_TRUE(tapButton(title));
        for (const auto& alert : platform::ui::AlertView::visibleAlerts()) alert->clickButton(0);
        if (loads) {
            EXPECT_EQ(errorOver(), opened) << platform::ui::Driver::describeScreen();
            ASSERT_TRUE(driver->tapBack());
        }
        settle();
        waitForIdle();
        settle();
        EXPECT_EQ(topPage()->kindName(), opened) << platform::ui::Driver::describeScreen();
        EXPECT_FALSE(showsLoadingScreen());
        ASSERT_TRUE(driver->tapBack());
        settle();
        waitForIdle();
        settle();
        ASSERT_EQ(topPage(), page) << platform::ui::Driver::describeScreen();
    }
}

TEST_F(GameProfilePageTest, AnotherGameWhoseRequestTheProviderDropsShowsTheButtonsThatNeedNoFeatures)
{
    startOnline();
    serveFeatures(true, true, true);
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    waitForIdle();
    std::shared_ptr<HCGameProfileController> page;
    pagetest::dropRequestsMadeBy([&] {
        page = HCGameProfileController::showGameProfileWithClientApplicationId(std::string(kOtherGame), nullptr);
        settle();
        ASSERT_TRUE(page);
        EXPECT_EQ(topPage(), page);
        EXPECT_TRUE(page->isShowingLoadingScreen());
    });
    ASSERT_TRUE(page);
    waitForIdle();
    EXPECT_FALSE(page->isShowingLoadingScreen());
    EXPECT_EQ(requestsTo("apps/7.xml"), 0u);
    EXPECT_FALSE(page->gameProfileInfo());
    std::vector<std::string> offered;
    for (const auto& slot : grid(*page))
        if (slot != "-") offered.push_back(slot.substr(0, slot.find('@')));
    EXPECT_EQ(offered, (std::vector<std::string>{"Discussions", "Fan Club", "Who's Playing"}));
}

}  // namespace
