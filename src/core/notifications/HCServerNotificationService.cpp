#include "core/notifications/HCServerNotificationService.h"

#include "core/notifications/HCServerNotification.h"
#include "core/resources/HCResourceClass.h"

namespace {

std::shared_ptr<HCServerNotificationService> sInstance;

}  // namespace

void HCServerNotificationService::initializeService()
{
    if (!sInstance) {
        sInstance = HCService::create<HCServerNotificationService>();
    }
}

void HCServerNotificationService::shutdownService()
{
    sInstance = nullptr;
}

std::shared_ptr<HCServerNotificationService> HCServerNotificationService::sharedInstance()
{
    return sInstance;
}

void HCServerNotificationService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCServerNotification>(map);
}
