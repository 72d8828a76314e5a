#include "ShortcutsDemo.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HCWebViewController.h"
#include "dashboard/HalcyonDashboard.h"
#include "localserver/Fixtures.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/WebView.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCTabBarController.h"
#include "uiframework/HCViewController.h"
#include "uiframework/table/HCTableControllerHelper.h"

namespace shortcutsdemo {

namespace {

std::string shownTab()
{
    auto root = HalcyonDashboard::getRootController();
    auto tabs = root ? std::dynamic_pointer_cast<HCTabBarController>(root->contentController()) : nullptr;
    if (!tabs) return "";
    for (const auto& item : tabs->tabBarItems())
        if (item->viewController() == tabs->selectedViewController()) return item->name();
    return "";
}

// What the bar over the page reads: its title, else its bar's; a page whose
// bar reads nothing is named by what it shows.
std::string heading(const std::shared_ptr<HCViewController>& page, const std::string& shows)
{
    if (!page->title().empty()) return page->title();
    if (!page->navigationItem()->title().empty()) return page->navigationItem()->title();
    return shows + " (no title in the bar)";
}

// A page of this kind is on top, its loading screen down and nothing asked
// of the service; a web page counts once its address went to the browser.
bool waitForShortcutPage(const DemoFrames& demo, const std::string& kind)
{
    return waitUntil(demo, [&] {
        auto page = top();
        if (!page || page->kindName() != kind) return false;
        // A web page keeps its loading screen until a browser has drawn it.
        if (auto web = std::dynamic_pointer_cast<HCWebViewController>(page)) return web->webView()->request().has_value();
        auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(page);
        return !page->isShowingLoadingScreen() && (!table || !table->isLoadingData()) &&
               Halcyon::provider()->queuedActionCount() == 0 && Halcyon::provider()->runningLoaderCount() == 0;
    });
}

struct Shortcut {
    const char* call;
    std::function<void()> open;
    const char* page;
    const char* shows;  // what the page shows, in the player's words
};

}  // namespace

bool showShortcuts(const DemoFrames& demo)
{
    auto ben = HCResource::initWithId<HCUser>(std::string(localserver::defaults::kOtherUserId));
    ben->setName("Ben");
    const std::vector<Shortcut> shortcuts = {
        {"WhosPlayingPage", &Halcyon::launchDashboardWithWhosPlayingPage, "HCWhosPlayingController",
         "the players of the game"},
        {"AchievementsPage", &Halcyon::launchDashboardWithAchievementsPage, "HCAchievementListController",
         "the achievements"},
        {"ListLeaderboardsPage", &Halcyon::launchDashboardWithListLeaderboardsPage, "HCLeaderboardController",
         "the leaderboards"},
        {"HighscorePage", [] { Halcyon::launchDashboardWithHighscorePage(std::string("1")); }, "HCHighScoreController",
         "a leaderboard's scores"},
        {"ChallengesPage", &Halcyon::launchDashboardWithChallengesPage, "HCChallengeListController", "the challenges"},
        {"FindFriendsPage", &Halcyon::launchDashboardWithFindFriendsPage, "HCImportFriendsController",
         "importing friends"},
        {"iPurchasePage", [] { Halcyon::launchDashboardWithiPurchasePage(std::string("1")); },
         "HCApplicationDescriptionController", "a game's description"},
        {"InvitePage", &Halcyon::launchDashboardWithInvitePage, "HCSelectInviteTypeController",
         "the invitation's kinds"},
        {"SpecificInvite", [] { Halcyon::launchDashboardWithSpecificInvite("rivals"); }, "HCSelectInviteTypeController",
         "the invitation's kinds"},
        {"IMToUser", [ben] { Halcyon::launchDashboardWithIMToUser(ben, std::string("Rematch?")); },
         "HCConversationController", "a conversation"},
        {"ListGlobalChatRoomsPage", &Halcyon::launchDashboardWithListGlobalChatRoomsPage,
         "HCSelectChatRoomDefinitionController", "the chat rooms"},
        {"SwitchUserPage", &Halcyon::launchDashboardWithSwitchUserPage, "HCUseNewOrOldAccountController",
         "switching players"},
        {"ForumsPage", &Halcyon::launchDashboardWithForumsPage, "HCForumTopicListController", "the forums"},
    };
    bool allShown = true;
    for (const auto& shortcut : shortcuts) {
        shortcut.open();
        const bool shown = waitForShortcutPage(demo, shortcut.page);
        allShown = allShown && shown;
        demo.say(std::string("shortcuts: ") + shortcut.call + " -> " +
                 (shown ? shownTab() + ", " + heading(top(), shortcut.shows) : std::string("did not come up")));
        Halcyon::dismissDashboard();
        // Gone, not fading: a launch made while it fades would come up after it.
        waitUntil(demo, [] { return !HalcyonDashboard::getRootController(); });
    }
    return allShown;
}

}  // namespace shortcutsdemo
