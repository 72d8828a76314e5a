#pragma once
// The service that knows the server-notification resource. Nothing is sent
// through it and the client's start-up does not start it; the reply reader
// handles "server_notification" elements on its own.
//
// Thread: initializeService, shutdownService and sharedInstance on the main
// thread.
#include "core/services/HCService.h"

class HCServerNotificationService final : public HCService {
public:
    static void initializeService();
    static void shutdownService();
    // Nil before initializeService and after shutdownService.
    static std::shared_ptr<HCServerNotificationService> sharedInstance();

    void populateKnownResources(HCResourceNameMap& map) override;
};
