#include "localserver/routes/ActivityRoutes.h"

#include <cerrno>
#include <cstdlib>

#include "localserver/Server.h"

namespace localserver {

namespace {

// The decimal number of the text, or 0 when it is none.
long long number(const std::optional<std::string>& text)
{
    if (!text || text->empty()) {
        return 0;
    }
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text->c_str(), &end, 10);
    return errno == 0 && end != nullptr && *end == '\0' ? value : 0;
}

std::optional<std::string> idOf(const XmlNode& resource)
{
    for (const auto& child : resource.children) {
        if (child.name == "id") {
            return child.text;
        }
    }
    return std::nullopt;
}

}  // namespace

void ActivityFeed::post(XmlNode resource)
{
    std::lock_guard lock(mutex_);
    resources_.push_back(std::move(resource));
}

std::vector<XmlNode> ActivityFeed::newerThan(const Params& params) const
{
    std::lock_guard lock(mutex_);
    std::vector<XmlNode> newer;
    for (const auto& resource : resources_) {
        const long long lastSeen = number(firstValue(params, "last_seen_" + resource.name + "_id"));
        if (number(idOf(resource)) > lastSeen) {
            newer.push_back(resource);
        }
    }
    return newer;
}

std::shared_ptr<ActivityFeed> registerActivityRoutes(Server& server)
{
    auto feed = std::make_shared<ActivityFeed>();
    server.addRoute("GET", "users/@me/activities.xml", Access::User, [feed](const Request& request) {
        ResourceList list;
        list.resources = feed->newerThan(request.params);
        return Reply::xml(writeFlatReply(list));
    });
    return feed;
}

}  // namespace localserver
