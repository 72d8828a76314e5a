#include "localserver/routes/TimeRoutes.h"

#include <ctime>

#include "localserver/Server.h"

namespace localserver {

std::string formatRailsTime(std::int64_t secondsSinceEpoch)
{
    const auto seconds = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm utc{};
    if (gmtime_r(&seconds, &utc) == nullptr) {
        return {};
    }
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return std::string(text, length);
}

void registerTimeRoutes(Server& server)
{
    // The client asks for the time without a ".xml" suffix. Any signed
    // caller may ask; a token, when sent, must still be valid.
    server.addRoute("GET", "server_timestamp", Access::Consumer, [&server](const Request&) {
        const std::int64_t now = server.now();
        ResourceList list;
        list.resources.push_back(resourceNode(
            "server_timestamp", std::nullopt,
            {{"timestamp", formatRailsTime(now)}, {"seconds_since_epoch", std::to_string(now)}}));
        return Reply::xml(writeFlatReply(list));
    });
}

}  // namespace localserver
