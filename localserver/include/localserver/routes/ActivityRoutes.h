#pragma once
// GET "users/@me/activities.xml": what the client's poller fetches. Resources
// posted to the feed are answered in the order posted, each only while it is
// newer than the caller's "last_seen_<element name>_id" parameter (every one
// of its kind when the parameter is absent). The feed is shared by all users.
// Every method locks: tests post while connection threads read.
#include <memory>
#include <mutex>
#include <vector>

#include "localserver/Request.h"
#include "localserver/XmlWriter.h"

namespace localserver {
class Server;

class ActivityFeed {
public:
    // A resource element whose "id" child is a decimal number.
    void post(XmlNode resource);
    std::vector<XmlNode> newerThan(const Params& params) const;

private:
    mutable std::mutex mutex_;
    std::vector<XmlNode> resources_;
};

// Adds the route with an empty feed of its own and answers the feed.
std::shared_ptr<ActivityFeed> registerActivityRoutes(Server& server);

}  // namespace localserver
