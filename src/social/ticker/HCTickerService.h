#pragma once
// The dashboard ticker's lines, a page at a time. Silent, without the
// service's HTTP error handling: a ticker that fails shows nothing.
//
// Thread: calls on the main thread; replies are read on the provider's
// request thread and delivered on the callbacks' thread.
#include <cstdint>
#include <memory>

#include "core/services/HCService.h"

class HCTickerService final : public HCService {
public:
    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCTickerService> sharedInstance();

    static HCRequestHandlePtr getPage(int32_t page, const HCDelegate& onSuccess, const HCDelegate& onFailure);

    void populateKnownResources(HCResourceNameMap& map) override;
};
