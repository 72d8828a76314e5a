#include "scores/servertime/HCTimeStamp.h"

#include "core/replies/HCPaginatedSeries.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "kernel/system/HCDateFormatters.h"
#include "platform/foundation/TextConversions.h"
#include "scores/servertime/HCTimeStampDelegate.h"
#include "scores/servertime/HCTimeStampService.h"
#include "transport/handles/HCRequestHandlesForModule.h"

namespace {

// Not retained; main thread only.
HCTimeStampDelegate* sSharedDelegate = nullptr;

}  // namespace

void HCTimeStamp::setDelegate(HCTimeStampDelegate* delegate)
{
    sSharedDelegate = delegate;
    if (delegate == nullptr) {
        HCRequestHandlesForModule::cancelAllRequestsForModule(kModule);
    }
}

HCTimeStampDelegate* HCTimeStamp::delegate()
{
    return sSharedDelegate;
}

std::shared_ptr<HCRequestHandle> HCTimeStamp::getServerTime()
{
    auto success = HCDelegate::withFunction(
        [](const platform::ObjectPtr& reply) { _getServerTimeSuccess(platform::as<HCPaginatedSeries>(reply)); });
    auto failure = HCDelegate::withFunction([](const platform::ObjectPtr&) { _getServerTimeFailure(); });
    auto handle = HCTimeStampService::getServerTimeOnSuccess(success, failure);
    HCRequestHandlesForModule::addHandle(handle, kModule);
    return handle;
}

void HCTimeStamp::_getServerTimeSuccess(const std::shared_ptr<HCPaginatedSeries>& series)
{
    auto timeStamp = series ? platform::as<HCTimeStamp>(series->objectAtIndex(0)) : nullptr;
    if (!timeStamp) {
        _getServerTimeFailure();
        return;
    }
    if (HCTimeStampDelegate* delegate = sSharedDelegate) {
        platform::callOptional([&] { delegate->didGetServerTime(timeStamp); });
    }
}

void HCTimeStamp::_getServerTimeFailure()
{
    if (HCTimeStampDelegate* delegate = sSharedDelegate) {
        platform::callOptional([&] { delegate->didFailGetServerTime(); });
    }
}

std::shared_ptr<HCService> HCTimeStamp::getService() const
{
    return HCTimeStampService::sharedInstance();
}

const HCResourceDataMap& HCTimeStamp::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("timestamp", &HCTimeStamp::setTime);
        m->addField("seconds_since_epoch", &HCTimeStamp::setSecondsSinceEpoch);
        return m;
    }();
    return *map;
}

void HCTimeStamp::setTime(const std::optional<std::string>& text)
{
    time_ = text ? HCDateFormatters::railsFormatter().dateFromString(*text) : nullptr;
}

void HCTimeStamp::setSecondsSinceEpoch(const std::string& text)
{
    secondsSinceEpoch_ = platform::intValue(text);
}
