#pragma once
// A thread's queue of work: posted tasks, delayed tasks and timers.
//
// Work crosses threads only by posting to the target thread's run loop. The
// owning thread pumps it (run(), runUntil(), runOnce()); every other method
// may be called from any thread. Timers and delays read platform::Clock, so a
// ManualClock decides when they are due.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/runtime/Object.h"

namespace platform {

class RunLoop;

// A one-shot or repeating timer scheduled on a run loop.
// Thread: invalidate() from any thread; the callback runs on the loop's thread.
// Once invalidate() returns the callback is not running and never runs again
// (called from inside the callback, it returns at once: the callback ends
// when it returns).
class Timer final : public Object {
public:
    using Callback = std::function<void(Timer&)>;

    void invalidate();
    bool isValid() const;
    double timeInterval() const { return interval_; }
    bool repeats() const { return repeats_; }
    double fireDate() const;

private:
    friend class RunLoop;
    Timer(double interval, bool repeats, Callback cb) : interval_(interval), repeats_(repeats), callback_(std::move(cb)) {}

    const double interval_;
    const bool repeats_;
    Callback callback_;
    std::weak_ptr<RunLoop> loop_;
    mutable std::mutex mutex_;
    std::condition_variable callbackEnded_;
    bool valid_ = true;
    bool firing_ = false;
    std::thread::id firingThread_;
    double fireDate_ = 0;
};

// What a loop's thread does while nothing is due, in place of sleeping on
// the loop's condition: a loop that also runs network transfers waits on
// their sockets, so their outcome needs no other thread to wake it.
//
// Thread: wait() on the loop's thread; interrupt() from any thread, and it
// must end the current or the next wait() at once.
class RunLoopWaiter {
public:
    virtual ~RunLoopWaiter() = default;
    virtual void wait(double seconds) = 0;
    virtual void interrupt() = 0;
};

class RunLoop final : public Object {
public:
    using Task = std::function<void()>;

    RunLoop();
    ~RunLoop() override;

    // Runs the task on this loop's thread, after everything posted before it.
    void post(Task task);
    // As post(), for work with no hurry (letting go of what a callback held):
    // the loop's thread is not woken for it. It runs on the loop's next turn,
    // whatever starts that turn (other work, a timer, or at the latest the
    // loop's own look every 50 ms of wall time), so it costs no thread switch
    // of its own.
    void postWithoutWaking(Task task);
    // Runs the task once the clock has moved on by `delay` seconds. A non-null
    // key lets cancelDelayed() drop every pending task posted with that key.
    void postAfter(double delay, Task task, const void* key = nullptr);
    void cancelDelayed(const void* key);

    std::shared_ptr<Timer> scheduleTimer(double interval, bool repeats, Timer::Callback callback);

    // One turn: runs the work that was due when the turn began, in order.
    // Work posted, delayed or re-armed during the turn runs on a later turn,
    // so a task that re-posts itself or a timer shorter than a turn cannot
    // keep the loop from returning. Returns how many entries ran.
    int runOnce();
    // Runs turns until one finds nothing due, at most `maxTurns` of them.
    // Returns how many entries ran.
    int runUntilIdle(int maxTurns = 100);
    // Pumps until `done` answers true or `wallTimeoutSeconds` of real time pass.
    // The wall time only bounds waiting for real I/O; timers follow the clock.
    bool runUntil(const std::function<bool()>& done, double wallTimeoutSeconds = 10.0);
    // Pumps until stop() is called.
    void run();
    void stop();

    // For a loop whose thread has ended: drops what is pending, and from now
    // on drops what is posted at once, on the posting thread, instead of
    // keeping it (and all it holds) for a pump that never comes.
    void close();

    // Wakes the loop's thread so it re-checks its timers against the clock.
    void wake();
    static void wakeAll();

    // From the loop's own thread. The loop keeps the waiter until close().
    void setWaiter(std::shared_ptr<RunLoopWaiter> waiter);
    std::shared_ptr<RunLoopWaiter> waiter() const;

    size_t pendingCount() const;

private:
    struct Entry {
        double due;
        uint64_t seq;
        Task task;
        const void* key;
        std::shared_ptr<Timer> timer;
    };
    friend class Timer;

    void insertLocked(Entry e);
    bool takeDueLocked(Entry& out, uint64_t turnEnd, double turnNow);
    void waitLocked(std::unique_lock<std::mutex>& lock, double wallDeadline);
    void removeTimer(const Timer* timer);
    // After a change that the loop's thread must see: wakes it from either
    // kind of wait. `waiter` is waiter_ as read under the lock.
    void notify(const std::shared_ptr<RunLoopWaiter>& waiter);

    mutable std::mutex mutex_;
    std::condition_variable cv_;
    // Kept sorted by (due, seq). A deque: a turn takes from the front, which
    // must cost the same however many callbacks a large reply queued.
    std::deque<Entry> entries_;
    uint64_t nextSeq_ = 0;
    bool stopRequested_ = false;
    bool woken_ = false;
    bool closed_ = false;
    std::shared_ptr<RunLoopWaiter> waiter_;
};

}  // namespace platform
