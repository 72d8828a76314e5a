// The push token handed over by the platform while the client runs against
// the local server: the game's sandbox setting decides the push server the
// service is told, and a failed registration sends nothing.
#include <gtest/gtest.h>

#include "client/HCClientHooks.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "kernel/reachability/HCReachability.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Fixtures.h"
#include "localserver/Server.h"
#include "platform/foundation/Sandbox.h"
#include "support/TestSupport.h"
#include "transport/provider/HCProvider.h"

namespace defaults = localserver::defaults;

namespace {

class Game final : public HalcyonDelegate {
public:
    void userLoggedIn(const std::string&) override { loggedIn = true; }
    bool loggedIn = false;
};

class PushTokenEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HCClientHooks::resetForTesting();
        platform::Sandbox::configure(sandbox.str());
        clock = std::make_unique<testsupport::ScopedManualClock>();
        localserver::registerServiceRoutes(server);
        ASSERT_TRUE(server.start()) << server.error();
        HCSettings::setDefaultOverride("server-url", server.serviceRootUrl());
        Halcyon::setUserApprovedHalcyon();
        Halcyon::setDoneWithGetTheMost(true);
    }
    void TearDown() override
    {
        HCClientHooks::resetForTesting();
        testsupport::drainMain();
        server.stop();
    }

    void start(bool sandboxPush)
    {
        auto settings = platform::Dictionary::make();
        settings->setString(HalcyonSettingInitialUserId, defaults::kUserId);
        settings->setObject(HalcyonSettingUseSandboxPushNotificationServer, platform::Number::makeBool(sandboxPush));
        Halcyon::initializeWithProductKey(defaults::kProductKey, defaults::kProductSecret, defaults::kGameName,
                                          settings, HCDelegatesContainer::containerWithHalcyonDelegate(&game));
        HCReachability::Instance()->setOverride(HCReachability::ReachableViaWiFi);
        ASSERT_TRUE(testsupport::runMainUntil([&] { return game.loggedIn; }));
    }

    // The token registrations the server received, once the provider is idle.
    std::vector<std::string> registrations()
    {
        auto provider = Halcyon::provider();
        EXPECT_TRUE(provider && provider->waitUntilIdle(10.0));
        testsupport::drainMain();
        std::vector<std::string> out;
        for (const auto& entry : server.log().entries())
            if (entry.request.path == "push_notification_device_tokens.xml")
                out.push_back(entry.request.param("apns_environment").value_or("?") + " " +
                              entry.request.param("device_token").value_or("?") + " " +
                              std::to_string(entry.status));
        return out;
    }

    testsupport::TempDir sandbox;
    std::unique_ptr<testsupport::ScopedManualClock> clock;
    localserver::Server server;
    Game game;
};

TEST_F(PushTokenEndToEndTest, TheGamesSandboxSettingChoosesThePushServerAndAFailedRegistrationSendsNothing)
{
    start(true);
    Halcyon::applicationDidFailToRegisterForRemoteNotifications();
    EXPECT_TRUE(registrations().empty());
    Halcyon::applicationDidRegisterForRemoteNotificationsWithDeviceToken(
        std::make_shared<platform::Data>(std::vector<uint8_t>{0xde, 0xad, 0xbe, 0xef, 0x01}));
    EXPECT_EQ(registrations(), std::vector<std::string>{"sandbox deadbeef 01 200"});
    Halcyon::shutdown();

    // The next launch of a production build.
    game.loggedIn = false;
    start(false);
    Halcyon::applicationDidRegisterForRemoteNotificationsWithDeviceToken(
        std::make_shared<platform::Data>(std::vector<uint8_t>{0xde, 0xad, 0xbe, 0xef, 0x01}));
    EXPECT_EQ(registrations(), (std::vector<std::string>{"sandbox deadbeef 01 200", "production deadbeef 01 200"}));
    Halcyon::shutdown();
}

}  // namespace
