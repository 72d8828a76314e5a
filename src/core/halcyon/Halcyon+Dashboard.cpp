#include "core/halcyon/Halcyon.h"
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
    if (page) launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {page});
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

void Halcyon::launchDashboardWithListLeaderboardsPage()
{
    launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {platform::String::make("Leaderboard")});
}

void Halcyon::launchDashboardWithHighscorePage(const std::string& leaderboardId)
{
    // The leaderboard list reads the id that follows it.
    launchDashboardWithDelegate(nullptr, std::string("GameProfile"),
                                {platform::String::make("Leaderboard"), platform::String::make(leaderboardId)});
}

void Halcyon::launchDashboardWithAchievementsPage()
{
    launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {platform::String::make("AchievementList")});
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
    launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {platform::String::make("ForumTopicList")});
}

void Halcyon::launchDashboardWithListGlobalChatRoomsPage()
{
    HC_CHECK_MAIN_THREAD();
    if (!allowUserGeneratedContentFor(UserGeneratedContentUse::ChatRooms)) return;
    // The room list made by name offers the global rooms only.
    launchDashboardWithDelegate(nullptr, std::string("GameProfile"),
                                {platform::String::make("SelectChatRoomDefinition")});
}

void Halcyon::launchDashboardWithInvitePage()
{
    launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {platform::String::make("SelectInviteType")});
}

void Halcyon::launchDashboardWithSpecificInvite(const std::string& inviteIdentifier)
{
    // The start page reads the identifier that follows it.
    launchDashboardWithDelegate(nullptr, std::string("MyHalcyon"),
                                {platform::String::make("SelectInviteType"), platform::String::make(inviteIdentifier)});
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

void Halcyon::setLaunchDelegate(HalcyonDelegate* delegate)
{
    HC_CHECK_MAIN_THREAD();
    if (auto instance = sharedInstance()) {
        instance->launchDelegate_ = delegate;
    }
}
