#include "InboxPagesDemo.h"

#include <functional>

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "localserver/Fixtures.h"
#include "localserver/routes/ConversationRoutes.h"
#include "localserver/routes/ForumRoutes.h"
#include "platform/foundation/Values.h"
#include "platform/ui/Driver.h"
#include "transport/provider/HCProvider.h"
#include "platform/ui/NavigationController.h"
#include "uiframework/HCViewController.h"
#include "uiframework/table/HCTableControllerHelper.h"

namespace inboxdemo {

bool showInboxPages(localserver::Server* server, const DemoFrames& demo)
{
    using namespace localserver::defaults;
    if (server) {
        // A store the demo can write to, so the friend's reply can be left there.
        auto forums = localserver::registerForumRoutes(*server);
        localserver::registerConversationRoutes(*server, forums);
        const auto conversation = forums->conversationBetween(kUserId, kOtherUserId, server->now());
        forums->reply(conversation.id, kOtherUserId, "Rematch tonight?", server->now() + 1);
    }
    platform::ui::Driver driver;
    auto top = [] {
        auto navigation = HalcyonDashboard::getActiveNavigationController();
        return navigation ? std::dynamic_pointer_cast<HCTableControllerHelper>(navigation->topViewController())
                          : nullptr;
    };
    auto waitFor = [&](const std::string& kind) {
        std::function<bool()> ready = [&] {
            auto page = top();
            return page && page->kindName() == kind && !page->isShowingLoadingScreen() && !page->isLoadingData() &&
                   page->hasLoadedData() && Halcyon::provider()->queuedActionCount() == 0 &&
                   Halcyon::provider()->runningLoaderCount() == 0;
        };
        for (int i = 0; i < demo.frames && !ready(); ++i) demo.frame(ready);
        if (!ready()) demo.say("inbox: " + kind + " did not come up");
        return ready();
    };
    auto printRows = [&](const std::string& heading) {
        demo.say("inbox: " + heading);
        for (const auto& row : platform::ui::Driver::readTable(top()->tableView())) demo.say("inbox:   " + row);
    };
    auto openRow = [&](const std::string& text) {
        const auto table = top()->tableView();
        for (int row = 0; row < table->numberOfRowsInSection(0); ++row) {
            const auto words = platform::ui::Driver::labelsText(table->cellForRowAtIndexPath({0, row}));
            if (words.find(text) != std::string::npos) return driver.selectRow(table, {0, row});
        }
        return false;
    };

    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"),
                                         {platform::String::make("InboxTopLevel")});
    bool shown = waitFor("HCInboxTopLevelController");
    if (shown) {
        printRows("the menu");
        shown = openRow("IM Conversations") && waitFor("HCInboxIMConversationsController");
    }
    if (shown) {
        printRows("the conversations, " + std::to_string(Halcyon::unreadIMCount()) + " unread");
        shown = openRow(kOtherUserName) && waitFor("HCConversationController");
    }
    if (shown) {
        const auto rows = platform::ui::Driver::readTable(top()->tableView());
        demo.say("inbox: the conversation with " + top()->title() + ", " + std::to_string(rows.size()) + " rows");
        for (const auto& row : rows) {
            // The dates change from run to run; the words do not.
            const auto cut = row.rfind(" | ");
            demo.say("inbox:   " + (cut == std::string::npos ? row : row.substr(0, row.find(" | ")) + ": " +
                                                                      row.substr(cut + 3)));
        }
    }
    Halcyon::dismissDashboard();
    std::function<bool()> closed = [] { return !Halcyon::dashboardVisible(); };
    for (int i = 0; i < demo.frames && !closed(); ++i) demo.frame(closed);
    return shown && closed();
}

}  // namespace inboxdemo
