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
    // The words of the page's line for the route at `address`: method,
    // signing, address; nothing when no line ends with it.
    static std::vector<std::string> routeLine(const std::string& page, const std::string& address)
    {
        std::istringstream lines(page);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream in(line);
            std::vector<std::string> words;
            for (std::string word; in >> word;) words.push_back(word);
            if (words.size() == 3 && words[2] == address) return words;
        }
        return {};
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
    for (const auto& route : routes)
        EXPECT_FALSE(routeLine(result.body, url(route.pattern)).empty()) << route.pattern << " is not on the page";
    using Words = std::vector<std::string>;
    EXPECT_EQ(routeLine(result.body, url("server_timestamp")), (Words{"GET", "oauth", url("server_timestamp")}));
    EXPECT_EQ(routeLine(result.body, url("users/@me/activities.xml")),
              (Words{"GET", "oauth+token", url("users/@me/activities.xml")}));
    EXPECT_EQ(routeLine(result.body, url("storage")), (Words{"POST", "open", url("storage")}));
    // A JSON route, which used to pass as an open route checked inside its handler.
    EXPECT_EQ(routeLine(result.body, url("xp/devices")), (Words{"POST", "product", url("xp/devices")}));
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
    EXPECT_EQ(routeLine(page, server->baseUrl() + "api/users/{id}/late.xml"),
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
