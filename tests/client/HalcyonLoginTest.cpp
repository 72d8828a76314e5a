// The log-in's ends as the Halcyon class handles them, with a recording
// chain standing in for the session: overlapping log-ins, the banners and
// their timing, the held-back logged-in call, counting and log-out.
#include "client/support/HalcyonTest.h"

#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/users/HCUser.h"
#include "core/xp/HCServerException.h"
#include "platform/foundation/DeviceFacts.h"
#include "support/BannerWindow.h"

namespace {

class GameDelegate final : public HalcyonDelegate {
public:
    void userLoggedIn(const std::string& userId) override { calls.push_back("online " + userId); }
    void offlineUserLoggedIn(const std::string& userId) override { calls.push_back("offline " + userId); }
    void userLoggedOut(const std::string& userId) override { calls.push_back("out " + userId); }
    std::vector<std::string> calls;
};

class HalcyonLoginTest : public HalcyonTest {
protected:
    void SetUp() override
    {
        HalcyonTest::SetUp();
        delegates = HCDelegatesContainer::containerWithHalcyonDelegate(&game);
    }

    void startApproved(std::shared_ptr<platform::Dictionary> settings = nullptr, HCClientAssembly with = {})
    {
        approvedPlayer = true;
        HCClientAssembly built = assembly();
        built.sendPendingData = [this](const std::string& userId) { pendingSent.push_back(userId); };
        if (with.loginScreens) built.loginScreens = with.loginScreens;
        start(std::move(built), std::move(settings));
        window = testsupport::BannerWindow::show();
    }

    void clearBanners()
    {
        testsupport::drainMain();
        window->shown.clear();
    }
    // Every banner shown since the window came (or was last cleared).
    std::vector<std::string> banners()
    {
        testsupport::drainMain();
        return window ? window->texts() : std::vector<std::string>{};
    }

    // The dashboard as the log-in sees it: full screen on its hub, or closed.
    static void dashboardOpen(bool open)
    {
        HCDashboardHooks hooks;
        hooks.isShowingFullScreen = [open] { return open; };
        hooks.isDashboardHubOpen = [open] { return open; };
        Halcyon::setDashboardHooks(hooks);
    }

    HCDelegate recorder(const std::string& name)
    {
        return HCDelegate::withFunction([this, name](const platform::ObjectPtr&) { heard.push_back(name); });
    }

    static std::shared_ptr<HCUser> player(const char* id, const char* name)
    {
        auto user = HCResource::initWithId<HCUser>(std::string(id));
        if (name) user->setName(std::string(name));
        return user;
    }

    GameDelegate game;
    std::shared_ptr<testsupport::BannerWindow> window;
    std::vector<std::string> heard;
    std::vector<std::string> pendingSent;
};

TEST_F(HalcyonLoginTest, OverlappingLogInsAreDroppedAndOnlyOneSequenceIsCalled)
{
    startApproved();
    ASSERT_TRUE(Halcyon::isBootstrapInProgress());
    Halcyon::loginWithUserId(std::string("1001"), recorder("late success"), recorder("late failure"));
    EXPECT_EQ(chain->logins.size(), 1u) << "a log-in while one runs is dropped";
    Halcyon::addBootstrapDelegates(recorder("success"), recorder("failure"));

    Halcyon::setLocalUser(player("1001", "Ann"));
    Halcyon::sessionDidLoginUser();
    testsupport::drainMain();
    EXPECT_EQ(heard, std::vector<std::string>{"success"});
    EXPECT_FALSE(Halcyon::isBootstrapInProgress());
    EXPECT_TRUE(Halcyon::hasBootstrapCompleted());

    // Both sequences were emptied: a later failure calls nobody.
    Halcyon::doBootstrapAsUserId(std::string("1001"), HCDelegate(), HCDelegate());
    Halcyon::sessionFailureWithException(nullptr);
    testsupport::drainMain();
    EXPECT_EQ(heard, std::vector<std::string>{"success"});
    // A report while no log-in runs changes nothing.
    Halcyon::sessionFailureWithException(nullptr);
    EXPECT_EQ(game.calls, (std::vector<std::string>{"offline 1001", "offline 1001"}));
}

TEST_F(HalcyonLoginTest, WelcomeBannerNamesTheFirstCountThatApplies)
{
    startApproved();
    setReachable(true);
    Halcyon::setLocalUser(player("1001", "Ann"));
    Halcyon::setPendingFriendsCount(1);
    Halcyon::sessionDidLoginUser();
    EXPECT_EQ(banners(), std::vector<std::string>{"Hi Ann! You have 1 pending friend. [ok]"});
    EXPECT_EQ(game.calls, std::vector<std::string>{"online 1001"});
    EXPECT_EQ(pendingSent, std::vector<std::string>{"1001"}) << "pending work goes out after the log-in";

    clearBanners();
    Halcyon::setUnviewedChallengesCount(3);
    Halcyon::setUnreadIMCount(0, 0, 2);
    Halcyon::loginShowNotifications();
    EXPECT_EQ(banners(), std::vector<std::string>{"Hi Ann! You have 3 new challenges. [ok]"});

    clearBanners();
    Halcyon::setUnviewedChallengesCount(0);
    Halcyon::setPendingFriendsCount(0);
    Halcyon::setUnreadIMCount(0, 0, 0);
    dashboardOpen(true);
    Halcyon::loginShowNotifications();
    EXPECT_TRUE(banners().empty()) << "nothing over the full-screen dashboard";
    dashboardOpen(false);
    Halcyon::loginShowNotifications();
    EXPECT_EQ(banners(), std::vector<std::string>{"Welcome back, Ann [ok]"});
}

TEST_F(HalcyonLoginTest, FailedLogInSaysOfflineAndTheSslHintFollowsThreeSecondsLater)
{
    startApproved();
    const long sessionsBefore = Halcyon::numberOfGameSessions();
    Halcyon::sessionFailureWithException(HCServerException::sslFailureException());
    EXPECT_EQ(banners(), std::vector<std::string>{"Not Logged In To Halcyon [failed]"}) << "no player yet: user id 0";
    EXPECT_EQ(game.calls, std::vector<std::string>{"offline 0"});
    EXPECT_EQ(Halcyon::numberOfGameSessions(), sessionsBefore + 1) << "the game session is counted once";
    EXPECT_EQ(Halcyon::numberOfOnlineGameSessions(), 0) << "an offline session is not counted as online";
    EXPECT_EQ(pendingSent.size(), 1u);

    clock->advance(2.9);
    testsupport::drainMain();
    EXPECT_EQ(banners().size(), 1u);
    clock->advance(0.1);
    testsupport::drainMain();
    EXPECT_EQ(banners().back(), "Check your date & time settings. [failed]");

    clearBanners();
    Halcyon::setLocalUser(player("1001", "Ann"));
    Halcyon::doBootstrapAsUserId(std::string("1001"), HCDelegate(), HCDelegate());
    Halcyon::sessionFailureWithException(nullptr);
    EXPECT_EQ(banners(), std::vector<std::string>{"Welcome back, Ann, you are OFFLINE [failed]"});
    clock->advance(5);
    testsupport::drainMain();
    EXPECT_EQ(banners().size(), 1u) << "only an SSL failure adds the hint";
}

TEST_F(HalcyonLoginTest, WithGameCenterAFailedLogInStartsItOnceAndShowsNoBanner)
{
    platform::DeviceFacts::setSystemVersion("4.1");
    startApproved(settingsWith({{HalcyonSettingGameCenterEnabled, yes()}}));
    ASSERT_TRUE(Halcyon::isUsingGameCenter());
    const long sessionsBefore = Halcyon::numberOfGameSessions();
    Halcyon::sessionFailureWithException(nullptr);
    // The check follows Game Center's sign-in, which answers on its own thread.
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !pendingSent.empty(); }));
    EXPECT_TRUE(banners().empty());
    EXPECT_EQ(pendingSent.size(), 1u) << "Game Center's log-in check ran once, not from both the abort and the call";
    EXPECT_EQ(Halcyon::numberOfGameSessions(), sessionsBefore + 1);
}

TEST_F(HalcyonLoginTest, LinkingStepHoldsTheLoggedInCallBackUntilItEndsOnce)
{
    auto screens = std::make_shared<RecordingScreens>();
    HCClientAssembly with;
    with.loginScreens = screens;
    startApproved(nullptr, with);
    setReachable(true);
    Halcyon::setLocalUser(player("1001", "Ann"));
    Halcyon::sessionDidLoginUser();
    EXPECT_EQ(screens->shown, std::vector<std::string>{"link"});
    EXPECT_TRUE(game.calls.empty()) << "held back while the linking step shows";
    EXPECT_TRUE(pendingSent.empty());

    Halcyon::dismissRootControllerOrItsModal();
    EXPECT_EQ(game.calls, std::vector<std::string>{"online 1001"});
    EXPECT_EQ(pendingSent.size(), 1u);
    // The held-back call is made once: a later flow's end does not repeat it.
    Halcyon::dismissRootControllerOrItsModal();
    EXPECT_EQ(game.calls, std::vector<std::string>{"online 1001"});
}

TEST_F(HalcyonLoginTest, LogOutUndoesTheLogInAndFreesALogInThatStartedMeanwhile)
{
    startApproved();
    setReachable(true);
    Halcyon::setLocalUser(player("1001", "Ann"));
    Halcyon::setUnviewedChallengesCount(2);
    Halcyon::sessionDidLoginUser();
    ASSERT_TRUE(Halcyon::isOnline());
    ASSERT_TRUE(Halcyon::isHalcyonDashboardInOnlineMode());

    // A log-in decided while the session logs out never reaches it.
    Halcyon::loginWithUserId(std::string("1001"), recorder("success"), recorder("failure"));
    ASSERT_TRUE(Halcyon::isBootstrapInProgress());
    Halcyon::sessionDidLogoutUser();
    testsupport::drainMain();
    EXPECT_FALSE(Halcyon::isBootstrapInProgress());
    EXPECT_EQ(heard, std::vector<std::string>{"failure"});
    EXPECT_EQ(game.calls, (std::vector<std::string>{"online 1001", "out 1001"}));
    EXPECT_EQ(Halcyon::lastLoggedInUserId(), "0");
    EXPECT_FALSE(Halcyon::isSuccessfullyBootstrapped());
    EXPECT_FALSE(Halcyon::hasBootstrapCompleted());
    EXPECT_FALSE(Halcyon::hasUserApprovedHalcyon());
    EXPECT_TRUE(Halcyon::hasUserSetHalcyonAccess()) << "the answer becomes NO, not absent";
    EXPECT_EQ(Halcyon::unviewedChallengesCount(), 0);
    EXPECT_FALSE(Halcyon::isHalcyonDashboardInOnlineMode());

    // The next decision for a player who now counts as declined: no log-in.
    const size_t before = chain->logins.size();
    Halcyon::doBootstrapAsUserId(std::string("1001"), HCDelegate(), HCDelegate());
    EXPECT_EQ(chain->logins.size(), before);
    EXPECT_FALSE(Halcyon::isBootstrapInProgress());
}

TEST_F(HalcyonLoginTest, ALogInNeededByARequestIsToldOnTheScreenItFits)
{
    auto screens = std::make_shared<RecordingScreens>();
    HCClientAssembly with;
    with.loginScreens = screens;
    startApproved(nullptr, with);
    Halcyon::sessionFailureWithException(nullptr);
    clearBanners();

    Halcyon::launchLoginFlowForRequest(nullptr);
    EXPECT_EQ(banners(), std::vector<std::string>{"Unable to login to Halcyon. Restart to try again. [failed]"});
    dashboardOpen(true);
    Halcyon::launchLoginFlowForRequest(nullptr);
    ASSERT_FALSE(screens->shown.empty());
    EXPECT_EQ(screens->shown.back(), "error Unable to login to Halcyon. Restart to try again.");
    EXPECT_EQ(banners().size(), 1u);

    // A game that asked not to be prompted hears the offline banner instead.
    dashboardOpen(false);
    Halcyon::setDontAutomaticallyPromptLogin();
    clearBanners();
    Halcyon::launchLoginFlowThenDismiss();
    EXPECT_EQ(banners(), std::vector<std::string>{"Not Logged In To Halcyon [failed]"});
}

}  // namespace
