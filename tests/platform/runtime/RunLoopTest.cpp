#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"
#include "support/TestSupport.h"

using namespace platform;
using testsupport::ScopedManualClock;

TEST(RunLoop, PostedTasksRunInOrderOnlyWhenPumpedAndWorkPostedDuringATurnWaitsForTheNext)
{
    ScopedManualClock clock;
    auto loop = std::make_shared<RunLoop>();
    std::vector<int> order;
    loop->post([&] { order.push_back(1); });
    loop->post([&] {
        order.push_back(2);
        loop->post([&] { order.push_back(4); });
        loop->postAfter(0, [&] { order.push_back(5); });
    });
    loop->post([&] { order.push_back(3); });
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(loop->runOnce(), 3);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    loop->runOnce();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(RunLoop, SelfRepostingWorkAndTinyTimersCannotHoldATurnOrRunUntilForEver)
{
    ScopedManualClock clock;
    auto loop = std::make_shared<RunLoop>();
    int reposts = 0;
    std::function<void()> again = [&] {
        // Bounded so the code before the turn rule fails instead of hanging.
        if (++reposts < 1000) loop->post(again);
    };
    loop->post(again);
    int ticks = 0;
    auto timer = loop->scheduleTimer(1e-12, true, [&](Timer& t) {
        if (++ticks == 1000) t.invalidate();
    });
    clock.advance(1.0);
    EXPECT_EQ(loop->runOnce(), 2);
    EXPECT_EQ(reposts, 1);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(loop->runUntilIdle(5), 10);
    EXPECT_FALSE(loop->runUntil([] { return false; }, 0.05));
}

TEST(RunLoop, DelayedTasksFollowTheManualClockAndCanBeCancelled)
{
    ScopedManualClock clock;
    auto loop = std::make_shared<RunLoop>();
    std::vector<std::string> fired;
    int keyA = 0, keyB = 0;
    loop->postAfter(2.0, [&] { fired.push_back("b"); }, &keyB);
    loop->postAfter(1.0, [&] { fired.push_back("a"); }, &keyA);
    loop->postAfter(1.0, [&] { fired.push_back("a2"); }, &keyA);
    loop->runOnce();
    EXPECT_TRUE(fired.empty());
    clock.advance(1.0);
    loop->runOnce();
    EXPECT_EQ(fired, (std::vector<std::string>{"a", "a2"}));
    loop->cancelDelayed(&keyB);
    clock.advance(5.0);
    loop->runOnce();
    EXPECT_EQ(fired.size(), 2u);

    // A deadline reached by adding fractions counts as due.
    loop->postAfter(0.35, [&] { fired.push_back("c"); });
    clock.advance(0.3);
    clock.advance(0.05);
    loop->runOnce();
    EXPECT_EQ(fired.back(), "c");
}

TEST(RunLoop, RepeatingTimerFiresOncePerPeriodAndStopsWhenInvalidated)
{
    ScopedManualClock clock;
    auto loop = std::make_shared<RunLoop>();
    int fires = 0;
    auto timer = loop->scheduleTimer(1.0, true, [&](Timer&) { ++fires; });
    clock.advance(0.5);
    loop->runOnce();
    EXPECT_EQ(fires, 0);
    clock.advance(0.5);
    loop->runOnce();
    EXPECT_EQ(fires, 1);
    // A long stall collapses into one firing, then the period resumes.
    clock.advance(10.0);
    loop->runOnce();
    EXPECT_EQ(fires, 2);
    timer->invalidate();
    clock.advance(5.0);
    loop->runOnce();
    EXPECT_EQ(fires, 2);
    EXPECT_FALSE(timer->isValid());

    // A timer may invalidate itself while firing; the running copy keeps its captures alive.
    auto owner = std::make_shared<int>(0);
    auto selfEnding = loop->scheduleTimer(1.0, true, [owner, &fires](Timer& t) {
        ++fires;
        t.invalidate();
        ++*owner;
    });
    owner.reset();
    clock.advance(3.0);
    loop->runOnce();
    clock.advance(3.0);
    loop->runOnce();
    EXPECT_EQ(fires, 3);
}

TEST(Thread, WorkPostedToAStartedThreadRunsThereAndRepliesOnMain)
{
    auto worker = Thread::start("worker");
    std::atomic<bool> ranOnWorker{false};
    bool replyOnMain = false;
    worker->runLoop()->post([&, worker] {
        ranOnWorker = worker->isCurrent() && !Thread::isMainThread() && Thread::current() == worker;
        performOnMain([&] { replyOnMain = Thread::isMainThread(); });
    });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return replyOnMain; }));
    EXPECT_TRUE(ranOnWorker);
    worker->cancel();
    EXPECT_TRUE(worker->isFinished());
}

TEST(Thread, ManualClockAdvanceWakesABlockedThreadForItsTimer)
{
    ScopedManualClock clock;
    auto worker = Thread::start("timers");
    std::atomic<int> fires{0};
    std::atomic<bool> scheduled{false};
    worker->runLoop()->post([&, worker] {
        worker->runLoop()->postAfter(3.0, [&] { ++fires; });
        scheduled = true;
    });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return scheduled.load(); }));
    clock.advance(3.0);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return fires.load() == 1; }));
    worker->cancel();
}

TEST(RunLoop, OneShotTimersFireOnceAndTimersLetGoOfTheirCallbackWhenInvalidatedOrFired)
{
    ScopedManualClock clock;
    auto loop = std::make_shared<RunLoop>();
    auto owner = std::make_shared<int>(0);
    std::weak_ptr<int> watched = owner;
    int oneShotFires = 0;

    auto repeating = loop->scheduleTimer(1.0, true, [owner](Timer&) { ++*owner; });
    auto oneShot = loop->scheduleTimer(1.0, false, [owner, &oneShotFires](Timer& t) {
        ++oneShotFires;
        EXPECT_FALSE(t.isValid());
    });
    owner.reset();
    clock.advance(1.0);
    loop->runOnce();
    EXPECT_FALSE(watched.expired());  // the repeating timer still needs it
    repeating->invalidate();
    // Both timers are still referenced here, yet neither keeps the owner alive.
    EXPECT_TRUE(watched.expired());
    clock.advance(1.0);
    loop->runOnce();
    EXPECT_EQ(oneShotFires, 1);
}

TEST(Timer, InvalidateFromAnotherThreadWaitsForTheRunningCallback)
{
    auto worker = Thread::start("timers");
    std::atomic<bool> inCallback{false}, invalidateCalled{false}, invalidateReturned{false}, returnedWhileRunning{false};
    auto timer = worker->runLoop()->scheduleTimer(0, false, [&](Timer&) {
        inCallback = true;
        while (!invalidateCalled) std::this_thread::yield();
        // Gives an invalidate() that does not wait every chance to return meanwhile.
        for (int i = 0; i < 2000 && !invalidateReturned; ++i) std::this_thread::yield();
        returnedWhileRunning = invalidateReturned.load();
    });
    while (!inCallback) std::this_thread::yield();
    invalidateCalled = true;
    timer->invalidate();
    invalidateReturned = true;
    worker->cancel();
    EXPECT_FALSE(returnedWhileRunning.load());
}
