#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "support/ServerFixture.h"

using namespace localserver;
using namespace localserver_test;
using namespace std::chrono_literals;

namespace {

class FaultsTest : public ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        server->addRoute("GET", "a", Access::Open, [](const Request&) { return Reply::text(200, "a"); });
        server->addRoute("POST", "a", Access::Open, [](const Request&) { return Reply::text(200, "posted"); });
        server->addRoute("GET", "b", Access::Open, [](const Request&) { return Reply::text(200, "b"); });
        server->addRoute("GET", "signed", Access::User, [](const Request&) { return Reply::text(200, "s"); });
    }

    long statusOf(const std::string& method, const std::string& path)
    {
        return httpRequest(method, url(path)).status;
    }
};

}  // namespace

TEST_F(FaultsTest, FaultsAnswerBeforeRoutesAndSignaturesInTheOrderArmed)
{
    server->faults().injectNext(Fault::reply(503, "<maintenance/>", "text/html"));
    server->faults().injectNext(Fault::reply(426), 2);
    server->faults().injectFor("GET", "a", Fault::reply(450), Faults::kUntilCleared);
    server->faults().injectFor("", "b", Fault::dropConnection(), 1);
    const auto faulted = httpRequest("GET", url("signed"));  // unsigned, yet the fault answers first
    EXPECT_EQ(faulted.status, 503);
    EXPECT_EQ(faulted.body, "<maintenance/>");
    EXPECT_EQ(statusOf("POST", "a"), 426);
    EXPECT_EQ(statusOf("GET", "b"), 426);
    EXPECT_EQ(httpRequest("GET", url("b")).code, CURLE_GOT_NOTHING);
    EXPECT_EQ(statusOf("GET", "b"), 200);
    EXPECT_EQ(statusOf("GET", "a"), 450);
    EXPECT_EQ(statusOf("GET", "a"), 450);
    EXPECT_EQ(server->faults().pending(), 1u);
    server->faults().clear();
    EXPECT_EQ(statusOf("GET", "a"), 200);
    const auto log = server->log().entries();
    EXPECT_EQ(log.at(0).status, 503);
    EXPECT_TRUE(log.at(3).dropped);
    EXPECT_EQ(log.at(3).status, 0);
}

TEST_F(FaultsTest, DelayHoldsTheReplyLongerThanAShortClientTimeout)
{
    server->faults().injectNext(Fault::delayed(3s));
    const auto timedOut = httpRequest("GET", url("a"), {}, {}, 100);
    EXPECT_EQ(timedOut.code, CURLE_OPERATION_TIMEDOUT);

    // A short delay followed by a canned reply.
    server->faults().injectNext(Fault::delayed(20ms, Fault::reply(502, "late")));
    const auto start = std::chrono::steady_clock::now();
    const auto late = httpRequest("GET", url("b"));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 20ms);
    EXPECT_EQ(late.status, 502);
    EXPECT_EQ(late.body, "late");
}

TEST_F(FaultsTest, StopEndsADelayInProgressAtOnce)
{
    server->faults().injectNext(Fault::delayed(60s));
    auto reply = std::async(std::launch::async, [url = url("a")] { return httpRequest("GET", url, {}, {}, 30000); });
    ASSERT_TRUE(server->log().waitForSize(1));
    const auto start = std::chrono::steady_clock::now();
    server->stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(reply.get().code, CURLE_GOT_NOTHING);
}
