#include "social/profiles/HCProfileService.h"

#include "core/clientstate/HCClientState.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "core/users/HCUser.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/playedgames/HCPlayedGame.h"
#include "social/profiles/HCGamerscore.h"
#include "social/profiles/HCUserGameStat.h"
#include "social/users/HCUsersCredential.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCProfileService> sProfileService;

// "me" for nil or the local player's own id. An empty id names nobody: it
// goes into the path as it is, which refuses it.
bool isLocalPlayer(const std::optional<std::string>& userId)
{
    return !userId || (!userId->empty() && userId == HCClientState::lastLoggedInUserId());
}

}  // namespace

void HCProfileService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sProfileService) sProfileService = HCService::create<HCProfileService>();
}

void HCProfileService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sProfileService = nullptr;
}

std::shared_ptr<HCProfileService> HCProfileService::sharedInstance()
{
    return sProfileService;
}

void HCProfileService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCPlayedGame>(map);
    HCAddKnownResource<HCGamerscore>(map);
    HCAddKnownResource<HCUserGameStat>(map);
    HCAddKnownResource<HCUser>(map);
    HCAddKnownResource<HCUsersCredential>(map);
}

HCRequestHandlePtr HCProfileService::getProfileForUser(const Text& userId, const HCDelegate& onSuccess,
                                                       const HCDelegate& onFailure)
{
    const bool own = isLocalPlayer(userId);
    auto path = HCServicePath::format("profiles/%@/", {own ? Text("me") : userId});
    auto service = HCServicePath::serviceFor<HCProfileService>(path, onFailure);
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    if (!own) parameters.io("compared_to_user_id", std::string("me"));
    return service->getAction(*path, &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCProfileService::getLocalPlayerProfile(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    return getProfileForUser(std::nullopt, onSuccess, onFailure);
}

HCRequestHandlePtr HCProfileService::getGamerscoreForUser(const Text& userId, const HCDelegate& onSuccess,
                                                          const HCDelegate& onFailure)
{
    auto path = HCServicePath::format("profiles/%@/gamerscore", {userId ? userId : Text("me")});
    auto service = HCServicePath::serviceFor<HCProfileService>(path, onFailure);
    if (!service) return nullptr;
    return service->getAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

void HCProfileService::viewedOwnProfilePage()
{
    if (auto service = sharedInstance()) {
        service->getAction("profiles/viewed_own", nullptr, HCDelegate(), HCDelegate(), HCActionRequest::kNoErrorScreens,
                           nullptr);
    }
}
