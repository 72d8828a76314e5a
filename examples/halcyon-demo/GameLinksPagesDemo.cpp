#include "GameLinksPagesDemo.h"

#include <functional>
#include <memory>
#include <string>

#include "core/halcyon/Halcyon.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/discovery/HCFeaturedGameCell.h"
#include "gamepages/discovery/HCPlayedGameController.h"
#include "kernel/settings/HCSettings.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NavigationController.h"
#include "socialpages/announcements/HCApplicationDescriptionController.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCControllerLoader.h"

namespace {

std::shared_ptr<HCFramedNavigationController> frame()
{
    return std::dynamic_pointer_cast<HCFramedNavigationController>(HalcyonDashboard::getActiveNavigationController());
}

platform::ui::ViewControllerPtr topPage()
{
    auto navigation = frame();
    return navigation ? navigation->topViewController() : nullptr;
}

// Selects the first row of the table that shows `text`.
bool selectRow(platform::ui::Driver& driver, const std::shared_ptr<platform::ui::TableView>& table,
               const std::string& text)
{
    for (int section = 0; section < table->numberOfSections(); ++section) {
        for (int row = 0; row < table->numberOfRowsInSection(section); ++row) {
            const platform::ui::IndexPath path{section, row};
            auto cell = table->cellForRowAtIndexPath(path);
            if (cell && platform::ui::Driver::labelsText(cell).find(text) != std::string::npos)
                return driver.selectRow(table, path);
        }
    }
    return false;
}

}  // namespace

bool showGameLinks(const DemoFrames& demo)
{
    const auto& say = demo.say;
    platform::ui::Driver driver;
    auto waitFor = [&](const std::function<bool()>& done) {
        for (int i = 0; i < demo.frames && !done(); ++i) demo.frame(done);
        return done();
    };
    auto idle = [] {
        return Halcyon::provider()->queuedActionCount() == 0 && Halcyon::provider()->runningLoaderCount() == 0;
    };
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    auto banner = [] {
        auto navigation = frame();
        auto cell = navigation ? std::dynamic_pointer_cast<HCFeaturedGameCell>(navigation->featuredBanner()) : nullptr;
        return cell && cell->resource() ? cell : nullptr;
    };
    bool shown = waitFor([&] { return banner() != nullptr; });
    if (shown) {
        say("links: Now Playing shows the featured banner " + banner()->imageView()->imageUrl().value_or(""));
    } else {
        say("links: Now Playing shows no featured banner");
    }

    auto games = HCControllerLoader::load<HCPlayedGameController>("PlayedGame");
    if (shown && games && frame()) {
        games->setScope(1);
        frame()->pushViewController(games, true);
        shown = waitFor([&] { return games->hasLoadedData() && !games->isShowingLoadingScreen() && idle(); }) &&
                selectRow(driver, games->tableView(), "Pebble Tide");
    }
    auto description = [] { return std::dynamic_pointer_cast<HCApplicationDescriptionController>(topPage()); };
    shown = shown && waitFor([&] { return description() != nullptr; });
    if (shown) {
        const std::string root = HCSettings::Instance()->objectForKey("server-url").value_or("");
        std::string address = description()->pageURL();
        if (address.rfind(root, 0) == 0) address = address.substr(root.size());
        say("links: a friend's game you lack opens \"" + description()->title() + "\": " + address);
    } else {
        say("links: a friend's game did not open its description");
    }
    Halcyon::dismissDashboard();
    const std::function<bool()> closed = [] { return !Halcyon::dashboardVisible(); };
    waitFor(closed);
    return closed() && shown;
}
