// The page at the service root, as a developer calling the server by hand
// reads it, and the product-signature check that the route table now names.
#include <gtest/gtest.h>

#include <atomic>
#include <sstream>

#include "localserver/Fixtures.h"
#include "localserver/routes/IndexRoute.h"
#include "support/ServerFixture.h"

using namespace localserver;
using namespace localserver_test;

namespace {

class IndexRouteTest : public ServerFixture {
protected:
    // The page's line that ends with the route's address; empty when none does.
    static std::string lineFor(const std::string& page, const std::string& address)
    {
        std::istringstream lines(page);
        for (std::string line; std::getline(lines, line);) {
            if (line.size() >= address.size() && line.compare(line.size() - address.size(), address.size(), address) == 0 &&
                line[line.size() - address.size() - 1] == ' ')
                return line;
        }
        return {};
    }

    static std::vector<std::string> words(const std::string& line)
    {
        std::istringstream in(line);
        std::vector<std::string> out;
        for (std::string word; in >> word;) out.push_back(word);
        return out;
    }
};

TEST_F(IndexRouteTest, UnsignedGetOfTheRootListsEveryRouteWithTheCheckItsRequestsMeet)
{
    registerServiceRoutes(*server);
    const auto result = httpRequest("GET", url(""));
    ASSERT_EQ(result.status, 200) << result.body;
    EXPECT_EQ(result.header("Content-Type").rfind("text/plain", 0), 0u);

    const auto routes = server->routes();
    ASSERT_GT(routes.size(), 20u);
    for (const auto& route : routes) {
        const auto line = words(lineFor(result.body, url(route.pattern)));
        // Every method of a path has a line of its own.
        EXPECT_FALSE(line.empty()) << route.method << " " << route.pattern << " is not on the page";
    }
    EXPECT_EQ(words(lineFor(result.body, url("server_timestamp"))), (std::vector<std::string>{"GET", "oauth", url("server_timestamp")}));
    EXPECT_EQ(words(lineFor(result.body, url("users/@me/activities.xml"))),
              (std::vector<std::string>{"GET", "oauth+token", url("users/@me/activities.xml")}));
    EXPECT_EQ(words(lineFor(result.body, url("storage"))), (std::vector<std::string>{"POST", "open", url("storage")}));
    // The JSON routes, which used to pass as unsigned routes checked inside their handlers.
    EXPECT_NE(result.body.find("  DELETE product     " + url("xp/sessions") + "\n"), std::string::npos);
    EXPECT_NE(result.body.find("  POST   product     " + url("xp/sessions") + "\n"), std::string::npos);
    // How to sign each kind, and with which keys.
    for (const char* kind : {"  oauth ", "  oauth+token ", "  product ", "  open "})
        EXPECT_NE(result.body.find(kind), std::string::npos) << kind << " is not explained";
    EXPECT_NE(result.body.find("X-HC-Signature"), std::string::npos);
    EXPECT_NE(result.body.find(std::string(defaults::kProductKey) + " " + defaults::kProductSecret), std::string::npos);
}

TEST_F(IndexRouteTest, ARouteAddedWhileServingIsOnTheNextPageBelowTheConfiguredRoot)
{
    ServerOptions options;
    options.root = "/api/";
    restartWith(std::move(options));
    registerIndexRoute(*server);
    ASSERT_EQ(httpRequest("GET", server->baseUrl()).status, 404) << "only the service root has the page";
    EXPECT_EQ(httpRequest("GET", url("")).body.find("late.xml"), std::string::npos);

    server->addRoute("PUT", "users/{id}/late.xml", Access::User, [](const Request&) { return Reply::xml(""); });
    const auto page = httpRequest("GET", url("")).body;
    EXPECT_EQ(words(lineFor(page, server->baseUrl() + "api/users/{id}/late.xml")),
              (std::vector<std::string>{"PUT", "oauth+token", server->baseUrl() + "api/users/{id}/late.xml"}));
    EXPECT_NE(page.find("Service root: " + server->baseUrl() + "api/\n"), std::string::npos);
}

TEST_F(IndexRouteTest, AProductRouteRunsOnlyForTheProductSignatureOfItsFullTarget)
{
    ServerOptions options;
    options.root = "/api/";
    restartWith(std::move(options));
    std::atomic<int> runs = 0;
    server->addRoute("POST", "xp/echo", Access::Product, [&runs](const Request& request) {
        ++runs;
        return Reply::text(200, "game " + request.gameId);
    });
    auto post = [&](const std::string& signedTarget, const std::string& secret) {
        std::vector<std::string> headers = {"X-HC-Key: " + std::string(defaults::kProductKey),
                                            "X-HC-Signature: " + xpSignature("POST", signedTarget, "a=1", secret)};
        return httpRequest("POST", url("xp/echo"), headers, "a=1");
    };

    auto result = httpRequest("POST", url("xp/echo"), {}, "a=1");
    EXPECT_EQ(result.status, 401);
    EXPECT_EQ(result.body,
              "{\"exception\":{\"class\":\"InvalidSignature\",\"message\":\"missing X-HC-Key or X-HC-Signature\"}}");
    EXPECT_EQ(post("/api/xp/echo", "wrong-secret").status, 401);
    EXPECT_EQ(post("/xp/echo", defaults::kProductSecret).status, 401) << "the root is part of the signed path";
    EXPECT_EQ(runs, 0);

    result = post("/api/xp/echo", defaults::kProductSecret);
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(result.body, "game " + std::string(defaults::kGameId));
    EXPECT_EQ(runs, 1);
}

}  // namespace
