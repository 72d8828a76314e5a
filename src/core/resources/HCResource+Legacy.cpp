// The reply reader and the writer conveniences of HCResource.
#include "core/notifications/HCServerNotification.h"
#include "core/banners/HCNotification.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/replies/HCTableSectionDescription.h"
#include "core/resources/HCResource.h"
#include "core/resources/HCResourceClass.h"
#include "core/writer/HCXmlResourceWriter.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "kernel/resources/HCResourceNameMap.h"
#include "kernel/xml/HCXmlDocument.h"
#include "platform/foundation/ProgrammingError.h"
#include "platform/runtime/ClassRegistry.h"

namespace {

// Server notifications are read with a map of their own, whatever the
// service's map holds.
const HCResourceNameMap& serverNotificationMap()
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceNameMap>();
        HCAddKnownResource<HCServerNotification>(*m);
        return m;
    }();
    return *map;
}

const std::string& serverNotificationName()
{
    static const std::string name = HCServerNotification().getResourceName();
    return name;
}

}  // namespace

std::shared_ptr<HCPaginatedSeries> HCResource::resourcesFromXml(HCXmlDocument& document, const HCResourceNameMap* map)
{
    if (!document.pushNextUnreadScopeWithNameIfAvailable("resource_sections")) {
        return pagintedSeriesFromXmlDocument(document, map);
    }
    auto series = HCPaginatedSeries::paginatedSeries();
    if (document.pushNextUnreadScopeWithNameIfAvailable("table_meta_data")) {
        series->setTableMetaDataObjects(parseNestedResourceArrayFromDocument(document, map));
        document.popScope();
    }
    while (document.pushNextUnreadScopeWithNameIfAvailable("resource_section")) {
        series->addObject(parseSection(document, map));
        document.popScope();
    }
    document.popScope();
    return series;
}

std::shared_ptr<HCTableSectionDescription> HCResource::parseSection(HCXmlDocument& document,
                                                                    const HCResourceNameMap* map)
{
    auto section = std::make_shared<HCTableSectionDescription>();
    std::optional<std::string> title;
    std::optional<std::string> identifier;
    document.nextValueAtCurrentScopeWithKey("name", title);
    document.nextValueAtCurrentScopeWithKey("identifier", identifier);
    section->setTitle(std::move(title));
    section->setIdentifier(std::move(identifier));
    section->setPage(pagintedSeriesFromXmlDocument(document, map));
    return section;
}

std::shared_ptr<HCPaginatedSeries> HCResource::pagintedSeriesFromXmlDocument(HCXmlDocument& document,
                                                                            const HCResourceNameMap* map)
{
    auto series = HCPaginatedSeries::paginatedSeries();
    document.pushNextScope("resources");
    while (HCPointer<HCXmlElement> element = document.readNextElement()) {
        const std::string& name = element->name();
        if (name == "table_meta_data") {
            series->setTableMetaDataObjects(parseNestedResourceArrayFromElement(*element, map));
        } else if (name == HCPaginatedSeriesHeader::getElementName()) {
            series->setHeader(HCPaginatedSeriesHeader::paginationHeaderWithXmlElement(*element));
        } else if (name == serverNotificationName()) {
            auto notification = platform::as<HCServerNotification>(parseResource(element, &serverNotificationMap()));
            if (notification) {
                HCNotification::sharedInstance()->showServerNotification(notification);
            }
        } else if (auto resource = parseResource(element, map)) {
            series->addObject(resource);
        }
    }
    document.popScope();
    return series;
}

std::shared_ptr<platform::Array> HCResource::parseNestedResourceArrayFromDocument(HCXmlDocument& document,
                                                                                  const HCResourceNameMap* map)
{
    auto resources = platform::Array::make();
    resources->mutableItems().reserve(1);
    while (HCPointer<HCXmlElement> element = document.readNextElement()) {
        if (auto resource = parseResource(element, map)) {
            resources->add(resource);
        }
    }
    return resources;
}

std::shared_ptr<platform::Array> HCResource::parseNestedResourceArrayFromElement(HCXmlElement& element,
                                                                                 const HCResourceNameMap* map)
{
    auto resources = platform::Array::make();
    resources->mutableItems().reserve(10);
    while (HCPointer<HCXmlElement> child = element.dequeueNextUnreadChild()) {
        if (auto resource = parseResource(child, map)) {
            resources->add(resource);
        }
    }
    return resources;
}

std::shared_ptr<HCResource> HCResource::parseResource(const HCPointer<HCXmlElement>& element,
                                                      const HCResourceNameMap* map)
{
    if (!element || map == nullptr) {
        return nullptr;
    }
    std::optional<std::string> className = map->getTypeNamed(element->name());
    if (!className) {
        return nullptr;
    }
    return buildIdentifiedResource(element, *className, map);
}

std::shared_ptr<HCResource> HCResource::buildIdentifiedResource(const HCPointer<HCXmlElement>& element,
                                                                const std::string& resourceClass,
                                                                const HCResourceNameMap* map)
{
    if (!element) {
        return nullptr;
    }
    auto resource = platform::as<HCResource>(platform::ClassRegistry::create(resourceClass));
    if (!resource) {
        // The class comes from code (a name map or a data map), never from
        // the reply: a class that cannot be made is the code's mistake.
        platform::reportProgrammingError("HCResource: the class '" + resourceClass + "' for the element '" +
                                         element->name() + "' is not a registered resource class");
        return nullptr;
    }
    resource->populateFromXml(*element, map);
    return resource;
}

void HCResource::populateFromXml(HCXmlElement& element, const HCResourceNameMap* map)
{
    std::optional<std::string> id;
    if (element.getValueWithName("id", id, true)) {
        setResourceId(std::move(id));
    }
    const HCResourceDataMap& dataMap = getDataMap();
    while (HCPointer<HCXmlElement> child = element.dequeueNextUnreadChild()) {
        const HCResourceFieldDescription* field = dataMap.getFieldDescription(child->name());
        if (field == nullptr || !field->setter) {
            continue;
        }
        platform::ObjectPtr value;
        if (field->isResourceArray) {
            value = parseNestedResourceArrayFromElement(*child, map);
        } else if (!field->resourceClassName.empty()) {
            value = buildIdentifiedResource(child, field->resourceClassName, map);
        } else if (auto text = child->value()) {
            value = platform::String::make(std::move(*text));
        }
        field->setter(*this, value);
    }
}

std::string HCResource::toResourceArrayXml() const
{
    auto root = HCXmlResourceNode::nodeWithKey("resources",
                                               HCXmlResourceNode::Children{
                                                   HCXmlResourceWriter::buildNodeFromResource(*this, getResourceName())});
    return root->toXmlString();
}

std::string HCResource::resourcesToXml(const std::vector<platform::ObjectPtr>& resources)
{
    return HCXmlResourceWriter::xmlStringFromResources(resources);
}
