#include "social/applications/HCApplicationDescriptionService.h"

#include "core/banners/HCNotificationData.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/applications/HCApplicationDescription.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCApplicationDescriptionService> sApplicationDescriptionService;

}  // namespace

void HCApplicationDescriptionService::initializeService()
{
    if (!sApplicationDescriptionService) sApplicationDescriptionService = HCService::create<HCApplicationDescriptionService>();
}

void HCApplicationDescriptionService::shutdownService()
{
    sApplicationDescriptionService = nullptr;
}

std::shared_ptr<HCApplicationDescriptionService> HCApplicationDescriptionService::sharedInstance()
{
    return sApplicationDescriptionService;
}

void HCApplicationDescriptionService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCApplicationDescription>(map);
}

HCRequestHandlePtr HCApplicationDescriptionService::getShowWithId(const std::optional<std::string>& applicationId,
                                                                  const HCDelegate& onSuccess,
                                                                  const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto path = HCServicePath::format("client_applications/%@/application_descriptions.xml", {applicationId});
    if (!path) return HCServicePath::refuse(onFailure);
    return getAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                     HCNotificationData::foreGroundDataWithText("Downloaded Application Description"));
}
