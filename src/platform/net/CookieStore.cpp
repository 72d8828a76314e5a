#include "platform/net/CookieStore.h"

#include <algorithm>

#include "platform/runtime/Clock.h"

namespace platform {

CookieStore& CookieStore::shared()
{
    static CookieStore store;
    return store;
}

void CookieStore::setCookiesFromHeaders(const HttpHeaders& headers, const std::string& url)
{
    auto fields = headers.values("Set-Cookie");
    if (fields.empty()) return;
    auto from = URLParts::parse(url);
    if (!from) return;
    double now = Clock::currentTime();
    std::lock_guard lock(mutex_);
    for (const auto& field : fields)
        if (auto cookie = parseSetCookie(field, *from, now)) storeLocked(std::move(*cookie), now);
}

void CookieStore::storeLocked(Cookie cookie, double now)
{
    std::erase_if(cookies_, [now](const Cookie& c) { return c.isExpired(now); });
    auto old = std::find_if(cookies_.begin(), cookies_.end(), [&](const Cookie& c) { return c.sameIdentity(cookie); });
    if (cookie.isExpired(now)) {
        if (old != cookies_.end()) cookies_.erase(old);
        return;
    }
    if (old != cookies_.end()) {
        // A replaced cookie keeps its place in the Cookie header's order.
        cookie.sequence = old->sequence;
        *old = std::move(cookie);
        return;
    }
    cookie.sequence = nextSequence_++;
    cookies_.push_back(std::move(cookie));
}

std::string CookieStore::cookieHeaderFor(const URLParts& to) const
{
    double now = Clock::currentTime();
    std::vector<Cookie> matching;
    {
        std::lock_guard lock(mutex_);
        for (const auto& c : cookies_)
            if (c.matches(to, now)) matching.push_back(c);
    }
    // Longer paths first, then older cookies first.
    std::stable_sort(matching.begin(), matching.end(), [](const Cookie& a, const Cookie& b) {
        if (a.path.size() != b.path.size()) return a.path.size() > b.path.size();
        return a.sequence < b.sequence;
    });
    std::string header;
    for (const auto& c : matching) {
        if (!header.empty()) header += "; ";
        header += c.name + "=" + c.value;
    }
    return header;
}

std::vector<Cookie> CookieStore::cookies() const
{
    double now = Clock::currentTime();
    std::lock_guard lock(mutex_);
    std::vector<Cookie> out;
    for (const auto& c : cookies_)
        if (!c.isExpired(now)) out.push_back(c);
    return out;
}

std::vector<Cookie> CookieStore::cookiesNamed(const std::string& name) const
{
    auto all = cookies();
    std::erase_if(all, [&](const Cookie& c) { return c.name != name; });
    return all;
}

size_t CookieStore::deleteCookiesNamed(const std::string& name)
{
    std::lock_guard lock(mutex_);
    return std::erase_if(cookies_, [&](const Cookie& c) { return c.name == name; });
}

}  // namespace platform
