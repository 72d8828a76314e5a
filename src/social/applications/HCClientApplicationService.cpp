#include "social/applications/HCClientApplicationService.h"

#include "core/banners/HCNotificationData.h"
#include "core/clientstate/HCClientState.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "core/users/HCUser.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/applications/HCGameProfilePageComparisonInfo.h"
#include "social/playedgames/HCPlayedGame.h"
#include "social/profiles/HCPlayerReview.h"
#include "social/profiles/HCUserGameStat.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCClientApplicationService> sClientApplicationService;

using Text = HCClientApplicationService::Text;

// Nil means this game; its id is nil until the first log-in, and then the
// path names nothing and the call fails.
Text applicationOrOwn(const Text& applicationId)
{
    return applicationId ? applicationId : HCClientState::clientApplicationId();
}

}  // namespace

void HCClientApplicationService::initializeService()
{
    if (!sClientApplicationService) sClientApplicationService = HCService::create<HCClientApplicationService>();
}

void HCClientApplicationService::shutdownService()
{
    sClientApplicationService = nullptr;
}

std::shared_ptr<HCClientApplicationService> HCClientApplicationService::sharedInstance()
{
    return sClientApplicationService;
}

void HCClientApplicationService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCPlayedGame>(map);
    HCAddKnownResource<HCUserGameStat>(map);
    HCAddKnownResource<HCPlayerReview>(map);
    HCAddKnownResource<HCUser>(map);
    HCAddKnownResource<HCGameProfilePageInfo>(map);
    HCAddKnownResource<HCGameProfilePageComparisonInfo>(map);
}

HCRequestHandlePtr HCClientApplicationService::getGameProfilePageComparisonInfo(const Text& applicationId,
                                                                                const Text& comparedToUserId,
                                                                                const HCDelegate& onSuccess,
                                                                                const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto service = sClientApplicationService;
    if (!service) return nullptr;
    const bool comparing = comparedToUserId && !comparedToUserId->empty();
    if (!comparing) {
        auto own = HCClientState::localGameProfileInfo();
        if (own && (!applicationId || applicationId->empty() || applicationId == own->resourceId())) {
            onSuccess.invokeNow(HCPaginatedSeries::paginatedSeriesWithObject(own));
            return nullptr;
        }
    }
    auto path = HCServicePath::format("apps/%@.xml", {applicationOrOwn(applicationId)});
    if (!HCServicePath::serviceFor<HCClientApplicationService>(path, onFailure)) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("game_profile_page_info", true);
    if (comparing) parameters.io("compared_user_id", *comparedToUserId);
    return service->getAction(*path, &parameters, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                              HCNotificationData::foreGroundDataWithText("Downloading Game Information"));
}

HCRequestHandlePtr HCClientApplicationService::getGameProfilePageInfo(const Text& applicationId,
                                                                      const HCDelegate& onSuccess,
                                                                      const HCDelegate& onFailure)
{
    return getGameProfilePageComparisonInfo(applicationId, std::nullopt, onSuccess, onFailure);
}

HCRequestHandlePtr HCClientApplicationService::getPlayedGamesInScope(const std::string& scope, int32_t page,
                                                                     const HCDelegate& onSuccess,
                                                                     const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto service = sClientApplicationService;
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("page", page);
    parameters.io("scope", scope);
    return service->getAction("apps.xml", &parameters, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                              HCNotificationData::foreGroundDataWithText("Downloaded Game Information"));
}

HCRequestHandlePtr HCClientApplicationService::getPlayedGamesForLocalUsersFriends(int32_t page,
                                                                                  const HCDelegate& onSuccess,
                                                                                  const HCDelegate& onFailure)
{
    return getPlayedGamesInScope("people-of-interest", page, onSuccess, onFailure);
}

HCRequestHandlePtr HCClientApplicationService::getPlayedGamesForUser(const Text& userId, bool favoriteGamesOnly,
                                                                     int32_t page, int32_t countPerPage,
                                                                     const HCDelegate& onSuccess,
                                                                     const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    const bool another = userId && userId != HCClientState::lastLoggedInUserId();
    auto path = another ? HCServicePath::format("profiles/%@/list_games", {userId})
                        : std::optional<std::string>("profiles/me/list_games");
    auto service = HCServicePath::serviceFor<HCClientApplicationService>(path, onFailure);
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("page", page);
    parameters.io("per_page", countPerPage);
    if (another) parameters.io("compared_to_user_id", std::string("me"));
    if (favoriteGamesOnly) parameters.io("only_favorites", true);
    return service->getAction(*path, &parameters, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                              HCNotificationData::foreGroundDataWithText("Downloaded Game Information"));
}

HCRequestHandlePtr HCClientApplicationService::getFavoriteGamesForUser(const Text& userId, int32_t page,
                                                                       int32_t countPerPage, const HCDelegate& onSuccess,
                                                                       const HCDelegate& onFailure)
{
    return getPlayedGamesForUser(userId, true, page, countPerPage, onSuccess, onFailure);
}

HCRequestHandlePtr HCClientApplicationService::getPlayedGamesForUser(const Text& userId, int32_t page,
                                                                     int32_t countPerPage, const HCDelegate& onSuccess,
                                                                     const HCDelegate& onFailure)
{
    return getPlayedGamesForUser(userId, false, page, countPerPage, onSuccess, onFailure);
}

HCRequestHandlePtr HCClientApplicationService::getPlayerReviewForGame(const Text& applicationId, const Text& userId,
                                                                      const HCDelegate& onSuccess,
                                                                      const HCDelegate& onFailure)
{
    const Text user = userId ? userId : HCClientState::lastLoggedInUserId();
    auto path = HCServicePath::format("client_applications/%@/users/%@.xml", {applicationOrOwn(applicationId), user});
    auto service = HCServicePath::serviceFor<HCClientApplicationService>(path, onFailure);
    if (!service) return nullptr;
    return service->getAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                              HCNotificationData::foreGroundDataWithText("Downloading"));
}

HCRequestHandlePtr HCClientApplicationService::setGameIsFavorite(const Text& applicationId, bool favorite,
                                                                 const Text& review, const HCDelegate& onSuccess,
                                                                 const HCDelegate& onFailure)
{
    auto path = HCServicePath::format("client_applications/%@/users/review.xml", {applicationOrOwn(applicationId)});
    auto service = HCServicePath::serviceFor<HCClientApplicationService>(path, onFailure);
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    {
        HCISerializer::Scope scope(&parameters, "client_application_user");
        if (review) parameters.io("review", *review);
        parameters.io("favorite", favorite);
    }
    return service->postAction(*path, &parameters, onSuccess, onFailure, HCActionRequest::kBannerAlternate, nullptr);
}

HCRequestHandlePtr HCClientApplicationService::makeGameFavorite(const Text& applicationId, const Text& reviewText,
                                                                const HCDelegate& onSuccess,
                                                                const HCDelegate& onFailure)
{
    return setGameIsFavorite(applicationId, true, reviewText, onSuccess, onFailure);
}

HCRequestHandlePtr HCClientApplicationService::unfavoriteGame(const Text& applicationId, const HCDelegate& onSuccess,
                                                              const HCDelegate& onFailure)
{
    return setGameIsFavorite(applicationId, false, std::nullopt, onSuccess, onFailure);
}

HCRequestHandlePtr HCClientApplicationService::removeGameFromLocalUsersList(const Text& applicationId,
                                                                            const HCDelegate& onSuccess,
                                                                            const HCDelegate& onFailure)
{
    auto path = HCServicePath::format("profile/games/%@", {applicationId});
    auto service = HCServicePath::serviceFor<HCClientApplicationService>(path, onFailure);
    if (!service) return nullptr;
    return service->deleteAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kNoErrorScreens, nullptr);
}

HCRequestHandlePtr HCClientApplicationService::viewedFanClub(const Text& applicationId)
{
    HC_CHECK_MAIN_THREAD();
    auto service = sClientApplicationService;
    const Text id = applicationOrOwn(applicationId);
    if (!service || !id) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("client_application_id", *id);
    return service->getAction("client_application_users/fan_club", &parameters, HCDelegate(), HCDelegate(),
                              HCActionRequest::kNoErrorScreens, nullptr);
}
