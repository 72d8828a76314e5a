// Asking the local server for its time through the public class, over real
// HTTP: signing, parsing on the request thread, delivery on the main thread,
// request handles and the class delegate.
#include <gtest/gtest.h>

#include "e2e/support/LiveServerTest.h"
#include "localserver/Fixtures.h"
#include "scores/servertime/HCTimeStamp.h"
#include "scores/servertime/HCTimeStampDelegate.h"
#include "scores/servertime/HCTimeStampService.h"
#include "support/RequestThreadGate.h"
#include "support/TestSupport.h"
#include "transport/handles/HCRequestHandlesForModule.h"

namespace {

constexpr std::int64_t kServerTime = 1767225605;  // 2026-01-01T00:00:05Z

class RecordingDelegate : public HCTimeStampDelegate {
public:
    void didGetServerTime(const std::shared_ptr<HCTimeStamp>& timeStamp) override
    {
        received.push_back(timeStamp);
        onMainThread = onMainThread && platform::Thread::isMainThread();
    }
    void didFailGetServerTime() override
    {
        ++failures;
        onMainThread = onMainThread && platform::Thread::isMainThread();
    }
    size_t calls() const { return received.size() + static_cast<size_t>(failures); }

    std::vector<std::shared_ptr<HCTimeStamp>> received;
    int failures = 0;
    bool onMainThread = true;
};

class ServerTimeEndToEndTest : public LiveServerTest {
protected:
    void SetUp() override
    {
        LiveServerTest::SetUp();
        server->setClock([] { return kServerTime; });
        HCTimeStampService::initializeService();
        HCTimeStamp::setDelegate(&delegate);
    }
    void TearDown() override
    {
        HCTimeStamp::setDelegate(nullptr);
        HCTimeStampService::shutdownService();
        LiveServerTest::TearDown();
    }

    size_t registeredHandles() const
    {
        auto registry = HCRequestHandlesForModule::snapshot();
        if (!registry) return 0;
        for (const auto& [module, handles] : *registry)
            if (module == HCTimeStamp::kModule) return handles.size();
        return 0;
    }

    RecordingDelegate delegate;
};

TEST_F(ServerTimeEndToEndTest, SignedRequestIsAnsweredAndReachesTheDelegateOnTheMainThread)
{
    std::shared_ptr<HCRequestHandle> handle;
    {
        // Held while the registry is looked at: a fast answer would
        // otherwise have taken the handle out already.
        testsupport::RequestThreadGate gate(provider->requestThread());
        handle = HCTimeStamp::getServerTime();
        ASSERT_TRUE(handle);
        EXPECT_EQ(registeredHandles(), 1u);
    }
    ASSERT_TRUE(testsupport::runMainUntil([&] { return delegate.calls() > 0; }));

    ASSERT_EQ(delegate.received.size(), 1u);
    EXPECT_EQ(delegate.failures, 0);
    EXPECT_TRUE(delegate.onMainThread);
    EXPECT_EQ(delegate.received[0]->secondsSinceEpoch(), kServerTime);
    ASSERT_TRUE(delegate.received[0]->time());
    EXPECT_EQ(delegate.received[0]->time()->timeIntervalSince1970(), static_cast<double>(kServerTime));
    // The ended request left the registry and its handle.
    EXPECT_EQ(registeredHandles(), 0u);
    EXPECT_EQ(handle->request(), nullptr);

    auto log = server->log().entries();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].request.method, "GET");
    EXPECT_EQ(log[0].request.path, "server_timestamp");
    EXPECT_EQ(log[0].status, 200);
    EXPECT_EQ(localserver::firstValue(log[0].request.oauth, "oauth_token"), localserver::defaults::kUserToken);
    EXPECT_EQ(localserver::firstValue(log[0].request.oauth, "oauth_signature_method"), "HMAC-SHA1");
    EXPECT_TRUE(log[0].request.params.empty());
}

TEST_F(ServerTimeEndToEndTest, WrongSecretIsRefusedAndReportedAsFailure)
{
    useProvider("not-the-secret", localserver::defaults::kUserToken, localserver::defaults::kUserTokenSecret);
    ASSERT_TRUE(HCTimeStamp::getServerTime());
    ASSERT_TRUE(testsupport::runMainUntil([&] { return delegate.calls() > 0; }));
    EXPECT_EQ(delegate.failures, 1);
    EXPECT_TRUE(delegate.received.empty());
    ASSERT_EQ(server->log().size(), 1u);
    EXPECT_EQ(server->log().entries()[0].status, 401);
}

TEST_F(ServerTimeEndToEndTest, ClearingTheDelegateCancelsTheRequestAndDropsTheAnswer)
{
    auto handle = HCTimeStamp::getServerTime();
    ASSERT_TRUE(handle);
    HCTimeStamp::setDelegate(nullptr);
    auto registry = HCRequestHandlesForModule::snapshot();
    if (registry) {
        for (const auto& entry : *registry) EXPECT_NE(entry.first, HCTimeStamp::kModule);
    }
    // Cancelled whether it was still queued or already on its way.
    EXPECT_EQ(handle->request(), nullptr);
    HCTimeStamp::setDelegate(&delegate);
    fence();
    EXPECT_EQ(delegate.calls(), 0u);

    // With no delegate the request still goes out and is registered; its
    // answer reaches no one.
    HCTimeStamp::setDelegate(nullptr);
    server->log().clear();
    {
        testsupport::RequestThreadGate gate(provider->requestThread());
        ASSERT_TRUE(HCTimeStamp::getServerTime());
        EXPECT_EQ(registeredHandles(), 1u);
    }
    fence();
    EXPECT_EQ(server->log().entries()[0].request.path, "server_timestamp");
    EXPECT_EQ(server->log().entries()[0].status, 200);
    EXPECT_EQ(registeredHandles(), 0u);
    EXPECT_EQ(delegate.calls(), 0u);
}

TEST_F(ServerTimeEndToEndTest, NoCallAndNoHandleWhenTheActionIsDropped)
{
    HCProviderHooks hooks;
    hooks.willSilentlyDiscardAction = [] { return true; };
    HCProvider::setHooks(hooks);
    EXPECT_EQ(HCTimeStamp::getServerTime(), nullptr);
    EXPECT_EQ(registeredHandles(), 0u);
    fence();
    // Only the fence reached the server.
    ASSERT_EQ(server->log().size(), 1u);
    EXPECT_EQ(server->log().entries()[0].request.path, "e2e_fence");
    EXPECT_EQ(delegate.calls(), 0u);
}

}  // namespace
