#pragma once
// The pieces of an absolute URL that cookies and redirects care about,
// parsed by libcurl's URL parser.
//
// Thread: any thread.
#include <optional>
#include <string>

namespace platform {

struct URLParts {
    std::string scheme;  // lower case
    std::string host;    // lower case; an IPv6 address keeps its brackets
    int port = 0;        // the scheme's default port when the URL names none
    std::string path;    // "/" when the URL has none; no query

    // nullopt when the text is not a URL with a host (a host with escapes,
    // spaces or control characters is none). A URL without a scheme
    // gets the one libcurl would guess when sending it ("www.x.com" is http).
    static std::optional<URLParts> parse(const std::string& url);

    bool isSecure() const { return scheme == "https"; }
    bool hostIsIPAddress() const;
    bool sameOrigin(const URLParts& other) const
    {
        return scheme == other.scheme && host == other.host && port == other.port;
    }
};

}  // namespace platform
