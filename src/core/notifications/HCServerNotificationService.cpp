#include "core/notifications/HCServerNotificationService.h"

#include "core/notifications/HCServerNotification.h"
#include "core/resources/HCResourceClass.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

std::shared_ptr<HCServerNotificationService> sServerNotificationService;

}  // namespace

void HCServerNotificationService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sServerNotificationService) {
        sServerNotificationService = HCService::create<HCServerNotificationService>();
    }
}

void HCServerNotificationService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sServerNotificationService = nullptr;
}

std::shared_ptr<HCServerNotificationService> HCServerNotificationService::sharedInstance()
{
    return sServerNotificationService;
}

void HCServerNotificationService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCServerNotification>(map);
}
