#include "ProfilePagesDemo.h"

#include <memory>
#include <string>

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "localserver/Fixtures.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NavigationController.h"
#include "socialpages/friends/HCFriendsController.h"
#include "socialpages/profile/HCProfileController.h"
#include "uiframework/HCControllerLoader.h"

namespace profiledemo {

namespace {

constexpr const char* kCleo = "1004";

void sayRows(const DemoFrames& demo, const std::string& heading)
{
    std::string names;
    for (const auto& row : rows())
        if (row.rfind("[", 0) != 0) names += (names.empty() ? "" : ", ") + row.substr(0, row.find(" | "));
    demo.say("profiles: " + heading + ": " + (names.empty() ? "(none)" : names));
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
    return closeDashboard(demo) && shown;
}

}  // namespace profiledemo
