// Both sides: run 1,000 / 20,000 tasks posted to a loop before it turns (platform::RunLoop::runOnce | a std::deque of std::function drained by hand under a mutex).
//
// A burst of callbacks queued at once is what a large reply delivers to the
// main thread (one per row, per notice, per confirmed score). Ours posts
// them to a run loop and runs one turn; the baseline pushes the same tasks
// into a deque and pops them from the front under a lock, the least a
// thread-safe queue can do. The cost per task should not grow with the
// number queued.
#include <benchmark/benchmark.h>

#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "BenchCommandLine.h"
#include "RatioReporter.h"
#include "platform/runtime/RunLoop.h"

namespace {

void BM_RunLoopTurn(benchmark::State& state, int count)
{
    auto loop = std::make_shared<platform::RunLoop>();
    long long ran = 0;
    for (auto _ : state) {
        for (int i = 0; i < count; ++i) loop->post([&ran] { ++ran; });
        loop->runOnce();
    }
    if (ran != static_cast<long long>(state.iterations()) * count) state.SkipWithError("not every task ran");
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK_CAPTURE(BM_RunLoopTurn, 1000, 1000);
BENCHMARK_CAPTURE(BM_RunLoopTurn, 20000, 20000);

void BM_DequeByHand(benchmark::State& state, int count)
{
    std::mutex mutex;
    std::deque<std::function<void()>> queue;
    long long ran = 0;
    for (auto _ : state) {
        for (int i = 0; i < count; ++i) {
            std::lock_guard lock(mutex);
            queue.emplace_back([&ran] { ++ran; });
        }
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard lock(mutex);
                if (queue.empty()) break;
                task = std::move(queue.front());
                queue.pop_front();
            }
            task();
        }
    }
    benchmark::DoNotOptimize(ran);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK_CAPTURE(BM_DequeByHand, 1000, 1000);
BENCHMARK_CAPTURE(BM_DequeByHand, 20000, 20000);

}  // namespace

int main(int argc, char** argv)
{
    if (auto status = checkBenchCommandLine(argc, argv)) return *status;
    RatioReporter reporter({{"BM_RunLoopTurn/1000", "BM_DequeByHand/1000", "1,000 tasks: run loop / deque by hand"},
                            {"BM_RunLoopTurn/20000", "BM_DequeByHand/20000", "20,000 tasks: run loop / deque by hand"}});
    return runBenchmarksWithRatio(argc, argv, reporter);
}
