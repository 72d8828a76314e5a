#pragma once
// The process-wide cookie jar that transfers share when they ask for
// cookies: replies' Set-Cookie fields go in, matching cookies go out with
// every request (redirect hops included), and other code reads and deletes
// cookies by name (the JSON session drops its session cookie this way).
//
// We keep our own jar rather than libcurl's so that expiry reads
// platform::Clock and so that reading and deleting by name is direct.
// Nothing is written to disk: cookies last as long as the process.
//
// Thread: every method may be called from any thread (one mutex).
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/net/Cookie.h"
#include "platform/net/HttpHeaders.h"

namespace platform {

class CookieStore {
public:
    CookieStore() = default;
    CookieStore(const CookieStore&) = delete;
    CookieStore& operator=(const CookieStore&) = delete;

    static CookieStore& shared();

    // Records every Set-Cookie field of a reply received from `url`.
    void setCookiesFromHeaders(const HttpHeaders& headers, const std::string& url);

    // The Cookie field's value for a request to `url` ("a=1; b=2"), empty when
    // none match. Takes the parts the sender has already parsed.
    std::string cookieHeaderFor(const URLParts& url) const;

    // Every cookie that has not expired, in creation order.
    std::vector<Cookie> cookies() const;
    std::vector<Cookie> cookiesNamed(const std::string& name) const;
    // Deletes every cookie with that name, whatever its domain and path; returns how many.
    size_t deleteCookiesNamed(const std::string& name);

private:
    void storeLocked(Cookie cookie, double now);

    mutable std::mutex mutex_;
    std::vector<Cookie> cookies_;
    uint64_t nextSequence_ = 0;
};

}  // namespace platform
