#include "DiscoveryPagesDemo.h"

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/ui/NavigationController.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/table/HCTableControllerHelper.h"

bool showPlayedGames(const DemoFrames& demo)
{
    const auto& say = demo.say;
    Halcyon::launchDashboard();
    // Pages pushed while the dashboard still slides in are not kept.
    if (!waitUntil(demo, [] { return Halcyon::dashboardVisible() && HalcyonDashboard::getActiveNavigationController(); })) {
        say("games: the dashboard did not open");
        return false;
    }
    auto page = std::dynamic_pointer_cast<HCTableControllerHelper>(HCControllerLoader::load("PlayedGame"));
    if (!page) {
        say("games: no played-games page");
        return false;
    }
    HalcyonDashboard::getActiveNavigationController()->pushViewController(page, true);
    const bool listed = waitFor(demo, "HCPlayedGameController");
    if (listed) printRows(demo, "games", "your played games");
    closeDashboard(demo);
    return listed;
}
