#pragma once
// A game's store description, for the description page.
//
// Needs a logged-in session. The one call is the service's single-resource
// action, reached through sharedInstance() (the table page of one resource
// sends it to its service); an application id that names no path segment
// fails at once without a request.
//
// Thread: calls on the main thread; replies are read on the provider's
// request thread and delivered on the callbacks' thread.
#include <memory>
#include <optional>
#include <string>

#include "core/services/HCService.h"

class HCApplicationDescriptionService final : public HCService {
public:
    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCApplicationDescriptionService> sharedInstance();

    // GET "client_applications/%@/application_descriptions.xml": a series
    // with the game's HCApplicationDescription.
    HCRequestHandlePtr getShowWithId(const std::optional<std::string>& applicationId, const HCDelegate& onSuccess,
                                     const HCDelegate& onFailure) override;

    // "application_description".
    void populateKnownResources(HCResourceNameMap& map) override;
};
