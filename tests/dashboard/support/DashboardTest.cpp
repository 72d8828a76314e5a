#include "dashboard/support/DashboardTest.h"

#include <fstream>

#include "core/users/HCUser.h"
#include "kernel/reachability/HCReachability.h"
#include "kernel/settings/HCSettings.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/Sandbox.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/ui/AlertPanel.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Transitions.h"
#include "transport/provider/HCProvider.h"

namespace dashtest {

namespace {

const bool registered = (platform::registerClass<TestPage>("HCTestPageController"),
                         platform::registerClass<TestTablePage>("HCTestTablePageController"), true);

constexpr const char* kTabs = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>defaultTab</key><string>GameProfile</string>
  <key>offlineTab</key><string>GameProfile</string>
  <key>tabs</key><array>
    <dict><key>name</key><string>GameProfile</string><key>title</key><string>Now Playing</string>
          <key>page</key><string>TestPage</string></dict>
    <dict><key>name</key><string>MyHalcyon</string><key>title</key><string>My Halcyon</string>
          <key>page</key><string>TestPage</string><key>offlinePage</key><string>NoSuchPage</string></dict>
    <dict><key>name</key><string>Inbox</string><key>page</key><string>TestTablePage</string></dict>
  </array>
</dict></plist>
)";

}  // namespace

void DashboardTest::SetUp()
{
    HCClientHooks::resetForTesting();
    platform::DeviceFacts::setLargeScreen(largeScreen);
    std::ofstream(bundle.str() + "/TabBarItems.plist") << kTabs;
    platform::Sandbox::configure(sandbox.str(), bundle.str());
    clock = std::make_unique<testsupport::ScopedManualClock>();
    driver = std::make_unique<platform::ui::Driver>(&clock->clock());
    // Nothing listens on port 1: the game server is not reachable until a test says so.
    HCSettings::setDefaultOverride("server-url", "http://127.0.0.1:1/");
    window = platform::ui::Window::make(platform::ui::Screen::mainScreen()->bounds());
    window->makeKeyAndVisible();
}

void DashboardTest::TearDown()
{
    for (const auto& panel : platform::ui::AlertPanel::shownPanels()) {
        panel->dismissWithClickedButtonIndex(-1, false);
    }
    platform::ui::Transitions::finishAll();
    HCClientHooks::resetForTesting();
    clock->advance(3600);
    testsupport::drainMain();
    window.reset();
    driver.reset();
    clock.reset();
}

void DashboardTest::start(bool approved, std::shared_ptr<platform::Dictionary> settings)
{
    if (approved) {
        Halcyon::setUserApprovedHalcyon();
    }
    HCClientAssembly assembly = HCClientHooks::assembly();
    assembly.loginChain = chain;
    assembly.loginScreens = loginScreens;
    Halcyon::_initialize("product-key", "product-secret", "Tolvarine Ruvuru", settings,
                         HCDelegatesContainer::containerWithHalcyonDelegate(&game), std::move(assembly));
    testsupport::drainMain();
}

void DashboardTest::setReachable(bool reachable)
{
    HCReachability::Instance()->setOverride(reachable ? HCReachability::ReachableViaWiFi
                                                      : HCReachability::NotReachable);
    testsupport::drainMain();
}

void DashboardTest::goOnline()
{
    setReachable(true);
    auto user = HCResource::initWithId<HCUser>(std::string("1001"));
    user->setName(std::string("Ann"));
    Halcyon::setLocalUser(user);
    Halcyon::provider()->setAccessToken("token", "token-secret");
    Halcyon::sessionDidLoginUser();
    testsupport::drainMain();
}

void DashboardTest::settle()
{
    // A transition's end may start the next one (a queued modal): a few rounds.
    for (int round = 0; round < 4; ++round) {
        driver->settle();
        clock->advance(1);
        testsupport::drainMain();
    }
}

}  // namespace dashtest
