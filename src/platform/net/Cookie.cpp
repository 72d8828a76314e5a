#include "platform/net/Cookie.h"

#include <curl/curl.h>

#include <algorithm>
#include <charconv>
#include <limits>
#include <string_view>

namespace platform {
namespace {
std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::string lowered(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; });
    return out;
}

bool hasControlCharacter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](unsigned char c) { return (c < 0x20 && c != '\t') || c == 0x7F; });
}

bool domainMatches(const std::string& host, const std::string& domain, bool hostIsIP)
{
    if (host == domain) return true;
    if (hostIsIP || host.size() <= domain.size()) return false;
    return host.compare(host.size() - domain.size(), domain.size(), domain) == 0 &&
           host[host.size() - domain.size() - 1] == '.';
}

bool pathMatches(const std::string& requestPath, const std::string& cookiePath)
{
    if (requestPath == cookiePath) return true;
    if (requestPath.compare(0, cookiePath.size(), cookiePath) != 0) return false;
    return cookiePath.back() == '/' || requestPath[cookiePath.size()] == '/';
}

std::string defaultPath(const std::string& requestPath)
{
    if (requestPath.empty() || requestPath.front() != '/') return "/";
    auto lastSlash = requestPath.rfind('/');
    return lastSlash == 0 ? "/" : requestPath.substr(0, lastSlash);
}

std::optional<double> parseMaxAge(std::string_view text, double now)
{
    if (text.empty() || !(text.front() == '-' || (text.front() >= '0' && text.front() <= '9'))) return std::nullopt;
    long long seconds = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (ec == std::errc::result_out_of_range)
        seconds = text.front() == '-' ? std::numeric_limits<long long>::min() : std::numeric_limits<long long>::max();
    else if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (seconds <= 0) return -std::numeric_limits<double>::infinity();
    return now + static_cast<double>(seconds);
}
}  // namespace

bool Cookie::matches(const URLParts& url, double now) const
{
    if (isExpired(now)) return false;
    if (secure && !url.isSecure()) return false;
    bool hostOk = hostOnly ? url.host == domain : domainMatches(url.host, domain, url.hostIsIPAddress());
    return hostOk && pathMatches(url.path, path);
}

std::optional<Cookie> parseSetCookie(const std::string& field, const URLParts& from, double now)
{
    std::string_view rest(field);
    auto semi = rest.find(';');
    std::string_view pair = rest.substr(0, semi);
    rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);

    auto eq = pair.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    Cookie cookie;
    cookie.name = std::string(trim(pair.substr(0, eq)));
    cookie.value = std::string(trim(pair.substr(eq + 1)));
    // A control character in the name or value would be copied into every
    // later request's Cookie field (a line break there splits the request):
    // the whole field is ignored, as browsers do.
    if (cookie.name.empty() || hasControlCharacter(cookie.name) || hasControlCharacter(cookie.value))
        return std::nullopt;

    std::optional<double> maxAge;
    std::optional<double> expires;
    std::string domainAttr;
    std::string pathAttr;
    while (!rest.empty()) {
        semi = rest.find(';');
        std::string_view attr = rest.substr(0, semi);
        rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
        eq = attr.find('=');
        std::string key = lowered(trim(attr.substr(0, eq)));
        std::string_view val = eq == std::string_view::npos ? std::string_view() : trim(attr.substr(eq + 1));
        if (key == "expires") {
            std::string text(val);
            time_t t = curl_getdate(text.c_str(), nullptr);
            if (t != -1) expires = static_cast<double>(t);
        } else if (key == "max-age") {
            if (auto m = parseMaxAge(val, now)) maxAge = m;
        } else if (key == "domain") {
            std::string d = lowered(val);
            if (!d.empty() && d.front() == '.') d.erase(0, 1);
            domainAttr = d;
        } else if (key == "path") {
            pathAttr = std::string(val);
        } else if (key == "secure") {
            cookie.secure = true;
        } else if (key == "httponly") {
            cookie.httpOnly = true;
        }
    }

    cookie.expires = maxAge ? maxAge : expires;
    if (domainAttr.empty()) {
        cookie.domain = from.host;
        cookie.hostOnly = true;
    } else {
        if (!domainMatches(from.host, domainAttr, from.hostIsIPAddress())) return std::nullopt;
        if (domainAttr.find('.') == std::string::npos && domainAttr != from.host) return std::nullopt;
        cookie.domain = domainAttr;
        cookie.hostOnly = false;
    }
    cookie.path = (!pathAttr.empty() && pathAttr.front() == '/') ? pathAttr : defaultPath(from.path);
    return cookie;
}

}  // namespace platform
