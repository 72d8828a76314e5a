#include "client/support/HalcyonTest.h"

#include "kernel/reachability/HCReachability.h"
#include "kernel/settings/HCSettings.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/UserDefaults.h"

void HalcyonTest::SetUp()
{
    HCClientHooks::resetForTesting();
    platform::Sandbox::configure(sandbox.str());
    clock = std::make_unique<testsupport::ScopedManualClock>();
    // Port 1 on loopback: nothing listens, so the monitor measures "not reachable".
    HCSettings::setDefaultOverride("server-url", "http://127.0.0.1:1/");
}

void HalcyonTest::TearDown()
{
    HCClientHooks::resetForTesting();
    testsupport::drainMain();
    clock->advance(60);  // banners still on their way out leave now
    testsupport::drainMain();
    clock.reset();
}

void HalcyonServerTest::SetUp()
{
    HalcyonTest::SetUp();
    localserver::registerServiceRoutes(server);
    ASSERT_TRUE(server.start()) << server.error();
    HCSettings::setDefaultOverride("server-url", server.serviceRootUrl());
}

void HalcyonServerTest::TearDown()
{
    HalcyonTest::TearDown();
    server.stop();
}

HCClientAssembly HalcyonTest::assembly()
{
    HCClientAssembly result = HCClientHooks::assembly();
    result.loginChain = chain;
    result.loginScreens = nullptr;
    return result;
}

void HalcyonTest::start(std::shared_ptr<platform::Dictionary> settings)
{
    start(assembly(), std::move(settings));
}

void HalcyonTest::start(HCClientAssembly assembly, std::shared_ptr<platform::Dictionary> settings)
{
    if (approvedPlayer && !Halcyon::hasUserSetHalcyonAccess()) {
        Halcyon::setUserApprovedHalcyon();
    }
    Halcyon::_initialize("product-key", "product-secret", "Tolvarine Ruvuru", settings, delegates, std::move(assembly));
}

void HalcyonTest::restartProcess()
{
    Halcyon::shutdown();
    Halcyon::_resetUserStatsForTesting();
    platform::UserDefaults::resetStandardUserDefaults();
}

void HalcyonTest::setReachable(bool reachable)
{
    HCReachability::Instance()->setOverride(reachable ? HCReachability::ReachableViaWiFi
                                                      : HCReachability::NotReachable);
    testsupport::drainMain();
}

std::shared_ptr<platform::Dictionary> settingsWith(
    std::initializer_list<std::pair<const char*, platform::ObjectPtr>> entries)
{
    auto settings = platform::Dictionary::make();
    for (const auto& [key, value] : entries) {
        settings->setObject(key, value);
    }
    return settings;
}

platform::ObjectPtr yes()
{
    return platform::Number::makeBool(true);
}

platform::ObjectPtr no()
{
    return platform::Number::makeBool(false);
}
