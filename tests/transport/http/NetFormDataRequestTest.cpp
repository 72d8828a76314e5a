#include <gtest/gtest.h>

#include "platform/foundation/Values.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"
#include "transport/http/NetFormDataRequest.h"

using testnet::LoopbackServer;
using testnet::ServerReply;
using testnet::ServerRequest;
using testsupport::runMainUntil;

namespace {
struct CountingDelegate : NetHTTPRequestDelegate {
    int ends = 0;
    void requestFinished(const std::shared_ptr<NetHTTPRequest>&) override { ++ends; }
    void requestFailed(const std::shared_ptr<NetHTTPRequest>&) override { ++ends; }
};

std::string text(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}
}  // namespace

TEST(NetFormDataRequest, FieldsTravelPercentEncodedInOrderWithTheFormContentType)
{
    LoopbackServer server;
    server.route("/form", [](const ServerRequest&) { return ServerReply::text(200, "ok"); });
    auto delegate = std::make_shared<CountingDelegate>();
    auto form = NetFormDataRequest::requestWithURL(server.url("/form"));
    form->addPostValue("John Smith", "name");
    form->addPostValue("c=d&e", "a&b");
    form->addPostValue("\xc3\xa9\xe2\x82\xac", "utf[]");
    form->addPostValue("~-._*+/", "kept");
    form->addPostValue(platform::Number::makeInt(42), "n");
    form->addPostValue(platform::ObjectPtr(), "nil");
    form->setDelegate(delegate);
    form->startAsynchronous();
    ASSERT_TRUE(runMainUntil([&] { return delegate->ends == 1; }));

    auto seen = server.requests().at(0);
    EXPECT_EQ(seen.method, "POST");
    EXPECT_EQ(seen.body, "name=John%20Smith&a%26b=c%3Dd%26e&utf%5B%5D=%C3%A9%E2%82%AC&kept=~-._%2A%2B%2F&n=42&nil=");
    EXPECT_EQ(seen.header("Content-Type"), "application/x-www-form-urlencoded; charset=utf-8");
}

TEST(NetFormDataRequest, MethodBecomesPostUnlessPutARawBodyStaysAndACopyBuildsTheSameOnce)
{
    auto put = NetFormDataRequest::requestWithURL("http://127.0.0.1:1/");
    put->setRequestMethod("PUT");
    put->addPostValue("1", "x");
    put->buildPostBody();
    EXPECT_EQ(put->requestMethod(), "PUT");
    EXPECT_EQ(text(put->postBody()), "x=1");

    auto del = NetFormDataRequest::requestWithURL("http://127.0.0.1:1/");
    del->setRequestMethod("DELETE");
    del->setPostBody({'r', 'a', 'w'});
    del->buildPostBody();
    EXPECT_EQ(del->requestMethod(), "POST");
    EXPECT_EQ(text(del->postBody()), "raw");

    auto copied = put->copy();
    ASSERT_NE(std::dynamic_pointer_cast<NetFormDataRequest>(copied), nullptr);
    copied->buildPostBody();
    copied->buildPostBody();
    EXPECT_EQ(text(copied->postBody()), "x=1");
    EXPECT_EQ(copied->requestHeaders().values("Content-Type").size(), 1u);
}
