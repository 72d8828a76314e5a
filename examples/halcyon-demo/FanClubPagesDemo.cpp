#include "FanClubPagesDemo.h"

#include <functional>
#include <memory>
#include <string>

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NavigationController.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/table/HCTableControllerHelper.h"

bool showFanClubPages(const DemoFrames& demo)
{
    platform::ui::Driver driver;
    auto top = [] {
        auto navigation = HalcyonDashboard::getActiveNavigationController();
        return navigation ? std::dynamic_pointer_cast<HCViewController>(navigation->topViewController()) : nullptr;
    };
    // The page of this kind is on top with its rows, and nothing is asked of the service.
    auto waitFor = [&](const std::string& kind) {
        const std::function<bool()> ready = [&] {
            auto page = top();
            auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(page);
            return page && page->kindName() == kind && !page->isShowingLoadingScreen() &&
                   (!table || table->tableView()->numberOfSections() > 0) &&
                   Halcyon::provider()->queuedActionCount() == 0 && Halcyon::provider()->runningLoaderCount() == 0;
        };
        for (int i = 0; i < demo.frames && !ready(); ++i) demo.frame(ready);
        if (!ready()) demo.say("fan club: " + kind + " did not come up");
        return ready();
    };
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    bool shown = waitFor("HCGameProfileController") && driver.tapButton("Fan Club") && waitFor("HCFanClubController");
    if (shown) {
        auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(top());
        demo.say("fan club: " + Halcyon::applicationShortDisplayName());
        for (const auto& row : platform::ui::Driver::readTable(table->tableView())) demo.say("fan club:   " + row);
    }
    Halcyon::dismissDashboard();
    const std::function<bool()> closed = [] { return !Halcyon::dashboardVisible(); };
    for (int i = 0; i < demo.frames && !closed(); ++i) demo.frame(closed);
    return closed() && shown;
}
