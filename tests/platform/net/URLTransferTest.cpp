#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include "platform/net/CookieStore.h"
#include "platform/net/CurlTransport.h"
#include "platform/net/URLTransfer.h"
#include "support/LoopbackServer.h"
#include "platform/runtime/Thread.h"
#include "support/TestSupport.h"

using namespace platform;
using testnet::LoopbackServer;
using testnet::ServerReply;
using testnet::ServerRequest;
using testsupport::runMainUntil;
using testsupport::ScopedManualClock;

namespace {
std::shared_ptr<RunLoop> mainLoop()
{
    return Thread::mainThread()->runLoop();
}

std::string text(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// Starts a transfer to the main loop and pumps until its outcome arrives.
URLResult fetch(URLRequest request)
{
    std::optional<URLResult> result;
    auto t = URLTransfer::start(std::move(request), mainLoop(), [&](const URLResult& r) { result = r; });
    EXPECT_TRUE(runMainUntil([&] { return result.has_value(); }));
    t->cancel();  // a transfer that outlived the wall bound must not write to `result` later
    return result.value_or(URLResult{});
}

URLResult fetch(const std::string& url)
{
    URLRequest r;
    r.url = url;
    return fetch(std::move(r));
}

int errorCode(const URLResult& r)
{
    return r.error ? r.error->code() : 0;
}

// Owns a transfer and cancels it when it goes away: the usual way to tie a
// transfer to the object that wants its outcome.
struct CancellingOwner {
    URLTransferPtr transfer;
    ~CancellingOwner()
    {
        if (transfer) transfer->cancel();
    }
};

// Constructed before main, so destroyed after everything the library builds
// lazily: what a host's own globals would see at exit.
std::shared_ptr<CancellingOwner> ownerKeptUntilExit;
struct StartsAtExit {
    URLRequest request;
    std::shared_ptr<RunLoop> loop;
    ~StartsAtExit()
    {
        if (loop) URLTransfer::start(request, loop, [](const URLResult&) {});
    }
} startsAtExit;

// A loopback port that accepts connections and never answers.
std::string silentURL()
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd, 8) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return {};
    return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/silent";
}
}  // namespace

TEST(URLTransfer, CompletionArrivesLaterOnTheGivenLoopsThread)
{
    LoopbackServer server;
    server.route("/hello", [](const ServerRequest&) {
        auto r = ServerReply::text(200, "hi there");
        r.headers.emplace_back("X-Extra", "one");
        r.headers.emplace_back("x-extra", "two");
        return r;
    });

    bool done = false;
    bool onMain = false;
    URLResult got;
    URLRequest request;
    request.url = server.url("/hello");
    URLTransfer::start(request, mainLoop(), [&](const URLResult& r) {
        onMain = Thread::isMainThread();
        got = r;
        done = true;
    });
    EXPECT_FALSE(done);
    ASSERT_TRUE(runMainUntil([&] { return done; }));
    EXPECT_TRUE(onMain);
    ASSERT_TRUE(got.isReply());
    EXPECT_EQ(got.response.statusCode, 200);
    EXPECT_EQ(text(got.response.body), "hi there");
    EXPECT_EQ(got.response.headers.value("X-EXTRA"), "one, two");
    EXPECT_EQ(got.response.url, server.url("/hello"));

    // A worker thread's loop gets its own completions.
    auto worker = Thread::start("net-test-worker");
    std::atomic<bool> onWorker{false};
    std::atomic<bool> workerDone{false};
    URLTransfer::start(request, worker->runLoop(), [&](const URLResult&) {
        onWorker = worker->isCurrent();
        workerDone = true;
    });
    ASSERT_TRUE(runMainUntil([&] { return workerDone.load(); }));
    EXPECT_TRUE(onWorker);
    worker->cancel();

    // A loop that runs its own transfers gets the same outcome on its thread;
    // a transfer cancelled from here stays silent, and one still waiting when
    // the thread ends goes without an outcome (and without a leak).
    auto runner = Thread::start("net-test-runner");
    runner->runLoop()->post([] { CurlTransport::runTransfersOnCurrentLoop(); });
    std::atomic<int> outcomes{0};
    std::atomic<bool> sameReplyOnRunner{false};
    URLTransfer::start(request, runner->runLoop(), [&](const URLResult& r) {
        sameReplyOnRunner = runner->isCurrent() && r.isReply() && text(r.response.body) == "hi there";
        ++outcomes;
    });
    ASSERT_TRUE(runMainUntil([&] { return outcomes.load() == 1; }));
    EXPECT_TRUE(sameReplyOnRunner);
    URLRequest silent;
    silent.url = silentURL();
    auto cancelled = URLTransfer::start(silent, runner->runLoop(), [&](const URLResult&) { ++outcomes; });
    URLTransfer::start(silent, runner->runLoop(), [&](const URLResult&) { ++outcomes; });
    cancelled->cancel();
    runner->cancel();
    EXPECT_EQ(outcomes.load(), 1);
}

// The provider's pattern: each transfer is started on the loop's own thread,
// the next one from the completion of the last, with no other thread to wake
// the loop. Once the work stops, the loop must go back to sleep rather than
// keep polling: over a quarter of a second idle it may use only a sliver of
// a processor.
TEST(URLTransfer, ALoopThatRunsItsOwnTransfersChainsThemAndThenSleeps)
{
    LoopbackServer server;
    server.route("/n", [](const ServerRequest&) { return ServerReply::text(200, "ok"); });
    auto runner = Thread::start("net-test-chain");
    runner->runLoop()->post([] { CurlTransport::runTransfersOnCurrentLoop(); });
    URLRequest request;
    request.url = server.url("/n");
    constexpr int kChained = 5;
    std::atomic<int> replies{0};
    std::function<void()> next = [&] {
        URLTransfer::start(request, runner->runLoop(), [&](const URLResult& r) {
            if (!r.isReply() || !runner->isCurrent()) return;
            if (++replies < kChained) next();
        });
    };
    runner->runLoop()->post(next);
    ASSERT_TRUE(runMainUntil([&] { return replies.load() == kChained; }));

    auto runnerCpuSeconds = [&] {
        std::atomic<double> seconds{-1};
        runner->runLoop()->post([&] {
            timespec t{};
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
            seconds = static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
        });
        EXPECT_TRUE(runMainUntil([&] { return seconds.load() >= 0; }));
        return seconds.load();
    };
    const double before = runnerCpuSeconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    EXPECT_LT(runnerCpuSeconds() - before, 0.05);
    runner->cancel();
    EXPECT_EQ(server.requests().size(), static_cast<size_t>(kChained));
}

TEST(URLTransfer, SendsMethodBodyHeadersAndCredentialsAsGivenAndDropsInjectedLines)
{
    LoopbackServer server;
    server.route("/put", [](const ServerRequest&) { return ServerReply::text(200, "ok"); });
    URLRequest request;
    request.url = server.url("/put?x=1");
    request.method = "PUT";
    std::string body("a\0b&c=d \xc3\xa9", 10);
    request.body.assign(body.begin(), body.end());
    request.headers.add("X-Plain", "v");
    request.headers.add("X-Empty", "");
    request.headers.add("X-Evil", "v\r\nX-Injected: 1");
    request.credentials = URLRequest::Credentials{"user", "pass"};
    ASSERT_TRUE(fetch(request).isReply());

    auto seen = server.requests().at(0);
    EXPECT_EQ(seen.method, "PUT");
    EXPECT_EQ(seen.target, "/put?x=1");
    EXPECT_EQ(seen.body, body);
    EXPECT_EQ(seen.header("X-Plain"), "v");
    EXPECT_TRUE(seen.hasHeader("X-Empty"));
    EXPECT_FALSE(seen.hasHeader("X-Evil"));
    EXPECT_FALSE(seen.hasHeader("X-Injected"));
    EXPECT_FALSE(seen.hasHeader("Expect"));
    EXPECT_EQ(seen.header("Authorization"), "Basic dXNlcjpwYXNz");

    request.method = "GET\r\nX: y";
    EXPECT_EQ(errorCode(fetch(request)), kNetErrorUnknown);
    EXPECT_EQ(server.requests().size(), 1u);

    // The next transfer gets the same libcurl handle back: nothing of the
    // PUT's may go out with it.
    URLRequest plain;
    plain.url = server.url("/put");
    ASSERT_TRUE(fetch(plain).isReply());
    ASSERT_EQ(server.requests().size(), 2u);
    auto next = server.requests().at(1);
    EXPECT_EQ(next.method, "GET");
    EXPECT_EQ(next.body, "");
    EXPECT_FALSE(next.hasHeader("Authorization"));
    EXPECT_FALSE(next.hasHeader("X-Plain"));
}

TEST(URLTransfer, OddStatusesAreRepliesAndBrokenRepliesAndMissingServersAreErrors)
{
    LoopbackServer server;
    server.route("/missing", [](const ServerRequest&) { return ServerReply::text(404, "not here"); });
    server.route("/odd", [](const ServerRequest&) {
        ServerReply r;
        r.raw = "HTTP/1.1 299 Whatever\r\nContent-Length: 3\r\n\r\nabc";
        return r;
    });
    server.route("/drop", [](const ServerRequest&) {
        ServerReply r;
        r.drop = true;
        return r;
    });
    server.route("/truncated", [](const ServerRequest&) {
        ServerReply r;
        r.raw = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly a little";
        return r;
    });
    server.route("/garbage", [](const ServerRequest&) {
        ServerReply r;
        r.raw = "HTTP/1.1 abc\r\n\r\n";
        return r;
    });
    auto missing = fetch(server.url("/missing"));
    ASSERT_TRUE(missing.isReply());
    EXPECT_EQ(missing.response.statusCode, 404);
    EXPECT_EQ(text(missing.response.body), "not here");
    auto odd = fetch(server.url("/odd"));
    EXPECT_EQ(odd.response.statusCode, 299);
    EXPECT_EQ(text(odd.response.body), "abc");

    EXPECT_EQ(errorCode(fetch(server.url("/drop"))), kNetErrorNetworkConnectionLost);
    EXPECT_EQ(errorCode(fetch(server.url("/truncated"))), kNetErrorNetworkConnectionLost);
    EXPECT_EQ(errorCode(fetch(server.url("/garbage"))), kNetErrorBadServerResponse);
    EXPECT_EQ(errorCode(fetch("ftp://127.0.0.1:1/x")), kNetErrorUnsupportedURL);

    int closedPort;
    {
        LoopbackServer gone;
        closedPort = gone.port();
    }
    EXPECT_EQ(errorCode(fetch("http://127.0.0.1:" + std::to_string(closedPort) + "/")), kNetErrorCannotConnectToHost);
}

TEST(URLTransfer, HttpsToAPlainHttpPortIsASecureConnectionFailure)
{
    LoopbackServer server;
    auto result = fetch("https://127.0.0.1:" + std::to_string(server.port()) + "/");
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->code(), kNetErrorSecureConnectionFailed);
    EXPECT_EQ(result.error->domain(), kNetErrorDomain);
    EXPECT_FALSE(result.error->localizedDescription().empty());
}

TEST(URLTransfer, TimeOutFiresWhenTheClockPassesTheDeadline)
{
    ScopedManualClock clock;
    LoopbackServer server;
    server.route("/slow", [](const ServerRequest&) {
        auto r = ServerReply::text(200, "late");
        r.hold = true;
        return r;
    });
    server.route("/fast", [](const ServerRequest&) { return ServerReply::text(200, "now"); });

    std::optional<URLResult> result;
    URLRequest request;
    request.url = server.url("/slow");
    request.timeoutSeconds = 5;
    auto t = URLTransfer::start(request, mainLoop(), [&](const URLResult& r) { result = r; });
    ASSERT_TRUE(runMainUntil([&] { return server.requestCount("/slow") == 1; }));

    clock.advance(4.9);
    // A full round trip lets the transport loop look at the clock several times.
    ASSERT_TRUE(fetch(server.url("/fast")).isReply());
    EXPECT_FALSE(result.has_value());

    clock.advance(0.2);
    ASSERT_TRUE(runMainUntil([&] { return result.has_value(); }));
    EXPECT_EQ(errorCode(*result), kNetErrorTimedOut);
}

TEST(URLTransfer, TheDeadlineEndsAReplyThatKeepsTricklingIn)
{
    ScopedManualClock clock;
    LoopbackServer server;
    server.route("/trickle", [](const ServerRequest&) {
        auto r = ServerReply::text(200, std::string(4000, '.'));
        r.trickleEvery = std::chrono::milliseconds(2);
        return r;
    });

    std::optional<URLResult> result;
    URLRequest request;
    request.url = server.url("/trickle");
    request.timeoutSeconds = 5;
    request.deadlineSeconds = 20;
    auto t = URLTransfer::start(request, mainLoop(), [&](const URLResult& r) { result = r; });
    // Bytes arrive between the clock's steps, so the idle time-out never comes.
    for (int step = 0; step < 9; ++step) {
        const size_t sent = server.bytesTrickled();
        ASSERT_TRUE(runMainUntil([&] { return server.bytesTrickled() >= sent + 2; }));
        clock.advance(2);
    }
    ASSERT_TRUE(fetch(server.url("/nothing")).isReply());
    EXPECT_FALSE(result.has_value()) << "18 s in, with bytes moving";

    clock.advance(2.5);
    ASSERT_TRUE(runMainUntil([&] { return result.has_value(); }));
    EXPECT_EQ(errorCode(*result), kNetErrorTimedOut);
    EXPECT_LT(server.bytesTrickled(), 4000u);
}

TEST(URLTransfer, CancelSilencesTheTransferEvenWhenItsOutcomeIsAlreadyQueued)
{
    LoopbackServer server;
    server.route("/slow", [](const ServerRequest&) {
        auto r = ServerReply::text(200, "late");
        r.hold = true;
        return r;
    });
    server.route("/fast", [](const ServerRequest&) { return ServerReply::text(200, "now"); });

    bool called = false;
    URLRequest slow;
    slow.url = server.url("/slow");
    auto running = URLTransfer::start(slow, mainLoop(), [&](const URLResult&) { called = true; });
    ASSERT_TRUE(runMainUntil([&] { return server.requestCount("/slow") == 1; }));
    running->cancel();
    server.releaseHeldReplies();
    ASSERT_TRUE(fetch(server.url("/fast")).isReply());
    EXPECT_FALSE(called);
    EXPECT_TRUE(running->isCancelled());

    // The outcome sits in an unpumped loop's queue when cancel comes.
    auto parked = std::make_shared<RunLoop>();
    URLRequest fast;
    fast.url = server.url("/fast");
    auto finishing = URLTransfer::start(fast, parked, [&](const URLResult&) { called = true; });
    ASSERT_TRUE(runMainUntil([&] { return parked->pendingCount() > 0; }));
    finishing->cancel();
    parked->runOnce();
    EXPECT_FALSE(called);
    EXPECT_FALSE(finishing->isFinished());
}

TEST(URLTransfer, RedirectsAreFollowedWithCookiesPerHopAndPostBecomesGet)
{
    LoopbackServer server;
    server.route("/start", [&](const ServerRequest&) {
        ServerReply r;
        r.status = 302;
        r.headers.emplace_back("Location", "/landing");
        r.headers.emplace_back("Set-Cookie", "hop=1; Path=/");
        return r;
    });
    server.route("/landing", [](const ServerRequest& q) { return ServerReply::text(200, q.method + ":" + q.body); });
    server.route("/loop", [](const ServerRequest&) {
        ServerReply r;
        r.status = 302;
        r.headers.emplace_back("Location", "/loop");
        return r;
    });

    URLRequest post;
    post.url = server.url("/start");
    post.method = "POST";
    std::string body = "k=v";
    post.body.assign(body.begin(), body.end());
    auto result = fetch(post);
    ASSERT_TRUE(result.isReply());
    EXPECT_EQ(result.response.statusCode, 200);
    EXPECT_EQ(text(result.response.body), "GET:");
    EXPECT_EQ(result.response.url, server.url("/landing"));
    EXPECT_EQ(server.requests().at(1).header("Cookie"), "hop=1");
    CookieStore::shared().deleteCookiesNamed("hop");

    EXPECT_EQ(errorCode(fetch(server.url("/loop"))), kNetErrorTooManyRedirects);
    EXPECT_EQ(server.requestCount("/loop"), 17);
}

TEST(URLTransfer, CookiesRoundTripThroughTheSharedStoreOnlyWhenAsked)
{
    LoopbackServer server;
    server.route("/login", [](const ServerRequest&) {
        auto r = ServerReply::text(200, "in");
        r.headers.emplace_back("Set-Cookie", "_hc_session=abc123; Path=/; HttpOnly");
        return r;
    });
    server.route("/check", [](const ServerRequest& q) { return ServerReply::text(200, q.header("Cookie")); });

    URLRequest noCookies;
    noCookies.url = server.url("/login");
    noCookies.useCookies = false;
    fetch(noCookies);
    EXPECT_TRUE(CookieStore::shared().cookiesNamed("_hc_session").empty());

    fetch(server.url("/login"));
    ASSERT_EQ(CookieStore::shared().cookiesNamed("_hc_session").size(), 1u);
    EXPECT_EQ(text(fetch(server.url("/check")).response.body), "_hc_session=abc123");

    noCookies.url = server.url("/check");
    EXPECT_EQ(text(fetch(noCookies).response.body), "");

    EXPECT_EQ(CookieStore::shared().deleteCookiesNamed("_hc_session"), 1u);
    EXPECT_EQ(text(fetch(server.url("/check")).response.body), "");
}

TEST(URLTransfer, CancelLetsGoOfTheCompletionBeforeWhatItCapturedCancelsAgain)
{
    // The owner lives only in the completion, so cancelling destroys it, and
    // its destructor cancels the same transfer once more.
    auto owner = std::make_shared<CancellingOwner>();
    URLRequest request;
    request.url = "ftp://127.0.0.1:1/x";
    auto parked = std::make_shared<RunLoop>();
    owner->transfer = URLTransfer::start(request, parked, [owner](const URLResult&) {});
    auto transfer = owner->transfer;
    owner.reset();

    auto returned = std::make_shared<std::atomic<bool>>(false);
    std::thread canceller([transfer, returned] {
        transfer->cancel();
        *returned = true;
    });
    if (!runMainUntil([&] { return returned->load(); })) {
        canceller.detach();
        FAIL() << "cancel() never returned";
    }
    canceller.join();
    EXPECT_TRUE(transfer->isCancelled());
    parked->runOnce();
    EXPECT_FALSE(transfer->isFinished());
}

TEST(URLTransferDeathTest, TransfersTouchedAfterTheTransportStoppedAtExitDoNothing)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            alarm(30);  // a hang at exit fails the test instead of stalling it
            URLRequest silent;
            silent.url = silentURL();
            if (silent.url.empty()) std::exit(2);
            // One transfer still running when the process exits, one whose
            // owner cancels it afterwards, and one started afterwards.
            URLTransfer::start(silent, mainLoop(), [](const URLResult&) {});
            ownerKeptUntilExit = std::make_shared<CancellingOwner>();
            ownerKeptUntilExit->transfer = URLTransfer::start(silent, mainLoop(), [](const URLResult&) {});
            startsAtExit.request = silent;
            startsAtExit.loop = std::make_shared<RunLoop>();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
