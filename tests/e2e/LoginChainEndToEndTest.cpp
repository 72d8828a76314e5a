// The whole log-in as a game meets it: the client started with this build's
// assembly against the local server over loopback HTTP, the approval and
// linking screens answered with the driver, the banners and the game's
// delegate recorded. Screen changes and the date-and-time hint run on the
// manual clock; wall time only bounds the waits for real I/O.
#include <gtest/gtest.h>

#include <algorithm>

#include "accounts/HCDoBootstrapController.h"
#include "accounts/HCLinkSocialNetworksController.h"
#include "accounts/HCUserHalcyonApprovalController.h"
#include "client/HCClientHooks.h"
#include "client/support/UserChanges.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "core/users/HCUser.h"
#include "core/xp/HCSession.h"
#include "core/xp/HCXPRequest.h"
#include "e2e/support/LoginFixture.h"
#include "kernel/reachability/HCReachability.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Fixtures.h"
#include "localserver/Json.h"
#include "localserver/Server.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/net/CookieStore.h"
#include "platform/runtime/Thread.h"
#include "platform/ui/Application.h"
#include "platform/ui/Driver.h"
#include "support/BannerWindow.h"
#include "support/TestSupport.h"
#include "transport/oauth/OAuthURLRequest.h"
#include "transport/presence/HCPresenceService.h"
#include "transport/provider/HCProvider.h"

namespace defaults = localserver::defaults;
using platform::ui::Driver;

namespace {

class Game final : public HalcyonDelegate {
public:
    void userLoggedIn(const std::string& userId) override { calls.push_back("online " + userId); }
    void offlineUserLoggedIn(const std::string& userId) override { calls.push_back("offline " + userId); }
    void userLoggedOut(const std::string& userId) override { calls.push_back("out " + userId); }
    bool userAttemptingToLogin(const std::shared_ptr<HCUser>& user) override
    {
        attempts.push_back(user->userId().value_or("?"));
        return !refuse;
    }
    std::vector<std::string> calls;
    std::vector<std::string> attempts;
    bool refuse = false;
};

class LoginChainEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HCClientHooks::resetForTesting();
        platform::Sandbox::configure(sandbox.str());
        clock = std::make_unique<testsupport::ScopedManualClock>();
        driver = std::make_unique<Driver>(&clock->clock());
        server = std::make_unique<localserver::Server>();
        localserver::registerServiceRoutes(*server);
        server->addRoute("GET", "xp/open", localserver::Access::Open,
                         [](const localserver::Request&) { return localserver::json::reply(200, "{\"fine\":{}}"); });
        // Answers only a request whose cookie names a live session.
        server->addRoute("GET", "xp/mine", localserver::Access::Open, [this](const localserver::Request& req) {
            auto header = localserver::firstValue(req.headers, "Cookie");
            if (!header) header = localserver::firstValue(req.headers, "cookie");
            const std::string key = std::string(HCSession::kSessionCookieName) + "=";
            const size_t at = header ? header->find(key) : std::string::npos;
            std::optional<localserver::JsonSession> session;
            if (at != std::string::npos) {
                const size_t from = at + key.size();
                session = server->login().session(header->substr(from, header->find(';', from) - from));
            }
            if (!session || session->expired) {
                return localserver::json::exception(401, "SessionExpired", "log in again");
            }
            return localserver::json::reply(200, "{\"fine\":{}}");
        });
        ASSERT_TRUE(server->start()) << server->error();
        HCSettings::setDefaultOverride("server-url", server->serviceRootUrl());
    }

    void TearDown() override
    {
        HCClientHooks::resetForTesting();
        testsupport::drainMain();
        server->stop();
    }

    // Starts the client as the game would, reachable unless told otherwise.
    void start(bool reachable = true)
    {
        auto settings = platform::Dictionary::make();
        settings->setString(HalcyonSettingInitialUserId, defaults::kUserId);
        // The game's own window, where banners show.
        settings->setObject(HalcyonSettingPresentationWindow, bannerWindow);
        Halcyon::initializeWithProductKey(defaults::kProductKey, defaults::kProductSecret, defaults::kGameName,
                                          settings, HCDelegatesContainer::containerWithHalcyonDelegate(&game));
        HCReachability::Instance()->setOverride(reachable ? HCReachability::ReachableViaWiFi
                                                          : HCReachability::NotReachable);
    }

    // The device was last used by the server's first player.
    void deviceUsedBy(const char* userId)
    {
        server->login().addDeviceUser(platform::DeviceFacts::uniqueIdentifier(), userId);
    }

    void restartProcess()
    {
        Halcyon::shutdown();
        testsupport::drainMain();
        platform::UserDefaults::resetStandardUserDefaults();
        game.calls.clear();
        clearBanners();
        server->log().clear();
    }

    bool waitUntil(const std::function<bool()>& done) { return testsupport::runMainUntil(done); }
    bool waitForCall() { return waitUntil([&] { return !game.calls.empty(); }); }

    std::vector<std::string> serverPaths() const
    {
        // The web pages' mirror runs on a thread of its own; its requests are not the log-in's.
        std::vector<std::string> paths;
        for (const auto& entry : server->log().entries())
            if (entry.request.path.rfind("webui/", 0) != 0)
                paths.push_back(entry.request.method + " " + entry.request.path + " " + std::to_string(entry.status));
        return paths;
    }
    // The log-in starts the announcements' download but does not wait for it,
    // so where that request falls among the log-in's own is a race.
    std::vector<std::string> logInPaths() const
    {
        auto paths = serverPaths();
        std::erase_if(paths, [](const std::string& p) { return p.find("forums/announcements.xml") != std::string::npos; });
        return paths;
    }

    static bool shown(const char* text) { return Driver::findByText(text) != nullptr; }

    testsupport::TempDir sandbox;
    std::unique_ptr<testsupport::ScopedManualClock> clock;
    std::unique_ptr<Driver> driver;
    std::unique_ptr<localserver::Server> server;
    Game game;
    void clearBanners()
    {
        testsupport::drainMain();
        bannerWindow->shown.clear();
    }
    // The texts of the banners shown since start (or the last clear).
    std::vector<std::string> banners()
    {
        testsupport::drainMain();
        std::vector<std::string> texts;
        for (const auto& banner : bannerWindow->shown) texts.push_back(testsupport::BannerWindow::textOf(banner));
        return texts;
    }
    std::shared_ptr<testsupport::BannerWindow> bannerWindow = testsupport::BannerWindow::showAside();
};

TEST_F(LoginChainEndToEndTest, FirstLaunchAsksApprovalThenLogsInAndWelcomesThePlayerAfterTheLinkingStep)
{
    deviceUsedBy(defaults::kUserId);
    start();
    ASSERT_TRUE(shown(HCUserHalcyonApprovalController::kApproveTitle));
    EXPECT_TRUE(serverPaths().empty()) << "nothing reaches the service before the player approves";

    ASSERT_TRUE(driver->tapButton(HCUserHalcyonApprovalController::kApproveTitle));
    EXPECT_TRUE(Halcyon::hasUserApprovedHalcyon());
    driver->settle();
    ASSERT_TRUE(waitUntil([&] { return shown(HCLinkSocialNetworksController::kContinueTitle); }));
    EXPECT_EQ(serverPaths(),
              (std::vector<std::string>{"POST xp/devices 200", "POST bootstrap.xml 200", "POST xp/sessions 200"}));
    EXPECT_TRUE(Halcyon::isSuccessfullyBootstrapped());
    EXPECT_EQ(Halcyon::session()->currentUser()->userId(), std::optional<std::string>(defaults::kUserId));
    EXPECT_TRUE(Halcyon::provider()->accessToken().has_value()) << "the bootstrap gave the provider its token";
    EXPECT_TRUE(game.calls.empty()) << "the logged-in call waits for the linking step";
    EXPECT_TRUE(banners().empty());

    ASSERT_TRUE(driver->tapButton(HCLinkSocialNetworksController::kContinueTitle));
    driver->settle();
    EXPECT_EQ(game.calls, std::vector<std::string>{"online 1001"});
    EXPECT_EQ(banners(), std::vector<std::string>{"Hi Ann! You have 2 new challenges."});
    EXPECT_FALSE(shown(HCLinkSocialNetworksController::kContinueTitle));
    EXPECT_FALSE(shown(HCUserHalcyonApprovalController::kApproveTitle));
    EXPECT_TRUE(Halcyon::isOnline());
    EXPECT_EQ(Halcyon::userDistanceUnit(), 1);

    // The next launch remembers the answer: no question, the log-in runs at
    // once, and the linking step is not shown twice in one session. This
    // time the player shares a location, which the game allows.
    restartProcess();
    localserver::BootstrapCounters sharing;
    sharing.shareLocation = true;
    server->login().setCounters(sharing);
    start();
    EXPECT_FALSE(shown(HCUserHalcyonApprovalController::kApproveTitle));
    ASSERT_TRUE(waitForCall());
    EXPECT_EQ(game.calls, std::vector<std::string>{"online 1001"});
    EXPECT_FALSE(shown(HCLinkSocialNetworksController::kContinueTitle));
    EXPECT_EQ(banners(), std::vector<std::string>{"Hi Ann! You have 2 new challenges."});
    EXPECT_EQ(Halcyon::userDistanceUnit(), 2);
}

TEST_F(LoginChainEndToEndTest, DeclinedPlayerNeverReachesTheServiceNowOrAtTheNextLaunch)
{
    start();
    ASSERT_TRUE(driver->tapButton(HCUserHalcyonApprovalController::kDenyTitle));
    driver->settle();
    testsupport::drainMain();
    EXPECT_FALSE(shown(HCUserHalcyonApprovalController::kDenyTitle));
    EXPECT_TRUE(Halcyon::hasUserSetHalcyonAccess());
    EXPECT_FALSE(Halcyon::hasUserApprovedHalcyon());

    restartProcess();
    start();
    Halcyon::gameServerReachabilityChanged(HCReachability::ReachableViaWiFi);
    testsupport::drainMain();
    EXPECT_FALSE(shown(HCUserHalcyonApprovalController::kApproveTitle));
    EXPECT_TRUE(serverPaths().empty());
    EXPECT_TRUE(game.calls.empty());
    EXPECT_FALSE(Halcyon::isBootstrapInProgress());
}

TEST_F(LoginChainEndToEndTest, AReachableNoticeThatArrivesAfterTheServerWentAwayStartsNoLogIn)
{
    Halcyon::setUserApprovedHalcyon();
    server->faults().injectFor("POST", "xp/devices", localserver::Fault::reply(503, "down for a moment"));
    start(false);
    ASSERT_TRUE(waitForCall());
    ASSERT_TRUE(waitUntil([] { return !Halcyon::isBootstrapInProgress(); }));
    server->log().clear();
    // The monitor found the server before the network went: its notice
    // reaches the main thread only now, when the client is offline.
    Halcyon::gameServerReachabilityChanged(HCReachability::ReachableViaWiFi);
    EXPECT_FALSE(Halcyon::isBootstrapInProgress());
    testsupport::drainMain();
    EXPECT_EQ(game.calls, std::vector<std::string>{"offline 0"});
    EXPECT_TRUE(serverPaths().empty());
}

TEST_F(LoginChainEndToEndTest, OfflineLaunchSaysSoAndTheLogInRunsOnceTheServerIsReachable)
{
    Halcyon::setUserApprovedHalcyon();
    Halcyon::setDoneWithGetTheMost(true);
    deviceUsedBy(defaults::kUserId);
    server->faults().injectFor("POST", "xp/devices", localserver::Fault::reply(503, "down for a moment"));
    start(false);
    ASSERT_TRUE(waitForCall());
    EXPECT_EQ(game.calls, std::vector<std::string>{"offline 0"});
    EXPECT_EQ(banners(), std::vector<std::string>{"Not Logged In To Halcyon"});
    // The game hears of the failure before the log-in has finished unwinding.
    EXPECT_TRUE(waitUntil([] { return !Halcyon::isBootstrapInProgress(); }));
    EXPECT_FALSE(Halcyon::session()->hasPendingLogin()) << "the failed registration forgot its log-in";

    HCReachability::Instance()->setOverride(HCReachability::ReachableViaWiFi);
    ASSERT_TRUE(waitUntil([&] { return game.calls.size() == 2; }));
    EXPECT_EQ(game.calls.back(), "online 1001") << ::testing::PrintToString(serverPaths());
    EXPECT_EQ(banners().back(), "Hi Ann! You have 2 new challenges.") << ::testing::PrintToString(banners());
    EXPECT_EQ(logInPaths().back(), "POST xp/sessions 200");
}

// This server has no message broker, so its bootstrap turns the presence
// channel off: coming back to the foreground must not open it anyway.
TEST_F(LoginChainEndToEndTest, APresenceChannelTheServiceTurnedOffStaysOffAfterTheForeground)
{
    Halcyon::setUserApprovedHalcyon();
    Halcyon::setDoneWithGetTheMost(true);
    start();
    ASSERT_TRUE(waitForCall());
    ASSERT_EQ(game.calls.back(), "online 1001");
    ASSERT_FALSE(Halcyon::loggedInUserSharesOnlineStatus());
    auto application = platform::ui::Application::shared();
    application->enterBackground();
    application->enterForeground();
    testsupport::drainMain();
    auto presence = HCPresenceService::sharedInstance();
    ASSERT_TRUE(presence);
    EXPECT_EQ(presence->state(), HCPresenceService::State::Disconnected);
    EXPECT_EQ(presence->failedAttempts(), 0);
}

TEST_F(LoginChainEndToEndTest, PlayerRefusedByTheGameEndsTheLogInAsAFailureWithItsCallersTold)
{
    Halcyon::setUserApprovedHalcyon();
    game.refuse = true;
    start();
    std::vector<std::string> heard;
    // A caller that waits on the start-up's log-in.
    Halcyon::addBootstrapDelegates(HCDelegate::withFunction([&](const platform::ObjectPtr&) { heard.push_back("ok"); }),
                                   HCDelegate::withFunction([&](const platform::ObjectPtr&) { heard.push_back("failed"); }));
    ASSERT_TRUE(waitForCall());
    testsupport::drainMain();
    EXPECT_EQ(game.attempts, std::vector<std::string>{"1001"});
    EXPECT_EQ(game.calls, std::vector<std::string>{"offline 0"});
    EXPECT_EQ(heard, std::vector<std::string>{"failed"});
    EXPECT_EQ(banners(), std::vector<std::string>{"Not Logged In To Halcyon"});
    EXPECT_FALSE(Halcyon::isBootstrapInProgress());
    EXPECT_EQ(serverPaths(), (std::vector<std::string>{"POST xp/devices 200", "POST bootstrap.xml 200"}))
        << "no user session for a refused player";
    EXPECT_EQ(Halcyon::lastLoggedInUserId(), "0") << "nothing of the refused reply was applied";
}

TEST_F(LoginChainEndToEndTest, BootstrapReplyThatTricklesInEndsAtItsDeadlineAsAFailedLogIn)
{
    Halcyon::setUserApprovedHalcyon();
    Halcyon::setDoneWithGetTheMost(true);
    deviceUsedBy(defaults::kUserId);
    const std::string body(4000, ' ');
    server->faults().injectFor("POST", "bootstrap.xml",
                               localserver::Fault::trickled(std::chrono::milliseconds(5), 200, body, "application/xml"));
    start();
    std::vector<std::string> heard;
    Halcyon::addBootstrapDelegates(HCDelegate::withFunction([&](const platform::ObjectPtr&) { heard.push_back("ok"); }),
                                   HCDelegate::withFunction([&](const platform::ObjectPtr&) { heard.push_back("failed"); }));
    // A byte arrives between every two steps of the clock, so the idle
    // time-out never comes; only the deadline can end the wait.
    for (double waited = 0; waited + 10 < OAuthURLRequest::kDeadlineSeconds; waited += 10) {
        const size_t sent = server->faults().trickledBytes();
        ASSERT_TRUE(waitUntil([&] { return server->faults().trickledBytes() >= sent + 2; })) << waited;
        clock->advance(10);
    }
    testsupport::drainMain();
    EXPECT_TRUE(game.calls.empty()) << "still waiting shortly before the deadline";
    EXPECT_TRUE(Halcyon::isBootstrapInProgress());

    clock->advance(10.5);
    ASSERT_TRUE(waitForCall());
    testsupport::drainMain();
    EXPECT_EQ(game.calls, std::vector<std::string>{"offline 0"});
    EXPECT_EQ(heard, std::vector<std::string>{"failed"});
    EXPECT_EQ(banners(), std::vector<std::string>{"Not Logged In To Halcyon"});
    EXPECT_FALSE(Halcyon::isBootstrapInProgress());
    EXPECT_LT(server->faults().trickledBytes(), body.size()) << "the reply was cut off, not read to its end";
}

TEST_F(LoginChainEndToEndTest, ExpiredSessionMidGameLogsInAgainAndSendsTheRequestOnceMore)
{
    Halcyon::setUserApprovedHalcyon();
    Halcyon::setDoneWithGetTheMost(true);
    start();
    ASSERT_TRUE(waitForCall());
    ASSERT_EQ(game.calls, std::vector<std::string>{"online 1001"});
    // The log-in's own follow-up (the announcements) is answered first.
    ASSERT_TRUE(waitUntil([&] {
        const auto paths = serverPaths();
        return std::find(paths.begin(), paths.end(), "GET client_applications/1/forums/announcements.xml 200") !=
               paths.end();
    }));
    server->log().clear();
    clearBanners();

    server->faults().injectFor("GET", "xp/open",
                               localserver::Fault::reply(401, "{\"exception\":{\"class\":\"SessionExpired\","
                                                              "\"message\":\"log in again\"}}",
                                                         "application/json"));
    auto outcome = std::make_shared<JsonOutcome>();
    auto request = HCXPRequest::requestWithPath("xp/open", "GET", platform::Dictionary::make());
    request->onRespondJSON(outcome);
    request->execute();
    ASSERT_TRUE(waitUntil([&] { return !outcome->codes.empty(); }));
    EXPECT_EQ(outcome->codes, std::vector<uint32_t>{200});
    EXPECT_EQ(serverPaths(), (std::vector<std::string>{"GET xp/open 401", "POST bootstrap.xml 200",
                                                       "POST xp/sessions 200", "GET xp/open 200"}));
    // The client stays logged in; the game is not told of a second log-in.
    EXPECT_EQ(game.calls, std::vector<std::string>{"online 1001"});
    EXPECT_TRUE(banners().empty());
    EXPECT_TRUE(Halcyon::isOnline());
}

TEST_F(LoginChainEndToEndTest, SessionExpiredUnderABatchAnswersEveryRequestOnceAndTheNextLogInServesAgain)
{
    Halcyon::setUserApprovedHalcyon();
    Halcyon::setDoneWithGetTheMost(true);
    start();
    ASSERT_TRUE(waitForCall());
    server->login().expireSessions();
    server->log().clear();

    auto send = [] {
        auto outcome = std::make_shared<JsonOutcome>();
        auto request = HCXPRequest::requestWithPath("xp/mine", "GET", platform::Dictionary::make());
        request->onRespondJSON(outcome);
        request->execute();
        return outcome;
    };
    // The re-login waits until every request of the batch has been refused
    // and waits for it: a refusal heard only after the re-login failed would
    // start a log-in of its own, with the device registered afresh, which is
    // another case than this one.
    server->faults().injectFor("POST", "bootstrap.xml", localserver::Fault::heldBack());
    std::vector<std::shared_ptr<JsonOutcome>> batch{send(), send(), send()};
    ASSERT_TRUE(waitUntil([] { return Halcyon::session()->queuedRequestCount() == 3; }));
    server->faults().releaseHeld();
    auto answered = [&] {
        return std::all_of(batch.begin(), batch.end(), [](const auto& o) { return !o->codes.empty(); }) &&
               Halcyon::session()->sessionChangeAllowed();
    };
    ASSERT_TRUE(waitUntil(answered));
    testsupport::drainMain();
    // The re-login's user session is refused with the dead cookie: each
    // request of the batch gets one answer, and the device is registered afresh.
    for (const auto& outcome : batch) {
        EXPECT_EQ(outcome->codes.size(), 1u);
        EXPECT_EQ(outcome->exceptionClass(), "SessionFailure");
    }
    EXPECT_EQ(logInPaths().back(), "POST xp/devices 200") << ::testing::PrintToString(serverPaths());
    EXPECT_EQ(game.calls, std::vector<std::string>{"online 1001"}) << "the game hears of no log-in it did not ask for";

    // The game's next log-in opens a user session and requests are served again.
    Halcyon::loginWithUserId(std::string(defaults::kUserId), HCDelegate(), HCDelegate());
    ASSERT_TRUE(waitUntil([&] { return game.calls.size() == 2; }));
    EXPECT_EQ(game.calls.back(), "online 1001");
    auto after = send();
    ASSERT_TRUE(waitUntil([&] { return !after->codes.empty(); }));
    EXPECT_EQ(after->codes, std::vector<uint32_t>{200});
}

TEST_F(LoginChainEndToEndTest, LogOutLeavesNothingOfThePlayerAndTheNextPlayerLogsIn)
{
    Halcyon::setUserApprovedHalcyon();
    Halcyon::setDoneWithGetTheMost(true);
    start();
    ASSERT_TRUE(waitForCall());
    ASSERT_EQ(Halcyon::lastLoggedInUserName(), std::optional<std::string>(defaults::kUserName));
    ASSERT_GT(Halcyon::unviewedChallengesCount(), 0);
    const auto firstToken = Halcyon::provider()->accessToken();
    ASSERT_TRUE(firstToken.has_value());
    std::vector<std::string> changes;
    recordUserChanges(this, changes);

    Halcyon::session()->logoutUser();
    ASSERT_TRUE(waitUntil([&] { return game.calls.size() == 2; }));
    EXPECT_EQ(game.calls.back(), "out 1001");
    EXPECT_EQ(Halcyon::lastLoggedInUserId(), "0");
    EXPECT_FALSE(Halcyon::provider()->accessToken().has_value()) << "the first player's token is gone";
    EXPECT_EQ(Halcyon::unviewedChallengesCount(), 0);
    EXPECT_EQ(Halcyon::unreadInboxTotal(), 0);
    EXPECT_EQ(Halcyon::pendingFriendsCount(), 0);
    EXPECT_FALSE(Halcyon::isSuccessfullyBootstrapped());
    EXPECT_FALSE(Halcyon::hasUserApprovedHalcyon());

    // The next player approves the service and logs in as themself.
    Halcyon::setUserApprovedHalcyon();
    Halcyon::setDoneWithGetTheMost(true);
    Halcyon::loginWithUserId(std::string(defaults::kOtherUserId), HCDelegate(), HCDelegate());
    ASSERT_TRUE(waitUntil([&] { return game.calls.size() == 3; }));
    EXPECT_EQ(game.calls.back(), "online 1002");
    EXPECT_EQ(Halcyon::lastLoggedInUserName(), std::optional<std::string>(defaults::kOtherUserName));
    EXPECT_EQ(banners().back().rfind("Hi Ben!", 0), 0u) << banners().back();
    EXPECT_EQ(Halcyon::session()->currentUser()->userId(), std::optional<std::string>(defaults::kOtherUserId));
    const auto secondToken = Halcyon::provider()->accessToken();
    ASSERT_TRUE(secondToken.has_value());
    EXPECT_NE(*secondToken, *firstToken) << "the next player signs with a token of their own";
    EXPECT_EQ(changes, (std::vector<std::string>{"1001->0", "0->1002"}));
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

// A log-in the network's return starts between the player's approval and
// the confirm screen's appearance is the one the screen waits for: a second
// would not start, and the screen would stay up with the game never told.
TEST_F(LoginChainEndToEndTest, AConfirmScreenThatAppearsWhileALogInRunsEndsWithIt)
{
    start();
    server->faults().injectFor("POST", "bootstrap.xml",
                               localserver::Fault::heldBack(localserver::Fault::reply(500, "down")));
    // The monitor's notice is on the main thread's queue as the player taps:
    // it runs while the approval gives way to the confirm screen.
    platform::Thread::mainThread()->runLoop()->post(
        [] { Halcyon::gameServerReachabilityChanged(HCReachability::ReachableViaWiFi); });
    ASSERT_TRUE(driver->tapButton(HCUserHalcyonApprovalController::kApproveTitle));
    driver->settle();
    ASSERT_TRUE(shown(HCDoBootstrapController::kMessage));
    ASSERT_TRUE(waitUntil([&] { return server->faults().heldCount() == 1; }));
    server->faults().releaseHeld();
    ASSERT_TRUE(waitUntil([&] {
        driver->settle();
        return !game.calls.empty();
    }));
    EXPECT_EQ(game.calls, std::vector<std::string>{"offline 0"});
    EXPECT_FALSE(shown(HCDoBootstrapController::kMessage));
    EXPECT_EQ(logInPaths(), (std::vector<std::string>{"POST xp/devices 200", "POST bootstrap.xml 500"}))
        << "one log-in, the one that was running";
}

TEST_F(LoginChainEndToEndTest, RefusedSecureHandshakeAddsTheDateAndTimeHintThreeSecondsLater)
{
    start();
    Halcyon::session()->establishDeviceSession();
    ASSERT_TRUE(waitUntil([&] { return Halcyon::session()->createdDeviceSession(); }));
    // The same server spoken to over TLS: the bootstrap's handshake cannot succeed.
    HCSettings::Instance()->setObject("https://127.0.0.1:" + std::to_string(server->port()) + "/", "server-url");
    ASSERT_TRUE(driver->tapButton(HCUserHalcyonApprovalController::kApproveTitle));
    // The confirm screen starts the log-in as it appears, and its end takes
    // the screen down on the manual clock: the refusal may come at any point
    // of the screens' moves, so they are settled again each time the main
    // thread has run, until the game hears the end.
    ASSERT_TRUE(waitUntil([&] {
        driver->settle();
        return !game.calls.empty();
    }));
    EXPECT_EQ(game.calls, std::vector<std::string>{"offline 0"}) << "told once the confirm screen has gone";
    EXPECT_EQ(banners(), std::vector<std::string>{"Not Logged In To Halcyon"});
    EXPECT_FALSE(shown(HCDoBootstrapController::kMessage));
    clock->advance(2.9);
    testsupport::drainMain();
    EXPECT_EQ(banners().size(), 1u);
    clock->advance(0.1);
    testsupport::drainMain();
    EXPECT_EQ(banners().back(), "Check your date & time settings.");
}

}  // namespace
