// What a list page shows when its load fails, as the player meets it: the
// service failing, the connection dropped, the network gone; never a
// title over nothing, and a later load that works puts the rows back.
#include <functional>

#include "core/halcyon/Halcyon.h"
#include "core/resources/HCResource.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/discovery/HCGameDiscoveryController.h"
#include "gamepages/discovery/HCPlayedGameController.h"
#include "gamepages/support/PageHarness.h"
#include "kernel/reachability/HCReachability.h"
#include "localserver/Faults.h"
#include "localserver/routes/ConversationRoutes.h"
#include "platform/ui/NavigationController.h"
#include "social/forums/HCForumTopic.h"
#include "socialpages/chat/HCSelectChatRoomDefinitionController.h"
#include "socialpages/forums/HCForumThreadListController.h"

namespace {

using PageSetUp = std::function<void(const platform::ui::ViewControllerPtr&)>;

struct ListPage {
    const char* loaderName;
    const char* path;  // the load's request
    PageSetUp setUp;
    std::string failedText = HCTableControllerHelper::kLoadFailedMessage;
};

std::string shownMessage(const std::string& text)
{
    return "(" + text + ")";
}

class FailedLoadsTest : public pagetest::PageHarness {
protected:
    void SetUp() override
    {
        PageHarness::SetUp();
        localserver::registerConversationRoutes(*server, forums);
    }

    static std::vector<ListPage> listPages()
    {
        const PageSetUp bugs = [](const platform::ui::ViewControllerPtr& page) {
            auto topic = HCResource::initWithId<HCForumTopic>(std::string("20"));
            topic->setTitle(std::string("Bugs"));
            std::dynamic_pointer_cast<HCForumThreadListController>(page)->setTopic(topic);
        };
        const PageSetUp allRooms = [](const platform::ui::ViewControllerPtr& page) {
            auto rooms = std::dynamic_pointer_cast<HCSelectChatRoomDefinitionController>(page);
            rooms->setIncludeGlobalRooms(true);
            rooms->setIncludeDeveloperRooms(true);
        };
        return {
            {"ForumTopicList", "client_applications/1/forums.xml", nullptr},
            {"ForumThreadList", "topics/20/discussions.xml", bugs},
            {"SelectChatRoomDefinition", "chat_room_definitions.xml", allRooms},
            {"WhosPlaying", "users.xml", nullptr},
            {"UserSetting", "users/@me/settings.xml", nullptr},
            {"InboxIMConversations", "subscriptions.xml", nullptr},
            {"Leaderboard", "client_applications/@me/leaderboards.xml", nullptr},
            {"PlayedGame", "profiles/me/list_games", nullptr, HCPlayedGameController::kLoadFailedText},
            {"GameDiscovery", "game_discovery_categories", nullptr, HCGameDiscoveryController::kNoCategoriesText},
        };
    }

    // Opens the page while its load fails as `fault` says, checks what the
    // player reads, then lets a reload through.
    void expectFailureShownThenReplaced(const ListPage& list, const localserver::Fault& fault)
    {
        SCOPED_TRACE(list.loaderName);
        server->faults().injectFor("GET", list.path, fault, localserver::Faults::kUntilCleared);
        auto page = openPage(list.loaderName, list.setUp);
        ASSERT_TRUE(page);
        EXPECT_GE(requestsTo(list.path), 1u);
        EXPECT_FALSE(showsLoadingScreen());
        EXPECT_EQ(screenRows(), std::vector<std::string>{shownMessage(list.failedText)});

        server->faults().clear();
        page->reloadDataFromServer();
        waitForIdle();
        const auto rows = screenRows();
        EXPECT_FALSE(rows.empty());
        for (const auto& row : rows) EXPECT_NE(row, shownMessage(list.failedText));
        HalcyonDashboard::getActiveNavigationController()->popViewController(false);
        settle();
    }
};

TEST_F(FailedLoadsTest, AListTheServiceFailsSaysSoAndAReloadThatWorksReplacesTheMessage)
{
    startOnline();
    for (const auto& list : listPages()) expectFailureShownThenReplaced(list, localserver::Fault::reply(500, "down"));
}

TEST_F(FailedLoadsTest, AListWhoseConnectionDropsSaysSoAndAReloadThatWorksReplacesTheMessage)
{
    startOnline();
    for (const auto& list : listPages()) expectFailureShownThenReplaced(list, localserver::Fault::dropConnection());
}

TEST_F(FailedLoadsTest, ThePostComposerWhoseNetworksCannotBeLoadedSaysSo)
{
    standInComposer = false;
    startOnline();
    expectFailureShownThenReplaced({"SendSocialNotification", "users_credentials", nullptr},
                                   localserver::Fault::reply(502, "bad gateway"));
}

TEST_F(FailedLoadsTest, OfflineTheInboxListsSaySoWhileTheMenuKeepsItsBadges)
{
    startOnline();
    Halcyon::setUnreadIMCount(2);
    openPage("InboxTopLevel");
    // The network goes: the device says so, and nothing reaches the service.
    HCReachability::Instance()->setOverride(HCReachability::NotReachable);
    server->faults().injectNext(localserver::Fault::dropConnection(), localserver::Faults::kUntilCleared);
    settle();
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Invitations", "IM Conversations | 2", "Starred Forum Posts"}));
    const std::vector<std::pair<std::string, std::string>> lists{
        {"IM Conversations | 2", HCTableControllerHelper::kLoadFailedMessage},
        {"Starred Forum Posts", HCTableControllerHelper::kLoadFailedMessage},
        {"Invitations", HCTableControllerHelper::kLoadFailedMessage},
    };
    for (const auto& [row, text] : lists) {
        SCOPED_TRACE(row);
        ASSERT_TRUE(tapRow(row));
        settle();
        waitForIdle();
        EXPECT_EQ(screenRows(), std::vector<std::string>{shownMessage(text)});
        driver->tapBack();
        settle();
    }

    // Back online, the list shown again loads.
    server->faults().clear();
    HCReachability::Instance()->setOverride(HCReachability::ReachableViaWiFi);
    ASSERT_TRUE(tapRow("Starred Forum Posts"));
    settle();
    waitForIdle();
    const auto rows = screenRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(rows[0].find("Paddle stuck"), std::string::npos);
}

}  // namespace
