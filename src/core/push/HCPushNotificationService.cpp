#include "core/push/HCPushNotificationService.h"

#include "core/halcyon/Halcyon.h"
#include "core/services/HCServicePath.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/runtime/ThreadChecker.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCPushNotificationService> sPushNotificationService;

}  // namespace

void HCPushNotificationService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sPushNotificationService) sPushNotificationService = HCService::create<HCPushNotificationService>();
}

void HCPushNotificationService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sPushNotificationService = nullptr;
}

std::shared_ptr<HCPushNotificationService> HCPushNotificationService::sharedInstance()
{
    return sPushNotificationService;
}

std::string HCPushNotificationService::deviceTokenText(const platform::Data& token)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    const auto& bytes = token.bytes();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0 && i % 4 == 0) text += ' ';
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0f];
    }
    return text;
}

void HCPushNotificationService::populateKnownResources(HCResourceNameMap&) {}

HCRequestHandlePtr HCPushNotificationService::setDeviceToken(const std::shared_ptr<platform::Data>& token,
                                                             const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto service = sharedInstance();
    if (!service) return nullptr;
    if (!token) return HCServicePath::refuse(onFailure);
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("apns_environment",
                  std::string(Halcyon::mUseSandboxPushNotificationServer() ? "sandbox" : "production"));
    parameters.io("udid", platform::DeviceFacts::uniqueIdentifier());
    // The writer escapes the value; escaping it here too would send "%2520".
    parameters.io("device_token", deviceTokenText(*token));
    return service->postAction("push_notification_device_tokens.xml", &parameters, onSuccess, onFailure,
                               HCActionRequest::kSilent, nullptr);
}
