#pragma once
// The service's current time, as a date and as whole seconds since 1970,
// read from a "server_timestamp" element.
//
// getServerTime() asks the server for it; the answer goes to the class's one
// delegate. The delegate is not retained: the game clears it with
// setDelegate(nullptr) before the delegate object goes away, which also
// cancels its outstanding requests (see HCClassDelegate).
//
// Thread: the class operations and the delegate callbacks on the main
// thread; the setters run where the reply is read (the provider's request
// thread).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "platform/foundation/Date.h"
#include "transport/handles/HCRequestHandle.h"

class HCPaginatedSeries;
class HCTimeStampDelegate;

class HCTimeStamp final : public HCResource, public HCCallbackable {
public:
    // The module under which the class registers its request handles.
    static constexpr const char* kModule = "HCTimeStamp";

    // Starts the request; the handle is registered under kModule. Nil when
    // no request was started (the service is not running or the provider
    // dropped it); then no callback comes.
    static std::shared_ptr<HCRequestHandle> getServerTime();
    static void setDelegate(HCTimeStampDelegate* delegate);
    static HCTimeStampDelegate* delegate();

    // Reply handlers of getServerTime (main thread). `started` is the
    // delegate generation the request began under (the current one when
    // left out); a delegate cleared since then hears nothing.
    static void _getServerTimeSuccess(const std::shared_ptr<HCPaginatedSeries>& series, uint64_t started = current());
    static void _getServerTimeFailure(uint64_t started = current());

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "server_timestamp"; }
    const HCResourceDataMap& getDataMap() const override;
    bool canReceiveCallbacksNow() const override { return true; }

    // Nil when the server's text was not of the form "yyyy-MM-dd'T'HH:mm:ss'Z'".
    const platform::DatePtr& time() const { return time_; }
    int32_t secondsSinceEpoch() const { return secondsSinceEpoch_; }

    // Data-map setters: the element texts.
    void setTime(const std::optional<std::string>& text);
    void setSecondsSinceEpoch(const std::string& text);

private:
    static uint64_t current();

    platform::DatePtr time_;
    int32_t secondsSinceEpoch_ = 0;
};
