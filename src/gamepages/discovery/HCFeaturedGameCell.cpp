#include "gamepages/discovery/HCFeaturedGameCell.h"

#include "core/replies/HCPaginatedSeries.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/discovery/HCGameDiscoveryImageHyperlink.h"
#include "social/discovery/HCGameDiscoveryService.h"
#include "uiframework/HCPageRequestDelegates.h"

void HCFeaturedGameCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    HCGameDiscoveryImageHyperlinkCell::onResourceChanged(resource);
    if (resource) return;
    // A failure leaves the banner blank: nothing else waits for it.
    auto [loaded, failed] = pageRequestDelegates<HCFeaturedGameCell>(
        std::static_pointer_cast<HCFeaturedGameCell>(platform::self(this)),
        [](auto& cell, const auto& reply) { cell.onPlacementLoaded(platform::as<HCPaginatedSeries>(reply)); }, {});
    HCGameDiscoveryService::getNowPlayingFeaturedPlacement(loaded, failed);
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
