#include "localserver/routes/LocationRoutes.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "localserver/Server.h"

namespace localserver {

namespace {

// The whole text as a finite decimal number within ±limit, or nothing.
std::optional<double> degrees(const std::optional<std::string>& text, double limit)
{
    if (!text || text->empty()) {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text->c_str(), &end);
    if (errno != 0 || end == text->c_str() || *end != '\0' || !std::isfinite(value) || std::fabs(value) > limit) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

void registerLocationRoutes(Server& server)
{
    server.addRoute("POST", "users/@me/set_location.xml", Access::User, [&server](const Request& request) {
        const auto latitude = degrees(request.param("lat"), 90);
        const auto longitude = degrees(request.param("lng"), 180);
        if (!latitude || !longitude) {
            return Reply::text(422, "a location needs \"lat\" and \"lng\" in degrees");
        }
        if (!server.accounts().setPosition(request.userId,
                                           Position{*latitude, *longitude, request.param("allowed") == "1"})) {
            return Reply::text(404, "no such user");
        }
        return Reply::xml(writeFlatReply({}));
    });
}

}  // namespace localserver
