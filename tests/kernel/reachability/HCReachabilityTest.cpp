#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mutex>
#include <vector>

#include "kernel/reachability/HCReachability.h"
#include "kernel/reachability/HCReachabilityObserver.h"
#include "kernel/reachability/HostProbe.h"
#include "platform/foundation/Values.h"
#include "support/TestSupport.h"

namespace {

// A TCP socket on 127.0.0.1 with a port of the kernel's choice: listening
// (connections succeed) or only bound (connections are refused).
class LoopbackPort {
public:
    explicit LoopbackPort(bool listening)
    {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0) ADD_FAILURE() << "bind";
        if (listening) listen();
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~LoopbackPort() { close(); }
    void listen()
    {
        if (::listen(fd_, 16) != 0) ADD_FAILURE() << "listen";
    }
    void close()
    {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    uint16_t port() const { return port_; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

// Records what an observer's delegate receives and on which thread.
struct Heard {
    std::mutex mutex;
    std::vector<int> statuses;
    bool allOnMain = true;

    HCDelegate delegate()
    {
        return HCDelegate::withFunction([this](const platform::ObjectPtr& value) {
            std::lock_guard lock(mutex);
            auto number = platform::as<platform::Number>(value);
            statuses.push_back(number ? number->intValue() : -1);
            allOnMain = allOnMain && platform::Thread::isMainThread();
        });
    }
    size_t count()
    {
        std::lock_guard lock(mutex);
        return statuses.size();
    }
};

class HCReachabilityTest : public ::testing::Test {
protected:
    void TearDown() override { HCReachability::Shutdown(); }
    testsupport::ScopedManualClock clock;
};

}  // namespace

TEST(HostProbe, ConnectsToAListeningPortAndNotToAClosedOne)
{
    LoopbackPort open(true);
    LoopbackPort closed(false);
    EXPECT_TRUE(probeHost("127.0.0.1", open.port(), 2.0));
    EXPECT_TRUE(probeHost("localhost", open.port(), 2.0));
    EXPECT_FALSE(probeHost("127.0.0.1", closed.port(), 2.0));
}

TEST_F(HCReachabilityTest, ObserversBelongToTheProcessAndHearEveryLaterMonitor)
{
    EXPECT_EQ(HCReachability::Instance(), nullptr);
    Heard heard;
    HCReachabilityObserver observer(heard.delegate());
    LoopbackPort refused(false);
    HCReachability::Initialize(refused.url());
    ASSERT_TRUE(testsupport::runMainUntil([&] { return heard.count() == 1; }));
    HCReachability::Instance()->setOverride(HCReachability::ReachableViaWiFi);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return heard.count() == 2; }));
    // A second start-up replaces the monitor, not its observers; its own
    // first check is told too.
    HCReachability::Initialize(refused.url());
    ASSERT_TRUE(testsupport::runMainUntil([&] { return heard.count() == 3; }));
    HCReachability::Instance()->setOverride(HCReachability::ReachableViaWWAN);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return heard.count() == 4; }));
    EXPECT_EQ(heard.statuses, (std::vector<int>{0, 1, 0, 2}));
}

TEST_F(HCReachabilityTest, ObserversHearEachChangeOnTheMainThreadFromRealChecksAndTheTimer)
{
    LoopbackPort server(true);
    HCReachability::Initialize(server.url());
    auto monitor = HCReachability::Instance();
    ASSERT_TRUE(monitor);
    Heard heard;
    HCReachabilityObserver observer(heard.delegate());

    // The first check finds the listening port.
    ASSERT_TRUE(testsupport::runMainUntil([&] { return heard.count() == 1; }));
    EXPECT_TRUE(monitor->isGameServerReachable());
    EXPECT_EQ(monitor->status(), HCReachability::ReachableViaWiFi);

    // An explicit refresh that finds the same state tells nobody.
    monitor->refresh();

    // Once the server is gone, the slow timer's next check notices.
    server.close();
    clock.advance(HCReachability::kRefreshInterval);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return heard.count() == 2; }));
    EXPECT_FALSE(monitor->isGameServerReachable());
    testsupport::drainMain();
    EXPECT_EQ(heard.statuses, (std::vector<int>{1, 0}));
    EXPECT_TRUE(heard.allOnMain);
}

TEST_F(HCReachabilityTest, AServerThatCannotBeReachedIsToldAtOnceAndRefreshNoticesItCameBack)
{
    LoopbackPort server(false);
    HCReachability::Initialize(server.url());
    Heard heard;
    HCReachabilityObserver observer(heard.delegate());
    // The status starts as "not reachable", yet the first check that finds
    // nothing is news: a game that waits for it hears the server is down.
    ASSERT_TRUE(testsupport::runMainUntil([&] { return heard.count() == 1; }));
    server.listen();
    HCReachability::Instance()->refresh();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return heard.count() == 2; }));
    EXPECT_EQ(heard.statuses, (std::vector<int>{0, 1}));
}

TEST_F(HCReachabilityTest, OverrideReplacesTheMeasuredStatusUntilClearedAndOnlyChangesAreTold)
{
    LoopbackPort refused(false);
    HCReachability::Initialize(refused.url());
    auto monitor = HCReachability::Instance();
    Heard first;
    Heard second;
    auto firstObserver = std::make_unique<HCReachabilityObserver>(first.delegate());
    HCReachabilityObserver secondObserver(second.delegate());
    ASSERT_TRUE(testsupport::runMainUntil([&] { return second.count() == 1; }));  // the first check

    monitor->setOverride(HCReachability::ReachableViaWWAN);
    EXPECT_TRUE(monitor->isGameServerReachable());  // at once, not only after the main thread runs
    monitor->setOverride(HCReachability::ReachableViaWWAN);
    monitor->setOverride(HCReachability::ReachableViaWiFi);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return second.count() == 3; }));
    EXPECT_EQ(first.statuses, (std::vector<int>{0, 2, 1}));

    // Deleting an observer unregisters it: the other one still hears.
    firstObserver.reset();
    monitor->clearOverride();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return second.count() == 4; }));
    testsupport::drainMain();
    EXPECT_EQ(first.count(), 3u);
    EXPECT_EQ(second.statuses, (std::vector<int>{0, 2, 1, 0}));
    EXPECT_FALSE(monitor->isGameServerReachable());
}

TEST_F(HCReachabilityTest, AnUnusableUrlIsNeverReachableAndShutdownSilencesPendingNews)
{
    HCReachability::Initialize("not a url");
    auto monitor = HCReachability::Instance();
    Heard heard;
    HCReachabilityObserver observer(heard.delegate());
    monitor->refresh();
    EXPECT_FALSE(monitor->isGameServerReachable());

    monitor->setOverride(HCReachability::ReachableViaWiFi);
    HCReachability::Shutdown();
    EXPECT_EQ(HCReachability::Instance(), nullptr);
    monitor.reset();
    testsupport::drainMain();
    EXPECT_EQ(heard.count(), 0u);
}
