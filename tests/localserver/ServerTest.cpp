#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "support/ServerFixture.h"
#include "support/XmlTree.h"

using namespace localserver;
using namespace localserver_test;

namespace {

// One line per parameter, file and path placeholder, in order.
Reply describe(const Request& req)
{
    std::string text = req.method + " " + req.path + "\n";
    for (const auto& [name, value] : req.params) {
        text += "param " + name + "=" + value + "\n";
    }
    for (const auto& file : req.files) {
        text += "file " + file.name + " " + file.filename + " " + file.contentType + " " + file.bytes + "\n";
    }
    for (const auto& [name, value] : req.pathParams) {
        text += "path " + name + "=" + value + "\n";
    }
    return Reply::text(200, text);
}

class ServerTest : public ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        for (const char* method : {"GET", "POST", "PUT", "DELETE"}) {
            server->addRoute(method, "echo", Access::Open, describe);
        }
        server->addRoute("GET", "users/{id}/games/{game}.xml", Access::Open, describe);
    }
    // Waits, on real time but for a state, until `done` answers true.
    static bool eventually(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!done() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        return done();
    }
    bool serverHolds(std::size_t count)
    {
        return eventually([&] { return server->faults().heldCount() == count; });
    }
};

std::string multipartBody()
{
    return "--sadf8as9fha3fpaef8ah\r\n"
           "Content-Disposition: form-data; name=\"s[]\"\r\n\r\n"
           "y\r\n"
           "--sadf8as9fha3fpaef8ah\r\n"
           "Content-Disposition: form-data; name=\"blob\"; filename=\"blob.bin\"\r\n"
           "Content-Type: application/octet-stream\r\n"
           "Content-Transfer-Encoding: binary\r\n\r\n"
           "B\r\nYTES\r\n"
           "--sadf8as9fha3fpaef8ah\r\n"
           "Content-Disposition: form-data; name=\"s[]\"\r\n\r\n"
           "z\r\n"
           "--sadf8as9fha3fpaef8ah--";
}

const std::string kMultipartType = "Content-Type: multipart/form-data;boundary=sadf8as9fha3fpaef8ah";

}  // namespace

TEST_F(ServerTest, RoutesByMethodAndPathBelowTheRoot)
{
    EXPECT_EQ(server->baseUrl(), "http://127.0.0.1:" + std::to_string(server->port()) + "/");
    EXPECT_EQ(httpRequest("DELETE", url("echo")).body, "DELETE echo\n");
    const auto withPlaceholders = httpRequest("GET", url("users/%40me/games/3.xml"));
    EXPECT_EQ(withPlaceholders.body, "GET users/@me/games/3.xml\npath id=@me\npath game=3\n");
    EXPECT_EQ(httpRequest("GET", url("nothing")).status, 404);
    EXPECT_EQ(httpRequest("GET", url("echo.xml")).status, 404);
    EXPECT_EQ(httpRequest("POST", url("users/1/games/3.xml")).status, 405);
}

TEST_F(ServerTest, ServiceRootPrefixIsHonoured)
{
    ServerOptions options;
    options.root = "/api/v1/";
    restartWith(options);
    server->addRoute("GET", "echo", Access::Open, describe);
    EXPECT_EQ(server->serviceRootUrl(), server->baseUrl() + "api/v1/");
    EXPECT_EQ(httpRequest("GET", url("echo")).body, "GET echo\n");
    EXPECT_EQ(httpRequest("GET", server->baseUrl() + "echo").status, 404);
    EXPECT_EQ(httpRequest("GET", server->baseUrl() + "api/echo").status, 404);
}

TEST_F(ServerTest, QueryThenFormBodyInOrderWithDuplicatesKept)
{
    const auto result = httpRequest("POST", url("echo?a=1&s%5B%5D=x&plus=a+b"),
                                    {"Content-Type: application/x-www-form-urlencoded; charset=utf-8"},
                                    "s%5B%5D=y&b=2&s[]=z&empty=&=v");
    EXPECT_EQ(result.body,
              "POST echo\nparam a=1\nparam s[]=x\nparam plus=a b\nparam s[]=y\nparam b=2\nparam s[]=z\n"
              "param empty=\nparam =v\n");
}

TEST_F(ServerTest, LargeFormBodiesArriveWhole)
{
    // Far above the HTTP library's own limit for form bodies.
    std::string body;
    for (int i = 0; i < 3000; ++i) {
        body += "high_scores%5B%5D%5Bscore%5D=" + std::to_string(i) + "&";
    }
    const auto result = httpRequest("PUT", url("echo"), {"Content-Type: application/x-www-form-urlencoded"}, body);
    ASSERT_EQ(result.status, 200);
    const auto entries = server->log().entries();
    ASSERT_EQ(entries.size(), 1u);
    const auto scores = entries[0].request.paramValues("high_scores[][score]");
    ASSERT_EQ(scores.size(), 3000u);
    EXPECT_EQ(scores.front(), "0");
    EXPECT_EQ(scores.back(), "2999");
}

TEST_F(ServerTest, MultipartTextPartsJoinTheParametersAndFilesStayApart)
{
    const auto result = httpRequest("POST", url("echo?s%5B%5D=x"), {kMultipartType}, multipartBody());
    EXPECT_EQ(result.body,
              "POST echo\nparam s[]=x\nparam s[]=y\nparam s[]=z\nfile blob blob.bin application/octet-stream B\r\nYTES\n");
    // The log keeps the raw body and the real content type.
    const auto logged = server->log().entries().at(0).request;
    EXPECT_EQ(logged.body, multipartBody());
    EXPECT_EQ(logged.header("content-type"), "multipart/form-data;boundary=sadf8as9fha3fpaef8ah");
}

TEST_F(ServerTest, AStandaloneServerKeepsOnlyTheLatestRequestsInItsLog)
{
    localserver::ServerOptions options;
    options.requestLogCapacity = 2;
    restartWith(std::move(options));
    server->addRoute("GET", "echo", Access::Open, describe);
    for (const char* path : {"echo?n=1", "echo?n=2", "echo?n=3"}) ASSERT_EQ(httpRequest("GET", url(path)).status, 200);
    const auto entries = server->log().entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].request.param("n"), "2");
    EXPECT_EQ(entries[1].request.param("n"), "3");
    EXPECT_EQ(entries[1].status, 200);
}

TEST_F(ServerTest, UnreadableRequestsGet400AndAreLogged)
{
    EXPECT_EQ(httpRequest("GET", url("echo?a=%zz")).status, 400);
    EXPECT_EQ(httpRequest("GET", url("ec%zzho")).status, 400);
    EXPECT_EQ(httpRequest("POST", url("echo"), {"Content-Type: application/x-www-form-urlencoded"}, "a=%").status, 400);
    std::string truncated = multipartBody();
    truncated.resize(truncated.size() / 2);
    EXPECT_EQ(httpRequest("POST", url("echo"), {kMultipartType}, truncated).status, 400);
    // Multipart without a boundary: its parts cannot be found.
    EXPECT_EQ(httpRequest("POST", url("echo"), {"Content-Type: multipart/form-data"}, multipartBody()).status, 400);
    const auto entries = server->log().entries();
    ASSERT_EQ(entries.size(), 5u);
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.status, 400);
    }
    EXPECT_EQ(entries[3].request.body, truncated);
    // The server still serves.
    EXPECT_EQ(httpRequest("GET", url("echo")).status, 200);
}

TEST_F(ServerTest, BodiesAboveTheLimitAreRefusedAndNeverReachARoute)
{
    ServerOptions options;
    options.maxBodyBytes = 1024;
    restartWith(options);
    int served = 0;
    server->addRoute("POST", "count", Access::Open, [&served](const Request& req) {
        ++served;
        return Reply::text(200, std::to_string(req.body.size()));
    });
    const std::vector<std::string> chunked = {"Content-Type: text/plain", "Transfer-Encoding: chunked"};

    EXPECT_EQ(httpRequest("POST", url("count"), {"Content-Type: text/plain"}, std::string(1024, 'a')).body, "1024");
    EXPECT_EQ(httpRequest("POST", url("count"), chunked, std::string(1024, 'b')).body, "1024");
    ASSERT_EQ(served, 2);

    // A declared length above the limit, and a chunked body that grows past it.
    EXPECT_EQ(httpRequest("POST", url("count"), {"Content-Type: text/plain"}, std::string(1025, 'c')).status, 413);
    const auto grown = httpRequest("POST", url("count"), chunked, std::string(4096, 'd'));
    // The server may close before the client has sent everything; then the
    // reply is lost on the way, but the log tells.
    if (grown.code == CURLE_OK) {
        EXPECT_EQ(grown.status, 413);
    }
    EXPECT_EQ(served, 2);
    const auto entries = server->log().entries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[1].request.header("transfer-encoding"), "chunked");
    for (size_t i : {2u, 3u}) {
        EXPECT_EQ(entries[i].status, 413) << i;
        EXPECT_EQ(entries[i].request.body, "") << i;
    }
    EXPECT_EQ(entries[3].request.header("transfer-encoding"), "chunked");
}

TEST_F(ServerTest, FailingHandlerAnswers500AndTheServerCarriesOn)
{
    server->addRoute("GET", "boom", Access::Open, [](const Request&) -> Reply { throw std::runtime_error("bad"); });
    const auto result = httpRequest("GET", url("boom"));
    EXPECT_EQ(result.status, 500);
    EXPECT_EQ(result.body, "bad");
    EXPECT_EQ(httpRequest("GET", url("echo")).status, 200);
}

TEST_F(ServerTest, TrickledReplyArrivesWholeByteByByteAndAClientThatGivesUpFreesNothingElse)
{
    server->faults().injectFor("GET", "echo", Fault::trickled(std::chrono::milliseconds(1), 203, "slowly", "text/x-slow"));
    auto result = httpRequest("GET", url("echo"));
    EXPECT_EQ(result.status, 203);
    EXPECT_EQ(result.body, "slowly");
    EXPECT_EQ(result.header("Content-Length"), "6");
    EXPECT_EQ(result.header("Content-Type"), "text/x-slow");
    EXPECT_EQ(server->faults().trickledBytes(), 6u);

    // A client that stops waiting gets part of the body; others are served meanwhile.
    server->faults().injectFor("GET", "echo", Fault::trickled(std::chrono::milliseconds(5), 200, std::string(4000, '.')));
    result = httpRequest("GET", url("echo"), {}, {}, 100);
    EXPECT_EQ(result.code, CURLE_OPERATION_TIMEDOUT);
    EXPECT_LT(result.body.size(), 4000u);
    EXPECT_EQ(httpRequest("GET", url("echo")).status, 200);
}

TEST_F(ServerTest, AHeldRequestWaitsForItsReleaseWhileOthersAreServedAndEndsWithTheServer)
{
    server->faults().injectFor("GET", "echo", Fault::heldBack(Fault::reply(202, "late")));
    HttpResult late;
    std::thread client([&] { late = httpRequest("GET", url("echo")); });
    EXPECT_TRUE(serverHolds(1));
    EXPECT_EQ(httpRequest("GET", url("echo")).status, 200);
    EXPECT_EQ(server->faults().heldCount(), 1u) << "another request let the held one go";
    server->faults().releaseHeld();
    client.join();
    EXPECT_EQ(late.status, 202);
    EXPECT_EQ(late.body, "late");

    // A release that comes before its request lets it through on arrival.
    server->faults().injectFor("GET", "echo", Fault::heldBack());
    server->faults().releaseHeld();
    EXPECT_EQ(httpRequest("GET", url("echo")).status, 200);

    // Never released, it ends with the server: the connection closes unanswered.
    server->faults().injectFor("GET", "echo", Fault::heldBack());
    client = std::thread([&] { late = httpRequest("GET", url("echo")); });
    EXPECT_TRUE(serverHolds(1));
    server->stop();
    client.join();
    EXPECT_EQ(late.code, CURLE_GOT_NOTHING);
}

// Tests interrupt the server's waits and allow them again at once, while
// the waiters may not have woken yet.
TEST_F(ServerTest, AnInterruptEndsEveryWaitBegunBeforeItEvenWhenWaitsAreAllowedAgainAtOnce)
{
    constexpr std::size_t kWaiting = 8;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        server->faults().injectFor("GET", "echo", Fault::heldBack(), static_cast<int>(kWaiting));
        std::vector<HttpResult> results(kWaiting);
        std::vector<std::thread> clients;
        for (auto& result : results) clients.emplace_back([&] { result = httpRequest("GET", url("echo")); });
        ASSERT_TRUE(serverHolds(kWaiting));
        server->faults().interruptWaits();
        server->faults().allowWaits();
        // Given while the ended waits may not have woken, a release is kept
        // for the next held request.
        server->faults().injectFor("GET", "echo", Fault::heldBack(Fault::reply(202, "next")));
        server->faults().releaseHeld();
        for (auto& client : clients) client.join();
        for (const auto& result : results)
            ASSERT_EQ(result.code, CURLE_GOT_NOTHING) << "a wait outlived the interrupt";
        ASSERT_EQ(httpRequest("GET", url("echo")).status, 202) << "an ended wait took the release";
    }

    // Waits begun after it run their course.
    server->faults().injectFor("GET", "echo", Fault::heldBack(Fault::reply(202, "late")));
    HttpResult late;
    std::thread client([&] { late = httpRequest("GET", url("echo")); });
    EXPECT_TRUE(serverHolds(1));
    server->faults().releaseHeld();
    client.join();
    EXPECT_EQ(late.status, 202);
}

TEST_F(ServerTest, ClearForgetsAReleaseGivenBeforeItsRequestCame)
{
    server->faults().injectFor("GET", "echo", Fault::heldBack());
    server->faults().releaseHeld();
    server->faults().clear();

    // A later test holds a request of another route.
    server->faults().injectFor("GET", "users/1/games/2.xml", Fault::heldBack());
    std::atomic<bool> answered = false;
    HttpResult result;
    std::thread client([&] {
        result = httpRequest("GET", url("users/1/games/2.xml"));
        answered = true;
    });
    EXPECT_TRUE(eventually([&] { return answered || server->faults().heldCount() == 1; }));
    EXPECT_FALSE(answered) << "the forgotten release let the request through";
    server->faults().releaseHeld();
    client.join();
    EXPECT_EQ(result.status, 200);
}

TEST_F(ServerTest, ServerNotificationGoesIntoTheNextSuccessfulReplyOfItsPathOnly)
{
    int failures = 1;
    server->addRoute("GET", "list.xml", Access::Open, [&failures](const Request&) {
        if (failures > 0) {
            --failures;
            return Reply::text(503, "later");
        }
        ResourceList list;
        list.resources.push_back(resourceNode("user", std::string("1"), {}));
        return Reply::xml(writeFlatReply(list));
    });
    server->addRoute("GET", "other.xml", Access::Open, [](const Request&) { return Reply::xml(writeFlatReply({})); });
    server->injectServerNotification("list.xml", serverNotificationNode({{"text", "first"}}));
    server->injectServerNotification("list.xml", serverNotificationNode({{"text", "second"}}));

    EXPECT_EQ(httpRequest("GET", url("list.xml")).status, 503);  // not consumed by a failure
    EXPECT_EQ(httpRequest("GET", url("other.xml")).body, writeFlatReply({}));
    const auto names = [](const HttpResult& result) {
        const auto tree = parseXml(result.body);
        return tree ? tree->childNames() : std::vector<std::string>{"not XML"};
    };
    const auto first = httpRequest("GET", url("list.xml"));
    EXPECT_EQ(names(first), (std::vector<std::string>{"server_notification", "user"}));
    EXPECT_EQ(parseXml(first.body)->children[0].child("text")->text, "first");
    const auto second = httpRequest("GET", url("list.xml"));
    EXPECT_EQ(parseXml(second.body)->children[0].child("text")->text, "second");
    EXPECT_EQ(names(httpRequest("GET", url("list.xml"))), (std::vector<std::string>{"user"}));
}

TEST(ServerLifecycleTest, StopsRepeatedlyAndRefusesBadSettingsOrATakenPort)
{
    Server a;
    ASSERT_TRUE(a.start()) << a.error();
    a.stop();
    a.stop();
    EXPECT_NE(httpRequest("GET", a.baseUrl() + "x", {}, {}, 2000).code, CURLE_OK);
    EXPECT_FALSE(a.start());

    ServerOptions badFixtures;
    std::string error;
    badFixtures.fixtures = *parseFixtures("[game]\nid = 1\n", "g.ini", error);
    Server withBadFixtures(badFixtures);
    EXPECT_FALSE(withBadFixtures.start());
    EXPECT_EQ(withBadFixtures.error(), "g.ini:1: [game] needs \"product_key\"");
    ServerOptions badRoot;
    badRoot.root = "api";
    EXPECT_FALSE(Server(badRoot).start());

    Server first;
    ASSERT_TRUE(first.start());
    ServerOptions samePort;
    samePort.port = first.port();
    Server second(samePort);
    EXPECT_FALSE(second.start());
    EXPECT_NE(second.error(), "");
}
