#include "social/socialposts/HCSocialNotificationService.h"

#include "core/banners/HCNotificationData.h"
#include "core/clientstate/HCClientState.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/socialposts/HCImageUrl.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCSocialNotificationService> sSocialNotificationService;

constexpr int kSocialPostCategory = 7;
constexpr int kSocialPostType = 1;

}  // namespace

void HCSocialNotificationService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sSocialNotificationService) sSocialNotificationService = HCService::create<HCSocialNotificationService>();
}

void HCSocialNotificationService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sSocialNotificationService = nullptr;
}

std::shared_ptr<HCSocialNotificationService> HCSocialNotificationService::sharedInstance()
{
    return sSocialNotificationService;
}

void HCSocialNotificationService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCImageUrl>(map);
}

std::optional<std::string> HCSocialNotificationService::networkName(int network)
{
    switch (network) {
        case 0: return std::string("Fbconnect");
        case 1: return std::string("Twitter");
        default: return std::nullopt;
    }
}

HCRequestHandlePtr HCSocialNotificationService::sendSocialNotification(const HCSocialNotificationPtr& notification,
                                                                       const HCDelegate& onSuccess,
                                                                       const HCDelegate& onFailure)
{
    auto service = sharedInstance();
    if (!service) return nullptr;
    if (!notification) return HCServicePath::refuse(onFailure);
    std::vector<std::string> networks;
    for (int network : notification->sendToNetworks)
        if (auto name = networkName(network)) networks.push_back(*name);
    // A post that reaches no network would be reported as published.
    if (networks.empty()) return HCServicePath::refuse(onFailure);

    HCHttpNestedQueryStringWriter parameters;
    parameters.io("msg", notification->text);
    parameters.io("image_type", notification->imageType);
    for (const auto& name : networks) parameters.io("networks[]", name);
    const bool named = notification->imageType == std::optional<std::string>(HCSocialNotification::kNotificationImages);
    parameters.io(named ? "image_name" : "image_id", notification->imageIdentifier);
    parameters.io("url", notification->url);

    auto notice = HCNotificationData::dataWithText("Published Game Event: " + notification->text.value_or(""),
                                                   kSocialPostCategory, kSocialPostType);
    notice->notificationUserData = notification;
    return service->postAction("notifications.xml", &parameters, onSuccess, onFailure, HCActionRequest::kBanner,
                               notice);
}

HCRequestHandlePtr HCSocialNotificationService::getImageUrlForNotificationImageNamed(
    const std::optional<std::string>& imageName, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto path = HCServicePath::format("client_applications/%@/notification_images/show.xml",
                                      {HCClientState::clientApplicationId()});
    auto service = HCServicePath::serviceFor<HCSocialNotificationService>(path, onFailure);
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("image_name", imageName);
    return service->getAction(*path, &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}
