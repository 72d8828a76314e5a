#include <gtest/gtest.h>

#include <chrono>

#include "localserver/routes/TimeRoutes.h"
#include "support/ServerFixture.h"
#include "support/XmlTree.h"

using namespace localserver;
using namespace localserver_test;

namespace {

class TimeRoutesTest : public ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        registerServiceRoutes(*server);
    }
};

}  // namespace

TEST(RailsTimeTest, FormatsUtcWithTheLiteralZ)
{
    EXPECT_EQ(formatRailsTime(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(formatRailsTime(951782400), "2000-02-29T00:00:00Z");
    EXPECT_EQ(formatRailsTime(1234567890), "2009-02-13T23:31:30Z");
    EXPECT_EQ(formatRailsTime(-1), "1969-12-31T23:59:59Z");
}

TEST_F(TimeRoutesTest, ReplyCarriesTheServersTimeInBothFields)
{
    server->setClock([] { return std::int64_t{1234567890}; });
    const auto result = signedRequest("GET", "server_timestamp");
    ASSERT_EQ(result.status, 200);
    EXPECT_EQ(result.body,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><resources><server_timestamp>"
              "<timestamp>2009-02-13T23:31:30Z</timestamp><seconds_since_epoch>1234567890</seconds_since_epoch>"
              "</server_timestamp></resources>");
    // Only the signed GET without a suffix is served.
    EXPECT_EQ(signedRequest("GET", "server_timestamp.xml").status, 404);
    EXPECT_EQ(signedRequest("POST", "server_timestamp").status, 405);
    EXPECT_EQ(httpRequest("GET", url("server_timestamp")).status, 401);
}

TEST_F(TimeRoutesTest, SystemClockByDefaultAndForConsumerOnlyCallers)
{
    const auto before = std::chrono::system_clock::now();
    const auto result = signedRequest("GET", "server_timestamp", {}, {}, defaultConsumerCredentials());
    const auto after = std::chrono::system_clock::now();
    ASSERT_EQ(result.status, 200);
    const auto tree = parseXml(result.body);
    ASSERT_TRUE(tree);
    const long long seconds = std::stoll(tree->child("server_timestamp")->child("seconds_since_epoch")->text);
    EXPECT_GE(seconds, std::chrono::duration_cast<std::chrono::seconds>(before.time_since_epoch()).count());
    EXPECT_LE(seconds, std::chrono::duration_cast<std::chrono::seconds>(after.time_since_epoch()).count());
    EXPECT_EQ(tree->child("server_timestamp")->child("timestamp")->text, formatRailsTime(seconds));
}
