#include "ChatPagesDemo.h"

#include <functional>
#include <string>
#include <vector>

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/foundation/Values.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TextField.h"
#include "social/announcements/HCAnnouncementService.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCViewController.h"
#include "uiframework/table/HCTableControllerHelper.h"

namespace chatpagesdemo {

namespace {

std::shared_ptr<HCViewController> top()
{
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    return navigation ? std::dynamic_pointer_cast<HCViewController>(navigation->topViewController()) : nullptr;
}

std::vector<std::string> rows()
{
    auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(top());
    return table ? platform::ui::Driver::readTable(table->tableView()) : std::vector<std::string>{};
}

// The page of this kind is on top, idle, with its table laid out.
bool waitFor(const DemoFrames& demo, const std::string& kind)
{
    std::function<bool()> ready = [&] {
        auto page = top();
        auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(page);
        return page && page->kindName() == kind && !page->isShowingLoadingScreen() &&
               (!table || (!table->isLoadingData() && table->tableView()->numberOfSections() > 0)) &&
               Halcyon::provider()->queuedActionCount() == 0 && Halcyon::provider()->runningLoaderCount() == 0;
    };
    for (int i = 0; i < demo.frames && !ready(); ++i) demo.frame(ready);
    if (!ready()) demo.say("chat pages: " + kind + " did not come up");
    return ready();
}

// Taps the first row that shows `text`.
bool tapRow(const std::string& text)
{
    auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(top());
    if (!table) return false;
    auto view = table->tableView();
    platform::ui::Driver driver;
    for (int section = 0; section < view->numberOfSections(); ++section) {
        for (int row = 0; row < view->numberOfRowsInSection(section); ++row) {
            auto cell = table->cellForRowAtIndexPath(*view, platform::ui::IndexPath{section, row});
            if (platform::ui::Driver::labelsText(cell).find(text) == std::string::npos) continue;
            return driver.selectRow(view, platform::ui::IndexPath{section, row});
        }
    }
    return false;
}

bool lastRowShows(const std::string& text)
{
    const auto shown = rows();
    return !shown.empty() && shown.back().find(text) != std::string::npos;
}

bool close(const DemoFrames& demo)
{
    Halcyon::dismissDashboard();
    std::function<bool()> closed = [] { return !Halcyon::dashboardVisible(); };
    for (int i = 0; i < demo.frames && !closed(); ++i) demo.frame(closed);
    return closed();
}

bool showRoom(const DemoFrames& demo)
{
    Halcyon::launchDashboardWithListGlobalChatRoomsPage();
    if (!waitFor(demo, "HCSelectChatRoomDefinitionController")) return false;
    demo.say("chat pages: rooms");
    for (const auto& row : rows()) demo.say("chat pages:   " + row);
    if (!tapRow("Global") || !waitFor(demo, "HCSelectChatRoomInstanceController")) return false;
    if (!tapRow("Global 1") || !waitFor(demo, "HCChatRoomController")) return false;
    auto room = top();
    std::function<bool()> hasLines = [] { return !rows().empty() && rows().front().find("(") != 0; };
    for (int i = 0; i < demo.frames && !hasLines(); ++i) demo.frame(hasLines);
    demo.say("chat pages: in " + room->title());
    for (const auto& row : rows()) demo.say("chat pages:   " + row);

    const std::string line = "Hello from the demo";
    auto field = platform::ui::Driver::findFirst<platform::ui::TextField>(room->navigationController()->view());
    platform::ui::Driver driver;
    if (!field || driver.typeText(field, line) == 0 || !driver.tapButton("Send")) {
        demo.say("chat pages: the message box did not take the line");
        return false;
    }
    std::function<bool()> back = [&] { return lastRowShows(line); };
    for (int i = 0; i < demo.frames && !back(); ++i) demo.frame(back);
    if (!back()) {
        demo.say("chat pages: the line said did not come back");
        return false;
    }
    demo.say("chat pages: said, and back from the poller: " + rows().back());
    return true;
}

bool showAnnouncementPages(const DemoFrames& demo)
{
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"),
                                         {platform::String::make("AnnouncementBrowser")});
    if (!waitFor(demo, "HCAnnouncementBrowserController")) return false;
    demo.say("announcement pages: list, unread now " + std::to_string(HCAnnouncementService::unreadAnnouncements()));
    for (const auto& row : rows()) demo.say("announcement pages:   " + row);
    if (!tapRow("Welcome to Tolvarine") || !waitFor(demo, "HCAnnouncementDetailController")) return false;
    demo.say("announcement pages: " + top()->title());
    for (const auto& row : rows()) demo.say("announcement pages:   " + row);
    return true;
}

}  // namespace

bool showChatPages(const DemoFrames& demo)
{
    const bool roomShown = showRoom(demo);
    bool shown = close(demo) && roomShown;
    const bool announcementsShown = showAnnouncementPages(demo);
    return close(demo) && shown && announcementsShown;
}

}  // namespace chatpagesdemo
