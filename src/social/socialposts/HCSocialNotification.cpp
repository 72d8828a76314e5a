#include "social/socialposts/HCSocialNotification.h"

#include <algorithm>

std::shared_ptr<HCSocialNotification> HCSocialNotification::initWithText(const Text& text)
{
    return initWithText(text, std::nullopt, std::nullopt, std::nullopt);
}

std::shared_ptr<HCSocialNotification> HCSocialNotification::initWithText(const Text& text, const Text& imageNamed)
{
    return initWithText(text, std::string(kNotificationImages), imageNamed, std::nullopt);
}

std::shared_ptr<HCSocialNotification> HCSocialNotification::initWithText(const Text& text, const Text& imageNamed,
                                                                         const Text& linkedUrl)
{
    return initWithText(text, std::string(kNotificationImages), imageNamed, linkedUrl);
}

std::shared_ptr<HCSocialNotification> HCSocialNotification::initWithTextImageTypeImageId(const Text& text,
                                                                                         const Text& imageType,
                                                                                         const Text& imageId)
{
    return initWithText(text, imageType, imageId, std::nullopt);
}

std::shared_ptr<HCSocialNotification> HCSocialNotification::initWithText(const Text& text, const Text& imageType,
                                                                         const Text& imageId, const Text& linkedUrl)
{
    auto notification = std::make_shared<HCSocialNotification>();
    notification->text = text;
    notification->imageType = imageType;
    notification->imageIdentifier = imageId;
    notification->url = linkedUrl && !linkedUrl->empty() ? linkedUrl : std::nullopt;
    return notification;
}

void HCSocialNotification::addSendToNetwork(int network)
{
    if (std::find(sendToNetworks.begin(), sendToNetworks.end(), network) == sendToNetworks.end()) {
        sendToNetworks.push_back(network);
    }
}
