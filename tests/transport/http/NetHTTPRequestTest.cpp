#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "support/LoopbackServer.h"
#include "platform/runtime/Thread.h"
#include "support/TestSupport.h"
#include "transport/http/NetHTTPRequest.h"
#include "transport/http/NetStringEncoding.h"

using testnet::LoopbackServer;
using testnet::ServerReply;
using testnet::ServerRequest;
using testsupport::runMainUntil;
using testsupport::ScopedManualClock;

namespace {
// Records the delegate calls and the thread they came on.
struct RecordingDelegate : NetHTTPRequestDelegate {
    std::vector<std::string> calls;
    bool allOnMain = true;
    std::shared_ptr<NetHTTPRequest> last;

    void requestFinished(const std::shared_ptr<NetHTTPRequest>& request) override
    {
        allOnMain = allOnMain && platform::Thread::isMainThread();
        calls.push_back("finished");
        last = request;
    }
    void requestFailed(const std::shared_ptr<NetHTTPRequest>& request) override
    {
        allOnMain = allOnMain && platform::Thread::isMainThread();
        calls.push_back("failed");
        last = request;
    }
};

// A subclass whose completion step notes where it ran before the base tells the delegate.
class StepRequest : public NetHTTPRequest {
public:
    using NetHTTPRequest::NetHTTPRequest;
    std::atomic<int> steps{0};
    std::atomic<bool> stepOnMain{true};
    std::string stepThreadName;

protected:
    void requestFinished() override
    {
        stepOnMain = platform::Thread::isMainThread();
        stepThreadName = platform::Thread::current()->name();
        ++steps;
        NetHTTPRequest::requestFinished();
    }
};

ServerReply held(ServerReply r)
{
    r.hold = true;
    return r;
}

// A request with a 5 s idle time-out to a server that never answers,
// started on a manual clock.
struct SilentServerRequest {
    SilentServerRequest(int retries, double deadlineSeconds)
    {
        server.route("/slow", [](const ServerRequest&) { return held(ServerReply::text(200, "late")); });
        request->setTimeOutSeconds(5);
        request->setNumberOfTimesToRetryOnTimeout(retries);
        request->setDeadlineSeconds(deadlineSeconds);
        request->setDelegate(delegate);
        request->startAsynchronous();
    }
    bool waitForTry(int n)
    {
        return runMainUntil([&] { return server.requestCount("/slow") == n; });
    }
    // One failure, a time-out, after exactly that many tries.
    void expectTimedOutAfter(int tries)
    {
        ASSERT_TRUE(runMainUntil([&] { return !delegate->calls.empty(); }));
        EXPECT_EQ(delegate->calls, std::vector<std::string>{"failed"});
        EXPECT_EQ(server.requestCount("/slow"), tries);
        ASSERT_NE(request->error(), nullptr);
        EXPECT_EQ(request->error()->code(), platform::kNetErrorTimedOut);
    }

    ScopedManualClock clock;
    LoopbackServer server;
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
    std::shared_ptr<NetHTTPRequest> request = NetHTTPRequest::requestWithURL(server.url("/slow"));
};

std::string text(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}
}  // namespace

TEST(NetHTTPRequest, CompletionStepRunsOnTheRequestThreadThenTheDelegateHearsOnMain)
{
    LoopbackServer server;
    server.route("/latin", [](const ServerRequest&) {
        ServerReply r = ServerReply::text(200, "caf\xe9");
        r.headers = {{"Content-Type", "text/plain; charset=\"ISO-8859-1\""}};
        return r;
    });
    server.route("/plain", [](const ServerRequest&) {
        ServerReply r;
        r.body = "x";
        r.headers = {{"Content-Type", "application/octet-stream"}};
        return r;
    });

    auto delegate = std::make_shared<RecordingDelegate>();
    auto request = std::make_shared<StepRequest>(server.url("/latin"));
    EXPECT_EQ(request->requestMethod(), "GET");
    request->setDelegate(delegate);
    request->startAsynchronous();
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_TRUE(request->isInProgress());
    ASSERT_TRUE(runMainUntil([&] { return !delegate->calls.empty(); }));

    EXPECT_EQ(delegate->calls, std::vector<std::string>{"finished"});
    EXPECT_TRUE(delegate->allOnMain);
    EXPECT_EQ(delegate->last, request);
    EXPECT_EQ(request->steps.load(), 1);
    EXPECT_FALSE(request->stepOnMain.load());
    EXPECT_EQ(request->stepThreadName, "NetHTTPRequest");
    EXPECT_FALSE(request->isInProgress());
    EXPECT_EQ(request->responseStatusCode(), 200);
    EXPECT_EQ(text(request->responseData()), "caf\xe9");
    EXPECT_EQ(request->responseEncoding(), kNetISOLatin1StringEncoding);
    EXPECT_EQ(request->responseHeaders().value("content-type"), "text/plain; charset=\"ISO-8859-1\"");
    EXPECT_EQ(request->error(), nullptr);

    auto plain = NetHTTPRequest::requestWithURL(server.url("/plain"));
    plain->setDelegate(delegate);
    plain->startAsynchronous();
    ASSERT_TRUE(runMainUntil([&] { return delegate->calls.size() == 2; }));
    EXPECT_EQ(plain->responseEncoding(), 0);

    // A delegate cleared, or gone, before delivery hears nothing.
    auto cleared = NetHTTPRequest::requestWithURL(server.url("/plain"));
    cleared->setDelegate(delegate);
    cleared->startAsynchronous();
    cleared->setDelegate(nullptr);
    auto orphan = NetHTTPRequest::requestWithURL(server.url("/plain"));
    orphan->setDelegate(std::make_shared<RecordingDelegate>());
    orphan->startAsynchronous();
    ASSERT_TRUE(runMainUntil([&] { return !cleared->isInProgress() && !orphan->isInProgress(); }));
    EXPECT_EQ(delegate->calls.size(), 2u);
}

TEST(NetHTTPRequest, ErrorStatusesAreRepliesAndADroppedConnectionIsAFailure)
{
    LoopbackServer server;
    server.route("/missing", [](const ServerRequest&) { return ServerReply::text(404, "gone"); });
    server.route("/broken", [](const ServerRequest&) { return ServerReply::text(500, "{\"exception\":{}}"); });
    server.route("/drop", [](const ServerRequest&) {
        ServerReply r;
        r.drop = true;
        return r;
    });
    auto delegate = std::make_shared<RecordingDelegate>();

    for (auto [path, status, body] : {std::tuple{"/missing", 404, "gone"}, std::tuple{"/broken", 500, "{\"exception\":{}}"}}) {
        auto request = std::make_shared<StepRequest>(server.url(path));
        request->setDelegate(delegate);
        request->startAsynchronous();
        ASSERT_TRUE(runMainUntil([&] { return delegate->last == request; }));
        EXPECT_EQ(delegate->calls.back(), "finished");
        EXPECT_EQ(request->steps.load(), 1);
        EXPECT_EQ(request->responseStatusCode(), status);
        EXPECT_EQ(text(request->responseData()), body);
    }

    auto dropped = std::make_shared<StepRequest>(server.url("/drop"));
    dropped->setDelegate(delegate);
    dropped->startAsynchronous();
    ASSERT_TRUE(runMainUntil([&] { return delegate->last == dropped; }));
    EXPECT_EQ(delegate->calls.back(), "failed");
    EXPECT_EQ(dropped->steps.load(), 0);
    ASSERT_NE(dropped->error(), nullptr);
    EXPECT_EQ(dropped->error()->code(), platform::kNetErrorNetworkConnectionLost);
    EXPECT_FALSE(dropped->error()->localizedDescription().empty());
    EXPECT_EQ(dropped->responseStatusCode(), 0);
    EXPECT_TRUE(delegate->allOnMain);
}

TEST(NetHTTPRequest, TimeOutsAreRetriedOnTheClockThenReportedAsAFailure)
{
    SilentServerRequest silent(2, platform::URLRequest::kDefaultDeadlineSeconds);
    for (int attempt = 1; attempt <= 3; ++attempt) {
        ASSERT_TRUE(silent.waitForTry(attempt)) << attempt;
        EXPECT_TRUE(silent.delegate->calls.empty());
        silent.clock.advance(5.1);
    }
    silent.expectTimedOutAfter(3);
}

TEST(NetHTTPRequest, TheRetriesShareOneDeadlineAndATimeOutPastItIsNotRetried)
{
    SilentServerRequest silent(5, 12);
    for (int attempt = 1; attempt <= 2; ++attempt) {
        ASSERT_TRUE(silent.waitForTry(attempt)) << attempt;
        silent.clock.advance(5.1);
    }
    ASSERT_TRUE(silent.waitForTry(3));
    EXPECT_TRUE(silent.delegate->calls.empty());
    // 12.2 s after the start: the third try's own idle time-out is three
    // seconds away, the request's deadline has passed; retries were left,
    // time was not.
    silent.clock.advance(2);
    silent.expectTimedOutAfter(3);
}

TEST(NetHTTPRequest, CopyIsAnUnstartedTwinAndAStartWhileRunningIsIgnored)
{
    LoopbackServer server;
    server.route("/echo", [](const ServerRequest& q) { return ServerReply::text(200, q.method + " " + q.body + " " + q.header("X-A")); });
    auto delegate = std::make_shared<RecordingDelegate>();
    auto original = std::make_shared<StepRequest>(server.url("/echo"));
    original->setRequestMethod("PUT");
    original->addRequestHeader("X-A", "first");
    original->addRequestHeader("x-a", "second");
    original->setPostBody({'b', 'o', 'd', 'y'});
    original->setTimeOutSeconds(7);
    original->setNumberOfTimesToRetryOnTimeout(3);
    original->setDeadlineSeconds(40);
    original->setDelegate(delegate);

    auto twin = original->copy();
    EXPECT_FALSE(twin->isInProgress());
    EXPECT_EQ(twin->deadlineSeconds(), 40);
    twin->startAsynchronous();
    twin->startAsynchronous();
    ASSERT_TRUE(runMainUntil([&] { return !delegate->calls.empty(); }));
    EXPECT_EQ(text(twin->responseData()), "PUT body second");
    // One more round trip gives a wrongly started second transfer time to show up.
    auto probe = NetHTTPRequest::requestWithURL(server.url("/echo"));
    probe->setDelegate(delegate);
    probe->startAsynchronous();
    ASSERT_TRUE(runMainUntil([&] { return delegate->calls.size() >= 2; }));
    EXPECT_EQ(server.requestCount("/echo"), 2);
    EXPECT_EQ(delegate->calls.size(), 2u);
}
