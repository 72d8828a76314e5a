#include "scores/servertime/HCTimeStamp.h"

#include "core/publicclass/HCClassDelegate.h"
#include "core/replies/HCPaginatedSeries.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "kernel/system/HCDateFormatters.h"
#include "platform/foundation/TextConversions.h"
#include "scores/servertime/HCTimeStampDelegate.h"
#include "scores/servertime/HCTimeStampService.h"

namespace {

HCClassDelegate<HCTimeStampDelegate> sTimeStampDelegate(HCTimeStamp::kModule);

}  // namespace

void HCTimeStamp::setDelegate(HCTimeStampDelegate* delegate)
{
    sTimeStampDelegate.set(delegate);
}

HCTimeStampDelegate* HCTimeStamp::delegate()
{
    return sTimeStampDelegate.get();
}

std::shared_ptr<HCRequestHandle> HCTimeStamp::getServerTime()
{
    auto callbacks = sTimeStampDelegate.callbacks(
        nullptr,
        [](auto started, const platform::ObjectPtr& reply) {
            _getServerTimeSuccess(platform::as<HCPaginatedSeries>(reply), started);
        },
        [](auto started) { _getServerTimeFailure(started); });
    return sTimeStampDelegate.track(HCTimeStampService::getServerTimeOnSuccess(callbacks.success, callbacks.failure));
}

void HCTimeStamp::_getServerTimeSuccess(const std::shared_ptr<HCPaginatedSeries>& series, uint64_t started)
{
    auto timeStamp = series ? platform::as<HCTimeStamp>(series->objectAtIndex(0)) : nullptr;
    if (!timeStamp) {
        _getServerTimeFailure(started);
        return;
    }
    sTimeStampDelegate.notify(started, [&](HCTimeStampDelegate& delegate) { delegate.didGetServerTime(timeStamp); });
}

void HCTimeStamp::_getServerTimeFailure(uint64_t started)
{
    sTimeStampDelegate.notify(started, [](HCTimeStampDelegate& delegate) { delegate.didFailGetServerTime(); });
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

uint64_t HCTimeStamp::current()
{
    return sTimeStampDelegate.ticket();
}
