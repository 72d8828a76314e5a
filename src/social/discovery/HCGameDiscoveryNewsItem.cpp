#include "social/discovery/HCGameDiscoveryNewsItem.h"

#include "kernel/resources/HCResourceDataMap.h"
#include "social/discovery/HCGameDiscoveryService.h"

std::shared_ptr<HCService> HCGameDiscoveryNewsItem::getService() const
{
    return HCGameDiscoveryService::sharedInstance();
}

const HCResourceDataMap& HCGameDiscoveryNewsItem::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("icon_url", &HCGameDiscoveryNewsItem::setIconUrl);
        m->addField("title", &HCGameDiscoveryNewsItem::setTitle);
        m->addField("subtitle", &HCGameDiscoveryNewsItem::setSubtitle);
        return m;
    }();
    return *map;
}
