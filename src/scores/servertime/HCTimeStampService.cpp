#include "scores/servertime/HCTimeStampService.h"

#include "core/resources/HCResourceClass.h"
#include "scores/servertime/HCTimeStamp.h"

namespace {

std::shared_ptr<HCTimeStampService> sInstance;

}  // namespace

void HCTimeStampService::initializeService()
{
    if (!sInstance) {
        sInstance = HCService::create<HCTimeStampService>();
    }
}

void HCTimeStampService::shutdownService()
{
    sInstance = nullptr;
}

std::shared_ptr<HCTimeStampService> HCTimeStampService::sharedInstance()
{
    return sInstance;
}

std::shared_ptr<HCRequestHandle> HCTimeStampService::getServerTimeOnSuccess(const HCDelegate& onSuccess,
                                                                            const HCDelegate& onFailure)
{
    auto service = sharedInstance();
    if (!service) {
        return nullptr;
    }
    return service->getAction("server_timestamp", nullptr, onSuccess, onFailure, 0, nullptr);
}

void HCTimeStampService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCTimeStamp>(map);
}
