// The web pages' mirror against the local server: only changed pages are
// fetched, pages whose bytes do not match their digest are refused, pages
// no longer listed go, and a manifest that does not read whole changes
// nothing. Real HTTP over loopback; the update runs on the service's thread.
#include <gtest/gtest.h>

#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "client/HCClientHooks.h"
#include "dashboard/HCWebViewManifestService.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Server.h"
#include "localserver/routes/WebUIRoutes.h"
#include "platform/foundation/FileFacts.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Sandbox.h"
#include "support/TestSupport.h"

namespace {

std::string fileText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class WebViewManifestServiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HCClientHooks::resetForTesting();
        platform::Sandbox::configure(sandbox.str());
        server = std::make_unique<localserver::Server>();
        pages = localserver::registerWebUIRoutes(*server);
        ASSERT_TRUE(server->start()) << server->error();
        HCSettings::setDefaultOverride("server-url", server->serviceRootUrl());
        HCSettings::Initialize();
    }

    void TearDown() override
    {
        HCWebViewManifestService::shutdownService();
        server->stop();
        HCClientHooks::resetForTesting();
        testsupport::drainMain();
    }

    // Runs one update to its end; answers whether every page is mirrored.
    bool update()
    {
        server->log().clear();
        std::optional<bool> outcome;
        HCWebViewManifestService::updateToManifest([&](bool succeeded) { outcome = succeeded; });
        EXPECT_TRUE(testsupport::runMainUntil([&] { return outcome.has_value(); }));
        return outcome.value_or(false);
    }

    std::set<std::string> pathsRequested() const
    {
        std::set<std::string> paths;
        for (const auto& entry : server->log().entries()) {
            paths.insert(entry.request.path);
        }
        return paths;
    }

    std::string mirrored(const std::string& page) const
    {
        return fileText(HCWebViewManifestService::mirrorPath() + "/" + page);
    }

    testsupport::TempDir sandbox;
    std::unique_ptr<localserver::Server> server;
    std::shared_ptr<localserver::WebUIPages> pages;
};

TEST_F(WebViewManifestServiceTest, FetchesOnlyChangedPagesAndRemovesPagesNoLongerListed)
{
    pages->put("index.html", "<html>home</html>");
    pages->put("css/site.css", "body{}");
    pages->put("img/logo.png", std::string("\x89PNG\0\x01", 6));
    EXPECT_TRUE(update());
    EXPECT_EQ(pathsRequested(), (std::set<std::string>{"webui/manifest", "webui/index.html", "webui/css/site.css",
                                                       "webui/img/logo.png"}));
    EXPECT_EQ(mirrored("index.html"), "<html>home</html>");
    EXPECT_EQ(mirrored("img/logo.png"), std::string("\x89PNG\0\x01", 6));

    pages->put("css/site.css", "body{color:red}");
    pages->remove("img/logo.png");
    pages->put("news.html", "<p>news</p>");
    EXPECT_TRUE(update());
    EXPECT_EQ(pathsRequested(),
              (std::set<std::string>{"webui/manifest", "webui/css/site.css", "webui/news.html"}));
    EXPECT_EQ(mirrored("css/site.css"), "body{color:red}");
    EXPECT_FALSE(platform::FileFacts::exists(HCWebViewManifestService::mirrorPath() + "/img/logo.png"));
    EXPECT_FALSE(HCWebViewManifestService::mirroredPagePath("img/logo.png"));
    EXPECT_EQ(HCWebViewManifestService::mirroredPagePath("news.html"),
              HCWebViewManifestService::mirrorPath() + "/news.html");

    // A mirrored copy that went missing is fetched again; nothing else is.
    platform::FileFacts::removeFile(HCWebViewManifestService::mirrorPath() + "/index.html");
    EXPECT_TRUE(update());
    EXPECT_EQ(pathsRequested(), (std::set<std::string>{"webui/manifest", "webui/index.html"}));
}

TEST_F(WebViewManifestServiceTest, BytesThatDoNotMatchTheirDigestKeepTheEarlierCopyUntilTheyDo)
{
    pages->put("index.html", "old home");
    pages->put("help.html", "help");
    ASSERT_TRUE(update());

    pages->put("index.html", "new home");
    pages->serveDifferentBytes("index.html", "tampered home");
    pages->put("faq.html", "faq");
    pages->serveDifferentBytes("faq.html", "tampered faq");
    EXPECT_FALSE(update());
    EXPECT_EQ(mirrored("index.html"), "old home");
    EXPECT_TRUE(HCWebViewManifestService::mirroredPagePath("index.html"));
    EXPECT_FALSE(HCWebViewManifestService::mirroredPagePath("faq.html"));
    EXPECT_FALSE(platform::FileFacts::exists(HCWebViewManifestService::mirrorPath() + "/faq.html"));

    pages->put("index.html", "new home");
    pages->put("faq.html", "faq");
    EXPECT_TRUE(update());
    EXPECT_EQ(pathsRequested(), (std::set<std::string>{"webui/manifest", "webui/index.html", "webui/faq.html"}));
    EXPECT_EQ(mirrored("index.html"), "new home");
}

TEST_F(WebViewManifestServiceTest, AManifestThatDoesNotReadWholeChangesNothing)
{
    pages->put("index.html", "home");
    ASSERT_TRUE(update());
    const std::string before = fileText(HCWebViewManifestService::mirrorManifestPath());

    // Lines are appended, not chained with `+`: gcc's optimiser misreads
    // those inlined moves as copies out of bounds.
    const auto line = [](char digit, std::string_view rest) { return std::string(40, digit).append(rest); };
    for (const std::string& manifest :
         std::vector<std::string>{line('a', " ../../escape.html\n"), line('a', " /etc/passwd\n"),
                                  line('a', " a//b.html\n"), std::string("not-a-digest index.html\n"), line('a', "\n"),
                                  line('a', " x.html\n").append(line('a', " x.html\n")), line('A', " x.html\n"),
                                  line('a', " sp ace.html\n")}) {
        server->addRoute("GET", "webui/manifest", localserver::Access::Open,
                         [manifest](const localserver::Request&) { return localserver::Reply::text(200, manifest); });
        EXPECT_FALSE(update()) << manifest;
        EXPECT_EQ(pathsRequested(), std::set<std::string>{"webui/manifest"}) << manifest;
    }
    server->addRoute("GET", "webui/manifest", localserver::Access::Open,
                     [](const localserver::Request&) { return localserver::Reply::text(503, "busy"); });
    EXPECT_FALSE(update());
    EXPECT_EQ(fileText(HCWebViewManifestService::mirrorManifestPath()), before);
    EXPECT_EQ(mirrored("index.html"), "home");

    // An empty manifest is whole: the mirror empties.
    server->addRoute("GET", "webui/manifest", localserver::Access::Open,
                     [](const localserver::Request&) { return localserver::Reply::text(200, ""); });
    EXPECT_TRUE(update());
    EXPECT_FALSE(HCWebViewManifestService::mirroredPagePath("index.html"));
}

// A server nobody answers at is the reachability's news, not the mirror's:
// the mirror's warning used to be the first line of every such failure. A
// reply that is no manifest is warned of, with its status.
TEST_F(WebViewManifestServiceTest, NoReplyIsNoWarningAndAWrongReplyNamesItsStatus)
{
    std::mutex linesLock;
    std::vector<std::pair<platform::LogLevel, std::string>> lines;
    platform::setLogSink([&](platform::LogLevel level, const std::string& line) {
        std::lock_guard hold(linesLock);
        if (line.find("manifest") != std::string::npos) lines.emplace_back(level, line);
    });
    const std::string root = server->serviceRootUrl();
    HCSettings::Instance()->setObject(std::string("http://127.0.0.1:1/"), "server-url");
    EXPECT_FALSE(update());
    HCSettings::Instance()->setObject(root, "server-url");
    server->addRoute("GET", "webui/manifest", localserver::Access::Open,
                     [](const localserver::Request&) { return localserver::Reply::text(404, "Not Found"); });
    EXPECT_FALSE(update());
    platform::setLogSink(nullptr);

    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].first, platform::LogLevel::Debug) << lines[0].second;
    EXPECT_EQ(lines[1].first, platform::LogLevel::Warning);
    EXPECT_NE(lines[1].second.find("the server answered 404"), std::string::npos) << lines[1].second;
}

TEST_F(WebViewManifestServiceTest, OneUpdateAtATime)
{
    pages->put("index.html", "home");
    std::optional<bool> first;
    std::optional<bool> second;
    HCWebViewManifestService::updateToManifest([&](bool ok) { first = ok; });
    HCWebViewManifestService::updateToManifest([&](bool ok) { second = ok; });
    EXPECT_EQ(second, false);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return first.has_value(); }));
    EXPECT_TRUE(*first);
    EXPECT_FALSE(HCWebViewManifestService::isUpdating());
}

}  // namespace
