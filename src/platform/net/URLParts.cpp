#include "platform/net/URLParts.h"

#include <arpa/inet.h>
#include <curl/curl.h>

#include <algorithm>
#include <memory>

namespace platform {
namespace {
struct UrlDeleter {
    void operator()(CURLU* u) const { curl_url_cleanup(u); }
};

std::optional<std::string> part(CURLU* u, CURLUPart which, unsigned flags = 0)
{
    char* text = nullptr;
    if (curl_url_get(u, which, &text, flags) != CURLUE_OK || !text) return std::nullopt;
    std::string out(text);
    curl_free(text);
    return out;
}

std::string lowered(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; });
    return s;
}

std::optional<URLParts> parseOnce(const std::string& url)
{
    std::unique_ptr<CURLU, UrlDeleter> u(curl_url());
    if (!u || curl_url_set(u.get(), CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME | CURLU_GUESS_SCHEME) != CURLUE_OK)
        return std::nullopt;
    auto scheme = part(u.get(), CURLUPART_SCHEME);
    auto host = part(u.get(), CURLUPART_HOST);
    if (!scheme || !host || host->empty()) return std::nullopt;
    // Spaces, control characters and escapes left undecoded are in no host name.
    if (std::any_of(host->begin(), host->end(),
                    [](unsigned char c) { return c == '%' || c <= ' ' || c == 0x7F; }))
        return std::nullopt;
    URLParts parts;
    parts.scheme = lowered(*scheme);
    parts.host = lowered(*host);
    if (auto port = part(u.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT)) parts.port = std::atoi(port->c_str());
    parts.path = part(u.get(), CURLUPART_PATH).value_or("/");
    if (parts.path.empty()) parts.path = "/";
    return parts;
}
}  // namespace

std::optional<URLParts> URLParts::parse(const std::string& url)
{
    // libcurl decodes escapes in the host, keeps malformed ones, and reads a
    // bare number as an IPv4 address only before decoding: "%36" gives the
    // host "6", which written into a URL is 0.0.0.6. A host that reads
    // differently once written back names no one machine, so it is refused.
    auto parts = parseOnce(url);
    if (!parts) return std::nullopt;
    const auto again = parseOnce(parts->scheme + "://" + parts->host + "/");
    if (!again || again->host != parts->host) return std::nullopt;
    return parts;
}

bool URLParts::hostIsIPAddress() const
{
    if (!host.empty() && host.front() == '[') return true;
    in_addr v4;
    return inet_pton(AF_INET, host.c_str(), &v4) == 1;
}

}  // namespace platform
