#include "scores/servertime/HCTimeStampService.h"

#include "core/resources/HCResourceClass.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/servertime/HCTimeStamp.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCTimeStampService> sTimeStampService;

}  // namespace

void HCTimeStampService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sTimeStampService) {
        sTimeStampService = HCService::create<HCTimeStampService>();
    }
}

void HCTimeStampService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sTimeStampService = nullptr;
}

std::shared_ptr<HCTimeStampService> HCTimeStampService::sharedInstance()
{
    return sTimeStampService;
}

std::shared_ptr<HCRequestHandle> HCTimeStampService::getServerTimeOnSuccess(const HCDelegate& onSuccess,
                                                                            const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto service = sharedInstance();
    if (!service) {
        return nullptr;
    }
    return service->getAction("server_timestamp", nullptr, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

void HCTimeStampService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCTimeStamp>(map);
}
