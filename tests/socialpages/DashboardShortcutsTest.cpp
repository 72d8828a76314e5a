// The game opens the dashboard on one page with one call: which tab comes
// up, which page is on top, and what that page shows.
#include <fstream>
#include <functional>

#include "SocialPagesSupport.h"
#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "accounts/HCUseNewOrOldAccountController.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HCWebViewController.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Fixtures.h"
#include "platform/foundation/Log.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/WebView.h"
#include "socialpages/conversations/HCConversationController.h"
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
        std::ofstream(bundle.str() + "/TabBarItems.plist") << R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>tabs</key><array>
  <dict><key>name</key><string>GameProfile</string><key>title</key><string>Now Playing</string></dict>
  <dict><key>name</key><string>MyHalcyon</string><key>title</key><string>My Halcyon</string></dict>
  <dict><key>name</key><string>GameDiscovery</string><key>title</key><string>Games</string></dict>
</array></dict></plist>)";
        platform::setLogSink([this](platform::LogLevel level, const std::string& line) {
            if (level == platform::LogLevel::Warning) warnings.push_back(line);
        });
    }

    void TearDown() override
    {
        platform::setLogSink(nullptr);
        PageHarness::TearDown();
    }

    // Runs the shortcut and waits for its page to settle (a web page keeps
    // its loading screen until the page has loaded, which no browser does here).
    void launch(const std::function<void()>& shortcut)
    {
        shortcut();
        settle();
        if (!topPageAs<HCWebViewController>()) waitForIdle();
    }

    // The name of the tab the dashboard shows; "" without a dashboard.
    static std::string shownTab()
    {
        auto root = HalcyonDashboard::getRootController();
        auto tabs = root ? std::dynamic_pointer_cast<HCTabBarController>(root->contentController()) : nullptr;
        if (!tabs) return "";
        for (const auto& item : tabs->tabBarItems())
            if (item->viewController() == tabs->selectedViewController()) return item->name();
        return "";
    }

    std::string topPageKind() const
    {
        auto page = std::dynamic_pointer_cast<HCViewController>(topPage());
        return page ? page->kindName() : "";
    }

    // Whether the top page shows the words: in a row of its table, else in
    // a label or as a button's title.
    bool topPageShows(const std::string& words) const
    {
        if (topPageAs<HCTableControllerHelper>()) {
            const auto rows = screenRows();
            return std::any_of(rows.begin(), rows.end(),
                               [&](const std::string& row) { return row.find(words) != std::string::npos; });
        }
        auto page = topPage();
        return page && (platform::ui::Driver::labelsText(page->view()).find(words) != std::string::npos ||
                        platform::ui::Driver::findByText(page->view(), words));
    }

    void close()
    {
        Halcyon::dismissDashboard();
        settle();
    }

    std::vector<std::string> warnings;
};

struct Shortcut {
    const char* what;
    std::function<void()> open;
    const char* tab;
    const char* page;
    // What the page shows once its data is in (checked elsewhere for the
    // web page and the conversation).
    const char* shows;
};

TEST_F(DashboardShortcutsTest, EachShortcutOpensItsTabWithItsPageOnTop)
{
    startOnline();
    const std::vector<Shortcut> shortcuts = {
        {"who's playing", &Halcyon::launchDashboardWithWhosPlayingPage, "GameProfile",
         "HCWhosPlayingController", "Ben"},
        {"achievements", &Halcyon::launchDashboardWithAchievementsPage, "GameProfile",
         "HCAchievementListController", "Achievements Unlocked"},
        {"leaderboards", &Halcyon::launchDashboardWithListLeaderboardsPage, "GameProfile",
         "HCLeaderboardController", "Fewest Moves"},
        {"high scores", [] { Halcyon::launchDashboardWithHighscorePage(std::string("2")); }, "GameProfile",
         "HCHighScoreController", "Fewest Moves"},
        {"challenges", &Halcyon::launchDashboardWithChallengesPage, "GameProfile",
         "HCChallengeListController", "Pending"},
        {"find friends", &Halcyon::launchDashboardWithFindFriendsPage, "MyHalcyon",
         "HCImportFriendsController", "Import from Facebook"},
        {"game page", [] { Halcyon::launchDashboardWithiPurchasePage(std::string("1")); }, "GameDiscovery",
         "HCApplicationDescriptionController", ""},
        {"invite", &Halcyon::launchDashboardWithInvitePage, "GameProfile",
         "HCSelectInviteTypeController", "Halcyon Friends"},
        {"specific invite", [] { Halcyon::launchDashboardWithSpecificInvite("rivals"); }, "MyHalcyon",
         "HCSelectInviteTypeController", "Halcyon Friends"},
        {"IM", [] { Halcyon::launchDashboardWithIMToUser(ben(), std::string("Rematch?")); }, "MyHalcyon",
         "HCConversationController", ""},
        {"global chat rooms", &Halcyon::launchDashboardWithListGlobalChatRoomsPage, "GameProfile",
         "HCSelectChatRoomDefinitionController", "Global"},
        {"switch user", &Halcyon::launchDashboardWithSwitchUserPage, "MyHalcyon",
         "HCUseNewOrOldAccountController", "You are playing as Ann"},
        {"forums", &Halcyon::launchDashboardWithForumsPage, "GameProfile",
         "HCForumTopicListController", "General"},
    };
    for (const auto& shortcut : shortcuts) {
        SCOPED_TRACE(shortcut.what);
        launch(shortcut.open);
        EXPECT_EQ(shownTab(), shortcut.tab);
        EXPECT_EQ(topPageKind(), shortcut.page);
        if (*shortcut.shows) {
            EXPECT_TRUE(topPageShows(shortcut.shows)) << platform::ui::Driver::describeScreen();
        }
        close();
    }
    EXPECT_TRUE(alertMessages().empty());
    EXPECT_TRUE(warnings.empty()) << ::testing::PrintToString(warnings);
}

TEST_F(DashboardShortcutsTest, TheClassMadePagesCarryWhatTheGameGave)
{
    startOnline();
    launch([] { Halcyon::launchDashboardWithiPurchasePage(std::string("1")); });
    auto info = topPageAs<HCWebViewController>();
    ASSERT_TRUE(info && info->webView()->request());
    EXPECT_NE(info->webView()->request()->url.find(
                  "client_applications/1/application_descriptions.iphone?app_banner_placement=directDashboardLaunch"),
              std::string::npos);
    close();

    launch([] { Halcyon::launchDashboardWithIMToUser(ben(), std::string("Rematch?")); });
    auto conversation = topPageAs<HCConversationController>();
    ASSERT_TRUE(conversation);
    EXPECT_EQ(conversation->conversationUser()->name(), "Ben");
    EXPECT_EQ(conversation->messageBox()->messageField()->text(), "Rematch?");
    // Opened without a conversation, the page started one with Ben.
    EXPECT_TRUE(conversation->conversationId());
}

TEST_F(DashboardShortcutsTest, WithoutALeaderboardTheListAloneOpens)
{
    startOnline();
    launch([] { Halcyon::launchDashboardWithHighscorePage(std::nullopt); });
    EXPECT_EQ(shownTab(), "GameProfile");
    EXPECT_EQ(topPageKind(), "HCLeaderboardController");
    EXPECT_EQ(HalcyonDashboard::getActiveNavigationController()->viewControllers().size(), 2u);
}

TEST_F(DashboardShortcutsTest, WithoutAGameOrAPlayerNothingOpensAndAWarningSaysWhy)
{
    startOnline();
    for (auto shortcut : std::vector<std::function<void()>>{
             [] { Halcyon::launchDashboardWithiPurchasePage(std::nullopt); },
             [] { Halcyon::launchDashboardWithiPurchasePage(std::string()); },
             [] { Halcyon::launchDashboardWithIMToUser(nullptr, std::string("Hi")); }}) {
        shortcut();
        settle();
        EXPECT_FALSE(HalcyonDashboard::getRootController());
    }
    EXPECT_EQ(warnings.size(), 3u);
}

TEST_F(DashboardShortcutsTest, UnderParentalControlsTheIMShortcutShowsOnlyItsAlert)
{
    disallowUserGeneratedContent();
    startOnline();
    Halcyon::launchDashboardWithIMToUser(ben(), std::string("Rematch?"));
    settle();
    EXPECT_FALSE(HalcyonDashboard::getRootController());
    EXPECT_EQ(alertMessages(),
              (std::vector<std::string>{": Instant messaging is disabled due to the parental controls on this device."}));
    EXPECT_EQ(requestsTo("discussions.xml"), 0u);
}

TEST_F(DashboardShortcutsTest, TheSwitchUserPageStartsANewAccountAndSaysWhenItCannot)
{
    startOnline();
    launch(&Halcyon::launchDashboardWithSwitchUserPage);
    auto page = topPageAs<HCUseNewOrOldAccountController>();
    ASSERT_TRUE(page);
    EXPECT_NE(platform::ui::Driver::labelsText(page->view()).find("You are playing as Ann."), std::string::npos);
    ASSERT_TRUE(driver->tap(page->continueButton()));
    settle();
    EXPECT_TRUE(Halcyon::isBootstrapInProgress());
    EXPECT_TRUE(page->isShowingLoadingScreen());

    // A second tap while that log-in runs would be dropped unanswered.
    ASSERT_TRUE(driver->tap(page->continueButton()));
    settle();
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{std::string(": ") +
                                                         HCUseNewOrOldAccountController::kFailureMessage}));

    Halcyon::sessionFailureWithException(nullptr);
    settle();
    EXPECT_FALSE(page->isShowingLoadingScreen());
    EXPECT_EQ(alertMessages().size(), 2u);
}

TEST_F(DashboardShortcutsTest, ASheetThatAsksFirstCoversTheTabbedDashboardNotJustTheFrame)
{
    startOnline();
    ASSERT_TRUE(openPage("UserSetting"));
    ASSERT_TRUE(tapRightBarButton());
    ASSERT_EQ(platform::ui::ActionSheet::visibleSheets().size(), 1u);
    EXPECT_EQ(platform::ui::ActionSheet::visibleSheets()[0]->originView(),
              HalcyonDashboard::getRootController()->contentController()->view());
}

}  // namespace
