#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "kernel/settings/HCSettings.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Sandbox.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"
#include "transport/poller/HCPoller.h"
#include "transport/support/ListReplyReader.h"

using testnet::LoopbackServer;
using testnet::ServerReply;
using testnet::ServerRequest;

namespace {

using ListReader = ListReplyReader;

const HCPollerResourceClass kMessages{"HCChatMessage", "chat_message", "HCChatMessagesDiscovered"};
const HCPollerResourceClass kUsers{"HCUser", "user", "HCUsersDiscovered"};

class HCPollerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server.route("/poll", [this](const ServerRequest&) {
            std::lock_guard lock(replyMutex);
            return ServerReply::text(200, reply);
        });
        platform::Sandbox::configure(dir.str());
        HCSettings::Initialize();
        HCSettings::Instance()->setObject(server.url("/"), "server-url");
        HCProvider::setHooks({});
        HCPoller::setReplyReader(reader);
        provider = HCProvider::providerWithProductKey("product-key", "product-secret");
        poller = HCPoller::initWithProvider(provider, "poll");
        poller->registerResourceClass(kMessages);
        poller->registerResourceClass(kUsers);
        for (const auto& c : {kMessages, kUsers}) {
            platform::NotificationCenter::defaultCenter().addObserver(
                this, c.discoveredNotification, [this](const platform::Notification& n) {
                    std::string line = n.name + ":";
                    auto list = n.userInfo ? n.userInfo->get<platform::Array>(HCPollerNotificationKeyResources) : nullptr;
                    if (list)
                        for (const auto& item : list->items()) line += " " + platform::textOf(item).value_or("?");
                    discovered.push_back(line);
                });
        }
        platform::NotificationCenter::defaultCenter().addObserver(
            this, HCPollingFailed, [this](const platform::Notification&) { discovered.push_back("failed"); });
    }
    void TearDown() override
    {
        platform::NotificationCenter::defaultCenter().removeObserver(this);
        poller.reset();
        provider->cleanupRequestThread();
        HCProvider::setHooks({});
        HCPoller::setReplyReader(nullptr);
        HCSettings::Shutdown();
        platform::Sandbox::reset();
    }

    // Polls once and waits until the reply has been read and what it found posted.
    void pollAndWait()
    {
        int before = reader->reads;
        poller->pollNow();
        ASSERT_TRUE(testsupport::runMainUntil([&] { return reader->reads > before; }));
        // The reply handler is still running on the request thread; a task
        // queued behind it runs once the handler has posted its news.
        std::atomic<bool> behind{false};
        provider->requestThread()->runLoop()->post([&] { behind = true; });
        ASSERT_TRUE(testsupport::runMainUntil([&] { return behind.load(); }));
        testsupport::drainMain();
    }
    std::string lastQuery() const { return server.requests().back().target; }

    void setReply(std::string text)
    {
        std::lock_guard lock(replyMutex);
        reply = std::move(text);
    }

    std::mutex replyMutex;
    std::string reply;
    LoopbackServer server;
    std::shared_ptr<ListReader> reader = std::make_shared<ListReader>();
    testsupport::TempDir dir;
    std::shared_ptr<HCProvider> provider;
    std::shared_ptr<HCPoller> poller;
    std::vector<std::string> discovered;
};

}  // namespace

TEST_F(HCPollerTest, OnlyResourcesNewerThanTheLastSeenIdAreAnnouncedAndTheIdTravels)
{
    setReply("chat_message:5,user:3,chat_message:7");
    pollAndWait();
    EXPECT_EQ(lastQuery(), "/poll?parental_controls_enabled=false");
    EXPECT_EQ(discovered, (std::vector<std::string>{"HCChatMessagesDiscovered: chat_message:5 chat_message:7",
                                                    "HCUsersDiscovered: user:3"}));
    EXPECT_EQ(poller->lastSeenId("HCChatMessage"), 7);
    EXPECT_EQ(poller->lastSeenId("HCUser"), 3);

    // The server repeats what it sent before and adds one message: only the new one is news.
    discovered.clear();
    setReply("chat_message:7,chat_message:6,user:3,chat_message:9");
    pollAndWait();
    EXPECT_EQ(lastQuery(), "/poll?last_seen_chat_message_id=7&last_seen_user_id=3&parental_controls_enabled=false");
    EXPECT_EQ(discovered, (std::vector<std::string>{"HCChatMessagesDiscovered: chat_message:9"}));
    EXPECT_EQ(poller->lastSeenId("HCChatMessage"), 9);

    // Nothing new: no notification at all.
    discovered.clear();
    pollAndWait();
    EXPECT_TRUE(discovered.empty());

    // A cleared cache or a forced id changes what counts as new.
    poller->clearCacheForResourceClass("HCChatMessage");
    poller->clearCacheAndForceLastSeenId(1, "HCUser");
    setReply("chat_message:5,user:3");
    pollAndWait();
    EXPECT_EQ(lastQuery(), "/poll?last_seen_user_id=1&parental_controls_enabled=false");
    EXPECT_EQ(discovered, (std::vector<std::string>{"HCChatMessagesDiscovered: chat_message:5",
                                                    "HCUsersDiscovered: user:3"}));
    poller->clearCacheAndForceLastSeenId(10, "HCChatMessage");
    discovered.clear();
    pollAndWait();
    EXPECT_EQ(lastQuery(), "/poll?last_seen_chat_message_id=10&last_seen_user_id=3&parental_controls_enabled=false");
    EXPECT_TRUE(discovered.empty());
}

TEST_F(HCPollerTest, TheTimerPollsAtItsIntervalUntilStoppedOrThePollerIsGone)
{
    // Every poll asks the provider first whether to discard it; discarding
    // counts the polls without any network traffic.
    int polls = 0;
    HCProviderHooks hooks;
    hooks.willSilentlyDiscardAction = [&] {
        ++polls;
        return true;
    };
    HCProvider::setHooks(hooks);
    testsupport::ScopedManualClock clock;
    poller->changePollingFrequency(30);

    clock.advance(29);
    testsupport::drainMain();
    EXPECT_EQ(polls, 0);
    clock.advance(1);
    testsupport::drainMain();
    EXPECT_EQ(polls, 1);
    clock.advance(30);
    testsupport::drainMain();
    EXPECT_EQ(polls, 2);

    // A new frequency replaces the old timer rather than adding a second one.
    poller->changePollingFrequency(10);
    clock.advance(30);
    testsupport::drainMain();
    EXPECT_EQ(polls, 3);

    poller->stopPolling();
    clock.advance(60);
    testsupport::drainMain();
    EXPECT_EQ(polls, 3);

    poller->setDefaultPollingFrequency(15);
    poller->resetToDefaultPollingFrequency();
    poller.reset();
    clock.advance(60);
    testsupport::drainMain();
    EXPECT_EQ(polls, 3);
}

TEST_F(HCPollerTest, APollOnTheWireDoesNotKeepAReleasedPollerPolling)
{
    server.route("/poll", [](const ServerRequest&) {
        auto reply = ServerReply::text(200, "chat_message:1");
        reply.hold = true;
        return reply;
    });
    testsupport::ScopedManualClock clock;
    poller->changePollingFrequency(10);
    clock.advance(10);
    testsupport::drainMain();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return server.requestCount("/poll") == 1; }));

    std::weak_ptr<HCPoller> weak = poller;
    poller.reset();
    EXPECT_TRUE(weak.expired());
    clock.advance(10);
    testsupport::drainMain();
    EXPECT_EQ(provider->queuedActionCount() + provider->runningLoaderCount(), 1u);

    // The held reply still arrives; nobody is left to announce it.
    server.releaseHeldReplies();
    ASSERT_TRUE(provider->waitUntilIdle(5));
    std::atomic<bool> behind{false};
    provider->requestThread()->runLoop()->post([&] { behind = true; });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return behind.load(); }));
    testsupport::drainMain();
    EXPECT_TRUE(discovered.empty());
    EXPECT_EQ(reader->reads, 0);
}
