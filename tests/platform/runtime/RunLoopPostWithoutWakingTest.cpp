#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"
#include "support/TestSupport.h"

using namespace platform;

// Work posted without waking keeps its place among ordinary posts, and a
// closed loop drops it at once instead of holding what it captured.
TEST(RunLoopPostWithoutWaking, KeepsPostOrderAndAClosedLoopDropsIt)
{
    testsupport::ScopedManualClock clock;
    auto loop = std::make_shared<RunLoop>();
    std::vector<int> order;
    loop->post([&] { order.push_back(1); });
    loop->postWithoutWaking([&] { order.push_back(2); });
    loop->post([&] { order.push_back(3); });
    loop->postAfter(0, [&] { order.push_back(4); });
    EXPECT_EQ(loop->runOnce(), 4);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));

    loop->close();
    auto held = std::make_shared<int>(7);
    std::weak_ptr<int> watch = held;
    loop->postWithoutWaking([held = std::move(held)] {});
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(loop->pendingCount(), 0u);
}

// On a thread that sleeps in its loop, such work runs there: with the next
// ordinary post ahead of that post's own task, and on its own at the
// latest when the loop next looks at its queue.
TEST(RunLoopPostWithoutWaking, RunsOnTheLoopsThreadWithTheNextPostOrOnItsOwn)
{
    auto worker = Thread::start("worker");
    std::vector<int> order;  // written on the worker only
    std::atomic<bool> sawBoth{false};
    std::atomic<bool> ranOnWorker{true};
    worker->runLoop()->postWithoutWaking([&, worker] {
        ranOnWorker = ranOnWorker && worker->isCurrent();
        order.push_back(1);
    });
    worker->runLoop()->post([&, worker] {
        ranOnWorker = ranOnWorker && worker->isCurrent();
        order.push_back(2);
        sawBoth = order == std::vector<int>{1, 2};
    });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return sawBoth.load(); }));

    std::atomic<bool> alone{false};
    worker->runLoop()->postWithoutWaking([&, worker] { alone = worker->isCurrent(); });
    EXPECT_TRUE(testsupport::runMainUntil([&] { return alone.load(); }));
    EXPECT_TRUE(ranOnWorker);
    worker->cancel();
}
