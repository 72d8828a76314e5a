// Set-Cookie parsing on arbitrary fields from an arbitrary sender: a reply's
// cookies decide what later requests carry. A cookie must never be accepted
// for a domain its sender does not belong to, and nothing it stores may
// break the Cookie header it writes.
// Fuzz links: hc_platform
#include <string>

#include "FuzzSupport.h"
#include "platform/net/Cookie.h"
#include "platform/net/CookieStore.h"
#include "platform/net/HttpHeaders.h"

namespace {

bool domainCovers(const std::string& domain, const std::string& host)
{
    return host == domain || (host.size() > domain.size() && host.ends_with(domain) &&
                              host[host.size() - domain.size() - 1] == '.');
}

}  // namespace

// Input: a byte choosing the sender, then the Set-Cookie field.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* const senders[] = {"http://www.example.com/a/b", "https://example.com/", "http://127.0.0.1:8080/x",
                                          "http://[::1]/", "http://localhost/"};
    if (size < 1) return 0;
    const std::string sender = senders[data[0] % 5];
    const std::string field(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto from = platform::URLParts::parse(sender);
    if (!from) fuzz::finding("a fixed sender URL does not parse");

    const auto cookie = platform::parseSetCookie(field, *from, 1000.0);
    if (cookie) {
        fuzz::check(!cookie->domain.empty() && cookie->domain.front() != '.', "cookie domain keeps a leading dot");
        fuzz::check(domainCovers(cookie->domain, from->host), "cookie accepted for a domain its sender is outside");
        fuzz::check(!cookie->hostOnly || cookie->domain == from->host, "host-only cookie for another host");
    }

    platform::CookieStore jar;
    platform::HttpHeaders headers;
    headers.add("Set-Cookie", field);
    jar.setCookiesFromHeaders(headers, sender);
    for (const auto& stored : jar.cookies()) {
        fuzz::check(domainCovers(stored.domain, from->host), "the jar stored a cookie for a foreign domain");
    }
    const std::string header = jar.cookieHeaderFor(*from);
    fuzz::check(header.find_first_of("\r\n") == std::string::npos, "a line break reached the Cookie header");
    return 0;
}
