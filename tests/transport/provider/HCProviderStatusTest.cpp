// The provider against a live loopback server: what each HTTP status does,
// and what a cancel does to a request that is already on the wire.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/settings/HCSettings.h"
#include "platform/foundation/Sandbox.h"
#include "support/LoopbackServer.h"
#include "support/RequestThreadGate.h"
#include "support/TestSupport.h"
#include "transport/handles/HCRequestHandlesForModule.h"
#include "transport/provider/HCProvider.h"

using testnet::LoopbackServer;
using testnet::ServerReply;
using testnet::ServerRequest;

namespace {

// Each outcome as "success:<status>:<body>" or "failure:<status>:<body>",
// with whether it arrived on the main thread.
struct Outcomes {
    std::vector<std::string> events;
    bool allOnMain = true;

    HCDelegate delegate(const std::string& side)
    {
        return HCDelegate::withFunction([this, side](const platform::ObjectPtr& object) {
            auto loader = std::dynamic_pointer_cast<OAuthAPIRequestLoader>(object);
            events.push_back(side + ":" + (loader ? std::to_string(loader->statusCode()) + ":" + loader->data()->toString()
                                                  : std::string("(nil)")));
            allOnMain = allOnMain && platform::Thread::isMainThread();
        });
    }
};

class HCProviderStatusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server.route("/ok", [](const ServerRequest&) { return ServerReply::text(200, "fine"); });
        server.route("/unauthorized", [](const ServerRequest&) { return ServerReply::text(401, "who?"); });
        server.route("/upgrade", [](const ServerRequest&) { return ServerReply::text(426, "get 2.0"); });
        server.route("/maintenance", [](const ServerRequest&) { return ServerReply::text(450, "back soon"); });
        server.route("/slow", [](const ServerRequest&) {
            auto reply = ServerReply::text(200, "late");
            reply.hold = true;
            return reply;
        });
        platform::Sandbox::configure(dir.str());
        HCSettings::Initialize();
        HCSettings::Instance()->setObject(server.url("/"), "server-url");
        HCProvider::setHooks({});
        provider = HCProvider::providerWithProductKey("product-key", "product-secret");
    }
    void TearDown() override
    {
        server.releaseHeldReplies();
        if (provider) provider->cleanupRequestThread();
        HCProvider::setHooks({});
        HCSettings::Shutdown();
        platform::Sandbox::reset();
    }

    std::shared_ptr<HCRequestHandle> perform(const std::string& path, int requestType = HCActionRequest::kSilent)
    {
        return provider->performAction(path, std::nullopt, "GET", outcomes.delegate("success"),
                                       outcomes.delegate("failure"), requestType, nullptr, false);
    }
    bool waitForOutcomes(size_t count)
    {
        return testsupport::runMainUntil([&] { return outcomes.events.size() >= count; });
    }

    LoopbackServer server;
    testsupport::TempDir dir;
    std::shared_ptr<HCProvider> provider;
    Outcomes outcomes;
};

}  // namespace

TEST_F(HCProviderStatusTest, AQueuedRequestIsSignedWithTheTokenHeldWhenItIsSentAndItsPathJoinsWithOneSlash)
{
    {
        testsupport::RequestThreadGate gate(provider->requestThread());
        perform("/ok");
        ASSERT_TRUE(provider->setAccessToken("fresh-token", "fresh-secret"));
    }
    ASSERT_TRUE(waitForOutcomes(1));
    {
        testsupport::RequestThreadGate gate(provider->requestThread());
        perform("ok");
        provider->destroyLocalCredentials();
    }
    ASSERT_TRUE(waitForOutcomes(2));
    EXPECT_EQ(outcomes.events, (std::vector<std::string>{"success:200:fine", "success:200:fine"}));
    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_NE(requests[0].header("Authorization").find("oauth_token=\"fresh-token\""), std::string::npos);
    EXPECT_EQ(requests[1].header("Authorization").find("oauth_token"), std::string::npos);
}

TEST_F(HCProviderStatusTest, AReplyOverTheDefaultCapFailsUnlessTheCallerRaisedIt)
{
    const size_t size = platform::URLRequest::kDefaultMaxBodyBytes + 1;
    server.route("/big", [size](const ServerRequest&) { return ServerReply::text(200, std::string(size, 'x')); });
    std::vector<std::string> seen;
    auto record = [&](const std::string& side) {
        return HCDelegate::withFunction([&seen, side](const platform::ObjectPtr& object) {
            auto loader = std::dynamic_pointer_cast<OAuthAPIRequestLoader>(object);
            seen.push_back(side + ":" + std::to_string(loader->error() ? loader->error()->code() : 0) + ":" +
                           std::to_string(loader->data()->bytes().size()));
        });
    };
    provider->performAction("big", std::nullopt, "GET", record("success"), record("failure"), 0, nullptr, false);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return seen.size() == 1; }));
    provider->performAction("big", std::nullopt, "GET", record("success"), record("failure"), 0, nullptr, false,
                            size);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return seen.size() == 2; }));
    EXPECT_EQ(seen, (std::vector<std::string>{"failure:-1103:0", "success:0:" + std::to_string(size)}));
}

TEST_F(HCProviderStatusTest, UnauthorizedIsHeldForTheLogInFlowUntilItAbandonsTheRequest)
{
    std::shared_ptr<HCActionRequest> held;
    bool onMain = false;
    HCProviderHooks hooks;
    hooks.launchLoginFlowForRequest = [&](const std::shared_ptr<HCActionRequest>& action) {
        held = action;
        onMain = platform::Thread::isMainThread();
    };
    HCProvider::setHooks(hooks);

    perform("unauthorized");
    ASSERT_TRUE(testsupport::runMainUntil([&] { return held != nullptr; }));
    EXPECT_TRUE(onMain);
    EXPECT_TRUE(held->failedNotAuthorized());
    testsupport::drainMain();
    // The caller hears nothing while the player is asked to log in, and the
    // request still counts as running.
    EXPECT_TRUE(outcomes.events.empty());
    EXPECT_EQ(provider->runningLoaderCount(), 1u);

    held->abandonInLightOfASeriousError();
    ASSERT_TRUE(waitForOutcomes(1));
    EXPECT_EQ(outcomes.events, (std::vector<std::string>{"failure:401:who?"}));
    EXPECT_TRUE(provider->waitUntilIdle(5));
    // Abandoning twice reports nothing more.
    held->abandonInLightOfASeriousError();
    testsupport::drainMain();
    EXPECT_EQ(outcomes.events.size(), 1u);
}

TEST_F(HCProviderStatusTest, UpgradeAndMaintenanceShowTheirScreensWithTheBodyAndStillFail)
{
    // Without a log-in flow a 401 fails at once.
    perform("unauthorized");
    ASSERT_TRUE(waitForOutcomes(1));
    outcomes.events.clear();

    std::vector<std::string> screens;
    HCProviderHooks hooks;
    hooks.displayUpgradeRequiredErrorMessage = [&](const std::shared_ptr<platform::Data>& body) {
        screens.push_back("upgrade:" + body->toString() + (platform::Thread::isMainThread() ? "" : " off-main"));
    };
    hooks.displayServerMaintenanceNotice = [&](const std::shared_ptr<platform::Data>& body) {
        screens.push_back("maintenance:" + body->toString() + (platform::Thread::isMainThread() ? "" : " off-main"));
    };
    HCProvider::setHooks(hooks);

    perform("upgrade");
    ASSERT_TRUE(waitForOutcomes(1));
    perform("maintenance");
    ASSERT_TRUE(waitForOutcomes(2));
    testsupport::drainMain();
    EXPECT_EQ(screens, (std::vector<std::string>{"upgrade:get 2.0", "maintenance:back soon"}));
    EXPECT_EQ(outcomes.events, (std::vector<std::string>{"failure:426:get 2.0", "failure:450:back soon"}));
    EXPECT_TRUE(outcomes.allOnMain);
}

TEST_F(HCProviderStatusTest, RequestTypeThreeSkipsEveryStatusScreen)
{
    int screens = 0;
    HCProviderHooks hooks;
    hooks.launchLoginFlowForRequest = [&](const std::shared_ptr<HCActionRequest>&) { ++screens; };
    hooks.displayUpgradeRequiredErrorMessage = [&](const std::shared_ptr<platform::Data>&) { ++screens; };
    hooks.displayServerMaintenanceNotice = [&](const std::shared_ptr<platform::Data>&) { ++screens; };
    HCProvider::setHooks(hooks);

    for (const char* path : {"unauthorized", "upgrade", "maintenance"}) {
        size_t before = outcomes.events.size();
        perform(path, HCActionRequest::kNoErrorScreens);
        ASSERT_TRUE(waitForOutcomes(before + 1)) << path;
    }
    testsupport::drainMain();
    EXPECT_EQ(screens, 0);
    EXPECT_EQ(outcomes.events,
              (std::vector<std::string>{"failure:401:who?", "failure:426:get 2.0", "failure:450:back soon"}));
}

TEST_F(HCProviderStatusTest, CancellingARequestOnTheWireSilencesItForGood)
{
    auto handle = perform("slow");
    HCRequestHandlesForModule::addHandle(handle, "HCProviderStatusTest");
    ASSERT_TRUE(testsupport::runMainUntil([&] { return server.requestCount("/slow") == 1; }));
    ASSERT_EQ(provider->runningLoaderCount(), 1u);

    handle->cancel();
    EXPECT_EQ(provider->runningLoaderCount(), 0u);
    EXPECT_EQ(handle->request(), nullptr);
    EXPECT_TRUE(provider->waitUntilIdle(5));

    // A later request goes through the same request thread; by the time its
    // outcome arrives a reply to the cancelled one would have been handled.
    server.releaseHeldReplies();
    perform("ok");
    ASSERT_TRUE(waitForOutcomes(1));
    testsupport::drainMain();
    EXPECT_EQ(outcomes.events, (std::vector<std::string>{"success:200:fine"}));
    HCRequestHandlesForModule::cancelAllRequestsForModule("HCProviderStatusTest");
}

// The request thread may start a loader that the main thread cancelled a
// moment before: nothing is sent, and the loader is freed (a transfer left
// running would have kept it, and the provider behind its callbacks, alive).
TEST_F(HCProviderStatusTest, ALoaderCancelledBeforeItStartsSendsNothingAndIsFreed)
{
    auto request = std::make_shared<OAuthURLRequest>(server.url("/ok"), OAuthConsumer{"product-key", "product-secret"},
                                                     std::nullopt);
    auto loader = std::make_shared<OAuthAPIRequestLoader>(request, outcomes.delegate("success"),
                                                          outcomes.delegate("failure"));
    loader->cancel();
    EXPECT_FALSE(loader->loadSynchronously(false));
    EXPECT_FALSE(loader->isLoading());

    std::weak_ptr<OAuthAPIRequestLoader> weak = loader;
    loader.reset();
    EXPECT_TRUE(weak.expired());
    perform("ok");
    ASSERT_TRUE(waitForOutcomes(1));
    EXPECT_EQ(server.requestCount("/ok"), 1);
    EXPECT_EQ(outcomes.events, (std::vector<std::string>{"success:200:fine"}));
}

TEST_F(HCProviderStatusTest, ARequestCancelledDuringTheLogInFlowIsNotReportedWhenTheFlowGivesUp)
{
    std::shared_ptr<HCActionRequest> held;
    HCProviderHooks hooks;
    hooks.launchLoginFlowForRequest = [&](const std::shared_ptr<HCActionRequest>& action) { held = action; };
    HCProvider::setHooks(hooks);

    auto handle = perform("unauthorized");
    ASSERT_TRUE(testsupport::runMainUntil([&] { return held != nullptr; }));
    handle->cancel();
    EXPECT_TRUE(provider->waitUntilIdle(5));
    held->abandonInLightOfASeriousError();
    testsupport::drainMain();
    EXPECT_TRUE(outcomes.events.empty());
}

TEST_F(HCProviderStatusTest, StoppingTheThreadCancelsWhatIsOnTheWireQueuesNothingAndLetsTheProviderGo)
{
    auto handle = perform("slow");
    HCRequestHandlesForModule::addHandle(handle, "HCProviderStatusTest");
    ASSERT_TRUE(testsupport::runMainUntil([&] { return server.requestCount("/slow") == 1; }));

    provider->cleanupRequestThread();
    EXPECT_EQ(provider->runningLoaderCount(), 0u);
    EXPECT_EQ(handle->request(), nullptr);
    EXPECT_EQ(perform("ok"), nullptr);
    EXPECT_EQ(provider->queuedActionCount(), 0u);

    std::weak_ptr<HCProvider> weak = provider;
    provider.reset();
    EXPECT_TRUE(weak.expired());
    server.releaseHeldReplies();
    testsupport::drainMain();
    EXPECT_TRUE(outcomes.events.empty());
    HCRequestHandlesForModule::cancelAllRequestsForModule("HCProviderStatusTest");
}
