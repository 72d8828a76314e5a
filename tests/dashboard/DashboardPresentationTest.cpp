// Opening, queueing, dismissing and the error screens of the dashboard, as
// the game sees them through Halcyon, with the UI driver on a manual clock.
#include "dashboard/support/DashboardTest.h"

#include "accounts/HCAccountScreens.h"
#include "accounts/HCDoBootstrapController.h"
#include "accounts/HCIntroNavigationController.h"
#include "accounts/HCLinkSocialNetworksController.h"
#include "accounts/HCWebNavIntroFlowController.h"
#include "accounts/HCUserHalcyonApprovalController.h"
#include "core/halcyon/HCLoginScreens.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "scores/offline/HCOfflineDatabase.h"

#include <mutex>
#include <sqlite3.h>
#include "dashboard/HCDeadEndErrorController.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HCServerMaintenanceNoticeController.h"
#include "dashboard/HCTabbedDashboardController.h"
#include "dashboard/HCWebViewManifestService.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/foundation/FileFacts.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Log.h"
#include "platform/ui/AlertPanel.h"
#include "platform/ui/Application.h"
#include "platform/ui/Layer.h"
#include "transport/provider/HCProvider.h"

namespace dashtest {
namespace {

using platform::ui::Application;

// Remembers the approval question, so a test can answer it.
class ApprovalScreens final : public HCLoginScreens {
public:
    bool isIntroFlowActive() override { return false; }
    void presentApproval(const HCDelegate& approvedDelegate, const HCDelegate&) override
    {
        ++asked;
        approved = approvedDelegate;
    }
    void presentConfirmAccount(const HCDelegate&, bool) override {}
    void presentLinkSocialNetworks() override {}
    bool hasSessionSeenLinkSocialNetworksScreen() override { return true; }
    void invalidateSessionSeenLinkSocialNetworksScreen() override {}
    void presentIntroFlow() override {}
    void dismissRootControllerOrItsModal(const platform::ui::ViewControllerPtr&) override {}
    void displayErrorMessage(const std::string& text) override { HalcyonDashboard::displayErrorMessage(text); }

    int asked = 0;
    HCDelegate approved;
};

std::shared_ptr<HCTabbedDashboardController> hub()
{
    auto root = HalcyonDashboard::getRootController();
    return root ? std::dynamic_pointer_cast<HCTabbedDashboardController>(root->contentController()) : nullptr;
}

std::shared_ptr<HCFramedNavigationController> selectedTab()
{
    auto tabs = hub();
    return tabs ? std::dynamic_pointer_cast<HCFramedNavigationController>(tabs->selectedViewController()) : nullptr;
}

std::vector<platform::ObjectPtr> pages(std::initializer_list<const char*> names)
{
    std::vector<platform::ObjectPtr> out;
    for (const char* name : names) {
        out.push_back(platform::String::make(name));
    }
    return out;
}

platform::ui::ViewControllerPtr modalPage(const std::string& title)
{
    auto page = std::make_shared<TestPage>();
    page->setTitle(title);
    return page;
}

std::string contentTitle()
{
    auto root = HalcyonDashboard::getRootController();
    return root && root->contentController() ? root->contentController()->title() : "(none)";
}

class DashboardPresentationTest : public DashboardTest {
protected:
    // The accounts layer's screens, the player online (having seen the
    // linking step, so the log-in shows no screen) and the dashboard open.
    void openWithAccountScreens()
    {
        loginScreens = std::make_shared<HCAccountScreens>();
        start();
        Halcyon::setDoneWithGetTheMost(true);
        goOnline();
        ASSERT_EQ(HCIntroNavigationController::activeIntroNavigationController(), nullptr);
        Halcyon::launchDashboard();
        settle();
    }
    // The approval question asked over the open dashboard: its sheet.
    std::shared_ptr<HCIntroNavigationController> askApprovalOverTheDashboard()
    {
        Halcyon::setUserDeniedHalcyon();
        Halcyon::presentUserHalcyonApprovalModal(HCDelegate(), HCDelegate());
        settle();
        return std::dynamic_pointer_cast<HCIntroNavigationController>(
            HalcyonDashboard::getRootController()->modalViewController());
    }
};

TEST_F(DashboardPresentationTest, ApprovalComesFirstAndAnOfflineAnswerOpensNothingAndClosesNothing)
{
    auto screens = std::make_shared<ApprovalScreens>();
    loginScreens = screens;
    start(false);
    const int askedAtStartUp = screens->asked;
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("MyHalcyon"), pages({"TestPage"}));
    EXPECT_EQ(screens->asked, askedAtStartUp + 1);
    EXPECT_EQ(HalcyonDashboard::getRootController(), nullptr);

    // Approved while the client is offline: no dashboard opens, and since
    // none opened, neither the game nor the statistics hear of a closing.
    Halcyon::setUserApprovedHalcyon();
    screens->approved.invoke(nullptr);
    settle();
    EXPECT_EQ(HalcyonDashboard::getRootController(), nullptr);
    EXPECT_TRUE(game.calls.empty());
    EXPECT_EQ(Halcyon::totalDashboardDuration(), 0);

    // Approved once online: the default tab opens, the launch's tab forgotten.
    goOnline();
    Halcyon::launchDashboard();
    EXPECT_EQ(screens->asked, askedAtStartUp + 1);
    settle();
    ASSERT_NE(hub(), nullptr);
    EXPECT_EQ(hub()->selectedViewController()->title(), "Now Playing");
    EXPECT_EQ(game.calls, (std::vector<std::string>{"willAppear", "didAppear"}));
}

TEST_F(DashboardPresentationTest, OpensOnTheTabAskedWithPagesPushedAndCountsTheOpening)
{
    start();
    goOnline();
    const long launchesBefore = Halcyon::numberOfDashboardLaunches();
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("MyHalcyon"), pages({"TestPage", "NoSuchPage", "TestPage"}));
    EXPECT_TRUE(Application::shared()->isStatusBarHidden());
    settle();
    ASSERT_NE(selectedTab(), nullptr);
    EXPECT_EQ(selectedTab()->title(), "My Halcyon");
    // A name the loader does not know is passed over.
    EXPECT_EQ(selectedTab()->viewControllers().size(), 3u);
    EXPECT_TRUE(Halcyon::dashboardVisible());
    EXPECT_EQ(Halcyon::numberOfDashboardLaunches(), launchesBefore + 1);
    EXPECT_EQ(selectedTab()->profileBanner()->text(), "Ann");

    clock->advance(12.7);
    Halcyon::dismissDashboard();
    EXPECT_FALSE(Application::shared()->isStatusBarHidden());
    settle();
    EXPECT_EQ(HalcyonDashboard::getRootController(), nullptr);
    EXPECT_FALSE(Halcyon::dashboardVisible());
    EXPECT_EQ(game.calls, (std::vector<std::string>{"willAppear", "didAppear", "willDisappear", "didDisappear"}));
    // Whole seconds, the settling included.
    EXPECT_GE(Halcyon::totalDashboardDuration(), 12);

    // Dismissing when nothing is shown changes nothing.
    Halcyon::dismissDashboard();
    EXPECT_EQ(game.calls.size(), 4u);
}

TEST_F(DashboardPresentationTest, SecondLaunchReusesTheHubSwitchesTabAndPopsToRoot)
{
    start();
    goOnline();
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), pages({"TestPage"}));
    settle();
    auto first = hub();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(selectedTab()->viewControllers().size(), 2u);
    selectedTab()->pushViewController(modalPage("deeper"), false);

    Halcyon::launchDashboardWithDelegate(nullptr, std::string("MyHalcyon"), {});
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    EXPECT_EQ(hub(), first);
    EXPECT_EQ(selectedTab()->title(), "Now Playing");
    EXPECT_EQ(selectedTab()->viewControllers().size(), 1u);
    EXPECT_EQ(game.calls, (std::vector<std::string>{"willAppear", "didAppear"}));
}

TEST_F(DashboardPresentationTest, ATabWhosePageDoesNotExistIsAWarningNamingThePageAndShowsAnEmptyPage)
{
    // The web-page mirror logs from its own thread while the dashboard opens.
    std::mutex linesLock;
    std::vector<std::pair<platform::LogLevel, std::string>> lines;
    platform::setLogSink([&](platform::LogLevel level, const std::string& line) {
        std::lock_guard hold(linesLock);
        lines.emplace_back(level, line);
    });
    start();
    goOnline();
    setReachable(false);
    Halcyon::switchToOfflineDashboard();
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    platform::setLogSink(nullptr);

    ASSERT_NE(hub(), nullptr);
    auto myHalcyon = std::dynamic_pointer_cast<platform::ui::NavigationController>(
        hub()->tabBarItemNamed("MyHalcyon")->viewController());
    EXPECT_EQ(myHalcyon->viewControllers().front()->title(), "My Halcyon") << "an empty page of the tab's title";
    std::vector<std::pair<platform::LogLevel, std::string>> aboutThePage;
    for (const auto& entry : lines)
        if (entry.second.find("NoSuchPage") != std::string::npos) aboutThePage.push_back(entry);
    ASSERT_EQ(aboutThePage.size(), 1u);
    EXPECT_EQ(aboutThePage[0].first, platform::LogLevel::Warning);
    EXPECT_NE(aboutThePage[0].second.find("\"NoSuchPage\""), std::string::npos) << aboutThePage[0].second;
    EXPECT_NE(aboutThePage[0].second.find("\"My Halcyon\" tab"), std::string::npos) << aboutThePage[0].second;
}

TEST_F(DashboardPresentationTest, OfflineOpensTheOfflineTabWithoutPagesAndWithoutAnAccountShowsTheAlert)
{
    start();
    // No account and no server: the alert, and nothing else.
    Halcyon::launchDashboard();
    auto panels = platform::ui::AlertPanel::shownPanels();
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_EQ(panels[0]->title(), "No Halcyon Account");
    EXPECT_EQ(std::dynamic_pointer_cast<platform::ui::AlertView>(panels[0])->message(),
              "You must go online once and connect to the Halcyon server.");
    EXPECT_EQ(panels[0]->buttonTitleAtIndex(panels[0]->cancelButtonIndex()), "OK");
    EXPECT_EQ(HalcyonDashboard::getRootController(), nullptr);
    panels[0]->dismissWithClickedButtonIndex(0, false);

    // An account from an earlier log-in, the server gone: the offline tab, nothing pushed.
    goOnline();
    setReachable(false);
    Halcyon::switchToOfflineDashboard();
    ASSERT_FALSE(Halcyon::isOnline());
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("MyHalcyon"), pages({"TestPage"}));
    settle();
    ASSERT_NE(selectedTab(), nullptr);
    EXPECT_EQ(selectedTab()->title(), "Now Playing");
    EXPECT_EQ(selectedTab()->viewControllers().size(), 1u);

    // Back online, the tab with an offline page gets its online page again.
    auto myHalcyon = std::dynamic_pointer_cast<platform::ui::NavigationController>(
        hub()->tabBarItemNamed("MyHalcyon")->viewController());
    EXPECT_EQ(myHalcyon->viewControllers().front()->kindName(), "HCViewController");
    setReachable(true);
    Halcyon::sessionDidLoginUser();
    EXPECT_EQ(myHalcyon->viewControllers().front()->kindName(), "TestPage");
    // The tabs not shown are back at their first page, reloaded.
    auto inbox = std::dynamic_pointer_cast<TestTablePage>(
        std::dynamic_pointer_cast<platform::ui::NavigationController>(hub()->tabBarItemNamed("Inbox")->viewController())
            ->topViewController());
    ASSERT_NE(inbox, nullptr);
    EXPECT_EQ(inbox->loads, 1);
}

TEST_F(DashboardPresentationTest, LocalLeaderboardsOpenTheOfflineTabWithoutAskingUnlessOnlineIsRequired)
{
    auto screens = std::make_shared<ApprovalScreens>();
    loginScreens = screens;
    start(false);
    ASSERT_EQ(sqlite3_exec(HCOfflineDatabase::handleForCurrentThread(),
                           "INSERT INTO leaderboards (id, name, active, visible, start_version, end_version) "
                           "VALUES (7, 'Best', 1, 1, '0000.00.00', '9999.99.99')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    const int asked = screens->asked;
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("MyHalcyon"), pages({"TestPage"}));
    EXPECT_EQ(screens->asked, asked);
    settle();
    ASSERT_NE(selectedTab(), nullptr);
    EXPECT_EQ(selectedTab()->title(), "Now Playing");
    EXPECT_EQ(selectedTab()->viewControllers().size(), 1u);
    Halcyon::dismissDashboard();
    settle();

    HCClientHooks::resetForTesting();
    SetUp();
    loginScreens = screens;
    auto settings = platform::Dictionary::make();
    settings->setObject(HalcyonSettingRequireOnlineStatus, platform::Number::makeBool(true));
    start(false, settings);
    Halcyon::launchDashboard();
    EXPECT_EQ(screens->asked, asked + 2);
    EXPECT_EQ(HalcyonDashboard::getRootController(), nullptr);
}

TEST_F(DashboardPresentationTest, ModalsWaitForTheShownOrFadingDashboardAndOnlyTheLastWaits)
{
    start();
    goOnline();
    HalcyonDashboard::presentRootControllerWithModal(modalPage("first"));
    settle();
    EXPECT_EQ(contentTitle(), "first");

    // Two more while it is shown: only the last is kept.
    HalcyonDashboard::presentRootControllerWithModal(modalPage("second"));
    HalcyonDashboard::presentModalOverlay(modalPage("third"), true);
    EXPECT_EQ(contentTitle(), "first");
    Halcyon::dismissDashboard();
    // While it fades out, a launch is queued the same way, in place of the overlay.
    Halcyon::launchDashboard();
    EXPECT_EQ(contentTitle(), "first");
    settle();
    ASSERT_NE(hub(), nullptr);
    EXPECT_EQ(game.calls, (std::vector<std::string>{"willAppear", "didAppear", "willDisappear", "didDisappear",
                                                    "willAppear", "didAppear"}));

    // An overlay asked for while the hub fades comes back as an overlay.
    Halcyon::dismissDashboard();
    HalcyonDashboard::presentModalOverlay(modalPage("overlay"), true);
    settle();
    EXPECT_EQ(contentTitle(), "overlay");
    auto root = HalcyonDashboard::getRootController();
    EXPECT_NE(root->view()->viewWithTag(HalcyonDashboard::kOverlayDimViewTag), nullptr);
}

TEST_F(DashboardPresentationTest, EachLaunchKeepsItsOwnDelegateWhenTheNextComesDuringTheFade)
{
    start();
    goOnline();
    GameDelegate first;
    GameDelegate second;
    Halcyon::launchDashboardWithDelegate(&first);
    settle();
    Halcyon::dismissDashboard();
    // The second launch waits for the first dashboard to fade out.
    Halcyon::launchDashboardWithDelegate(&second);
    EXPECT_EQ(first.calls, (std::vector<std::string>{"willAppear", "didAppear", "willDisappear"}));
    EXPECT_TRUE(second.calls.empty());
    settle();
    ASSERT_NE(hub(), nullptr);
    EXPECT_EQ(first.calls, (std::vector<std::string>{"willAppear", "didAppear", "willDisappear", "didDisappear"}));
    EXPECT_EQ(second.calls, (std::vector<std::string>{"willAppear", "didAppear"}));

    // Reopening the shown hub with a third delegate leaves the closing to the second.
    GameDelegate third;
    Halcyon::launchDashboardWithDelegate(&third, std::string("MyHalcyon"), {});
    Halcyon::dismissDashboard();
    settle();
    EXPECT_EQ(HalcyonDashboard::getRootController(), nullptr);
    EXPECT_EQ(second.calls, (std::vector<std::string>{"willAppear", "didAppear", "willDisappear", "didDisappear"}));
    EXPECT_TRUE(third.calls.empty());
    EXPECT_TRUE(game.calls.empty());

    // Once the last dashboard is gone, the game's own delegate hears the next.
    Halcyon::launchDashboard();
    settle();
    EXPECT_EQ(game.calls, (std::vector<std::string>{"willAppear", "didAppear"}));
}

TEST_F(DashboardPresentationTest, TheApprovalAskedWhileTheDashboardIsOpenComesOverItAndGoesWithItsAnswer)
{
    openWithAccountScreens();
    auto root = HalcyonDashboard::getRootController();
    ASSERT_NE(askApprovalOverTheDashboard(), nullptr);
    ASSERT_TRUE(driver->tapButton(HCUserHalcyonApprovalController::kDenyTitle));
    settle();
    EXPECT_EQ(root->modalViewController(), nullptr);
    EXPECT_TRUE(HalcyonDashboard::isShowingFullScreen());
}

TEST_F(DashboardPresentationTest, ApprovingOverTheDashboardPushesTheConfirmScreenOnTheSheetAndItsEndClosesOnlyTheSheet)
{
    openWithAccountScreens();
    auto root = HalcyonDashboard::getRootController();
    auto sheet = askApprovalOverTheDashboard();
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(driver->tapButton(HCUserHalcyonApprovalController::kApproveTitle));
    settle();
    // A page on the sheet, not a second sheet over it.
    EXPECT_EQ(root->modalViewController(), sheet);
    EXPECT_EQ(sheet->modalViewController(), nullptr);
    ASSERT_NE(std::dynamic_pointer_cast<HCDoBootstrapController>(sheet->topViewController()), nullptr);
    EXPECT_EQ(sheet->viewControllers().size(), 2u);

    ASSERT_EQ(chain->logins.size(), 2u);
    Halcyon::sessionDidLoginUser();
    settle();
    EXPECT_EQ(root->modalViewController(), nullptr);
    EXPECT_TRUE(HalcyonDashboard::isShowingFullScreen());
    EXPECT_EQ(game.calls, (std::vector<std::string>{"willAppear", "didAppear"}));
}

TEST_F(DashboardPresentationTest, AnAccountConfirmedOnTheOpenDashboardsPageClosesTheDashboardWhenItEnds)
{
    openWithAccountScreens();
    // The game's own approval screen answers while the dashboard is open.
    Halcyon::userDidApproveHalcyon(true);
    settle();
    auto root = HalcyonDashboard::getRootController();
    EXPECT_EQ(root->modalViewController(), nullptr);
    ASSERT_NE(std::dynamic_pointer_cast<HCDoBootstrapController>(selectedTab()->topViewController()), nullptr);

    Halcyon::sessionDidLoginUser();
    settle();
    EXPECT_EQ(HalcyonDashboard::getRootController(), nullptr);
    EXPECT_EQ(game.calls, (std::vector<std::string>{"willAppear", "didAppear", "willDisappear", "didDisappear"}));
    EXPECT_FALSE(Halcyon::isConfirmAccountFlowActive());

    // A player who goes back off the page before the log-in ends keeps the
    // dashboard: nothing of the flow is left to close.
    Halcyon::launchDashboard();
    settle();
    Halcyon::userDidApproveHalcyon(true);
    settle();
    ASSERT_NE(std::dynamic_pointer_cast<HCDoBootstrapController>(selectedTab()->topViewController()), nullptr);
    ASSERT_TRUE(driver->tapBack());
    settle();
    Halcyon::sessionDidLoginUser();
    settle();
    EXPECT_TRUE(HalcyonDashboard::isShowingFullScreen());
    EXPECT_EQ(game.calls.back(), "didAppear");
    EXPECT_FALSE(Halcyon::isConfirmAccountFlowActive());
}

// A game with no screen of its own shows the start-up's linking step in a
// window of its own; an account confirmed meanwhile on the dashboard's page
// closes the dashboard with its page and leaves the linking step up.
TEST_F(DashboardPresentationTest, AnAccountConfirmedInTheDashboardLeavesTheStartUpsLinkingStepUp)
{
    loginScreens = std::make_shared<HCAccountScreens>();
    HCLinkSocialNetworksController::invalidateSessionSeenLinkSocialNetworksScreen();
    start();
    goOnline();
    settle();
    ASSERT_NE(platform::ui::Driver::findByText(HCLinkSocialNetworksController::kContinueTitle), nullptr);
    Halcyon::launchDashboard();
    settle();
    ASSERT_TRUE(HalcyonDashboard::isShowingFullScreen());
    Halcyon::userDidApproveHalcyon(true);
    settle();
    ASSERT_NE(std::dynamic_pointer_cast<HCDoBootstrapController>(selectedTab()->topViewController()), nullptr);

    Halcyon::sessionDidLoginUser();
    settle();
    EXPECT_EQ(HalcyonDashboard::getRootController(), nullptr);
    EXPECT_EQ(platform::ui::Driver::findByText(HCDoBootstrapController::kMessage), nullptr);
    ASSERT_TRUE(driver->tapButton(HCLinkSocialNetworksController::kContinueTitle));
    settle();
    EXPECT_EQ(platform::ui::Driver::findByText(HCLinkSocialNetworksController::kContinueTitle), nullptr);
}

// The web intro takes the whole screen: over the open dashboard as its
// sheet, else over the game, its page read from the dashboard's web pages.
TEST_F(DashboardPresentationTest, TheWebIntroFlowComesFullScreenWithItsPageFromTheWebPages)
{
    openWithAccountScreens();
    int frameOn = 0;
    platform::NotificationCenter::defaultCenter().addObserver(
        this, HCNSNotificationFullscreenFrameOn, [&frameOn](const platform::Notification&) { ++frameOn; });
    auto root = HalcyonDashboard::getRootController();
    Halcyon::presentHalcyonIntroFlowWebNavController(HCDelegate(), HCDelegate());
    settle();
    auto sheet = std::dynamic_pointer_cast<HCIntroNavigationController>(root->modalViewController());
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(frameOn, 1);
    EXPECT_TRUE(sheet->isNavigationBarHidden());
    EXPECT_TRUE(sheet->isBackgroundHidden());
    auto page = std::dynamic_pointer_cast<HCWebNavIntroFlowController>(sheet->topViewController());
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->webView()->loadedRequests().size(), 1u);
    EXPECT_EQ(page->webView()->loadedRequests()[0].url, "http://127.0.0.1:1/webui/intro.html");
    root->dismissModalViewController(false);
    HalcyonDashboard::dismissRootController();
    settle();
    ASSERT_EQ(HalcyonDashboard::getRootController(), nullptr);

    // Over the game, the mirrored copy once the mirror lists it.
    const std::string file = HCWebViewManifestService::mirrorPath() + "/intro.html";
    ASSERT_TRUE(platform::FileFacts::writeFileAtomically(file, std::string("<p>hello</p>")));
    ASSERT_TRUE(platform::FileFacts::writeFileAtomically(HCWebViewManifestService::mirrorManifestPath(),
                                                         std::string(40, '0').append(" intro.html\n")));
    Halcyon::presentHalcyonIntroFlowWebNavController(HCDelegate(), HCDelegate());
    settle();
    auto shown = HCIntroNavigationController::activeIntroNavigationController();
    ASSERT_NE(shown, nullptr);
    page = std::dynamic_pointer_cast<HCWebNavIntroFlowController>(shown->topViewController());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->webView()->loadedRequests().at(0).url, "file://" + file);
    EXPECT_EQ(frameOn, 2);
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

TEST_F(DashboardPresentationTest, TheSingleControllerLaunchesOpenTheTabBareOrWithTheOnePagePushed)
{
    start();
    goOnline();
    GameDelegate launch;
    Halcyon::launchDashboardWithDelegate(&launch, std::string("MyHalcyon"));
    settle();
    ASSERT_NE(selectedTab(), nullptr);
    EXPECT_EQ(selectedTab()->title(), "My Halcyon");
    EXPECT_EQ(selectedTab()->viewControllers().size(), 1u);
    EXPECT_EQ(launch.calls, (std::vector<std::string>{"willAppear", "didAppear"}));

    Halcyon::launchDashboardWithDelegateAndController(nullptr, std::string("GameProfile"), modalPage("one page"));
    settle();
    EXPECT_EQ(selectedTab()->title(), "Now Playing");
    ASSERT_EQ(selectedTab()->viewControllers().size(), 2u);
    EXPECT_EQ(selectedTab()->topViewController()->title(), "one page");

    // A page given by its loader name.
    Halcyon::launchDashboardWithDelegateAndController(nullptr, std::string("MyHalcyon"),
                                                      platform::String::make("TestPage"));
    settle();
    EXPECT_EQ(selectedTab()->viewControllers().size(), 2u);
    EXPECT_EQ(selectedTab()->topViewController()->kindName(), "TestPage");

    // The first launch's delegate hears its dashboard's closing too.
    Halcyon::dismissDashboard();
    settle();
    EXPECT_EQ(launch.calls, (std::vector<std::string>{"willAppear", "didAppear", "willDisappear", "didDisappear"}));
    EXPECT_TRUE(game.calls.empty());
}

TEST_F(DashboardPresentationTest, OpaqueOverlayDimsTheGameWithTag489AndFadesTheDimAway)
{
    start();
    goOnline();
    auto overlay = modalPage("overlay");
    overlay->view()->setFrame(platform::ui::Rect(0, 40, 200, 300));
    HalcyonDashboard::presentModalOverlay(overlay, true);
    auto root = HalcyonDashboard::getRootController();
    auto dim = root->view()->viewWithTag(489);
    ASSERT_NE(dim, nullptr);
    EXPECT_DOUBLE_EQ(dim->alpha(), 0.85);
    auto fade = std::dynamic_pointer_cast<platform::ui::BasicAnimation>(dim->layer()->animationForKey("opacity"));
    ASSERT_NE(fade, nullptr);
    EXPECT_DOUBLE_EQ(fade->duration(), 0.5);
    EXPECT_EQ(std::get<double>(fade->fromValue()), 0.0);
    EXPECT_EQ(dim->autoresizingMask(), 18u);
    // Centred across the dashboard, keeping its own y and size.
    EXPECT_EQ(overlay->view()->frame(), platform::ui::Rect(60, 40, 200, 300));
    EXPECT_EQ(root->transitionIn(), platform::ui::TransitionSubtype::FromBottom);
    settle();

    Halcyon::dismissDashboard();
    EXPECT_DOUBLE_EQ(dim->alpha(), 0.0);
    settle();
    EXPECT_EQ(HalcyonDashboard::getRootController(), nullptr);
}

class LargeScreenPresentationTest : public DashboardTest {
protected:
    LargeScreenPresentationTest() { largeScreen = true; }
};

TEST_F(LargeScreenPresentationTest, OverlayHasNoDimViewButLosesTheDropShadow)
{
    start();
    goOnline();
    HalcyonDashboard::presentModalOverlay(modalPage("overlay"), true);
    auto root = HalcyonDashboard::getRootController();
    EXPECT_EQ(root->view()->viewWithTag(489), nullptr);
    EXPECT_EQ(root->bgDropShadow()->superview(), nullptr);
    // The status bar stays on a large screen.
    EXPECT_FALSE(Application::shared()->isStatusBarHidden());
}

TEST_F(DashboardPresentationTest, ErrorScreensComeOneAtATimeAfterAMoment)
{
    loginScreens = std::make_shared<HCAccountScreens>();
    start();
    goOnline();
    Halcyon::launchDashboard();
    settle();
    auto tab = selectedTab();
    ASSERT_NE(tab, nullptr);

    HalcyonDashboard::displayErrorMessage("first");
    HalcyonDashboard::displayErrorMessage("second");  // pending: dropped
    EXPECT_EQ(tab->viewControllers().size(), 1u);
    clock->advance(0.1);
    testsupport::drainMain();
    settle();
    ASSERT_EQ(tab->viewControllers().size(), 2u);
    auto shown = std::dynamic_pointer_cast<HCDeadEndErrorController>(tab->topViewController());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->message(), "first");
    // The server is reachable: no way offline is offered.
    EXPECT_FALSE(shown->hasOfflineButton());

    HalcyonDashboard::displayErrorMessage("third");  // shown: dropped
    settle();
    EXPECT_EQ(tab->viewControllers().size(), 2u);

    // The log-in's full-screen error uses the same screen.
    tab->popToRootViewController(false);
    setReachable(false);
    Halcyon::launchLoginFlowForRequest(nullptr);
    settle();
    shown = std::dynamic_pointer_cast<HCDeadEndErrorController>(tab->topViewController());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->message(), "Unable to login to Halcyon. Restart to try again.");
    EXPECT_TRUE(shown->hasOfflineButton());

    // With error screens switched off nothing is pushed.
    tab->popToRootViewController(false);
    HalcyonDashboard::allowErrorScreens(false);
    HalcyonDashboard::displayErrorMessage("off");
    settle();
    EXPECT_EQ(tab->viewControllers().size(), 1u);
}

TEST_F(DashboardPresentationTest, TheOfflineButtonErrorOffersToGoOfflineEvenWithTheServerInReach)
{
    start();
    goOnline();
    HalcyonDashboard::displayErrorMessageAndOfflineButton("not open");
    settle();
    EXPECT_EQ(HalcyonDashboard::getRootController(), nullptr);

    Halcyon::launchDashboard();
    settle();
    auto tab = selectedTab();
    HalcyonDashboard::displayErrorMessageAndOfflineButton("lost it");
    HalcyonDashboard::displayErrorMessageAndOfflineButton("again");  // pending: dropped
    settle();
    ASSERT_EQ(tab->viewControllers().size(), 2u);
    auto shown = std::dynamic_pointer_cast<HCDeadEndErrorController>(tab->topViewController());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->message(), "lost it");
    EXPECT_TRUE(shown->hasOfflineButton());
}

TEST_F(DashboardPresentationTest, UpgradeAndMaintenanceRepliesGoToTheirScreensTheServersTextStayingText)
{
    start();
    goOnline();
    // Not full screen: nothing.
    auto reply = std::make_shared<platform::Data>(std::vector<uint8_t>{});
    HalcyonDashboard::displayUpgradeRequiredErrorMessage(reply);
    Halcyon::launchDashboard();
    settle();
    auto tab = selectedTab();

    const std::string xml = "<errors><error_message>Update %@ now: %d%% %s %@ %n</error_message></errors>";
    reply = std::make_shared<platform::Data>(std::vector<uint8_t>(xml.begin(), xml.end()));
    auto hooks = HCProvider::hooks();
    ASSERT_TRUE(hooks.displayUpgradeRequiredErrorMessage);
    hooks.displayUpgradeRequiredErrorMessage(reply);
    settle();
    auto upgrade = std::dynamic_pointer_cast<HCDeadEndErrorController>(tab->topViewController());
    ASSERT_NE(upgrade, nullptr);
    EXPECT_EQ(upgrade->message(), "Update Tolvarine Ruvuru now: %d%% %s %@ %n");
    EXPECT_TRUE(upgrade->navigationItem()->hidesBackButton());

    // A reply without the message, or not XML at all, shows nothing.
    tab->popToRootViewController(false);
    for (const std::string bad : {"<errors/>", "\x01\x02 not xml", ""}) {
        hooks.displayUpgradeRequiredErrorMessage(
            std::make_shared<platform::Data>(std::vector<uint8_t>(bad.begin(), bad.end())));
        settle();
        EXPECT_EQ(tab->viewControllers().size(), 1u) << bad;
    }

    const std::string html = "<html><body>Back soon <a href=\"http://elsewhere.example/\">x</a></body></html>";
    hooks.displayServerMaintenanceNotice(std::make_shared<platform::Data>(std::vector<uint8_t>(html.begin(), html.end())));
    settle();
    auto notice = std::dynamic_pointer_cast<HCServerMaintenanceNoticeController>(tab->topViewController());
    ASSERT_NE(notice, nullptr);
    ASSERT_EQ(notice->webView()->loadedHTML().size(), 1u);
    EXPECT_EQ(notice->webView()->loadedHTML()[0].html, html);
    // The notice is shown, not followed.
    EXPECT_FALSE(driver->navigateWeb(notice->webView(), "http://elsewhere.example/"));
    EXPECT_FALSE(driver->navigateWeb(notice->webView(), "halcyon://push/TestPage"));
}

}  // namespace
}  // namespace dashtest
