#pragma once
// The game page's featured banner ("FeaturedGame"): given no link by its
// provider, it asks the service for the Now Playing placement and shows
// the first banner of it; a tap opens that banner's page. A failed or
// empty answer leaves the banner blank.
//
// Thread: main thread.
#include <memory>

#include "gamepages/discovery/HCGameDiscoveryImageHyperlinkCell.h"
#include "kernel/callbacks/HCCallbackable.h"

class HCPaginatedSeries;

class HCFeaturedGameCell : public HCGameDiscoveryImageHyperlinkCell, public HCCallbackable {
public:
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    // Answers reach the cell while it is in a window.
    bool canReceiveCallbacksNow() const override { return window() != nullptr; }
    std::string kindName() const override { return "HCFeaturedGameCell"; }

private:
    void onPlacementLoaded(std::shared_ptr<HCPaginatedSeries> series);
};
