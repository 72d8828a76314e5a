#include "core/poller/HCResourcePollerReplyReader.h"

#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResource.h"
#include "kernel/resources/HCResourceNameMap.h"
#include "kernel/xml/HCXmlDocument.h"
#include "platform/foundation/TextConversions.h"
#include "platform/runtime/ClassRegistry.h"

std::vector<HCPollerReplyReader::Item> HCResourcePollerReplyReader::read(
    const platform::Data& body, const std::vector<HCPollerResourceClass>& classes)
{
    HCResourceNameMap map;
    for (const auto& resourceClass : classes) {
        map.addResource(resourceClass.resourceName, resourceClass.className);
    }
    auto document = HCXmlDocument::xmlDocumentWithData(body.bytes());
    auto series = HCResource::resourcesFromXml(*document, &map);

    std::vector<Item> items;
    for (const auto& object : *series) {
        auto resource = platform::as<HCResource>(object);
        if (!resource) {
            continue;
        }
        Item item;
        item.resource = resource;
        item.resourceName = resource->getResourceName();
        item.resourceId = resource->resourceId() ? platform::longLongValue(*resource->resourceId()) : 0;
        items.push_back(std::move(item));
    }
    return items;
}

std::optional<HCPollerResourceClass> HCPollerResourceClassNamed(const std::string& className)
{
    auto resource = platform::as<HCResource>(platform::ClassRegistry::create(className));
    if (!resource) {
        return std::nullopt;
    }
    return HCPollerResourceClass{className, resource->getResourceName(), resource->getResourceDiscoveredNotification()};
}
