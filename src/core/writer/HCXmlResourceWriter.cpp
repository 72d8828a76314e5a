#include "core/writer/HCXmlResourceWriter.h"

#include "core/resources/HCResource.h"
#include "kernel/resources/HCResourceDataMap.h"

HCXmlResourceWriter::HCXmlResourceWriter(const std::vector<platform::ObjectPtr>& resources)
    : mRootNode(HCXmlResourceNode::nodeWithKey("resources", buildNodesFromResources(resources)))
{
}

std::string HCXmlResourceWriter::xmlStringFromResources(const std::vector<platform::ObjectPtr>& resources)
{
    return xmlWriterWithResources(resources)->createXmlAsString();
}

std::shared_ptr<HCXmlResourceWriter> HCXmlResourceWriter::xmlWriterWithResources(
    const std::vector<platform::ObjectPtr>& resources)
{
    return std::make_shared<HCXmlResourceWriter>(resources);
}

std::string HCXmlResourceWriter::createXmlAsString() const
{
    return mRootNode->toXmlString();
}

HCXmlResourceNode::Children HCXmlResourceWriter::buildNodesFromResources(const std::vector<platform::ObjectPtr>& resources)
{
    HCXmlResourceNode::Children nodes;
    nodes.reserve(resources.size());
    for (const auto& object : resources) {
        if (auto resource = platform::as<HCResource>(object)) {
            nodes.push_back(buildNodeFromResource(*resource, resource->getResourceName()));
        }
    }
    return nodes;
}

std::shared_ptr<HCXmlResourceNode> HCXmlResourceWriter::buildNodeFromResource(const HCResource& resource,
                                                                              const std::string& key)
{
    HCXmlResourceNode::Children children;
    children.push_back(HCXmlResourceNode::nodeWithKey("id", resource.resourceId()));
    for (const HCResourceFieldDescription& field : resource.getDataMap().fields()) {
        if (!field.getter) {
            continue;
        }
        platform::ObjectPtr value = field.getter(resource);
        if (field.isResourceArray) {
            auto array = platform::as<platform::Array>(value);
            children.push_back(HCXmlResourceNode::nodeWithKey(
                field.dataFieldName,
                array ? buildNodesFromResources(array->items()) : HCXmlResourceNode::Children()));
        } else if (!field.resourceClassName.empty()) {
            if (auto nested = platform::as<HCResource>(value)) {
                children.push_back(buildNodeFromResource(*nested, field.dataFieldName));
            }
        } else {
            children.push_back(HCXmlResourceNode::nodeWithKey(field.dataFieldName, platform::textOf(value)));
        }
    }
    return HCXmlResourceNode::nodeWithKey(key, std::move(children));
}
