#include "social/discovery/HCGameDiscoveryImageHyperlink.h"

#include <cmath>
#include <cstdlib>
#include <locale>
#include <sstream>

#include "kernel/resources/HCResourceDataMap.h"
#include "social/discovery/HCGameDiscoveryService.h"

std::shared_ptr<HCService> HCGameDiscoveryImageHyperlink::getService() const
{
    return HCGameDiscoveryService::sharedInstance();
}

const HCResourceDataMap& HCGameDiscoveryImageHyperlink::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("seconds_to_display", &HCGameDiscoveryImageHyperlink::setSecondsToDisplayFromString);
        m->addField("image_url", &HCGameDiscoveryImageHyperlink::setImageUrl);
        m->addField("target_application_ipurchase_id", &HCGameDiscoveryImageHyperlink::setTargetApplicationIPurchaseId);
        m->addField("target_discovery_page_title", &HCGameDiscoveryImageHyperlink::setTargetDiscoveryPageTitle);
        m->addField("target_discovery_action_name", &HCGameDiscoveryImageHyperlink::setTargetDiscoveryActionName);
        m->addField("app_banner_placement", &HCGameDiscoveryImageHyperlink::setAppBannerPlacement);
        return m;
    }();
    return *map;
}

void HCGameDiscoveryImageHyperlink::setSecondsToDisplayFromString(const Text& text)
{
    // Read in the C locale whatever the process's is; a value that is no
    // finite number of seconds shows as 0.
    float seconds = 0;
    if (text) {
        std::istringstream in(*text);
        in.imbue(std::locale::classic());
        in >> seconds;
        if (in.fail() || !std::isfinite(seconds)) seconds = 0;
    }
    secondsToDisplay_ = seconds;
}
