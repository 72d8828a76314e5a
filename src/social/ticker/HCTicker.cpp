#include "social/ticker/HCTicker.h"

#include "kernel/resources/HCResourceDataMap.h"
#include "social/ticker/HCTickerService.h"

std::shared_ptr<HCService> HCTicker::getService() const
{
    return HCTickerService::sharedInstance();
}

const HCResourceDataMap& HCTicker::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("message", &HCTicker::setMessage);
        m->addField("date", &HCTicker::setDate);
        return m;
    }();
    return *map;
}
