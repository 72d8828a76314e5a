#include <gtest/gtest.h>

#include "platform/net/Cookie.h"
#include "platform/net/CookieStore.h"
#include "platform/net/HttpHeaders.h"
#include "support/TestSupport.h"

using namespace platform;
using testsupport::ScopedManualClock;

namespace {
URLParts at(const std::string& url)
{
    return *URLParts::parse(url);
}

HttpHeaders setCookies(std::initializer_list<std::string> fields)
{
    HttpHeaders h;
    for (const auto& f : fields) h.add("Set-Cookie", f);
    return h;
}
}  // namespace

TEST(Cookie, DomainAttributeDecidesWhichHostsGetTheCookie)
{
    double now = 1000;
    auto hostOnly = parseSetCookie("a=1", at("http://www.example.com/"), now);
    ASSERT_TRUE(hostOnly);
    EXPECT_TRUE(hostOnly->matches(at("http://www.example.com/x"), now));
    EXPECT_FALSE(hostOnly->matches(at("http://sub.www.example.com/x"), now));

    auto domain = parseSetCookie("a=1; Domain=.Example.COM", at("http://www.example.com/"), now);
    ASSERT_TRUE(domain);
    EXPECT_EQ(domain->domain, "example.com");
    EXPECT_TRUE(domain->matches(at("http://other.example.com/"), now));
    EXPECT_FALSE(domain->matches(at("http://badexample.com/"), now));

    // A sender may not set cookies for a foreign domain, a bare top-level name, or another IP.
    EXPECT_FALSE(parseSetCookie("a=1; Domain=evil.com", at("http://www.example.com/"), now));
    EXPECT_FALSE(parseSetCookie("a=1; Domain=com", at("http://www.example.com/"), now));
    EXPECT_FALSE(parseSetCookie("a=1; Domain=0.0.1", at("http://127.0.0.1/"), now));
    EXPECT_TRUE(parseSetCookie("a=1; Domain=127.0.0.1", at("http://127.0.0.1/"), now));
}

TEST(Cookie, PathDefaultsToTheRequestDirectoryAndMatchesOnSegments)
{
    double now = 0;
    auto c = parseSetCookie("a=1", at("http://h.example/docs/page.html"), now);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->path, "/docs");
    EXPECT_TRUE(c->matches(at("http://h.example/docs"), now));
    EXPECT_TRUE(c->matches(at("http://h.example/docs/deeper/x"), now));
    EXPECT_FALSE(c->matches(at("http://h.example/docsx"), now));
    EXPECT_FALSE(c->matches(at("http://h.example/"), now));

    auto explicitPath = parseSetCookie("a=1; Path=/api/", at("http://h.example/docs/page.html"), now);
    EXPECT_EQ(explicitPath->path, "/api/");
    auto relativePath = parseSetCookie("a=1; Path=api", at("http://h.example/docs/page.html"), now);
    EXPECT_EQ(relativePath->path, "/docs");
}

TEST(Cookie, MalformedFieldsAreRejectedAndSecureCookiesStayOffPlainHttp)
{
    auto from = at("http://h.example/");
    EXPECT_FALSE(parseSetCookie("", from, 0));
    EXPECT_FALSE(parseSetCookie("novalue", from, 0));
    EXPECT_FALSE(parseSetCookie("=v", from, 0));
    auto odd = parseSetCookie(" a = b=c ; ; Max-Age=abc; Expires=not a date", from, 0);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->name, "a");
    EXPECT_EQ(odd->value, "b=c");
    EXPECT_FALSE(odd->expires);
    // Control characters would reach the next request's Cookie field.
    EXPECT_FALSE(parseSetCookie("a=1\r\nX-Injected: 1", from, 0));
    EXPECT_FALSE(parseSetCookie(std::string("a\0b=1", 5), from, 0));
    EXPECT_FALSE(parseSetCookie("a=\x7f", from, 0));
    EXPECT_TRUE(parseSetCookie("a=x\ty", from, 0));
    CookieStore store;
    store.setCookiesFromHeaders(setCookies({"n=1\nX: y", "ok=2"}), "http://h.example/");
    EXPECT_EQ(store.cookieHeaderFor(at("http://h.example/")), "ok=2");

    auto secure = parseSetCookie("s=1; Secure; HttpOnly", at("https://h.example/"), 0);
    ASSERT_TRUE(secure);
    EXPECT_TRUE(secure->httpOnly);
    EXPECT_TRUE(secure->matches(at("https://h.example/"), 0));
    EXPECT_FALSE(secure->matches(at("http://h.example/"), 0));
}

TEST(CookieStore, ExpiryFollowsTheClockAndMaxAgeWinsOverExpires)
{
    ScopedManualClock clock;
    CookieStore store;
    const std::string url = "http://h.example/";
    store.setCookiesFromHeaders(setCookies({"short=1; Max-Age=60; Expires=Fri, 01 Jan 2100 00:00:00 GMT",
                                            "dated=2; Expires=Fri, 01 Jan 2100 00:00:00 GMT", "session=3"}),
                                url);
    EXPECT_EQ(store.cookieHeaderFor(at(url)), "short=1; dated=2; session=3");
    clock.advance(61);
    EXPECT_EQ(store.cookieHeaderFor(at(url)), "dated=2; session=3");
    EXPECT_TRUE(store.cookiesNamed("short").empty());

    // A reply that sets a cookie in the past deletes its namesake.
    store.setCookiesFromHeaders(setCookies({"dated=x; Expires=Thu, 01 Jan 1970 00:00:01 GMT", "session=y; Max-Age=0"}), url);
    EXPECT_EQ(store.cookieHeaderFor(at(url)), "");
}

TEST(CookieStore, ReplacingKeepsOrderLongerPathsGoFirstAndDeleteByNameSpansDomains)
{
    CookieStore store;
    store.setCookiesFromHeaders(setCookies({"a=1; Path=/", "b=2; Path=/api", "c=3; Path=/"}), "http://h.example/");
    store.setCookiesFromHeaders(setCookies({"a=changed; Path=/"}), "http://h.example/");
    EXPECT_EQ(store.cookieHeaderFor(at("http://h.example/api/x")), "b=2; a=changed; c=3");

    store.setCookiesFromHeaders(setCookies({"_hc_session=one"}), "http://h.example/");
    store.setCookiesFromHeaders(setCookies({"_hc_session=two"}), "http://other.example/");
    ASSERT_EQ(store.cookiesNamed("_hc_session").size(), 2u);
    EXPECT_EQ(store.cookiesNamed("_hc_session")[1].value, "two");
    EXPECT_EQ(store.deleteCookiesNamed("_hc_session"), 2u);
    EXPECT_TRUE(store.cookiesNamed("_hc_session").empty());
    EXPECT_EQ(store.cookies().size(), 3u);
}
