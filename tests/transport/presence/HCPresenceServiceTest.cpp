#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "FakeStompBroker.h"
#include "HeapPeak.h"
#include "kernel/settings/HCSettings.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/Thread.h"
#include "support/TestSupport.h"
#include "transport/poller/HCPoller.h"
#include "transport/support/ListReplyReader.h"
#include "transport/presence/HCPresenceService.h"

using testsupport::ScopedManualClock;

namespace {

HCStompFrame message(const std::string& body)
{
    return HCStompFrame{"MESSAGE", {{"subscription", "0"}, {"destination", "/queue/presence.1"}, {"message-id", "1"}},
                        body};
}

class HCPresenceServiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::Sandbox::configure(dir.str());
        HCSettings::setDefaultOverride("presence-host", "127.0.0.1:" + std::to_string(broker.port()));
        HCSettings::setDefaultOverride("presence-ca-file", broker.caFile());
        HCSettings::Initialize();
        HCPoller::setReplyReader(std::make_shared<ListReplyReader>());
        HCPresenceHooks hooks;
        hooks.accessToken = [this]() -> std::optional<OAuthToken> {
            std::lock_guard lock(mutex);
            return token;
        };
        hooks.resourceClasses = {{"HCUser", "user", "user_discovered"}, {"HCForumPost", "post", "post_discovered"}};
        hooks.friendPresenceChanged = [this](const platform::ObjectPtr& user) {
            EXPECT_TRUE(platform::Thread::isMainThread());
            presenceChanges.push_back(platform::textOf(user).value_or(""));
        };
        hooks.postInMainThread = [this](const platform::ObjectPtr& resource) {
            EXPECT_TRUE(platform::Thread::isMainThread());
            notices.push_back(platform::textOf(resource).value_or(""));
        };
        HCPresenceService::setHooks(hooks);
        HCPresenceService::initializeService();
        service = HCPresenceService::sharedInstance();
        service->setPresenceQueue("/queue/presence.1");
        broker.setAnswer([](const HCStompFrame& frame) {
            return frame.command == "CONNECT" ? FakeStompBroker::connected() : std::string();
        });
    }

    void TearDown() override
    {
        HCPresenceService::shutdownService();
        platform::setLogSink(nullptr);
        HCPresenceService::setHooks({});
        HCPoller::setReplyReader(nullptr);
        HCSettings::Shutdown();
        HCSettings::resetDefaultOverrides();
        testsupport::drainMain();
        platform::Sandbox::reset();
    }

    bool waitForState(HCPresenceService::State state)
    {
        return testsupport::runMainUntil([&] { return service->state() == state; });
    }
    // The reasons the service logged for ended connections.
    std::vector<std::string> endings()
    {
        std::lock_guard lock(mutex);
        return loggedEndings;
    }
    void captureEndings()
    {
        platform::setLogSink([this](platform::LogLevel, const std::string& line) {
            std::lock_guard lock(mutex);
            if (line.rfind("presence: connection ended: ", 0) == 0) loggedEndings.push_back(line);
        });
    }
    bool waitForSubscriptions(int count)
    {
        return testsupport::runMainUntil([&] {
            int n = 0;
            for (const auto& f : broker.frames()) n += f.command == "SUBSCRIBE";
            return n >= count;
        });
    }
    // A fault sent after the subscription ends the connection and counts once.
    void expectFaultClosesCleanly(const std::string& fault)
    {
        service->connect();
        ASSERT_TRUE(waitForState(HCPresenceService::State::Connected));
        broker.push(fault);
        ASSERT_TRUE(waitForState(HCPresenceService::State::Waiting));
        EXPECT_EQ(service->failedAttempts(), 1);
        EXPECT_TRUE(testsupport::runMainUntil([&] { return broker.connectionsEnded() == 1; }))
            << "the client closed the connection";
        clock.advance(HCPresenceService::kFirstRetrySeconds);
        EXPECT_TRUE(waitForSubscriptions(2)) << "tried again after the first wait";
        EXPECT_EQ(broker.connections(), 2);
    }

    testsupport::TempDir dir;
    ScopedManualClock clock;
    FakeStompBroker broker;
    std::mutex mutex;
    std::optional<OAuthToken> token = OAuthToken{"token-1", "secret:1"};
    std::shared_ptr<HCPresenceService> service;
    std::vector<std::string> presenceChanges;
    std::vector<std::string> notices;
    std::vector<std::string> loggedEndings;
};

}  // namespace

TEST_F(HCPresenceServiceTest, ConnectsWithTheTokenAndHeartBeatsThenSubscribesToTheQueue)
{
    service->connect();
    ASSERT_TRUE(waitForState(HCPresenceService::State::Connected));
    ASSERT_TRUE(waitForSubscriptions(1));
    auto frames = broker.frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].command, "CONNECT");
    EXPECT_EQ(frames[0].header("accept-version"), "1.2");
    EXPECT_EQ(frames[0].header("host"), "/");
    EXPECT_EQ(frames[0].header("login"), "token-1");
    EXPECT_EQ(frames[0].header("passcode"), "secret:1") << "CONNECT headers go unescaped";
    EXPECT_EQ(frames[0].header("heart-beat"), "10000,10000");
    EXPECT_EQ(frames[1].command, "SUBSCRIBE");
    EXPECT_EQ(frames[1].header("destination"), "/queue/presence.1");

    service->connect();  // already connected: no second connection
    service->disconnect();
    ASSERT_TRUE(waitForState(HCPresenceService::State::Disconnected));
    EXPECT_TRUE(testsupport::runMainUntil([&] { return broker.connectionsEnded() == 1; }));
    EXPECT_EQ(broker.connections(), 1);
    EXPECT_EQ(broker.frames().back().command, "DISCONNECT");
}

TEST_F(HCPresenceServiceTest, ABootstrapWithAnotherTokenOrQueueEndsTheSessionAndStartsANewOne)
{
    const auto logins = [&] {
        std::vector<std::string> seen;
        for (const auto& f : broker.frames()) {
            if (f.command == "CONNECT") seen.push_back(f.header("login").value_or("?"));
            if (f.command == "SUBSCRIBE") seen.back() += " " + f.header("destination").value_or("?");
            if (f.command == "DISCONNECT") seen.back() += " ended";
        }
        return seen;
    };
    const auto bootstrap = [&](const std::string& key, const std::string& queue) {
        {
            std::lock_guard lock(mutex);
            token = OAuthToken{key, "secret of " + key};
        }
        service->setPresenceQueue(queue);
        service->connect();
    };
    service->connect();
    ASSERT_TRUE(waitForSubscriptions(1));

    bootstrap("token-2", "/queue/presence.2");  // another player
    ASSERT_TRUE(waitForSubscriptions(2)) << "the second player's queue is read";
    bootstrap("token-2", "/queue/presence.2");  // the same again: the session stays
    bootstrap("token-3", "/queue/presence.2");  // the same player, a new token
    ASSERT_TRUE(waitForSubscriptions(3));
    bootstrap("token-3", "/queue/presence.3");  // a new queue
    ASSERT_TRUE(waitForSubscriptions(4));
    ASSERT_TRUE(waitForState(HCPresenceService::State::Connected));
    EXPECT_EQ(logins(), (std::vector<std::string>{"token-1 /queue/presence.1 ended", "token-2 /queue/presence.2 ended",
                                                  "token-3 /queue/presence.2 ended", "token-3 /queue/presence.3"}));
    EXPECT_EQ(broker.connections(), 4);
    EXPECT_EQ(broker.frames()[3].header("passcode"), "secret of token-2");
    EXPECT_EQ(service->failedAttempts(), 0) << "ending a session for a new one is no failure";

    broker.push(message("user:7").encode());
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !notices.empty(); }));
    EXPECT_EQ(notices, std::vector<std::string>{"user:7"});
}

TEST_F(HCPresenceServiceTest, WithoutATokenOrQueueNothingConnects)
{
    {
        std::lock_guard lock(mutex);
        token.reset();
    }
    service->connect();  // not authenticated
    service->setPresenceQueue(std::nullopt);
    {
        std::lock_guard lock(mutex);
        token = OAuthToken{"t", "s"};
    }
    service->connect();  // no queue
    service->setPresenceQueue("/queue/presence.1");
    service->connect();
    // Work runs in call order on the presence thread: had either earlier
    // connect() connected, this would be the second connection.
    ASSERT_TRUE(waitForState(HCPresenceService::State::Connected));
    EXPECT_EQ(broker.connections(), 1);
}

TEST_F(HCPresenceServiceTest, MessagesBecomeDiscoveryNotificationsAndPresenceChanges)
{
    std::vector<std::pair<std::string, size_t>> posted;
    auto& center = platform::NotificationCenter::defaultCenter();
    int observer = 0;
    for (const char* name : {"user_discovered", "post_discovered"}) {
        center.addObserver(&observer, name, [&posted, name](const platform::Notification& n) {
            EXPECT_TRUE(platform::Thread::isMainThread());
            auto resources = platform::as<platform::Array>(n.userInfo->objectForKey(HCPollerNotificationKeyResources));
            posted.emplace_back(name, resources ? resources->count() : 0);
        });
    }
    service->connect();
    ASSERT_TRUE(waitForState(HCPresenceService::State::Connected));
    broker.push(message("user:3,user:4").encode() + message("post:9,chat:1").encode());
    ASSERT_TRUE(testsupport::runMainUntil([&] { return posted.size() == 2; }));
    EXPECT_EQ(posted[0], std::make_pair(std::string("user_discovered"), size_t{2}));
    EXPECT_EQ(posted[1], std::make_pair(std::string("post_discovered"), size_t{1}));
    EXPECT_EQ(presenceChanges, (std::vector<std::string>{"user:3", "user:4"}));
    EXPECT_EQ(notices, (std::vector<std::string>{"user:3", "user:4", "post:9"}));
    center.removeObserver(&observer);
}

TEST_F(HCPresenceServiceTest, MalformedFrameClosesAndCountsAsAFailedAttempt)
{
    expectFaultClosesCleanly(std::string("MESSAGE\nbroken header\n\n") + '\0');
}

TEST_F(HCPresenceServiceTest, OversizedFrameClosesBeforeItIsWhole)
{
    expectFaultClosesCleanly("MESSAGE\nsubscription:0\n\n" + std::string(HCStompFrameReader::kDefaultMaxFrameBytes, 'x'));
}

TEST_F(HCPresenceServiceTest, AFrameWithoutEndIsDroppedWithinAFewFrameLimitsOfMemory)
{
    captureEndings();
    service->connect();
    ASSERT_TRUE(waitForState(HCPresenceService::State::Connected));
    broker.prepareBurst("MESSAGE\nsubscription:0\ndestination:/queue/presence.1\n\n", 16 << 20);
    heappeak::restart();
    broker.sendBurst();
    ASSERT_TRUE(waitForState(HCPresenceService::State::Waiting));
    EXPECT_EQ(endings(), std::vector<std::string>{"presence: connection ended: frame over the size limit"});
    EXPECT_TRUE(testsupport::runMainUntil([&] { return broker.connectionsEnded() == 1; }))
        << "the client closed the connection";
    // Only the sanitized test builds count the heap (see HeapPeak.h).
    if (heappeak::available()) {
        EXPECT_LT(heappeak::growthSinceRestart(), 4 * HCStompFrameReader::kDefaultMaxFrameBytes);
    }
}

TEST_F(HCPresenceServiceTest, MessagesTrickledInTinyRecordsArriveWhole)
{
    service->connect();
    ASSERT_TRUE(waitForState(HCPresenceService::State::Connected));
    std::string body;
    for (int id = 1; id <= 1500; ++id) body += (id > 1 ? ",user:" : "user:") + std::to_string(id);
    for (std::size_t piece : {1, 16}) {
        presenceChanges.clear();
        broker.push(message(body).encode() + "\n", piece);
        ASSERT_TRUE(testsupport::runMainUntil([&] { return presenceChanges.size() == 1500; }, 60)) << piece;
        EXPECT_EQ(presenceChanges.front(), "user:1");
        EXPECT_EQ(presenceChanges.back(), "user:1500");
    }
    EXPECT_EQ(service->state(), HCPresenceService::State::Connected);
    EXPECT_EQ(broker.connections(), 1);
}

TEST_F(HCPresenceServiceTest, ABrokersErrorTextIsLoggedOnOneBoundedLine)
{
    captureEndings();
    const std::string forged = "bye\n2026-12-07 12:00:00 [Error] payment: card number 4111\r\x1b[2J";
    expectFaultClosesCleanly(HCStompFrame{"ERROR", {{"message", forged}}, {}}.encode());
    ASSERT_TRUE(waitForState(HCPresenceService::State::Connected));
    broker.push(HCStompFrame{"ERROR", {}, std::string(100000, '\n')}.encode());
    ASSERT_TRUE(waitForState(HCPresenceService::State::Waiting));
    const auto lines = endings();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "presence: connection ended: ERROR frame: bye\\x0a2026-12-07 12:00:00 [Error] payment: card "
                        "number 4111\\x0d\\x1b[2J");
    EXPECT_EQ(lines[1].find('\n'), std::string::npos);
    EXPECT_LT(lines[1].size(), 1100u) << "what is logged from the wire is bounded";
    EXPECT_NE(lines[1].find("(100000 bytes)"), std::string::npos) << lines[1].substr(0, 80);
}

TEST_F(HCPresenceServiceTest, ErrorFrameClosesAndCountsAsAFailedAttempt)
{
    expectFaultClosesCleanly(HCStompFrame{"ERROR", {{"message", "go away"}}, {}}.encode());
}

TEST_F(HCPresenceServiceTest, HeartBeatsGoOutAndASilentBrokerIsDropped)
{
    broker.setAnswer([](const HCStompFrame& frame) {
        return frame.command == "CONNECT" ? FakeStompBroker::connected("10000,10000") : std::string();
    });
    service->connect();
    ASSERT_TRUE(waitForState(HCPresenceService::State::Connected));
    clock.advance(10);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return broker.heartBeatsReceived() >= 1; }));
    clock.advance(10);
    testsupport::drainMain();
    EXPECT_EQ(service->state(), HCPresenceService::State::Connected) << "twenty seconds of silence is allowed";
    clock.advance(10);
    ASSERT_TRUE(waitForState(HCPresenceService::State::Waiting));
    EXPECT_EQ(service->failedAttempts(), 1);
}

TEST_F(HCPresenceServiceTest, DroppedConnectionsAreRetriedWithGrowingWaitsThenGivenUp)
{
    service->connect();
    ASSERT_TRUE(waitForState(HCPresenceService::State::Connected));
    broker.setAnswer([](const HCStompFrame&) { return std::string(); });
    broker.dropConnection();
    double wait = HCPresenceService::kFirstRetrySeconds;
    for (int attempt = 2; attempt <= HCPresenceService::kMaxAttempts; ++attempt) {
        ASSERT_TRUE(waitForState(HCPresenceService::State::Waiting)) << attempt;
        clock.advance(wait - 0.5);
        testsupport::drainMain();
        EXPECT_EQ(broker.connections(), attempt - 1) << "not before the wait is over";
        clock.advance(0.5);
        ASSERT_TRUE(testsupport::runMainUntil([&] { return broker.connections() == attempt; })) << attempt;
        // The broker accepts and never answers: the CONNECT time-out ends it.
        ASSERT_TRUE(testsupport::runMainUntil([&] {
            int connects = 0;
            for (const auto& f : broker.frames()) connects += f.command == "CONNECT";
            return connects == attempt;
        }));
        clock.advance(10);
        wait *= 2;
    }
    ASSERT_TRUE(waitForState(HCPresenceService::State::GaveUp));
    EXPECT_EQ(service->failedAttempts(), HCPresenceService::kMaxAttempts);
    clock.advance(3600);
    testsupport::drainMain();
    EXPECT_EQ(broker.connections(), HCPresenceService::kMaxAttempts) << "no attempt after giving up";

    broker.setAnswer([](const HCStompFrame& frame) {
        return frame.command == "CONNECT" ? FakeStompBroker::connected() : std::string();
    });
    service->connect();
    EXPECT_TRUE(waitForState(HCPresenceService::State::Connected)) << "a new connect() starts over";
}

TEST_F(HCPresenceServiceTest, AConnectionThatStaysUpClearsTheFailureCount)
{
    expectFaultClosesCleanly(std::string("NOT-A-COMMAND\n\n") + '\0');
    ASSERT_TRUE(waitForState(HCPresenceService::State::Connected));
    clock.advance(HCPresenceService::kStableSeconds);
    EXPECT_TRUE(testsupport::runMainUntil([&] { return service->failedAttempts() == 0; }));
}
