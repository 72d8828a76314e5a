// URL parsing on arbitrary text: redirects, cookies and OAuth signatures all
// read URLs that a server chose. Round trips: the parts, put back together,
// parse to the same parts; the OAuth normal form of a URL is its own normal
// form.
// Fuzz links: hc_platform
// Fuzz sources: src/transport/oauth/OAuthSignatureBaseString.cpp
#include <string>

#include "FuzzSupport.h"
#include "platform/net/URLParts.h"
#include "transport/oauth/OAuthSignatureBaseString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string url(reinterpret_cast<const char*>(data), size);
    if (url.find('\0') != std::string::npos) return 0;  // C strings from here on
    const auto parts = platform::URLParts::parse(url);
    if (parts) {
        fuzz::check(!parts->host.empty() && !parts->path.empty() && parts->path.front() == '/',
                    "parsed URL without host or rooted path");
        (void)parts->hostIsIPAddress();
        const std::string rebuilt = parts->scheme + "://" + parts->host + ":" + std::to_string(parts->port) + parts->path;
        const auto again = platform::URLParts::parse(rebuilt);
        fuzz::check(again && again->scheme == parts->scheme && again->host == parts->host &&
                        again->port == parts->port && again->path == parts->path,
                    "URL parts put back together parse differently");
    }
    const std::string normal = OAuthNormalizedURL(url);
    if (!normal.empty()) fuzz::check(OAuthNormalizedURL(normal) == normal, "OAuth URL normal form is not stable");
    (void)OAuthQueryParameters(url);
    return 0;
}
