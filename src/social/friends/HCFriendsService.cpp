#include "social/friends/HCFriendsService.h"

#include "core/banners/HCNotificationData.h"
#include "core/clientstate/HCClientState.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "core/users/HCUser.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/foundation/Values.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/friends/HCGamePlayer.h"
#include "social/users/HCUsersCredential.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCFriendsService> sFriendsService;

using FriendsServiceText = HCFriendsService::Text;

std::shared_ptr<HCFriendsService> running()
{
    HC_CHECK_MAIN_THREAD();
    return sFriendsService;
}

// An empty id means the same as none: this game.
FriendsServiceText applicationOrOwnForFriends(const FriendsServiceText& applicationId)
{
    return applicationId && !applicationId->empty() ? applicationId : HCClientState::clientApplicationId();
}

// A nil user is the local player; an empty one names nobody and is refused
// by the caller.
std::string userOrMe(const FriendsServiceText& userId)
{
    return userId.value_or("me");
}

HCRequestHandlePtr listUsers(const HCHttpNestedQueryStringWriter& parameters, const char* noticeText,
                             const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto service = running();
    if (!service) return nullptr;
    return service->getAction("users.xml", &parameters, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                              HCNotificationData::foreGroundDataWithText(noticeText));
}

// Follow, stop following and remove a follower share one path.
HCRequestHandlePtr following(const char* method, const FriendsServiceText& userId, bool follower, const char* noticeText,
                             const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto path = HCServicePath::format("users/%@/following.xml", {userId});
    auto service = HCServicePath::serviceFor<HCFriendsService>(path, onFailure);
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    if (follower) parameters.io("follower", std::string("yes"));
    return service->_performAction(*path, &parameters, method, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                                   HCNotificationData::foreGroundDataWithText(noticeText));
}

}  // namespace

void HCFriendsService::initializeService()
{
    if (!sFriendsService) sFriendsService = HCService::create<HCFriendsService>();
}

void HCFriendsService::shutdownService()
{
    sFriendsService = nullptr;
}

std::shared_ptr<HCFriendsService> HCFriendsService::sharedInstance()
{
    return sFriendsService;
}

std::size_t HCFriendsService::maxReplyBytes() const
{
    // Room for some 27,000 players; the parse's element limit holds the
    // tree of a longer list (which then fails whole) to the same order.
    return 6u * 1024u * 1024u;
}

void HCFriendsService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCUser>(map);
    HCAddKnownResource<HCGamePlayer>(map);
    HCAddKnownResource<HCUsersCredential>(map);
}

HCRequestHandlePtr HCFriendsService::isLocalUserFollowingAnyone(const HCDelegate& onSuccess,
                                                                const HCDelegate& onFailure)
{
    auto service = running();
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("page", 1);
    parameters.io("per_page", 1);
    parameters.io("user_id", std::string("me"));
    parameters.io("scope", std::string("people-of-interest"));
    // Runs where the caller's callback runs, and hands it the answer there.
    auto answer = HCDelegate::withFunction(
        [onSuccess](const platform::ObjectPtr& reply) {
            auto series = platform::as<HCPaginatedSeries>(reply);
            onSuccess.invokeNow(platform::Number::makeBool(series && series->count() > 0));
        },
        nullptr, onSuccess.thread());
    return service->getAction("users.xml", &parameters, answer, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCFriendsService::getUsersFollowingUser(const FriendsServiceText& userId, bool excludeUsersFollowedByTarget,
                                                           int32_t page, const HCDelegate& onSuccess,
                                                           const HCDelegate& onFailure)
{
    if (userId && userId->empty()) return running() ? HCServicePath::refuse(onFailure) : nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("page", page);
    if (userId) parameters.io("user_id", *userId);
    parameters.io("scope", std::string("followers"));
    if (excludeUsersFollowedByTarget) parameters.io("im-not-following", true);
    return listUsers(parameters, "Downloaded Followers", onSuccess, onFailure);
}

HCRequestHandlePtr HCFriendsService::getUsersFollowingLocalUser(int32_t page, bool excludeUsersFollowedByTarget,
                                                                const HCDelegate& onSuccess,
                                                                const HCDelegate& onFailure)
{
    return getUsersFollowingUser(std::nullopt, excludeUsersFollowedByTarget, page, onSuccess, onFailure);
}

HCRequestHandlePtr HCFriendsService::getUsersWithAppFollowedByUser(const FriendsServiceText& applicationId, const FriendsServiceText& userId,
                                                                   int32_t page, const HCDelegate& onSuccess,
                                                                   const HCDelegate& onFailure)
{
    // Only a missing id means this game here; an empty one is sent as it is.
    const FriendsServiceText application = applicationId ? applicationId : HCClientState::clientApplicationId();
    if ((userId && userId->empty()) || !application) return running() ? HCServicePath::refuse(onFailure) : nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("page", page);
    parameters.io("user_id", userOrMe(userId));
    parameters.io("scope", std::string("people-of-interest"));
    parameters.io("with_client_application", *application);
    return listUsers(parameters, "Downloaded Friends", onSuccess, onFailure);
}

HCRequestHandlePtr HCFriendsService::getUsersWithAppFollowedByLocalUser(const FriendsServiceText& applicationId, int32_t page,
                                                                        const HCDelegate& onSuccess,
                                                                        const HCDelegate& onFailure)
{
    return getUsersWithAppFollowedByUser(applicationId, std::nullopt, page, onSuccess, onFailure);
}

HCRequestHandlePtr HCFriendsService::getUsersFollowedByUser(const FriendsServiceText& userId,
                                                            HCHttpNestedQueryStringWriter& params,
                                                            const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    if (userId && userId->empty()) return running() ? HCServicePath::refuse(onFailure) : nullptr;
    params.io("user_id", userOrMe(userId));
    params.io("scope", std::string("people-of-interest"));
    return listUsers(params, "Downloaded Friends", onSuccess, onFailure);
}

HCRequestHandlePtr HCFriendsService::getUsersFollowedByUser(const FriendsServiceText& userId, int32_t page,
                                                            const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("page", page);
    return getUsersFollowedByUser(userId, parameters, onSuccess, onFailure);
}

HCRequestHandlePtr HCFriendsService::getUsersFollowedByLocalUser(int32_t page, const HCDelegate& onSuccess,
                                                                 const HCDelegate& onFailure)
{
    return getUsersFollowedByUser(std::nullopt, page, onSuccess, onFailure);
}

HCRequestHandlePtr HCFriendsService::getAllUsersWithApp(const FriendsServiceText& applicationId, const FriendsServiceText& followedByUser,
                                                        const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    const FriendsServiceText application = applicationOrOwnForFriends(applicationId);
    if (!application) return running() ? HCServicePath::refuse(onFailure) : nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("full_alphabetical_list", true);
    parameters.io("with_client_application", *application);
    parameters.io("not_sectioned", std::string("yes"));
    return getUsersFollowedByUser(followedByUser, parameters, onSuccess, onFailure);
}

HCRequestHandlePtr HCFriendsService::getAllUsersFollowedByUserAlphabetical(const FriendsServiceText& userId,
                                                                           const HCDelegate& onSuccess,
                                                                           const HCDelegate& onFailure)
{
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("full_alphabetical_list", true);
    return getUsersFollowedByUser(userId, parameters, onSuccess, onFailure);
}

HCRequestHandlePtr HCFriendsService::getAllUsersFollowedByLocalUserAlphabetical(const HCDelegate& onSuccess,
                                                                                const HCDelegate& onFailure)
{
    return getAllUsersFollowedByUserAlphabetical(std::nullopt, onSuccess, onFailure);
}

HCRequestHandlePtr HCFriendsService::getInvitableFriends(int32_t page, const HCDelegate& onSuccess,
                                                         const HCDelegate& onFailure)
{
    auto service = running();
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("page", page);
    return service->getAction("invites/new/invitable_friends", &parameters, onSuccess, onFailure,
                              HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCFriendsService::makeLocalUserFollow(const FriendsServiceText& userId, const HCDelegate& onSuccess,
                                                         const HCDelegate& onFailure)
{
    return following("POST", userId, false, "Followed", onSuccess, onFailure);
}

HCRequestHandlePtr HCFriendsService::makeLocalUserStopFollowing(const FriendsServiceText& userId, const HCDelegate& onSuccess,
                                                                const HCDelegate& onFailure)
{
    return following("DELETE", userId, false, "Stopped Following", onSuccess, onFailure);
}

HCRequestHandlePtr HCFriendsService::removeLocalUsersFollower(const FriendsServiceText& userId, const HCDelegate& onSuccess,
                                                              const HCDelegate& onFailure)
{
    return following("DELETE", userId, true, "Removed Follower", onSuccess, onFailure);
}
