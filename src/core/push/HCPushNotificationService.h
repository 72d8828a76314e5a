#pragma once
// Registers the device's push token with the service, for the sandbox or
// the production push server as the game's settings say.
//
// It lives in the core because the Halcyon class hands it the token the
// platform gives the application.
//
// The token travels as lowercase hexadecimal in groups of eight digits
// separated by blanks ("01020304 05060708"), escaped once like every form
// value. A nil token fails at once, without a request.
//
// Thread: calls on the main thread; replies are read on the provider's
// request thread and delivered on the callbacks' thread.
#include <memory>
#include <string>

#include "core/services/HCService.h"
#include "platform/foundation/Values.h"

class HCPushNotificationService final : public HCService {
public:
    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCPushNotificationService> sharedInstance();

    static HCRequestHandlePtr setDeviceToken(const std::shared_ptr<platform::Data>& token, const HCDelegate& onSuccess,
                                             const HCDelegate& onFailure);
    // The token's text form, before any escaping.
    static std::string deviceTokenText(const platform::Data& token);
    // The registration's reply carries nothing the client reads.
    void populateKnownResources(HCResourceNameMap& map) override;
};
