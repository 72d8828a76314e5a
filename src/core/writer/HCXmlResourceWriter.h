#pragma once
// Writes resources back out as reply XML in the flat form, driven by each
// class's data map, so that the reply reader can read it again:
//
//   <?xml version="1.0" encoding="UTF-8"?><resources><user><id>12</id>
//   <name>Ann</name></user></resources>            (as one line)
//
// Each resource is an element named by its class's getResourceName holding
// "id" first and then one element per field that has a getter, in data-map
// order. A nested array becomes an element of the field's name holding its
// resources; a nested resource an element of the field's name holding its
// fields (nothing at all when the resource is nil); a plain field its text
// (an empty element for nil). Objects that are not resources are skipped.
//
// Thread: pure functions of their input; the caller's thread.
#include <memory>
#include <string>
#include <vector>

#include "core/writer/HCXmlResourceNode.h"
#include "platform/runtime/Object.h"

class HCResource;

class HCXmlResourceWriter final : public platform::Object {
public:
    explicit HCXmlResourceWriter(const std::vector<platform::ObjectPtr>& resources);

    // The whole document of the resources, in the order given.
    static std::string xmlStringFromResources(const std::vector<platform::ObjectPtr>& resources);
    static std::shared_ptr<HCXmlResourceWriter> xmlWriterWithResources(const std::vector<platform::ObjectPtr>& resources);

    std::string createXmlAsString() const;

    static HCXmlResourceNode::Children buildNodesFromResources(const std::vector<platform::ObjectPtr>& resources);
    static std::shared_ptr<HCXmlResourceNode> buildNodeFromResource(const HCResource& resource, const std::string& key);

private:
    std::shared_ptr<HCXmlResourceNode> mRootNode;
};
