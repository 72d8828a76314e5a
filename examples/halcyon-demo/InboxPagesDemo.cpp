#include "InboxPagesDemo.h"

#include "core/halcyon/Halcyon.h"
#include "localserver/Fixtures.h"
#include "localserver/routes/ConversationRoutes.h"
#include "localserver/routes/ForumRoutes.h"
#include "platform/foundation/Values.h"
#include "uiframework/HCViewController.h"

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
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"),
                                         {platform::String::make("InboxTopLevel")});
    bool shown = waitFor(demo, "HCInboxTopLevelController");
    if (shown) {
        printRows(demo, "inbox", "the menu");
        shown = selectRowShowing("IM Conversations") && waitFor(demo, "HCInboxIMConversationsController");
    }
    if (shown) {
        printRows(demo, "inbox", "the conversations, " + std::to_string(Halcyon::unreadIMCount()) + " unread");
        shown = selectRowShowing(kOtherUserName) && waitFor(demo, "HCConversationController");
    }
    if (shown) {
        const auto lines = rows();
        demo.say("inbox: the conversation with " + top()->title() + ", " + std::to_string(lines.size()) + " rows");
        for (const auto& row : lines) {
            // The dates change from run to run; the words do not.
            const auto cut = row.rfind(" | ");
            demo.say("inbox:   " + (cut == std::string::npos ? row : row.substr(0, row.find(" | ")) + ": " +
                                                                      row.substr(cut + 3)));
        }
    }
    return closeDashboard(demo) && shown;
}

}  // namespace inboxdemo
