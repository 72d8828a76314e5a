#pragma once
// The service's catalogue of games as named discovery pages: categories
// leading to other pages, banners, news and games.
//
// A page's name goes into the path as exactly one escaped segment, so a
// name taken from a reply ("target_discovery_action_name") can never reach
// another path; a name that names nothing ("", "..") fails the call at once
// without a request. The request says how the dashboard is shown: "ipad" on
// a large screen, else "landscape" or "portrait". No logged-in session is
// needed. While the service is not running a call answers nil and calls
// nothing back.
//
// Thread: calls on the main thread (they read the dashboard's orientation);
// replies are read on the provider's request thread and delivered on the
// callbacks' thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/services/HCService.h"

class HCGameDiscoveryService final : public HCService {
public:
    using Text = std::optional<std::string>;

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCGameDiscoveryService> sharedInstance();

    // The root of the catalogue when the name is nil.
    static HCRequestHandlePtr getDiscoveryPageNamed(const Text& pageName, int32_t page, const HCDelegate& onSuccess,
                                                    const HCDelegate& onFailure);
    static HCRequestHandlePtr getGameDiscoveryCategories(const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // The banners of the "Now Playing" page.
    static HCRequestHandlePtr getNowPlayingFeaturedPlacement(const HCDelegate& onSuccess,
                                                             const HCDelegate& onFailure);
    // "ipad", "landscape" or "portrait".
    static std::string orientationName();

    void populateKnownResources(HCResourceNameMap& map) override;
    HCRequestHandlePtr getIndexOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override
    {
        return getGameDiscoveryCategories(onSuccess, onFailure);
    }
};
