#include "social/users/HCCurrentUser.h"

#include "core/halcyon/Halcyon.h"
#include "core/publicclass/HCClassDelegate.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/replies/HCTableSectionDescription.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/applications/HCClientApplicationService.h"
#include "social/friends/HCFriendsService.h"
#include "social/users/HCCurrentUserDelegate.h"
#include "social/users/HCUsersCredential.h"
#include "social/users/HCUsersCredentialService.h"

namespace {

HCClassDelegate<HCCurrentUserDelegate> sCurrentUserDelegate(HCCurrentUser::kModule);

using Report = void (HCCurrentUserDelegate::*)();

// Callbacks that tell the delegate `done` or `failed`, nothing more.
HCOperationCallbacks plainCallbacks(Report done, Report failed)
{
    return sCurrentUserDelegate.callbacks(
        nullptr,
        [done](auto started, const platform::ObjectPtr&) {
            sCurrentUserDelegate.notify(started, [done](HCCurrentUserDelegate& d) { (d.*done)(); });
        },
        [failed](auto started) { sCurrentUserDelegate.notify(started, [failed](HCCurrentUserDelegate& d) { (d.*failed)(); }); });
}

std::optional<std::string> idOf(const HCUserPtr& user)
{
    return user ? user->resourceId() : std::nullopt;
}

}  // namespace

HCUserPtr HCCurrentUser::currentUser()
{
    return Halcyon::localUser();
}

int32_t HCCurrentUser::HalcyonBadgeCount()
{
    return static_cast<int32_t>(Halcyon::unviewedChallengesCount() + Halcyon::pendingFriendsCount() +
                                Halcyon::unreadInboxTotal());
}

bool HCCurrentUser::allowsAutoSocialNotifications()
{
    return Halcyon::userAllowsNotifications();
}

int32_t HCCurrentUser::unviewedChallengesCount()
{
    return static_cast<int32_t>(Halcyon::unviewedChallengesCount());
}

bool HCCurrentUser::hasFriends()
{
    return Halcyon::lastLoggedInUserHadFriendsOnBootup();
}

void HCCurrentUser::setDelegate(HCCurrentUserDelegate* delegate)
{
    HC_CHECK_MAIN_THREAD();
    sCurrentUserDelegate.set(delegate);
}

bool HCCurrentUser::_connectedToSocialNetwork(const platform::ObjectPtr& reply)
{
    // The linked logins come as one section; an empty reply or one of
    // another shape names no network.
    auto series = platform::as<HCPaginatedSeries>(reply);
    if (!series || series->count() == 0) return false;
    auto section = platform::as<HCTableSectionDescription>(series->objectAtIndex(0));
    if (!section || !section->page()) return false;
    for (const auto& object : section->page()->objects()) {
        auto credential = platform::as<HCUsersCredential>(object);
        if (credential && (credential->isTwitter() || credential->isFacebook())) return true;
    }
    return false;
}

HCRequestHandlePtr HCCurrentUser::checkConnectedToSocialNetwork()
{
    HC_CHECK_MAIN_THREAD();
    auto callbacks = sCurrentUserDelegate.callbacks(
        nullptr,
        [](auto started, const platform::ObjectPtr& reply) {
            const bool connected = _connectedToSocialNetwork(reply);
            sCurrentUserDelegate.notify(started, [connected](HCCurrentUserDelegate& d) { d.didCheckConnectedToSocialNetwork(connected); });
        },
        [](auto started) {
            sCurrentUserDelegate.notify(started, [](HCCurrentUserDelegate& d) { d.didFailCheckConnectedToSocialNetwork(); });
        });
    return sCurrentUserDelegate.track(HCUsersCredentialService::getIndexOnSuccess(callbacks.success, callbacks.failure, true));
}

HCRequestHandlePtr HCCurrentUser::unfriend(const HCUserPtr& user)
{
    HC_CHECK_MAIN_THREAD();
    auto callbacks = plainCallbacks(&HCCurrentUserDelegate::didUnfriend, &HCCurrentUserDelegate::didFailUnfriend);
    return sCurrentUserDelegate.track(HCFriendsService::makeLocalUserStopFollowing(idOf(user), callbacks.success, callbacks.failure));
}

HCRequestHandlePtr HCCurrentUser::sendFriendRequest(const HCUserPtr& user)
{
    HC_CHECK_MAIN_THREAD();
    auto callbacks =
        plainCallbacks(&HCCurrentUserDelegate::didSendFriendRequest, &HCCurrentUserDelegate::didFailSendFriendRequest);
    return sCurrentUserDelegate.track(HCFriendsService::makeLocalUserFollow(idOf(user), callbacks.success, callbacks.failure));
}

HCRequestHandlePtr HCCurrentUser::favoriteCurrentGame(const std::optional<std::string>& reviewText)
{
    HC_CHECK_MAIN_THREAD();
    auto callbacks =
        plainCallbacks(&HCCurrentUserDelegate::didFavoriteCurrentGame, &HCCurrentUserDelegate::didFailFavoriteCurrentGame);
    return sCurrentUserDelegate.track(HCClientApplicationService::makeGameFavorite(Halcyon::clientApplicationId(), reviewText,
                                                                       callbacks.success, callbacks.failure));
}
