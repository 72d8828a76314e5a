// The game opens the dashboard on one page with one call: which tab comes
// up, which page is on top, and what that page shows.
#include <functional>

#include "SocialPagesSupport.h"
#include "accounts/HCUseNewOrOldAccountController.h"
#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Fixtures.h"
#include "platform/foundation/Log.h"
#include "platform/ui/ActionSheet.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCTabBarController.h"
#include "uiframework/HCViewController.h"

namespace {

using socialtest::alertMessages;

HCUserPtr ben()
{
    auto user = HCResource::initWithId<HCUser>(std::string(localserver::defaults::kOtherUserId));
    user->setName("Ben");
    return user;
}

class DashboardShortcutsTest : public pagetest::PageHarness {
protected:
    void SetUp() override
    {
        PageHarness::SetUp();
        usePagesAsTabs({{"GameProfile", ""}, {"MyHalcyon", ""}, {"GameDiscovery", ""}});
        // The harness's tear-down puts the log back.
        platform::setLogSink([this](platform::LogLevel level, const std::string& line) {
            if (level == platform::LogLevel::Warning) warnings.push_back(line);
        });
    }

    // Runs the shortcut; answers "tab: kind of the page on top" once it settled
    // ("" without a dashboard). A web page is not waited for: no browser draws it.
    std::string launch(const std::function<void()>& shortcut)
    {
        shortcut();
        settle();
        auto root = HalcyonDashboard::getRootController();
        auto tabs = root ? std::dynamic_pointer_cast<HCTabBarController>(root->contentController()) : nullptr;
        auto page = std::dynamic_pointer_cast<HCViewController>(topPage());
        if (!tabs || !page) return "";
        if (page->kindName() != "HCApplicationDescriptionController") waitForIdle();
        for (const auto& item : tabs->tabBarItems())
            if (item->viewController() == tabs->selectedViewController()) return item->name() + ": " + page->kindName();
        return "";
    }

    std::vector<std::string> warnings;
};

TEST_F(DashboardShortcutsTest, EachShortcutOpensItsTabWithItsPageShowingItsData)
{
    startOnline();
    const std::vector<std::tuple<std::function<void()>, std::string, std::string>> shortcuts = {
        {&Halcyon::launchDashboardWithWhosPlayingPage, "GameProfile: HCWhosPlayingController", "Ben"},
        {&Halcyon::launchDashboardWithAchievementsPage, "GameProfile: HCAchievementListController", "Unlocked"},
        {&Halcyon::launchDashboardWithListLeaderboardsPage, "GameProfile: HCLeaderboardController", "Fewest Moves"},
        {[] { Halcyon::launchDashboardWithHighscorePage(std::string("2")); }, "GameProfile: HCHighScoreController",
         "Fewest Moves"},
        {&Halcyon::launchDashboardWithChallengesPage, "GameProfile: HCChallengeListController", "Pending"},
        {&Halcyon::launchDashboardWithFindFriendsPage, "MyHalcyon: HCImportFriendsController", "Find by Name"},
        {[] { Halcyon::launchDashboardWithiPurchasePage(std::string("1")); },
         "GameDiscovery: HCApplicationDescriptionController",
         "client_applications/1/application_descriptions.iphone?app_banner_placement=directDashboardLaunch"},
        {&Halcyon::launchDashboardWithInvitePage, "GameProfile: HCSelectInviteTypeController", "Halcyon Friends"},
        {[] { Halcyon::launchDashboardWithSpecificInvite("rivals"); }, "MyHalcyon: HCSelectInviteTypeController",
         "100 coins for each friend who joins"},
        {[] { Halcyon::launchDashboardWithIMToUser(ben(), std::string("Rematch?")); },
         "MyHalcyon: HCConversationController", "Rematch?"},
        {&Halcyon::launchDashboardWithListGlobalChatRoomsPage, "GameProfile: HCSelectChatRoomDefinitionController",
         "Global"},
        {&Halcyon::launchDashboardWithSwitchUserPage, "MyHalcyon: HCUseNewOrOldAccountController",
         "You are playing as Ann."},
        {&Halcyon::launchDashboardWithForumsPage, "GameProfile: HCForumTopicListController", "General"},
    };
    for (const auto& [shortcut, opened, shows] : shortcuts) {
        SCOPED_TRACE(opened);
        EXPECT_EQ(launch(shortcut), opened);
        const std::string screen = platform::ui::Driver::describeScreen();
        EXPECT_NE(screen.find(shows), std::string::npos) << screen;
        Halcyon::dismissDashboard();
        settle();
    }
    EXPECT_TRUE(alertMessages().empty());
    EXPECT_TRUE(warnings.empty()) << ::testing::PrintToString(warnings);
}

TEST_F(DashboardShortcutsTest, NoLeaderboardOpensTheListNoGameOpensNothingAndParentalControlsOnlyAlert)
{
    disallowUserGeneratedContent();
    startOnline();
    EXPECT_EQ(launch([] { Halcyon::launchDashboardWithHighscorePage(std::nullopt); }),
              "GameProfile: HCLeaderboardController");
    Halcyon::dismissDashboard();
    settle();
    EXPECT_EQ(launch([] { Halcyon::launchDashboardWithiPurchasePage(std::nullopt); }), "");
    EXPECT_EQ(launch([] { Halcyon::launchDashboardWithiPurchasePage(std::string()); }), "");
    EXPECT_EQ(warnings.size(), 2u);
    EXPECT_TRUE(alertMessages().empty());

    EXPECT_EQ(launch([] { Halcyon::launchDashboardWithIMToUser(ben(), std::string("Rematch?")); }), "");
    EXPECT_EQ(alertMessages(),
              (std::vector<std::string>{": Instant messaging is disabled due to the parental controls on this device."}));
    EXPECT_EQ(requestsTo("discussions.xml"), 0u);
}

TEST_F(DashboardShortcutsTest, AConversationWithNobodyOpensNothing)
{
    startOnline();
    EXPECT_EQ(launch([] { Halcyon::launchDashboardWithIMToUser(nullptr, std::string("Rematch?")); }), "");
    EXPECT_FALSE(Halcyon::dashboardVisible());
    EXPECT_EQ(warnings.size(), 1u);
    EXPECT_EQ(requestsTo("discussions.xml"), 0u);
}

TEST_F(DashboardShortcutsTest, TheSwitchUserPageStartsANewAccountAndSaysWhenItCannot)
{
    startOnline();
    launch(&Halcyon::launchDashboardWithSwitchUserPage);
    auto page = topPageAs<HCUseNewOrOldAccountController>();
    ASSERT_TRUE(page);
    const std::string failed = std::string(": ") + HCUseNewOrOldAccountController::kFailureMessage;
    {
        // The log-in cannot finish while the request thread is held, however
        // long the machine keeps this thread waiting.
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(driver->tap(page->continueButton()));
        settle();
        EXPECT_TRUE(Halcyon::isBootstrapInProgress());
        EXPECT_TRUE(page->isShowingLoadingScreen());
        // A second log-in while that one runs would be dropped unanswered.
        ASSERT_TRUE(driver->tap(page->continueButton()));
        settle();
        EXPECT_EQ(alertMessages(), (std::vector<std::string>{failed}));
    }

    Halcyon::sessionFailureWithException(nullptr);
    settle();
    EXPECT_FALSE(page->isShowingLoadingScreen());
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{failed, failed}));
}

TEST_F(DashboardShortcutsTest, ANewAccountThatFailsWhileAnotherTabIsShownTellsNothingThere)
{
    startOnline();
    launch(&Halcyon::launchDashboardWithSwitchUserPage);
    auto page = topPageAs<HCUseNewOrOldAccountController>();
    ASSERT_TRUE(page);
    auto tabs = page->tabBarController();
    ASSERT_TRUE(tabs);
    const int home = tabs->selectedIndex();
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(driver->tap(page->continueButton()));
        settle();
        ASSERT_TRUE(driver->tapTab(tabs, (home + 1) % static_cast<int>(tabs->viewControllers().size())));
        settle();
    }
    Halcyon::sessionFailureWithException(nullptr);
    settle();
    EXPECT_TRUE(alertMessages().empty());

    ASSERT_TRUE(driver->tapTab(tabs, home));
    settle();
    EXPECT_EQ(topPage(), page);
    EXPECT_FALSE(page->isShowingLoadingScreen());
    EXPECT_TRUE(alertMessages().empty());
}

TEST_F(DashboardShortcutsTest, ASheetThatAsksFirstCoversTheTabbedDashboardNotJustTheFrame)
{
    startOnline();
    ASSERT_TRUE(openPage("UserSetting") && tapRightBarButton());
    ASSERT_EQ(platform::ui::ActionSheet::visibleSheets().size(), 1u);
    EXPECT_EQ(platform::ui::ActionSheet::visibleSheets()[0]->originView(),
              HalcyonDashboard::getRootController()->contentController()->view());
}

}  // namespace
