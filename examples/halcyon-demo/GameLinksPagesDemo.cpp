#include "GameLinksPagesDemo.h"

#include <memory>
#include <string>

#include "core/halcyon/Halcyon.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/discovery/HCFeaturedGameCell.h"
#include "gamepages/discovery/HCPlayedGameController.h"
#include "kernel/settings/HCSettings.h"
#include "socialpages/announcements/HCApplicationDescriptionController.h"
#include "uiframework/HCControllerLoader.h"

namespace {

std::shared_ptr<HCFramedNavigationController> frame()
{
    return std::dynamic_pointer_cast<HCFramedNavigationController>(HalcyonDashboard::getActiveNavigationController());
}

}  // namespace

bool showGameLinks(const DemoFrames& demo)
{
    const auto& say = demo.say;
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    auto banner = [] {
        auto navigation = frame();
        auto cell = navigation ? std::dynamic_pointer_cast<HCFeaturedGameCell>(navigation->featuredBanner()) : nullptr;
        return cell && cell->resource() ? cell : nullptr;
    };
    bool shown = waitUntil(demo, [&] { return banner() != nullptr; });
    if (shown) {
        say("links: Now Playing shows the featured banner " + banner()->imageView()->imageUrl().value_or(""));
    } else {
        say("links: Now Playing shows no featured banner");
    }

    auto games = HCControllerLoader::load<HCPlayedGameController>("PlayedGame");
    if (shown && games && frame()) {
        games->setScope(1);
        frame()->pushViewController(games, true);
        shown = waitFor(demo, "HCPlayedGameController") && selectRowShowing("Pebble Tide");
    }
    auto description = [] { return std::dynamic_pointer_cast<HCApplicationDescriptionController>(top()); };
    shown = shown && waitUntil(demo, [&] { return description() != nullptr; });
    if (shown) {
        const std::string root = HCSettings::Instance()->objectForKey("server-url").value_or("");
        std::string address = description()->pageURL();
        if (address.rfind(root, 0) == 0) address = address.substr(root.size());
        say("links: a friend's game you lack opens \"" + description()->title() + "\": " + address);
    } else {
        say("links: a friend's game did not open its description");
    }
    return closeDashboard(demo) && shown;
}
