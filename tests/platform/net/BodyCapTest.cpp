// The per-transfer reply body cap: an announced length over it is refused
// before the body moves, a body without a length is stopped once it passes,
// and a body of exactly the cap arrives whole.
#include <gtest/gtest.h>

#include <optional>

#include "platform/net/URLTransfer.h"
#include "platform/runtime/Thread.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"

using namespace platform;
using testnet::LoopbackServer;
using testnet::ServerReply;
using testnet::ServerRequest;

namespace {

URLResult fetch(const std::string& url, std::size_t cap)
{
    URLRequest request;
    request.url = url;
    request.maxBodyBytes = cap;
    std::optional<URLResult> result;
    auto t = URLTransfer::start(request, Thread::mainThread()->runLoop(), [&](const URLResult& r) { result = r; });
    EXPECT_TRUE(testsupport::runMainUntil([&] { return result.has_value(); }));
    t->cancel();
    return result.value_or(URLResult{});
}

}  // namespace

TEST(BodyCap, ABodyOverTheCapFailsTheTransferWithADataLengthError)
{
    LoopbackServer server;
    const std::string body(1000, 'x');
    server.route("/announced", [&](const ServerRequest&) { return ServerReply::text(200, body); });
    server.route("/unannounced", [&](const ServerRequest&) {
        ServerReply r;
        r.raw = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + body;
        return r;
    });

    for (const char* path : {"/announced", "/unannounced"}) {
        auto whole = fetch(server.url(path), body.size());
        ASSERT_TRUE(whole.isReply()) << path;
        EXPECT_EQ(whole.response.body.size(), body.size()) << path;

        auto cut = fetch(server.url(path), body.size() - 1);
        ASSERT_FALSE(cut.isReply()) << path;
        EXPECT_EQ(cut.error->code(), kNetErrorDataLengthExceedsMaximum) << path;
        EXPECT_EQ(cut.error->localizedDescription(), "The reply is larger than the request allows.");
    }
}
