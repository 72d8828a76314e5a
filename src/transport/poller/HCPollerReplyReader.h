#pragma once
// How the poller turns a reply into resources. The resource model lives in
// the client core, above this layer, so the core installs a reader at
// start-up.
//
// Thread: read() runs on the provider's request thread.
#include <string>
#include <vector>

#include "platform/foundation/Values.h"

// A resource class the poller watches, described by name.
struct HCPollerResourceClass {
    std::string className;
    std::string resourceName;             // XML element name, e.g. "chat_message"
    std::string discoveredNotification;  // posted with the new resources
};

class HCPollerReplyReader {
public:
    struct Item {
        platform::ObjectPtr resource;
        std::string resourceName;
        long long resourceId = 0;
    };

    virtual ~HCPollerReplyReader() = default;
    // Every resource of the reply that belongs to one of `classes`, in reply order.
    virtual std::vector<Item> read(const platform::Data& body, const std::vector<HCPollerResourceClass>& classes) = 0;
};
