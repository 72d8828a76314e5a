#include "social/conversations/HCSubscriptionService.h"

#include "core/resources/HCResourceClass.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "social/conversations/HCSubscription.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCSubscriptionService> sSubscriptionService;

}  // namespace

void HCSubscriptionService::initializeService()
{
    if (!sSubscriptionService) sSubscriptionService = HCService::create<HCSubscriptionService>();
}

void HCSubscriptionService::shutdownService()
{
    sSubscriptionService = nullptr;
}

std::shared_ptr<HCSubscriptionService> HCSubscriptionService::sharedInstance()
{
    return sSubscriptionService;
}

void HCSubscriptionService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCSubscription>(map);
}

HCRequestHandlePtr HCSubscriptionService::getSubscriptionsPage(uint32_t page, const HCDelegate& onSuccess,
                                                               const HCDelegate& onFailure)
{
    auto service = sharedInstance();
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("page", page);
    return service->getAction("subscriptions.xml", &parameters, onSuccess, onFailure, HCActionRequest::kSilent,
                              nullptr);
}
