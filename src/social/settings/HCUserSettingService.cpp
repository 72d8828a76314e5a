#include "social/settings/HCUserSettingService.h"

#include "core/banners/HCNotificationData.h"
#include "core/clientstate/HCClientState.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/settings/HCNewsletterSubscription.h"
#include "social/settings/HCUserSetting.h"
#include "social/settings/HCUserSettingPushController.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCUserSettingService> sUserSettingService;

constexpr const char* kSettingsPath = "users/@me/settings.xml";

std::string flag(bool value)
{
    return value ? "1" : "0";
}

// Both ways of naming a setting post the same form but for its name field.
HCRequestHandlePtr setUserSetting(const char* nameField, const std::optional<std::string>& name, bool value,
                                  const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto service = HCUserSettingService::sharedInstance();
    if (!service) return nullptr;
    if (!name || name->empty()) return HCServicePath::refuse(onFailure);
    HCHttpNestedQueryStringWriter parameters;
    {
        HCISerializer::Scope scope(&parameters, "user_setting");
        parameters.io(nameField, *name);
        parameters.io("value", flag(value));
    }
    return service->postAction(kSettingsPath, &parameters, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                               HCNotificationData::foreGroundDataWithText("Updated Setting"));
}

std::optional<std::string> newsletterPath(const std::optional<std::string>& clientApplicationId)
{
    const auto id = clientApplicationId ? clientApplicationId : HCClientState::clientApplicationId();
    return HCServicePath::format("client_applications/%@/news_letter_subscription.xml", {id});
}

}  // namespace

void HCUserSettingService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sUserSettingService) sUserSettingService = HCService::create<HCUserSettingService>();
}

void HCUserSettingService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sUserSettingService = nullptr;
}

std::shared_ptr<HCUserSettingService> HCUserSettingService::sharedInstance()
{
    return sUserSettingService;
}

void HCUserSettingService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCUserSetting>(map);
    // The service names a setting either way.
    map.addResource("setting", HCRegisterResourceClass<HCUserSetting>());
    HCAddKnownResource<HCUserSettingPushController>(map);
    HCAddKnownResource<HCNewsletterSubscription>(map);
}

HCRequestHandlePtr HCUserSettingService::getIndexOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("udid", platform::DeviceFacts::uniqueIdentifier());
    return getAction(kSettingsPath, &parameters, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                     HCNotificationData::foreGroundDataWithText("Downloaded Settings"));
}

HCRequestHandlePtr HCUserSettingService::getUserSettingWithKey(const Text& key, const HCDelegate& onSuccess,
                                                               const HCDelegate& onFailure)
{
    auto path = HCServicePath::format("users/@me/settings/%@.xml", {key});
    auto service = HCServicePath::serviceFor<HCUserSettingService>(path, onFailure);
    if (!service) return nullptr;
    return service->getAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                              HCNotificationData::foreGroundDataWithText("Downloaded Settings"));
}

HCRequestHandlePtr HCUserSettingService::setUserSettingWithKey(const Text& key, bool value,
                                                               const HCDelegate& onSuccess,
                                                               const HCDelegate& onFailure)
{
    return setUserSetting("key", key, value, onSuccess, onFailure);
}

HCRequestHandlePtr HCUserSettingService::setUserSettingWithId(const Text& settingId, bool value,
                                                              const HCDelegate& onSuccess,
                                                              const HCDelegate& onFailure)
{
    return setUserSetting("id", settingId, value, onSuccess, onFailure);
}

HCRequestHandlePtr HCUserSettingService::getSubscribingToDeveloperNewsLetter(const Text& clientApplicationId,
                                                                             const HCDelegate& onSuccess,
                                                                             const HCDelegate& onFailure)
{
    auto path = newsletterPath(clientApplicationId);
    auto service = HCServicePath::serviceFor<HCUserSettingService>(path, onFailure);
    if (!service) return nullptr;
    return service->getAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                              HCNotificationData::foreGroundDataWithText("Retrieving Data"));
}

HCRequestHandlePtr HCUserSettingService::setSubscribeToDeveloperNewsLetter(bool subscribe,
                                                                           const Text& clientApplicationId,
                                                                           const HCDelegate& onSuccess,
                                                                           const HCDelegate& onFailure)
{
    auto path = newsletterPath(clientApplicationId);
    auto service = HCServicePath::serviceFor<HCUserSettingService>(path, onFailure);
    if (!service) return nullptr;
    if (subscribe) {
        return service->postAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                                   HCNotificationData::foreGroundDataWithText("Subscribing"));
    }
    return service->deleteAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                                 HCNotificationData::foreGroundDataWithText("Unsubscribing"));
}
