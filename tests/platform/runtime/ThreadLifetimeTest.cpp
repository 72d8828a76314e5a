#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <system_error>
#include <thread>

#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"
#include "support/TestSupport.h"

using namespace platform;

namespace {
// Constructed before main, so destroyed after everything the library builds
// lazily: what a host's own globals would see at exit.
std::shared_ptr<Thread> keptUntilExit;
std::shared_ptr<RunLoop> loopKeptUntilExit;
struct ReportsToMainAtExit {
    bool armed = false;
    ~ReportsToMainAtExit()
    {
        if (armed) performOnMain([] {});
    }
} reportsToMainAtExit;
}  // namespace

TEST(Thread, CancelFromTwoThreadsAtOnceEndsTheThreadForBoth)
{
    // Owned by the rounds' threads too: a canceller stuck in a broken join
    // must not outlive what it touches.
    struct Rounds {
        std::atomic<int> failures{0};
        std::atomic<bool> done{false};
    };
    auto rounds = std::make_shared<Rounds>();
    std::thread driver([rounds] {
        for (int round = 0; round < 50; ++round) {
            auto worker = Thread::start("cancelled-twice");
            auto ready = std::make_shared<std::atomic<int>>(0);
            auto cancelIt = [worker, ready, rounds] {
                ++*ready;
                while (ready->load() < 2) {
                }
                try {
                    worker->cancel();
                    if (!worker->isFinished()) ++rounds->failures;
                } catch (const std::system_error&) {
                    ++rounds->failures;
                }
            };
            std::thread first(cancelIt);
            std::thread second(cancelIt);
            first.join();
            second.join();
        }
        rounds->done = true;
    });
    if (!testsupport::runMainUntil([&] { return rounds->done.load(); })) {
        driver.detach();
        FAIL() << "a cancel never returned";
    }
    driver.join();
    EXPECT_EQ(rounds->failures.load(), 0);
}

TEST(Thread, CancelFromInsideItsOwnTaskLetsTheThreadEnd)
{
    auto worker = Thread::start("cancels-itself");
    std::atomic<bool> cancelled{false};
    worker->runLoop()->post([&, worker] {
        worker->cancel();
        cancelled = true;
    });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return cancelled.load(); }));
    EXPECT_TRUE(worker->isFinished());
    worker->cancel();
}

TEST(ThreadDeathTest, ThreadsLoopsAndMainThreadPostsOutliveStaticsAtExit)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            alarm(30);  // a hang at exit fails the test instead of stalling it
            keptUntilExit = Thread::start("kept-until-exit");
            // Pending work makes the winding-down loop read the clock.
            keptUntilExit->runLoop()->postAfter(3600, [] {});
            loopKeptUntilExit = std::make_shared<RunLoop>();
            reportsToMainAtExit.armed = true;
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(Thread, CurrentKeepsAStartedThreadsIdentityWhileItsLastHandleIsReleased)
{
    auto worker = Thread::start("winding-down");
    Thread* const original = worker.get();
    std::weak_ptr<Thread> handle = worker;
    std::atomic<Thread*> seen{nullptr};
    std::atomic<bool> running{false};
    worker->runLoop()->post([&] {
        running = true;
        while (!handle.expired()) std::this_thread::yield();
        // The owners are gone and the thread winds down: it is still itself
        // (per-thread choices such as a database connection stay one).
        seen = Thread::current().get();
    });
    while (!running) std::this_thread::yield();
    worker.reset();  // joins once the task above ran
    EXPECT_EQ(seen.load(), original);
}

TEST(Thread, NamingTheMainThreadRacesNoReader)
{
    // Run under TSan: the name is written while a started thread reads it.
    auto worker = Thread::start("reader");
    std::atomic<bool> read{false};
    auto main = Thread::current();
    worker->runLoop()->post([&, main] {
        (void)main->name();
        read = true;
    });
    Thread::adoptCurrentAsMain();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return read.load(); }));
    EXPECT_EQ(Thread::mainThread()->name(), "main");
}
