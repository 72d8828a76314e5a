#include "core/users/HCUserService.h"

#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "core/users/HCHttpBasicCredential.h"
#include "core/users/HCUser.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/ThreadChecker.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCUserService> sUserService;

}  // namespace

void HCUserService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sUserService) sUserService = HCService::create<HCUserService>();
}

void HCUserService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sUserService = nullptr;
}

std::shared_ptr<HCUserService> HCUserService::sharedInstance()
{
    return sUserService;
}

std::shared_ptr<HCRequestHandle> HCUserService::setUserLocation(const std::optional<std::string>& userId,
                                                                const platform::ui::LocationPtr& location,
                                                                bool allowed, const HCDelegate& onSuccess,
                                                                const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    if (!location) return nullptr;
    const auto path = userId ? HCServicePath::format("users/%@/set_location.xml", {userId})
                             : std::optional<std::string>("users/@me/set_location.xml");
    auto service = HCServicePath::serviceFor<HCUserService>(path, onFailure);
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("lat", location->coordinate().latitude);
    parameters.io("lng", location->coordinate().longitude);
    if (allowed) parameters.io("allowed", true);
    return service->postAction(*path, &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

void HCUserService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCUser>(map);
    HCAddKnownResource<HCHttpBasicCredential>(map);
}
