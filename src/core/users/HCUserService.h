#pragma once
// The user service, as far as this build needs it: telling the service
// where a player is.
//
// Thread: the main thread (replies are read on the provider's request thread).
#include <optional>
#include <string>

#include "core/services/HCService.h"
#include "platform/ui/Location.h"

class HCUserService final : public HCService {
public:
    static void initializeService();
    static void shutdownService();
    // Nil before initializeService and after shutdownService.
    static std::shared_ptr<HCUserService> sharedInstance();

    // POST "users/%@/set_location.xml" ("@me" for a nil user id) with "lat"
    // and "lng" in degrees ("%f"), and "allowed" "1" only when `allowed`.
    // Success gets the reply's series, failure the provider's failure
    // object. Nil, with no callback, when the service is not running or the
    // location is nil; a user id that names no path segment fails at once.
    static std::shared_ptr<HCRequestHandle> setUserLocation(const std::optional<std::string>& userId,
                                                            const platform::ui::LocationPtr& location, bool allowed,
                                                            const HCDelegate& onSuccess, const HCDelegate& onFailure);

    // The position report's reply holds no resources this build reads.
    void populateKnownResources(HCResourceNameMap& map) override;
};
