#include "ProfilePagesDemo.h"

#include <functional>
#include <memory>
#include <string>

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "localserver/Fixtures.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NavigationController.h"
#include "socialpages/friends/HCFriendsController.h"
#include "socialpages/profile/HCProfileController.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/table/HCTableControllerHelper.h"

namespace profiledemo {

namespace {

constexpr const char* kCleo = "1004";

std::shared_ptr<HCViewController> top()
{
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    return navigation ? std::dynamic_pointer_cast<HCViewController>(navigation->topViewController()) : nullptr;
}

// The page of this kind is on top and shows what it loaded, with nothing
// loading or asked of the service.
bool waitFor(const DemoFrames& demo, const std::string& kind, const std::function<bool()>& shows = [] { return true; })
{
    auto ready = [&] {
        auto page = top();
        auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(page);
        return page && page->kindName() == kind && !page->isShowingLoadingScreen() &&
               (!table || (table->hasLoadedData() && !table->isLoadingData())) && shows() &&
               Halcyon::provider()->queuedActionCount() == 0 &&
               Halcyon::provider()->runningLoaderCount() == 0;
    };
    for (int i = 0; i < demo.frames && !ready(); ++i) demo.frame(ready);
    if (!ready()) demo.say("profiles: " + kind + " did not come up");
    return ready();
}

void sayRows(const DemoFrames& demo, const std::string& heading)
{
    auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(top());
    std::string rows;
    for (const auto& row : platform::ui::Driver::readTable(table->tableView()))
        if (row.rfind("[", 0) != 0) rows += (rows.empty() ? "" : ", ") + row.substr(0, row.find(" | "));
    demo.say("profiles: " + heading + ": " + (rows.empty() ? "(none)" : rows));
}

}  // namespace

bool showProfilePages(localserver::Server* server, const DemoFrames& demo)
{
    if (server) {
        auto cleo = *server->accounts().user(kCleo);
        cleo.friends.push_back(localserver::defaults::kUserId);
        server->accounts().addUser(cleo);
    }
    platform::ui::Driver driver;
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("MyHalcyon"), {});
    bool shown = waitFor(demo, "HCMyHalcyonController");
    if (shown) {
        auto local = Halcyon::localUser();
        demo.say("profiles: My Halcyon for " + (local ? local->name().value_or("?") : std::string("?")));
        shown = driver.tapButton("My Friends") && waitFor(demo, "HCFriendsController");
    }
    if (shown) {
        sayRows(demo, "friends");
        shown = driver.tapButton("Pending") && waitFor(demo, "HCFriendsController");
    }
    if (shown) {
        sayRows(demo, "pending (" + std::to_string(Halcyon::pendingFriendsCount()) + ")");
        shown = driver.tapButton("Friends") && waitFor(demo, "HCFriendsController") &&
                driver.selectRowWithText("Ben") && waitFor(demo, "HCProfileController", [] {
                    auto profile = std::dynamic_pointer_cast<HCProfileController>(top());
                    return profile && !profile->friendsSubtextLabel()->text().empty();
                });
    }
    if (shown) {
        auto profile = std::dynamic_pointer_cast<HCProfileController>(top());
        demo.say("profiles: " + profile->title() + ": " + profile->friendsSubtextLabel()->text() + ", " +
                 profile->gamesSubtextLabel()->text());
        auto navigation = HalcyonDashboard::getActiveNavigationController();
        navigation->pushViewController(HCControllerLoader::load("WhosPlaying"), true);
        shown = waitFor(demo, "HCWhosPlayingController");
    }
    if (shown) sayRows(demo, "who's playing");
    Halcyon::dismissDashboard();
    auto closed = [] { return !Halcyon::dashboardVisible(); };
    for (int i = 0; i < demo.frames && !closed(); ++i) demo.frame(closed);
    return closed() && shown;
}

}  // namespace profiledemo
