// The dashboard shortcuts whose page is made by its class rather than by
// name: this layer sees the pages, the core does not.
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonDashboardNames.h"
#include "core/users/HCUser.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/ThreadChecker.h"
#include "socialpages/announcements/HCApplicationDescriptionController.h"
#include "socialpages/conversations/HCConversationController.h"
#include "socialpages/invitations/HCSelectInviteTypeController.h"

void Halcyon::launchDashboardWithiPurchasePage(const std::optional<std::string>& clientApplicationId)
{
    HC_CHECK_MAIN_THREAD();
    if (!clientApplicationId || clientApplicationId->empty()) {
        // The page would ask the server about no game and show its error.
        platform::log(platform::LogLevel::Warning, "dashboard not opened: the game page was asked for without an id");
        return;
    }
    auto page = HCApplicationDescriptionController::applicationDescriptionForId(clientApplicationId,
                                                                                std::string("directDashboardLaunch"));
    if (!page) return;
    launchDashboardWithDelegate(nullptr, std::string(HalcyonDashBoardTabGames), {page});
}

void Halcyon::launchDashboardWithIMToUser(const std::shared_ptr<HCUser>& user,
                                          const std::optional<std::string>& initialText)
{
    HC_CHECK_MAIN_THREAD();
    if (!allowUserGeneratedContentFor(UserGeneratedContentUse::InstantMessages)) return;
    if (!user) {
        // A conversation starts with someone; there is no one to start it with.
        platform::log(platform::LogLevel::Warning, "dashboard not opened: a conversation was asked for without a player");
        return;
    }
    launchDashboardWithDelegate(nullptr, std::string(HalcyonDashBoardTabMyHalcyon),
                                {HCConversationController::conversationWithId(std::nullopt, user, initialText)});
}

void Halcyon::launchDashboardWithSpecificInvite(const std::string& inviteIdentifier)
{
    HC_CHECK_MAIN_THREAD();
    // Made with its identifier before it first shows, the page asks for that
    // definition only, never for the primary one first.
    auto page = HCSelectInviteTypeController::inviteTypeControllerWithInviteIdentifier(inviteIdentifier);
    if (!page) return;
    launchDashboardWithDelegate(nullptr, std::string(HalcyonDashBoardTabMyHalcyon), {page});
}
