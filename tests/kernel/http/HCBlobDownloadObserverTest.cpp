#include <gtest/gtest.h>

#include <optional>

#include "kernel/http/HCBlobDownloadObserver.h"
#include "kernel/http/HCHttpService.h"
#include "platform/foundation/Values.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"

using testnet::LoopbackServer;
using testnet::ServerReply;
using testnet::ServerRequest;
using testsupport::runMainUntil;

namespace {
// What one of the two callbacks received.
struct Outcome {
    std::string which;
    platform::ObjectPtr value;
};

struct Fixture {
    LoopbackServer server;
    std::shared_ptr<HCHttpService> service = std::make_shared<HCHttpService>("", false);
    std::optional<Outcome> outcome;

    Fixture()
    {
        server.route("/ok", [](const ServerRequest&) { return ServerReply::text(200, "blob-bytes"); });
        server.route("/missing", [](const ServerRequest&) { return ServerReply::text(404, "not found page"); });
        server.route("/drop", [](const ServerRequest&) {
            ServerReply r;
            r.drop = true;
            return r;
        });
    }

    // Downloads the path through a blob observer in the given mode and waits for its callback.
    Outcome download(const std::string& path, bool s3, platform::ObjectPtr userData = nullptr)
    {
        outcome.reset();
        auto success = HCDelegate::withFunction([this](const platform::ObjectPtr& v) { outcome = Outcome{"success", v}; });
        auto failure = HCDelegate::withFunction([this](const platform::ObjectPtr& v) { outcome = Outcome{"failure", v}; });
        auto observer = std::make_shared<HCBlobDownloadObserver>(success, failure, s3);
        service->startRequest(server.url(path), "GET", nullptr, "", "", userData, "", observer);
        EXPECT_TRUE(runMainUntil([&] { return outcome.has_value(); }));
        return outcome.value_or(Outcome{});
    }
};

class ScopedBlobHooks {
public:
    ScopedBlobHooks(HCBlobDownloadObserver::UncompressHook u, HCBlobDownloadObserver::S3ResponseHook s)
    {
        HCBlobDownloadObserver::setUncompressHook(std::move(u));
        HCBlobDownloadObserver::setS3ResponseHook(std::move(s));
    }
    ~ScopedBlobHooks()
    {
        HCBlobDownloadObserver::setUncompressHook(nullptr);
        HCBlobDownloadObserver::setS3ResponseHook(nullptr);
    }
};

std::string dataText(const platform::ObjectPtr& v)
{
    auto data = platform::as<platform::Data>(v);
    return data ? data->toString() : "<not data>";
}
}  // namespace

TEST(HCBlobDownloadObserver, PlainModeHandsTheUncompressedBodyOn2xxAndNilOtherwiseOrWhenItDoesNotDecode)
{
    Fixture f;
    auto identity = f.download("/ok", false);
    EXPECT_EQ(identity.which, "success");
    EXPECT_EQ(dataText(identity.value), "blob-bytes");

    ScopedBlobHooks hooks(
        [](const std::shared_ptr<platform::Data>& serialized) {
            return platform::Data::fromString("inflated:" + serialized->toString());
        },
        nullptr);
    auto inflated = f.download("/ok", false);
    EXPECT_EQ(inflated.which, "success");
    EXPECT_EQ(dataText(inflated.value), "inflated:blob-bytes");

    for (const char* path : {"/missing", "/drop"}) {
        auto failed = f.download(path, false);
        EXPECT_EQ(failed.which, "failure") << path;
        EXPECT_EQ(failed.value, nullptr) << path;
    }

    // A body that does not decode is a failure, not an empty success.
    ScopedBlobHooks undecodable([](const std::shared_ptr<platform::Data>&) -> std::shared_ptr<platform::Data> { return nullptr; },
                                nullptr);
    auto refused = f.download("/ok", false);
    EXPECT_EQ(refused.which, "failure");
    EXPECT_EQ(refused.value, nullptr);
}

TEST(HCBlobDownloadObserver, S3ModeBuildsResponsesFromBodyUserDataAndStatus)
{
    Fixture f;
    std::vector<std::string> built;
    ScopedBlobHooks hooks(
        [](const std::shared_ptr<platform::Data>&) -> std::shared_ptr<platform::Data> {
            ADD_FAILURE() << "S3 replies are not uncompressed here";
            return nullptr;
        },
        [&](const std::shared_ptr<platform::Data>& data, const platform::ObjectPtr& userData, int status) {
            std::string line = (data ? data->toString() : "nil") + "|" + platform::textOf(userData).value_or("nil") + "|" +
                               std::to_string(status);
            built.push_back(line);
            return platform::String::make(line);
        });
    auto user = platform::String::make("pass");

    auto ok = f.download("/ok", true, user);
    EXPECT_EQ(ok.which, "success");
    EXPECT_EQ(platform::textOf(ok.value), "blob-bytes|pass|200");

    auto missing = f.download("/missing", true, user);
    EXPECT_EQ(missing.which, "failure");
    EXPECT_EQ(platform::textOf(missing.value), "nil|pass|404");

    auto dropped = f.download("/drop", true, user);
    EXPECT_EQ(dropped.which, "failure");
    EXPECT_EQ(platform::textOf(dropped.value), "nil|pass|0");
    EXPECT_EQ(built.size(), 3u);
}

