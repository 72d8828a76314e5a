#include "gamepages/discovery/HCGameDiscoveryNewsItemController.h"

#include "platform/net/PercentEncoding.h"

std::string HCGameDiscoveryNewsItemController::getAction()
{
    // The id comes from a reply: encoded, it stays one segment of the path.
    const std::string id = newsItem_ ? newsItem_->resourceId().value_or("") : std::string();
    return "game_discovery_news_items/" + platform::percentEncode(id) + ".iphone";
}
