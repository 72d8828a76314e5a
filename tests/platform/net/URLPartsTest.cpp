#include <gtest/gtest.h>

#include "platform/net/URLParts.h"

using platform::URLParts;

TEST(URLParts, HostsThatNameNoMachineAreRefused)
{
    const auto plain = URLParts::parse("HTTP://WWW.Example.com/a?b=c");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->host, "www.example.com");
    EXPECT_EQ(plain->port, 80);
    EXPECT_EQ(plain->path, "/a");

    // libcurl decodes "%44" in a host and keeps the malformed "%7": the host
    // it answers would parse to something else once written into a URL.
    EXPECT_FALSE(URLParts::parse("i7%7%44"));
    EXPECT_FALSE(URLParts::parse("%36"));
    EXPECT_FALSE(URLParts::parse("http://a%20b.example/"));
    EXPECT_FALSE(URLParts::parse("http://a%0d%0ab.example/"));
    const auto v6 = URLParts::parse("http://[::1]:8080/x");
    ASSERT_TRUE(v6);
    EXPECT_EQ(v6->host, "[::1]");
}
