#include "social/ticker/HCTickerService.h"

#include "core/resources/HCResourceClass.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/ticker/HCTicker.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCTickerService> sTickerService;

}  // namespace

void HCTickerService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sTickerService) sTickerService = HCService::create<HCTickerService>();
}

void HCTickerService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sTickerService = nullptr;
}

std::shared_ptr<HCTickerService> HCTickerService::sharedInstance()
{
    return sTickerService;
}

void HCTickerService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCTicker>(map);
}

HCRequestHandlePtr HCTickerService::getPage(int32_t page, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto service = sharedInstance();
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("page", page);
    return service->getAction("tickers.xml", &parameters, onSuccess, onFailure, HCActionRequest::kNoErrorScreens,
                              nullptr);
}
