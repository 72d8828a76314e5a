#include "ChatPagesDemo.h"

#include <string>

#include "core/halcyon/Halcyon.h"
#include "platform/foundation/Values.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TextField.h"
#include "social/announcements/HCAnnouncementService.h"
#include "uiframework/HCViewController.h"

namespace chatpagesdemo {

namespace {

bool lastRowShows(const std::string& text)
{
    const auto shown = rows();
    return !shown.empty() && shown.back().find(text) != std::string::npos;
}

bool showRoom(const DemoFrames& demo)
{
    Halcyon::launchDashboardWithListGlobalChatRoomsPage();
    if (!waitFor(demo, "HCSelectChatRoomDefinitionController")) return false;
    printRows(demo, "chat pages", "rooms");
    if (!selectRowShowing("Global") || !waitFor(demo, "HCSelectChatRoomInstanceController")) return false;
    if (!selectRowShowing("Global 1") || !waitFor(demo, "HCChatRoomController")) return false;
    auto room = top();
    waitUntil(demo, [] { return !rows().empty() && rows().front().find("(") != 0; });
    printRows(demo, "chat pages", "in " + room->title());

    const std::string line = "Hello from the demo";
    auto field = platform::ui::Driver::findFirst<platform::ui::TextField>(room->navigationController()->view());
    platform::ui::Driver driver;
    if (!field || driver.typeText(field, line) == 0 || !driver.tapButton("Send")) {
        demo.say("chat pages: the message box did not take the line");
        return false;
    }
    if (!waitUntil(demo, [&] { return lastRowShows(line); })) {
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
    printRows(demo, "announcement pages",
              "list, unread now " + std::to_string(HCAnnouncementService::unreadAnnouncements()));
    if (!selectRowShowing("Welcome to Tolvarine") || !waitFor(demo, "HCAnnouncementDetailController")) return false;
    printRows(demo, "announcement pages", top()->title());
    return true;
}

}  // namespace

bool showChatPages(const DemoFrames& demo)
{
    const bool roomShown = showRoom(demo);
    bool shown = closeDashboard(demo) && roomShown;
    const bool announcementsShown = showAnnouncementPages(demo);
    return closeDashboard(demo) && shown && announcementsShown;
}

}  // namespace chatpagesdemo
