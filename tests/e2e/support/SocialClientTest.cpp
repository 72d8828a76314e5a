#include "e2e/support/SocialClientTest.h"

#include "client/HCClientHooks.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "kernel/reachability/HCReachability.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Fixtures.h"
#include "platform/foundation/Sandbox.h"
#include "transport/provider/HCProvider.h"

HCDelegate Reached::success()
{
    return HCDelegate::withFunction([this](const platform::ObjectPtr& object) {
        this->object = object;
        ++calls;
    });
}

HCDelegate Reached::failure()
{
    return HCDelegate::withFunction([this](const platform::ObjectPtr& object) {
        this->object = object;
        failed = true;
        ++calls;
    });
}

void SocialClientTest::SetUp()
{
    HCClientHooks::resetForTesting();
    platform::Sandbox::configure(sandbox.str());
    clock = std::make_unique<testsupport::ScopedManualClock>();
    server = std::make_unique<localserver::Server>();
    localserver::registerServiceRoutes(*server);
    ASSERT_TRUE(server->start()) << server->error();
    HCSettings::setDefaultOverride("server-url", server->serviceRootUrl());
    Halcyon::setUserApprovedHalcyon();
    Halcyon::setDoneWithGetTheMost(true);
}

void SocialClientTest::TearDown()
{
    platform::NotificationCenter::defaultCenter().removeObserver(this);
    HCClientHooks::resetForTesting();
    testsupport::drainMain();
    server->stop();
}

void SocialClientTest::start()
{
    auto settings = platform::Dictionary::make();
    settings->setString(HalcyonSettingInitialUserId, localserver::defaults::kUserId);
    Halcyon::initializeWithProductKey(localserver::defaults::kProductKey, localserver::defaults::kProductSecret,
                                      localserver::defaults::kGameName, settings,
                                      HCDelegatesContainer::containerWithHalcyonDelegate(&game));
    HCReachability::Instance()->setOverride(HCReachability::ReachableViaWiFi);
    ASSERT_TRUE(waitUntil([&] { return !game.calls.empty(); }));
    ASSERT_EQ(game.calls.front(), std::string("online ") + localserver::defaults::kUserId);
    settle();
}

void SocialClientTest::settle()
{
    auto provider = Halcyon::provider();
    ASSERT_TRUE(provider);
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(
            waitUntil([&] { return provider->queuedActionCount() == 0 && provider->runningLoaderCount() == 0; }));
        bool passed = false;
        provider->requestThread()->runLoop()->post([&passed] { platform::performOnMain([&passed] { passed = true; }); });
        ASSERT_TRUE(waitUntil([&] { return passed; }));
        testsupport::drainMain();
    }
}

size_t SocialClientTest::requestsTo(const std::string& path) const
{
    size_t count = 0;
    for (const auto& entry : server->log().entries()) count += entry.request.path == path;
    return count;
}

void SocialClientTest::observe(const std::string& name)
{
    platform::NotificationCenter::defaultCenter().addObserver(
        this, name, [this](const platform::Notification& n) { posted.push_back(n); });
}
