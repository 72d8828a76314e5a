#include "DiscoveryPagesDemo.h"

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NavigationController.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/table/HCTableControllerHelper.h"

bool showPlayedGames(const DemoFrames& demo)
{
    const auto& say = demo.say;
    auto waitFor = [&](const std::function<bool()>& done) {
        for (int i = 0; i < demo.frames && !done(); ++i) demo.frame(done);
        return done();
    };
    Halcyon::launchDashboard();
    // Pages pushed while the dashboard still slides in are not kept.
    if (!waitFor([] { return Halcyon::dashboardVisible() && HalcyonDashboard::getActiveNavigationController(); })) {
        say("games: the dashboard did not open");
        return false;
    }
    auto page = std::dynamic_pointer_cast<HCTableControllerHelper>(HCControllerLoader::load("PlayedGame"));
    if (!page) {
        say("games: no played-games page");
        return false;
    }
    HalcyonDashboard::getActiveNavigationController()->pushViewController(page, true);
    const bool listed = waitFor([&] {
        return page->hasLoadedData() && !page->isLoadingData() && !page->isShowingLoadingScreen() &&
               Halcyon::provider()->queuedActionCount() == 0 && Halcyon::provider()->runningLoaderCount() == 0;
    });
    if (listed) {
        say("games: your played games");
        for (const auto& row : platform::ui::Driver::readTable(page->tableView())) say("games:   " + row);
    } else {
        say("games: the played games did not come up");
    }
    Halcyon::dismissDashboard();
    waitFor([] { return !Halcyon::dashboardVisible(); });
    return listed;
}
