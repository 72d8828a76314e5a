#include "DemoPages.h"

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/runtime/Clock.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NavigationController.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCViewController.h"
#include "uiframework/table/HCTableControllerHelper.h"

bool timeLeft(const DemoFrames& demo)
{
    return platform::Clock::currentTime() < demo.deadline;
}

bool waitUntil(const DemoFrames& demo, const std::function<bool()>& done)
{
    for (int i = 0; i < demo.frames && !done() && timeLeft(demo); ++i) demo.frame(done);
    return done();
}

platform::ObjectPtr await(const DemoFrames& demo, const std::function<void(HCDelegate, HCDelegate)>& start)
{
    struct Answer {
        platform::ObjectPtr reply;
        bool arrived = false;
    };
    auto answer = std::make_shared<Answer>();
    start(HCDelegate::withFunction([answer](const platform::ObjectPtr& object) {
              answer->reply = object;
              answer->arrived = true;
          }),
          HCDelegate::withFunction([answer](const platform::ObjectPtr&) { answer->arrived = true; }));
    waitUntil(demo, [answer] { return answer->arrived; });
    return answer->reply;
}

std::shared_ptr<HCViewController> top()
{
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    return navigation ? std::dynamic_pointer_cast<HCViewController>(navigation->topViewController()) : nullptr;
}

bool waitFor(const DemoFrames& demo, const std::string& kind, const std::function<bool()>& shows)
{
    const bool ready = waitUntil(demo, [&] {
        auto page = top();
        auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(page);
        return page && page->kindName() == kind && !page->isShowingLoadingScreen() &&
               (!table || (table->hasLoadedData() && !table->isLoadingData())) && (!shows || shows()) &&
               Halcyon::provider()->queuedActionCount() == 0 && Halcyon::provider()->runningLoaderCount() == 0;
    });
    if (!ready) demo.say(kind + " did not come up");
    return ready;
}

std::vector<std::string> rows()
{
    auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(top());
    return table ? platform::ui::Driver::readTable(table->tableView()) : std::vector<std::string>{};
}

namespace {

// A player the service knows no game of reads "Ben | Last played  | 0": a
// prefix with nothing after it and a score of nothing. The name says it all.
std::string readable(std::string row)
{
    if (const auto at = row.find(" | Last played  | "); at != std::string::npos) row.erase(at);
    return row;
}

}  // namespace

void printRows(const DemoFrames& demo, const std::string& area, const std::string& heading)
{
    demo.say(area + ": " + heading);
    for (const auto& row : rows()) demo.say(area + ":   " + readable(row));
}

bool selectRowShowing(const std::string& text)
{
    auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(top());
    if (!table) return false;
    auto view = table->tableView();
    for (int section = 0; section < view->numberOfSections(); ++section) {
        for (int row = 0; row < view->numberOfRowsInSection(section); ++row) {
            const platform::ui::IndexPath path{section, row};
            // The page makes the cell, so a row below the screen counts too.
            auto cell = table->cellForRowAtIndexPath(*view, path);
            if (cell && platform::ui::Driver::labelsText(cell).find(text) != std::string::npos)
                return platform::ui::Driver().selectRow(view, path);
        }
    }
    return false;
}

bool pushPageOnTab(const DemoFrames& demo, const std::string& tab, const std::string& loaderName,
                   const std::string& area)
{
    Halcyon::launchDashboardWithDelegate(nullptr, tab, {});
    const bool opened = waitUntil(
        demo, [] { return Halcyon::isShowingFullScreen() && HalcyonDashboard::getActiveNavigationController(); });
    auto page = HCControllerLoader::load(loaderName);
    if (!opened || !page) {
        demo.say(area + ": the page did not open");
        return false;
    }
    HalcyonDashboard::getActiveNavigationController()->pushViewController(page, true);
    return true;
}

bool closeDashboard(const DemoFrames& demo)
{
    Halcyon::dismissDashboard();
    return waitUntil(demo, [] { return !Halcyon::dashboardVisible(); });
}
