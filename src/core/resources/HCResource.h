#pragma once
// The base of every typed object that comes from the service (a user, a
// leaderboard, a server time stamp ...).
//
// A resource class describes itself to the generic reply reader, the XML
// writer and the poller through four overridables, asked of an instance:
// the service that serves it, its XML element name, the notification posted
// when new objects of it are discovered, and its data map (the ordered table
// of its XML fields). A subclass builds its data map once, into a
// function-static map, and keeps it for the life of the process. A class
// that leaves one out gets a programming-error report and a neutral answer.
//
// The reader (resourcesFromXml and its helpers) turns a parsed reply into a
// paginated series; the writer conveniences write resources back as reply
// XML. Resource classes are created by name through platform::ClassRegistry,
// so every class that a reply may hold is registered (HCResourceClass.h).
//
// Thread: a resource is built on the thread that reads its reply (the
// provider's request thread for service replies) and then handed on whole;
// one thread uses it at a time, so it has no lock. The overridables, the data
// maps and the reader may run on any thread.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kernel/json/HCJsonCoding.h"
#include "kernel/json/HCJsonValue.h"
#include "kernel/memory/HCSmartObject.h"
#include "platform/foundation/Values.h"

class HCService;
class HCPaginatedSeries;
class HCTableSectionDescription;
class HCXmlDocument;
class HCXmlElement;
class HCResourceNameMap;
class HCResourceDataMap;

class HCResource : public platform::Object, public HCJsonCoding {
public:
    HCResource() = default;

    // A new resource of class T (HCResource or a subclass) with only its id set.
    template <class T = HCResource>
    static std::shared_ptr<T> initWithId(std::optional<std::string> resourceId)
    {
        auto resource = std::make_shared<T>();
        resource->setResourceId(std::move(resourceId));
        return resource;
    }

    // The server's id of the object (a numeric text); nil while the server
    // does not know the object.
    const std::optional<std::string>& resourceId() const { return resourceId_; }
    void setResourceId(std::optional<std::string> resourceId) { resourceId_ = std::move(resourceId); }

    // Class-tagged JSON: {"resource": {"id": ...}}.
    static std::string classNameForJsonCoding() { return "resource"; }
    static void registerJsonValueTypesForDecoding(HCJsonValueMap& map);
    void encodeWithJsonCoder(HCJsonCoder& coder) const override;
    std::string jsonCodingName() const override { return classNameForJsonCoding(); }

    // --- Overridables -----------------------------------------------------
    // The service singleton that serves this class.
    virtual std::shared_ptr<HCService> getService() const;
    // The XML element name of one object of this class ("user"); also the key
    // under which services register the class.
    virtual std::string getResourceName() const;
    // The notification posted with newly discovered objects of this class.
    virtual std::string getResourceDiscoveredNotification() const;
    virtual const HCResourceDataMap& getDataMap() const;

    // --- Reader -------------------------------------------------------------
    // Every reply: the flat form ("resources") or the sectioned form
    // ("resource_sections", whose series holds HCTableSectionDescription
    // objects). Anything else gives an empty series; nothing is an error.
    static std::shared_ptr<HCPaginatedSeries> resourcesFromXml(HCXmlDocument& document, const HCResourceNameMap* map);
    // The document stands inside a "resource_section".
    static std::shared_ptr<HCTableSectionDescription> parseSection(HCXmlDocument& document,
                                                                   const HCResourceNameMap* map);
    // The flat form below the current scope.
    static std::shared_ptr<HCPaginatedSeries> pagintedSeriesFromXmlDocument(HCXmlDocument& document,
                                                                           const HCResourceNameMap* map);
    // The resources among the current scope's unread elements.
    static std::shared_ptr<platform::Array> parseNestedResourceArrayFromDocument(HCXmlDocument& document,
                                                                                 const HCResourceNameMap* map);
    // The resources among the element's unread children.
    static std::shared_ptr<platform::Array> parseNestedResourceArrayFromElement(HCXmlElement& element,
                                                                                const HCResourceNameMap* map);
    // The resource of the class that the map names for the element; nil when none.
    static std::shared_ptr<HCResource> parseResource(const HCPointer<HCXmlElement>& element,
                                                     const HCResourceNameMap* map);
    // A new instance of the registered class, filled from the element; nil
    // when the class is unknown or not a resource.
    static std::shared_ptr<HCResource> buildIdentifiedResource(const HCPointer<HCXmlElement>& element,
                                                               const std::string& resourceClass,
                                                               const HCResourceNameMap* map);
    // Fills this resource from the element's unread children.
    void populateFromXml(HCXmlElement& element, const HCResourceNameMap* map);

    // --- Writer conveniences -------------------------------------------------
    // This resource alone as a reply document.
    std::string toResourceArrayXml() const;
    static std::string resourcesToXml(const std::vector<platform::ObjectPtr>& resources);

private:
    std::optional<std::string> resourceId_;
};

using HCResourcePtr = std::shared_ptr<HCResource>;
