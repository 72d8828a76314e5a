#include "SettingsPagesDemo.h"

#include <memory>
#include <string>

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/ui/NavigationController.h"
#include "socialpages/settings/HCUserSettingCells.h"
#include "socialpages/settings/HCUserSettingController.h"

namespace {

std::shared_ptr<HCUserSettingController> settingsOnTop()
{
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    return navigation ? std::dynamic_pointer_cast<HCUserSettingController>(navigation->topViewController()) : nullptr;
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
    if (!pushPageOnTab(demo, "GameProfile", "UserSetting", "settings")) return false;
    bool shown = waitFor(demo, "HCUserSettingController");
    if (shown) printRows(demo, "settings", settingsOnTop()->title());
    auto location = shown ? switchRow("location") : nullptr;
    shown = location && location->booleanSwitch()->toggle() && waitFor(demo, "HCUserSettingController");
    const bool off = shown && !location->booleanSwitch()->isOn() && Halcyon::userDistanceUnit() == 1;
    demo.say(std::string("settings: location switched ") + (off ? "off, the device shares no position" : "NOT off"));
    return closeDashboard(demo) && off;
}
