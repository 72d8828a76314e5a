// The presence channel as a game meets it: the client started against the
// local server, logged in by its bootstrap, connected over TLS to a real
// broker (scripts/broker), told by the server's publisher when a friend
// comes online, and disconnected, refused or cut off by the broker for real.
// Retry waits run on the manual clock; wall time only bounds real I/O.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>

#include "client/HCClientHooks.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "core/users/HCUser.h"
#include "kernel/reachability/HCReachability.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Fixtures.h"
#include "localserver/Server.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Sandbox.h"
#include "platform/ui/Application.h"
#include "support/BannerWindow.h"
#include "support/TestBroker.h"
#include "support/TestSupport.h"
#include "transport/presence/HCPresenceService.h"
#include "transport/provider/HCProvider.h"

namespace defaults = localserver::defaults;
using State = HCPresenceService::State;

namespace {

// Hears only how the log-in ended.
class Game final : public HalcyonDelegate {
public:
    void userLoggedIn(const std::string& userId) override { loggedIn.push_back(userId); }
    std::vector<std::string> loggedIn;
};

localserver::XmlNode userNode(const char* id, const char* name, bool online)
{
    auto node = localserver::XmlNode::parent("user");
    node.add("id", id);
    node.add("name", name);
    node.add("online", online ? "true" : "false");
    return node;
}

localserver::XmlNode friendNode(bool online)
{
    return userNode(defaults::kOtherUserId, defaults::kOtherUserName, online);
}

class PresenceEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HC_REQUIRE_BROKER(broker);
        HCClientHooks::resetForTesting();
        platform::Sandbox::configure(sandbox.str());
        clock = std::make_unique<testsupport::ScopedManualClock>();
        localserver::ServerOptions options;
        localserver::BrokerOptions brokerOptions;
        brokerOptions.stompPort = broker->stompPort;
        brokerOptions.managementPort = broker->managementPort;
        // Test programs share the broker: each server its own queues.
        static int servers = 0;
        brokerOptions.queuePrefix =
            "/queue/presence-test." + std::to_string(getpid()) + "." + std::to_string(++servers) + ".";
        options.broker = brokerOptions;
        server = std::make_unique<localserver::Server>(options);
        localserver::registerServiceRoutes(*server);
        ASSERT_TRUE(server->start()) << server->error();
        HCSettings::setDefaultOverride("server-url", server->serviceRootUrl());
        HCSettings::setDefaultOverride("presence-host", "127.0.0.1:" + std::to_string(broker->stompTlsPort));
        HCSettings::setDefaultOverride("presence-ca-file", broker->caFile);
        Halcyon::setUserApprovedHalcyon();
        Halcyon::setDoneWithGetTheMost(true);
        auto& center = platform::NotificationCenter::defaultCenter();
        center.addObserver(this, HCNSNotificationFriendPresenceChanged, [this](const platform::Notification& n) {
            auto user = platform::as<HCUser>(n.userInfo->objectForKey(HCNSNotificationInfoPresenceUser));
            auto presence = platform::as<platform::Number>(n.userInfo->objectForKey(HCNSNotificationInfoPresence));
            changes.push_back(user->userId().value_or("?") + (presence && presence->boolValue() ? " online" : " away") +
                              (platform::Thread::isMainThread() ? "" : " (not on main)"));
        });
        center.addObserver(this, "user_discovered", [this](const platform::Notification&) { ++discovered; });
        center.addObserver(this, HCPresenceStateChanged, [this](const platform::Notification& n) {
            states.push_back(platform::textOf(n.userInfo->objectForKey(HCPresenceStateKey)).value_or("?"));
        });
    }

    void TearDown() override
    {
        platform::NotificationCenter::defaultCenter().removeObserver(this);
        HCClientHooks::resetForTesting();
        testsupport::drainMain();
        if (server) server->stop();
    }

    void start()
    {
        auto settings = platform::Dictionary::make();
        settings->setString(HalcyonSettingInitialUserId, defaults::kUserId);
        settings->setObject(HalcyonSettingPresentationWindow, bannerWindow);
        Halcyon::initializeWithProductKey(defaults::kProductKey, defaults::kProductSecret, defaults::kGameName,
                                          settings, HCDelegatesContainer::containerWithHalcyonDelegate(&game));
        HCReachability::Instance()->setOverride(HCReachability::ReachableViaWiFi);
        ASSERT_TRUE(waitUntil([&] { return !game.loggedIn.empty(); }));
        ASSERT_EQ(game.loggedIn.front(), defaults::kUserId);
        ASSERT_TRUE(waitForState(State::Connected));
    }

    static std::shared_ptr<HCPresenceService> presence() { return HCPresenceService::sharedInstance(); }
    bool waitUntil(const std::function<bool()>& done) { return testsupport::runMainUntil(done, 30); }
    bool waitForState(State state) { return waitUntil([&] { return presence() && presence()->state() == state; }); }

    std::vector<std::string> banners()
    {
        testsupport::drainMain();
        std::vector<std::string> texts;
        for (const auto& banner : bannerWindow->shown) texts.push_back(testsupport::BannerWindow::textOf(banner));
        return texts;
    }

    testsupport::TempDir sandbox;
    std::unique_ptr<testsupport::ScopedManualClock> clock;
    std::unique_ptr<localserver::Server> server;
    Game game;
    std::vector<std::string> changes;
    std::vector<std::string> states;
    int discovered = 0;
    std::shared_ptr<testsupport::BannerWindow> bannerWindow = testsupport::BannerWindow::showAside();
};

}  // namespace

TEST_F(PresenceEndToEndTest, AFriendComingOnlineReachesTheGameThroughTheBroker)
{
    start();
    bannerWindow->shown.clear();
    ASSERT_TRUE(server->publishPresence(defaults::kUserId, friendNode(true)));
    ASSERT_TRUE(waitUntil([&] { return !changes.empty(); }));
    EXPECT_EQ(changes, std::vector<std::string>{std::string(defaults::kOtherUserId) + " online"});
    EXPECT_EQ(discovered, 1) << "the player's discovery notification carries the resource";
    EXPECT_EQ(banners(), std::vector<std::string>{std::string(defaults::kOtherUserName) + " is online"});

    ASSERT_TRUE(server->publishPresence(defaults::kUserId, friendNode(false)));
    ASSERT_TRUE(waitUntil([&] { return changes.size() == 2; }));
    EXPECT_EQ(changes.back(), std::string(defaults::kOtherUserId) + " away");
    EXPECT_EQ(banners().size(), 1u) << "going away shows no notice";
}

TEST_F(PresenceEndToEndTest, AnotherPlayersLogInReadsOnlyThatPlayersQueueAndOneWithoutAChannelClosesIt)
{
    start();
    const auto connectedCount = [&] { return std::count(states.begin(), states.end(), "connected"); };
    // The channel's state turns on its own thread before the notice of it
    // reaches the main thread: the notice is what this test counts.
    ASSERT_TRUE(waitUntil([&] { return connectedCount() == 1; })) << testing::PrintToString(states);
    Halcyon::loginWithUserId(std::string(defaults::kOtherUserId), HCDelegate(), HCDelegate());
    ASSERT_TRUE(waitUntil([&] { return game.loggedIn.size() == 2; }));
    ASSERT_EQ(game.loggedIn.back(), defaults::kOtherUserId);
    ASSERT_TRUE(waitUntil([&] { return connectedCount() == 2; }))
        << "a session of the second player's own; states: " << testing::PrintToString(states);
    bannerWindow->shown.clear();

    // Each player's queue says the other came online: the second player
    // hears only what was sent to them.
    ASSERT_TRUE(server->publishPresence(defaults::kUserId, friendNode(true)));
    ASSERT_TRUE(server->publishPresence(defaults::kOtherUserId, userNode(defaults::kUserId, defaults::kUserName, true)));
    ASSERT_TRUE(waitUntil([&] { return !changes.empty(); }));
    EXPECT_EQ(changes, std::vector<std::string>{std::string(defaults::kUserId) + " online"});
    EXPECT_EQ(banners(), std::vector<std::string>{std::string(defaults::kUserName) + " is online"});
    EXPECT_TRUE(waitUntil([&] { return server->presenceConnections() == 1; })) << "the first player's session ended";
    EXPECT_EQ(presence()->failedAttempts(), 0);

    // The service turns the channel off for the next player: the one open closes.
    localserver::BootstrapCounters off;
    off.presenceOff = true;
    server->login().setCounters(off);
    Halcyon::loginWithUserId(std::string(defaults::kUserId), HCDelegate(), HCDelegate());
    ASSERT_TRUE(waitUntil([&] { return game.loggedIn.size() == 3; }));
    ASSERT_TRUE(waitForState(State::Disconnected));
    EXPECT_TRUE(waitUntil([&] { return server->presenceConnections() == 0; }));
    EXPECT_FALSE(Halcyon::loggedInUserSharesOnlineStatus());
}

TEST_F(PresenceEndToEndTest, ConnectionsClosedByTheBrokerAreRetriedAndARefusingBrokerIsGivenUp)
{
    start();
    ASSERT_GE(server->closePresenceConnections(), 1);
    ASSERT_TRUE(waitForState(State::Waiting));
    clock->advance(HCPresenceService::kFirstRetrySeconds);
    ASSERT_TRUE(waitForState(State::Connected)) << "reconnected after the first wait";
    ASSERT_TRUE(server->publishPresence(defaults::kUserId, friendNode(true)));
    ASSERT_TRUE(waitUntil([&] { return !changes.empty(); })) << "messages flow on the new connection";

    // The broker no longer knows the player: every attempt is refused.
    server->removePresenceUsers();
    ASSERT_TRUE(waitForState(State::Waiting)) << "removing a user closes its connections";
    // The count of the first drop still stands: the new connection did not
    // stay up long enough to clear it.
    for (int failed = presence()->failedAttempts(); failed < HCPresenceService::kMaxAttempts; ++failed) {
        ASSERT_TRUE(waitForState(State::Waiting)) << failed;
        ASSERT_EQ(presence()->failedAttempts(), failed);
        clock->advance(HCPresenceService::kFirstRetrySeconds * (1 << (failed - 1)));
        ASSERT_TRUE(waitUntil([&] {
            return presence()->failedAttempts() > failed || presence()->state() == State::GaveUp;
        })) << failed;
    }
    ASSERT_TRUE(waitForState(State::GaveUp));
    EXPECT_EQ(presence()->failedAttempts(), HCPresenceService::kMaxAttempts);
}

TEST_F(PresenceEndToEndTest, BackgroundAndLogOutDisconnectAndTheForegroundReconnects)
{
    start();
    auto application = platform::ui::Application::shared();
    application->enterBackground();
    ASSERT_TRUE(waitForState(State::Disconnected));
    EXPECT_TRUE(waitUntil([&] { return server->presenceConnections() == 0; })) << "the client closed its connection";

    application->enterForeground();
    ASSERT_TRUE(waitForState(State::Connected));
    EXPECT_EQ(server->presenceConnections(), 1);

    Halcyon::provider()->destroyLocalCredentials();
    ASSERT_TRUE(waitForState(State::Disconnected));
    EXPECT_TRUE(waitUntil([&] { return server->presenceConnections() == 0; }));
    clock->advance(3600);
    testsupport::drainMain();
    EXPECT_EQ(presence()->state(), State::Disconnected) << "no retry after log-out";
}
