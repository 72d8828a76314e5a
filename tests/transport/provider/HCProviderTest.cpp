#include <gtest/gtest.h>

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <initializer_list>
#include <memory>
#include <thread>

#include "kernel/callbacks/HCDelegate.h"
#include "kernel/settings/HCSettings.h"
#include "platform/foundation/ProgrammingError.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/Values.h"
#include "support/RequestThreadGate.h"
#include "support/TestSupport.h"
#include "transport/handles/HCRequestHandlesForModule.h"
#include "transport/provider/HCProvider.h"

namespace {

using testsupport::RequestThreadGate;

// Nothing listens on port 1 of loopback: every request fails fast with a
// connection error, which is all these tests need from the network.
constexpr const char* kDeadServer = "http://127.0.0.1:1/";

struct Outcomes {
    std::vector<std::string> events;
    std::vector<platform::ThreadPtr> threads;
    HCDelegate success()
    {
        return HCDelegate::withFunction([this](const platform::ObjectPtr&) { record("success"); });
    }
    HCDelegate failure(const std::string& tag = "failure")
    {
        return HCDelegate::withFunction([this, tag](const platform::ObjectPtr& loader) {
            auto l = std::dynamic_pointer_cast<OAuthAPIRequestLoader>(loader);
            record(tag + (l && !l->oauthResponse()->urlResponse() && l->error() ? ":no-reply" : ""));
        });
    }
    void record(const std::string& e)
    {
        events.push_back(e);
        threads.push_back(platform::Thread::current());
    }
};

class HCProviderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::Sandbox::configure(dir.str());
        HCSettings::Initialize();
        HCSettings::Instance()->setObject(kDeadServer, "server-url");
        HCProvider::setHooks({});
        provider = HCProvider::providerWithProductKey("product-key", "product-secret");
    }
    void TearDown() override
    {
        provider->cleanupRequestThread();
        HCProvider::setHooks({});
        HCSettings::Shutdown();
        platform::Sandbox::reset();
    }
    std::shared_ptr<HCRequestHandle> perform(Outcomes& o, int type = 0, bool auth = true, const std::string& tag = "failure")
    {
        return provider->performAction("server_timestamp", std::nullopt, "GET", o.success(), o.failure(tag), type,
                                       nullptr, auth);
    }

    testsupport::TempDir dir;
    std::shared_ptr<HCProvider> provider;
};

}  // namespace

TEST_F(HCProviderTest, TransportFailureReachesTheFailureDelegateOnTheMainThreadWithTheLoader)
{
    Outcomes o;
    std::shared_ptr<HCRequestHandle> handle;
    {
        // The request thread waits while the handle is looked at and
        // registered: the refused connection could otherwise end it first.
        RequestThreadGate gate(provider->requestThread());
        handle = perform(o);
        ASSERT_NE(handle, nullptr);
        EXPECT_NE(std::dynamic_pointer_cast<OAuthAPIRequestLoader>(handle->request()), nullptr);
        HCRequestHandlesForModule::addHandle(handle, "HCProviderTest");
    }
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !o.events.empty(); }));
    EXPECT_EQ(o.events, (std::vector<std::string>{"failure:no-reply"}));
    EXPECT_EQ(o.threads[0], platform::Thread::mainThread());
    EXPECT_TRUE(provider->waitUntilIdle(5));
    // The provider reported the end before calling back, so the registry let go.
    EXPECT_EQ(handle->request(), nullptr);
    auto entries = HCRequestHandlesForModule::snapshot();
    ASSERT_TRUE(entries);
    auto mine = std::find_if(entries->begin(), entries->end(), [](const auto& e) { return e.first == "HCProviderTest"; });
    ASSERT_NE(mine, entries->end());
    EXPECT_TRUE(mine->second.empty());
    HCRequestHandlesForModule::cancelAllRequestsForModule("HCProviderTest");
}

TEST_F(HCProviderTest, DiscardedActionReturnsNilAndCallsNothingUnlessNoAuthenticationIsNeeded)
{
    HCProviderHooks hooks;
    hooks.willSilentlyDiscardAction = [] { return true; };
    HCProvider::setHooks(hooks);
    Outcomes o;
    EXPECT_EQ(perform(o, 0, true), nullptr);
    EXPECT_EQ(provider->queuedActionCount(), 0u);
    EXPECT_NE(perform(o, 0, false), nullptr);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !o.events.empty(); }));
    ASSERT_TRUE(provider->waitUntilIdle(5));
    testsupport::drainMain();
    EXPECT_EQ(o.events.size(), 1u);
}

TEST_F(HCProviderTest, CancellingAQueuedActionKeepsTheOthersInOrderAndCallsItNever)
{
    // Banner requests reach the main thread in the order they are dispatched,
    // so the banner hook sees the dispatch order itself.
    std::vector<std::string> dispatched;
    HCProviderHooks hooks;
    hooks.showBackgroundNoticeForLoader = [&](const OAuthAPIRequestLoaderPtr& loader, const platform::ObjectPtr&) {
        dispatched.push_back(loader->request()->url());
        loader->loadSynchronously(false);
    };
    HCProvider::setHooks(hooks);
    Outcomes o;
    std::shared_ptr<HCRequestHandle> b;
    {
        RequestThreadGate gate(provider->requestThread());
        for (const char* path : {"a", "b", "c", "d"}) {
            auto handle = provider->performAction(path, std::nullopt, "GET", o.success(), o.failure(path),
                                                  HCActionRequest::kBanner, nullptr, true);
            if (std::string(path) == "b") b = handle;
        }
        EXPECT_EQ(provider->queuedActionCount(), 4u);
        b->cancel();
        EXPECT_EQ(provider->queuedActionCount(), 3u);
    }
    ASSERT_TRUE(testsupport::runMainUntil([&] { return o.events.size() == 3; }));
    ASSERT_TRUE(provider->waitUntilIdle(5));
    testsupport::drainMain();
    EXPECT_EQ(dispatched, (std::vector<std::string>{std::string(kDeadServer) + "a", std::string(kDeadServer) + "c",
                                                    std::string(kDeadServer) + "d"}));
    EXPECT_EQ(std::count(o.events.begin(), o.events.end(), "b:no-reply"), 0);
}

TEST_F(HCProviderTest, DestroyingPendingRequestsDropsQueuedActionsSilently)
{
    Outcomes o;
    {
        RequestThreadGate gate(provider->requestThread());
        perform(o);
        perform(o);
        provider->destroyAllPendingRequests();
        EXPECT_EQ(provider->queuedActionCount(), 0u);
    }
    ASSERT_TRUE(provider->waitUntilIdle(5));
    testsupport::drainMain();
    EXPECT_TRUE(o.events.empty());
}

TEST_F(HCProviderTest, BannerRequestsGoToTheBannerLayerOnTheMainThreadUnlessTheDashboardFillsTheScreen)
{
    std::vector<platform::ThreadPtr> shownOn;
    bool fullScreen = false;
    HCProviderHooks hooks;
    hooks.isDashboardFullScreen = [&] { return fullScreen; };
    hooks.showBackgroundNoticeForLoader = [&](const OAuthAPIRequestLoaderPtr& loader, const platform::ObjectPtr&) {
        shownOn.push_back(platform::Thread::current());
        loader->loadSynchronously(false);
    };
    HCProvider::setHooks(hooks);
    Outcomes o;
    perform(o, 1);
    perform(o, 0);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return o.events.size() == 2; }));
    ASSERT_EQ(shownOn.size(), 1u);
    EXPECT_EQ(shownOn[0], platform::Thread::mainThread());
    fullScreen = true;
    perform(o, 2);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return o.events.size() == 3; }));
    EXPECT_EQ(shownOn.size(), 1u);
}

TEST_F(HCProviderTest, AccessTokenIsKeptAcrossProvidersUntilCredentialsAreDestroyed)
{
    EXPECT_FALSE(provider->isAuthenticated());
    // An empty token would count as logged in while the store refuses it.
    EXPECT_FALSE(provider->setAccessToken("", ""));
    EXPECT_FALSE(provider->isAuthenticated());
    EXPECT_FALSE(HCProvider::providerWithProductKey("product-key", "product-secret")->isAuthenticated());
    EXPECT_TRUE(provider->setAccessToken("token", "token-secret"));
    EXPECT_TRUE(provider->isAuthenticated());
    auto second = HCProvider::providerWithProductKey("product-key", "product-secret");
    EXPECT_TRUE(second->isAuthenticated());

    bool told = false;
    HCProviderHooks hooks;
    hooks.didDestroyLocalCredentials = [&] { told = true; };
    HCProvider::setHooks(hooks);
    second->destroyLocalCredentials();
    EXPECT_TRUE(told);
    EXPECT_FALSE(second->isAuthenticated());
    EXPECT_FALSE(HCProvider::providerWithProductKey("product-key", "product-secret")->isAuthenticated());
}

TEST_F(HCProviderTest, OutcomeThatArrivesAfterTheCancelIsNotHandedOn)
{
    // The provider's reply handlers run after the transfer ended; a cancel
    // that lands in between must still silence the caller.
    Outcomes o;
    auto request = std::make_shared<OAuthURLRequest>(kDeadServer, OAuthConsumer{"k", "s"}, std::nullopt);
    auto loader = std::make_shared<OAuthAPIRequestLoader>(request, HCDelegate(), HCDelegate());
    loader->cancel();
    provider->_loaderFinished(loader, HCDelegateChained::make(o.success()));
    provider->_loaderFailed(loader, HCDelegateChained::make(o.failure()));
    testsupport::drainMain();
    EXPECT_TRUE(o.events.empty());

    auto live = std::make_shared<OAuthAPIRequestLoader>(request, HCDelegate(), HCDelegate());
    provider->_loaderFinished(live, HCDelegateChained::make(o.success()));
    testsupport::drainMain();
    EXPECT_EQ(o.events, (std::vector<std::string>{"success"}));
}

TEST_F(HCProviderTest, FailureDelegateWiredToAMethodTakingAnotherTypeIsReportedAsAProgrammingError)
{
    // The failure side hands on the loader; a method that takes anything else
    // (a reply series, say) is a wiring mistake, not a nil reply.
    struct Screen final : platform::Object {
        void didFail(std::shared_ptr<platform::Array> series) { heard.push_back(series ? "series" : "nil"); }
        std::vector<std::string> heard;
    };
    std::vector<std::string> reports;
    platform::setProgrammingErrorHandler([&](const std::string& text) { reports.push_back(text); });
    auto screen = std::make_shared<Screen>();
    provider->performAction("x", std::nullopt, "GET", HCDelegate(), HCDelegate(screen, &Screen::didFail), 0, nullptr,
                            false);
    bool heard = testsupport::runMainUntil([&] { return !screen->heard.empty(); });
    platform::setProgrammingErrorHandler(nullptr);
    ASSERT_TRUE(heard);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("but was given a OAuthAPIRequestLoader"), std::string::npos) << reports[0];
}

// The request thread may end a request before performAction() has returned:
// a handle made only then would still hold the loader while the caller hears
// the end, and a module that registered it would keep it. The caller runs on
// the request thread's processor at the lowest priority, so the woken request
// thread runs first wherever it can.
TEST_F(HCProviderTest, AHandleHasLetGoOfItsRequestWhenTheCallerHearsTheEndHoweverSoonTheRequestEnds)
{
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    std::atomic<int> pinned{1};
    provider->requestThread()->runLoop()->post([&] { pinned = sched_setaffinity(0, sizeof one, &one); });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return pinned != 1; }));
    ASSERT_EQ(pinned, 0) << "the request thread stays on its processors";
    std::vector<bool> heldAtTheEnd;
    constexpr int kRequests = 100;
    std::vector<std::shared_ptr<HCRequestHandle>> handles(kRequests);
    for (int i = 0; i < kRequests; ++i) {
        auto failure = HCDelegate::withFunction([&, i](const platform::ObjectPtr&) {
            heldAtTheEnd.push_back(handles[i]->request() != nullptr);
        });
        std::thread caller([&] {
            sched_setaffinity(0, sizeof one, &one);
            setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
            handles[i] = provider->performAction("server_timestamp", std::nullopt, "GET", HCDelegate(), failure, 0,
                                                 nullptr, false);
        });
        caller.join();
        ASSERT_TRUE(testsupport::runMainUntil([&] { return heldAtTheEnd.size() == size_t(i) + 1; }));
    }
    EXPECT_EQ(std::count(heldAtTheEnd.begin(), heldAtTheEnd.end(), true), 0);
}

// A test settles by waiting for the provider to be idle and then running what
// reached the main thread: idle must mean that every outcome has been handed
// on, also one that takes a step on the request thread first, as a service's
// reading of the reply does. The request thread runs at the lowest priority
// on the main thread's processor, so the waiting main thread runs the moment
// the provider lets go.
TEST_F(HCProviderTest, IdleComesOnlyOnceEveryOutcomeIsOnItsCallersThread)
{
    cpu_set_t mainCpus;
    ASSERT_EQ(sched_getaffinity(0, sizeof mainCpus, &mainCpus), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    std::atomic<int> slowed{1};
    provider->requestThread()->runLoop()->post([&] {
        slowed = sched_setaffinity(0, sizeof one, &one) || setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
    });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return slowed != 1; }));
    ASSERT_EQ(slowed, 0);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    struct Unpin {
        cpu_set_t cpus;
        ~Unpin() { sched_setaffinity(0, sizeof cpus, &cpus); }
    } unpin{mainCpus};
    Outcomes o;
    const HCDelegate onMain = o.failure();
    const HCDelegate throughAStep = HCDelegate::withFunction(
        [onMain](const platform::ObjectPtr& loader) { onMain.invoke(loader); }, nullptr, provider->requestThread());
    size_t heardWhenIdle[2] = {0, 0};
    constexpr size_t kRequests = 100;
    for (size_t i = 0; i < kRequests; ++i) {
        provider->performAction("server_timestamp", std::nullopt, "GET", HCDelegate(), i % 2 ? throughAStep : onMain,
                                0, nullptr, false);
        ASSERT_TRUE(provider->waitUntilIdle(5));
        testsupport::drainMain();
        heardWhenIdle[i % 2] += o.events.size() == i + 1;
        ASSERT_TRUE(testsupport::runMainUntil([&] { return o.events.size() == i + 1; }));
    }
    EXPECT_EQ(heardWhenIdle[0], kRequests / 2) << "handed straight to the main thread";
    EXPECT_EQ(heardWhenIdle[1], kRequests / 2) << "through a step on the request thread";
}

// A waiter that reads the counts while a reply is off the running list but
// its next step is not yet posted must not take the provider for idle: a
// turn of the request thread it asked for then would come before that step,
// and what the step hands the main thread would come after the wait ended.
// The step is delivered inside the hand-on here (a DeliverNow scope kept
// open on the request thread), so the counts are read in that very moment.
TEST_F(HCProviderTest, AReplyNotYetPostedToItsNextStepIsCountedAsOnItsWay)
{
    struct Counts {
        size_t queued = 0;
        size_t running = 0;
        size_t handedOn = 0;
    };
    Counts read;
    std::atomic<bool> stepRan{false};
    auto provider = this->provider;
    const HCDelegate step = HCDelegate::withFunction(
        [&read, &stepRan, provider](const platform::ObjectPtr&) {
            read = {provider->queuedActionCount(), provider->runningLoaderCount(), provider->outcomesBeingHandedOn()};
            stepRan = true;
        },
        nullptr, provider->requestThread());
    auto scope = std::make_shared<std::unique_ptr<HCDelegate::DeliverNow>>();
    std::atomic<bool> opened{false};
    provider->requestThread()->runLoop()->post([scope, step, &opened] {
        *scope = std::make_unique<HCDelegate::DeliverNow>(std::initializer_list<HCDelegate>{step});
        opened = true;
    });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return opened.load(); }));

    provider->performAction("server_timestamp", std::nullopt, "GET", HCDelegate(), step, 0, nullptr, false);
    const bool heard = testsupport::runMainUntil([&] { return stepRan.load(); });
    std::atomic<bool> closed{false};
    provider->requestThread()->runLoop()->post([scope, &closed] {
        scope->reset();
        closed = true;
    });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return closed.load(); }));
    ASSERT_TRUE(heard) << "the failure never reached its step";
    EXPECT_EQ(read.queued, 0u);
    EXPECT_EQ(read.running, 0u);
    EXPECT_EQ(read.handedOn, 1u) << "the counts read idle before the reply's next step was posted";
    EXPECT_TRUE(provider->waitUntilIdle(5));
    EXPECT_EQ(provider->outcomesBeingHandedOn(), 0u);
}
