#include "social/discovery/HCGameDiscoveryCategory.h"

#include "kernel/resources/HCResourceDataMap.h"
#include "social/discovery/HCGameDiscoveryService.h"

std::shared_ptr<HCService> HCGameDiscoveryCategory::getService() const
{
    return HCGameDiscoveryService::sharedInstance();
}

const HCResourceDataMap& HCGameDiscoveryCategory::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("icon_url", &HCGameDiscoveryCategory::setIconUrl);
        m->addField("name", &HCGameDiscoveryCategory::setName);
        m->addField("subtext", &HCGameDiscoveryCategory::setSubtext);
        m->addField("secondary_text", &HCGameDiscoveryCategory::setSecondaryText);
        m->addField("target_discovery_action_name", &HCGameDiscoveryCategory::setTargetDiscoveryActionName);
        m->addField("target_discovery_page_title", &HCGameDiscoveryCategory::setTargetDiscoveryPageTitle);
        return m;
    }();
    return *map;
}
