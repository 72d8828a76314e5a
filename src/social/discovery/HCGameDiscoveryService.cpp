#include "social/discovery/HCGameDiscoveryService.h"

#include "core/clientstate/HCClientState.h"
#include "core/halcyon/Halcyon.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/discovery/HCGameDiscoveryCategory.h"
#include "social/discovery/HCGameDiscoveryImageHyperlink.h"
#include "social/discovery/HCGameDiscoveryNewsItem.h"
#include "social/playedgames/HCPlayedGame.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCGameDiscoveryService> sGameDiscoveryService;

}  // namespace

void HCGameDiscoveryService::initializeService()
{
    if (!sGameDiscoveryService) sGameDiscoveryService = HCService::create<HCGameDiscoveryService>();
}

void HCGameDiscoveryService::shutdownService()
{
    sGameDiscoveryService = nullptr;
}

std::shared_ptr<HCGameDiscoveryService> HCGameDiscoveryService::sharedInstance()
{
    return sGameDiscoveryService;
}

void HCGameDiscoveryService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCGameDiscoveryImageHyperlink>(map);
    HCAddKnownResource<HCGameDiscoveryNewsItem>(map);
    HCAddKnownResource<HCGameDiscoveryCategory>(map);
    HCAddKnownResource<HCPlayedGame>(map);
}

std::string HCGameDiscoveryService::orientationName()
{
    HC_CHECK_MAIN_THREAD();
    if (Halcyon::isLargeScreen()) return "ipad";
    return Halcyon::isInLandscapeMode() ? "landscape" : "portrait";
}

HCRequestHandlePtr HCGameDiscoveryService::getDiscoveryPageNamed(const Text& pageName, int32_t page,
                                                                 const HCDelegate& onSuccess,
                                                                 const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    const auto path = pageName ? HCServicePath::format("game_discovery_categories/%@.xml", {pageName})
                               : std::optional<std::string>("game_discovery_categories");
    auto service = HCServicePath::serviceFor<HCGameDiscoveryService>(path, onFailure);
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("page", page);
    parameters.io("orientation", orientationName());
    parameters.io("client_application_id", HCClientState::clientApplicationId());
    return service->getAction(*path, &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr, false);
}

HCRequestHandlePtr HCGameDiscoveryService::getGameDiscoveryCategories(const HCDelegate& onSuccess,
                                                                      const HCDelegate& onFailure)
{
    return getDiscoveryPageNamed(std::nullopt, 1, onSuccess, onFailure);
}

HCRequestHandlePtr HCGameDiscoveryService::getNowPlayingFeaturedPlacement(const HCDelegate& onSuccess,
                                                                          const HCDelegate& onFailure)
{
    return getDiscoveryPageNamed(std::string("now_playing_featured_placement"), 1, onSuccess, onFailure);
}
