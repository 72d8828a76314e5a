#pragma once
// The player's inbox: the discussions followed and the conversations, a
// page at a time, each an HCSubscription with its unread count.
//
// Silent, needs a logged-in session; while the service is not running the
// call answers nil and calls nothing back.
//
// Thread: calls on the caller's thread (the main thread as a rule); replies
// are read on the provider's request thread and delivered on the callbacks'
// thread.
#include <cstdint>
#include <memory>

#include "core/services/HCService.h"

class HCSubscriptionService final : public HCService {
public:
    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCSubscriptionService> sharedInstance();

    static HCRequestHandlePtr getSubscriptionsPage(uint32_t page, const HCDelegate& onSuccess,
                                                   const HCDelegate& onFailure);

    void populateKnownResources(HCResourceNameMap& map) override;
};
