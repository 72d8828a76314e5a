#include "SettingsPagesDemo.h"

#include <memory>
#include <string>

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NavigationController.h"
#include "socialpages/settings/HCUserSettingCells.h"
#include "socialpages/settings/HCUserSettingController.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCControllerLoader.h"

namespace {

std::shared_ptr<HCUserSettingController> settingsOnTop()
{
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    return navigation ? std::dynamic_pointer_cast<HCUserSettingController>(navigation->topViewController()) : nullptr;
}

// The page is on top, shows its sections, and nothing is asked of the service.
bool idle()
{
    auto page = settingsOnTop();
    return page && !page->isShowingLoadingScreen() && !page->isLoadingData() &&
           page->tableView()->numberOfSections() > 0 && Halcyon::provider()->queuedActionCount() == 0 &&
           Halcyon::provider()->runningLoaderCount() == 0;
}

bool waitForIdle(const DemoFrames& demo)
{
    for (int i = 0; i < demo.frames && !idle(); ++i) demo.frame(idle);
    return idle();
}

std::shared_ptr<HCUserSettingCell> switchRow(const std::string& key)
{
    for (const auto& cell : settingsOnTop()->tableView()->visibleCells()) {
        auto row = std::dynamic_pointer_cast<HCUserSettingCell>(cell);
        auto setting = row ? platform::as<HCUserSetting>(row->resource()) : nullptr;
        if (setting && setting->key() == key) return row;
    }
    return nullptr;
}

}  // namespace

bool showSettingsPage(const DemoFrames& demo)
{
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    auto opened = [] { return Halcyon::isShowingFullScreen() && HalcyonDashboard::getActiveNavigationController(); };
    for (int i = 0; i < demo.frames && !opened(); ++i) demo.frame(opened);
    auto page = HCControllerLoader::load("UserSetting");
    if (!opened() || !page) {
        demo.say("settings: the page did not open");
        return false;
    }
    HalcyonDashboard::getActiveNavigationController()->pushViewController(page, true);
    bool shown = waitForIdle(demo);
    if (shown) {
        demo.say("settings: " + settingsOnTop()->title());
        for (const auto& row : platform::ui::Driver::readTable(settingsOnTop()->tableView()))
            demo.say("settings:   " + row);
    }
    auto location = shown ? switchRow("location") : nullptr;
    shown = location && location->booleanSwitch()->toggle() && waitForIdle(demo);
    const bool off = shown && !location->booleanSwitch()->isOn() && Halcyon::userDistanceUnit() == 1;
    demo.say(std::string("settings: location switched ") + (off ? "off, the device shares no position" : "NOT off"));
    Halcyon::dismissDashboard();
    auto closed = [] { return !Halcyon::dashboardVisible(); };
    for (int i = 0; i < demo.frames && !closed(); ++i) demo.frame(closed);
    return off && closed();
}
