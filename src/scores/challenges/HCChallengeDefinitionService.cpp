#include "scores/challenges/HCChallengeDefinitionService.h"

#include "core/banners/HCNotificationData.h"
#include "core/clientstate/HCClientState.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeDefinitionStats.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCChallengeDefinitionService> sChallengeDefinitionService;

}  // namespace

void HCChallengeDefinitionService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sChallengeDefinitionService) sChallengeDefinitionService = HCService::create<HCChallengeDefinitionService>();
}

void HCChallengeDefinitionService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sChallengeDefinitionService = nullptr;
}

std::shared_ptr<HCChallengeDefinitionService> HCChallengeDefinitionService::sharedInstance()
{
    return sChallengeDefinitionService;
}

void HCChallengeDefinitionService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCChallengeDefinition>(map);
    HCAddKnownResource<HCChallengeDefinitionStats>(map);
}

HCRequestHandlePtr HCChallengeDefinitionService::getIndexOnSuccess(const HCDelegate& onSuccess,
                                                                   const HCDelegate& onFailure)
{
    return getAction("challenge_definitions.xml", nullptr, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCChallengeDefinitionService::getChallengeDefinitionWithId(const Text& definitionId,
                                                                              const HCDelegate& onSuccess,
                                                                              const HCDelegate& onFailure)
{
    auto path = HCServicePath::format("challenge_definitions/%@.xml", {definitionId});
    auto service = HCServicePath::serviceFor<HCChallengeDefinitionService>(path, onFailure);
    if (!service) return nullptr;
    return service->getAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

void HCChallengeDefinitionService::getChallengeDefinitionStatsForLocalUser(uint32_t page,
                                                                           const Text& clientApplicationId,
                                                                           const Text& comparedToUserId,
                                                                           const HCDelegate& onSuccess,
                                                                           const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto service = sChallengeDefinitionService;
    if (!service) return;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("challenge_definition_stats", true);
    parameters.io("per_page", 20);
    parameters.io("page", page);
    parameters.io("client_application_id", clientApplicationId ? clientApplicationId
                                                               : HCClientState::clientApplicationId());
    if (comparedToUserId && !comparedToUserId->empty()) parameters.io("compared_user_id", *comparedToUserId);
    service->getAction("challenge_definitions.xml", &parameters, onSuccess, onFailure,
                       HCActionRequest::kBannerAlternate,
                       HCNotificationData::foreGroundDataWithText("Downloading Challenge Information"));
}

void HCChallengeDefinitionService::getChallengeDefinitionStatsForLocalUser(uint32_t page,
                                                                           const Text& clientApplicationId,
                                                                           const HCDelegate& onSuccess,
                                                                           const HCDelegate& onFailure)
{
    getChallengeDefinitionStatsForLocalUser(page, clientApplicationId, std::nullopt, onSuccess, onFailure);
}
