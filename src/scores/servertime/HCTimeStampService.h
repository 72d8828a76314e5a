#pragma once
// Asks the server for its current time: GET "server_timestamp" (no ".xml"),
// silent, no parameters, authenticated session required. The reply's
// "server_timestamp" element is read as an HCTimeStamp.
//
// Thread: the main thread (replies are read on the provider's request thread).
#include "core/services/HCService.h"

class HCTimeStampService final : public HCService {
public:
    static void initializeService();
    static void shutdownService();
    // Nil before initializeService and after shutdownService.
    static std::shared_ptr<HCTimeStampService> sharedInstance();

    // The success callback gets the reply's HCPaginatedSeries, the failure
    // callback the provider's failure object. Nil, with no callback, when the
    // service is not running or the provider drops the request.
    static std::shared_ptr<HCRequestHandle> getServerTimeOnSuccess(const HCDelegate& onSuccess,
                                                                   const HCDelegate& onFailure);

    void populateKnownResources(HCResourceNameMap& map) override;
};
