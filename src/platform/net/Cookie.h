#pragma once
// One HTTP cookie, how a Set-Cookie field becomes one, and whether it goes
// with a request (the rules of RFC 6265, without a public-suffix list: a
// Domain attribute must contain a dot unless it is the request's own host).
//
// Expiry is measured on platform::Clock, so a ManualClock ages cookies too.
//
// Thread: plain values and pure functions; any thread.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/net/URLParts.h"

namespace platform {

struct Cookie {
    std::string name;
    std::string value;
    std::string domain;  // lower case, no leading dot
    std::string path;
    bool hostOnly = true;  // sent to exactly `domain`, not to its subdomains
    bool secure = false;
    bool httpOnly = false;
    std::optional<double> expires;  // Clock seconds; nullopt for a session cookie
    uint64_t sequence = 0;          // order of creation, for the Cookie header's order

    bool isExpired(double now) const { return expires && *expires <= now; }
    // Whether the cookie goes with a request to this URL.
    bool matches(const URLParts& url, double now) const;
    bool sameIdentity(const Cookie& other) const
    {
        return name == other.name && domain == other.domain && path == other.path;
    }
};

// Reads one Set-Cookie field received in a reply from `from`. nullopt when the
// field is malformed or names a domain the sender may not set. A cookie that
// comes back already expired is returned as such: it deletes its namesake.
std::optional<Cookie> parseSetCookie(const std::string& field, const URLParts& from, double now);

}  // namespace platform
