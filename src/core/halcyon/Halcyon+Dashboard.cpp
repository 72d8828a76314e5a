#include "core/halcyon/Halcyon.h"

#include <initializer_list>

#include "core/halcyon/HalcyonDashboardNames.h"
#include "platform/foundation/Values.h"
#include "platform/ui/AlertView.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

// Installed by the client's hook installation; main thread only.
HCDashboardHooks& dashboardHookSlot()
{
    static HCDashboardHooks hooks;
    return hooks;
}

// Installed with the social pages, which sit above this layer; main thread only.
Halcyon::SocialPostPageMaker& socialPostPageMakerSlot()
{
    static Halcyon::SocialPostPageMaker maker;
    return maker;
}

}  // namespace

void Halcyon::setSocialPostPageMaker(SocialPostPageMaker maker)
{
    HC_CHECK_MAIN_THREAD();
    socialPostPageMakerSlot() = std::move(maker);
}

void Halcyon::launchDashboardWithSocialNotificationWithPrepopulatedText(
    const std::optional<std::string>& text, const std::optional<std::string>& originalMessage,
    const std::optional<std::string>& imageName, const std::optional<std::string>& linkedUrl)
{
    HC_CHECK_MAIN_THREAD();
    if (!socialPostPageMakerSlot()) return;
    auto page = socialPostPageMakerSlot()(text, originalMessage, imageName, linkedUrl);
    if (page) launchDashboardWithDelegate(nullptr, std::string(HalcyonDashBoardTabNowPlaying), {page});
}

void Halcyon::setDashboardHooks(HCDashboardHooks hooks)
{
    HC_CHECK_MAIN_THREAD();
    dashboardHookSlot() = std::move(hooks);
}

const HCDashboardHooks& Halcyon::dashboardHooks()
{
    return dashboardHookSlot();
}

void Halcyon::launchDashboardWithDelegate(HalcyonDelegate* delegate)
{
    launchDashboardWithDelegate(delegate, std::nullopt, {});
}

void Halcyon::launchDashboardWithDelegate(HalcyonDelegate* delegate, const std::optional<std::string>& tab,
                                          const std::vector<platform::ObjectPtr>& controllers)
{
    HC_CHECK_MAIN_THREAD();
    if (sharedInstance() && dashboardHookSlot().launchDashboard) {
        dashboardHookSlot().launchDashboard(delegate, tab, controllers);
    }
}

void Halcyon::launchDashboardWithDelegate(HalcyonDelegate* delegate, const std::optional<std::string>& tab)
{
    launchDashboardWithDelegate(delegate, tab, {});
}

void Halcyon::launchDashboardWithDelegateAndController(HalcyonDelegate* delegate, const std::optional<std::string>& tab,
                                                       const platform::ObjectPtr& controller)
{
    launchDashboardWithDelegate(delegate, tab, std::vector<platform::ObjectPtr>{controller});
}

namespace {

// A shortcut's launch: no delegate of its own, the tab, the pages by name.
void launchNamed(const char* tab, std::initializer_list<std::string> pages)
{
    std::vector<platform::ObjectPtr> items;
    for (const auto& page : pages) items.push_back(platform::String::make(page));
    Halcyon::launchDashboardWithDelegate(nullptr, std::string(tab), items);
}

}  // namespace

void Halcyon::launchDashboardWithListLeaderboardsPage()
{
    launchNamed(HalcyonDashBoardTabNowPlaying, {HalcyonControllerLeaderboardsList});
}

void Halcyon::launchDashboardWithHighscorePage(const std::optional<std::string>& leaderboardId)
{
    if (!leaderboardId || leaderboardId->empty()) {
        // No board to look up: the list alone, as for an id that names none.
        launchDashboardWithListLeaderboardsPage();
        return;
    }
    // The leaderboard list reads the id that follows it.
    launchNamed(HalcyonDashBoardTabNowPlaying, {HalcyonControllerLeaderboardsList, *leaderboardId});
}

void Halcyon::launchDashboardWithAchievementsPage()
{
    launchNamed(HalcyonDashBoardTabNowPlaying, {HalcyonControllerAchievementsList});
}

void Halcyon::launchDashboardWithWhosPlayingPage()
{
    launchNamed(HalcyonDashBoardTabNowPlaying, {HalcyonControllerWhosPlaying});
}

void Halcyon::launchDashboardWithChallengesPage()
{
    launchNamed(HalcyonDashBoardTabNowPlaying, {HalcyonControllerChallengesList});
}

void Halcyon::launchDashboardWithFindFriendsPage()
{
    launchNamed(HalcyonDashBoardTabMyHalcyon, {HalcyonControllerFindFriends});
}

void Halcyon::launchDashboardWithSwitchUserPage()
{
    launchNamed(HalcyonDashBoardTabMyHalcyon, {"UseNewOrOldAccount"});
}

bool Halcyon::allowUserGeneratedContentFor(UserGeneratedContentUse use)
{
    HC_CHECK_MAIN_THREAD();
    if (allowUserGeneratedContent()) return true;
    const char* what = use == UserGeneratedContentUse::InstantMessages ? "Instant messaging"
                       : use == UserGeneratedContentUse::ChatRooms     ? "Chat room use"
                                                                       : "Forum use";
    platform::ui::AlertView::make("", std::string(what) + " is disabled due to the parental controls on this device.",
                                  {}, std::string("Ok"))
        ->show();
    return false;
}

void Halcyon::launchDashboardWithForumsPage()
{
    HC_CHECK_MAIN_THREAD();
    if (!allowUserGeneratedContentFor(UserGeneratedContentUse::Forums)) return;
    launchNamed(HalcyonDashBoardTabNowPlaying, {"ForumTopicList"});
}

void Halcyon::launchDashboardWithListGlobalChatRoomsPage()
{
    HC_CHECK_MAIN_THREAD();
    if (!allowUserGeneratedContentFor(UserGeneratedContentUse::ChatRooms)) return;
    // The room list made by name offers the global rooms only.
    launchNamed(HalcyonDashBoardTabNowPlaying, {"SelectChatRoomDefinition"});
}

void Halcyon::launchDashboardWithInvitePage()
{
    launchNamed(HalcyonDashBoardTabNowPlaying, {"SelectInviteType"});
}

void Halcyon::dismissDashboard()
{
    HC_CHECK_MAIN_THREAD();
    if (sharedInstance() && dashboardHookSlot().dismissDashboard) {
        dashboardHookSlot().dismissDashboard();
    }
}

bool Halcyon::isShowingFullScreen()
{
    HC_CHECK_MAIN_THREAD();
    return sharedInstance() && dashboardHookSlot().isShowingFullScreen && dashboardHookSlot().isShowingFullScreen();
}

bool Halcyon::isDashboardHubOpen()
{
    HC_CHECK_MAIN_THREAD();
    return sharedInstance() && dashboardHookSlot().isDashboardHubOpen && dashboardHookSlot().isDashboardHubOpen();
}

void Halcyon::setLaunchDelegate(HalcyonDelegate* delegate)
{
    HC_CHECK_MAIN_THREAD();
    if (auto instance = sharedInstance()) {
        instance->launchDelegate_ = delegate;
    }
}
