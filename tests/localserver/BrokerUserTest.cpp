// A bootstrap names its token as a user of the message broker, and the
// client logs in with it at once: the local server answers only once the
// broker lets that user in, even while the broker's management interface is
// still starting, and turns the channel off when the broker never does. A
// loopback server in front of the management interface plays those parts;
// logging in is checked on the real broker.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <string>

#include "localserver/Server.h"
#include "support/HttpTestClient.h"
#include "support/LoopbackServer.h"
#include "support/TestBroker.h"

namespace {

class BrokerUserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HC_REQUIRE_BROKER(endpoints);
        broker = *endpoints;
        static int tokens = 0;
        token = {"broker-user-test-" + std::to_string(getpid()) + "-" + std::to_string(++tokens), "its secret",
                 "1001"};
        // Every request on the token's paths goes on to the real interface
        // unless the test's `answer` says otherwise.
        for (const std::string& path : {"/api/users/" + token.token, "/api/permissions/%2F/" + token.token}) {
            management.route(path, [this](const testnet::ServerRequest& request) {
                if (auto reply = answer ? answer(request) : std::nullopt) return *reply;
                const auto real = localserver_test::httpRequest(
                    request.method, "http://127.0.0.1:" + std::to_string(broker.managementPort) + request.target,
                    {"Authorization: Basic Z3Vlc3Q6Z3Vlc3Q=", "Content-Type: application/json"}, request.body);
                return testnet::ServerReply::text(static_cast<int>(real.status), real.body);
            });
        }
    }

    localserver::BrokerOptions options(double newUserSeconds)
    {
        localserver::BrokerOptions o;
        o.stompPort = broker.stompPort;
        o.managementPort = management.port();
        o.queuePrefix = "/queue/broker-user-test." + std::to_string(getpid()) + ".";
        o.newUserSeconds = newUserSeconds;
        return o;
    }

    // The user publishes to its own queue: only a user the broker lets in can.
    bool logsIn()
    {
        auto o = options(0);
        o.adminUser = token.token;
        o.adminPassword = token.secret;
        return localserver::Broker(o).publish(o.queuePrefix + token.userId, "<resources/>");
    }

    testsupport::BrokerEndpoints broker;
    testnet::LoopbackServer management;
    localserver::Token token;
    std::function<std::optional<testnet::ServerReply>(const testnet::ServerRequest&)> answer;
};

}  // namespace

TEST_F(BrokerUserTest, AManagementInterfaceStillStartingIsWaitedForAndTheUserLogsInAtOnce)
{
    std::atomic<int> refused{0};
    answer = [&](const testnet::ServerRequest& request) -> std::optional<testnet::ServerReply> {
        if (request.method == "PUT" && request.path.rfind("/api/users/", 0) == 0 && refused < 2) {
            ++refused;
            return testnet::ServerReply::text(503, "starting");
        }
        return std::nullopt;
    };
    localserver::ServerOptions serverOptions;
    serverOptions.broker = options(10);
    localserver::Server server(serverOptions);
    EXPECT_EQ(server.addPresenceUser(token), serverOptions.broker->queuePrefix + "1001");
    EXPECT_EQ(refused, 2);
    EXPECT_TRUE(logsIn()) << "the broker knew the user when the queue was answered";
}

TEST_F(BrokerUserTest, AUserTheBrokerNeverLetsInTurnsTheChannelOff)
{
    // The interface says yes to everything and makes nothing.
    answer = [](const testnet::ServerRequest&) -> std::optional<testnet::ServerReply> {
        return testnet::ServerReply::text(204, "");
    };
    localserver::ServerOptions serverOptions;
    serverOptions.broker = options(0.5);
    localserver::Server server(serverOptions);
    EXPECT_EQ(server.addPresenceUser(token), std::nullopt) << "no queue that the client could not log in to";
    EXPECT_GE(management.requestCount("/api/users/" + token.token), 2) << "asked again until the time was up";
    EXPECT_FALSE(logsIn());
}
