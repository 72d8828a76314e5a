#include "FanClubPagesDemo.h"

#include <string>

#include "core/halcyon/Halcyon.h"
#include "platform/ui/Driver.h"

bool showFanClubPages(const DemoFrames& demo)
{
    platform::ui::Driver driver;
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    bool shown = waitFor(demo, "HCGameProfileController") && driver.tapButton("Fan Club") &&
                 waitFor(demo, "HCFanClubController");
    if (shown) printRows(demo, "fan club", Halcyon::applicationShortDisplayName());
    return closeDashboard(demo) && shown;
}
