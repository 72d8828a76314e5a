#include "gamepages/discovery/HCFeaturedGameCell.h"

#include "core/replies/HCPaginatedSeries.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/discovery/HCGameDiscoveryImageHyperlink.h"
#include "social/discovery/HCGameDiscoveryService.h"

void HCFeaturedGameCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    HCGameDiscoveryImageHyperlinkCell::onResourceChanged(resource);
    if (resource) return;
    auto self = platform::self(this);
    // A failure leaves the banner blank: nothing else waits for it.
    HCGameDiscoveryService::getNowPlayingFeaturedPlacement(HCDelegate(self, &HCFeaturedGameCell::onPlacementLoaded),
                                                           HCDelegate());
}

void HCFeaturedGameCell::onPlacementLoaded(std::shared_ptr<HCPaginatedSeries> series)
{
    if (!series) return;
    for (const auto& object : series->objects()) {
        if (auto link = platform::as<HCGameDiscoveryImageHyperlink>(object)) {
            setResource(link);
            return;
        }
    }
}
