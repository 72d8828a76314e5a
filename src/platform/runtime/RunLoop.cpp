#include "platform/runtime/RunLoop.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <set>

#include "platform/runtime/Clock.h"

namespace platform {
namespace {
// Never destroyed: a run loop held by an object that is torn down at exit
// after these would otherwise unregister itself from a dead set.
std::mutex& registryMutex()
{
    static auto* m = new std::mutex;
    return *m;
}
std::set<RunLoop*>& registryInRunLoop()
{
    static auto* loops = new std::set<RunLoop*>;
    return *loops;
}
// Deadlines reached by adding up fractions of seconds on a manual clock (0.3
// then 0.05 for a 0.35 s animation) can fall a rounding step short; a task
// this close to due counts as due.
constexpr double kDueTolerance = 1e-9;
// The longest a loop sleeps without looking at its queue: a missed wake-up
// costs at most this delay, never a hang, and work posted without waking
// runs within it.
constexpr double kLongestWaitSeconds = 0.05;
}  // namespace

void Timer::invalidate()
{
    std::shared_ptr<RunLoop> loop;
    // Released outside the lock: what the callback captured (often the
    // timer's owner) may run code of its own when it goes.
    Callback released;
    {
        std::unique_lock lock(mutex_);
        if (valid_) {
            valid_ = false;
            loop = loop_.lock();
            released = std::move(callback_);
        }
        // A callback running on another thread (a one-shot one included)
        // ends before this returns, so the caller may free what it uses.
        if (firing_ && firingThread_ != std::this_thread::get_id())
            callbackEnded_.wait(lock, [this] { return !firing_; });
    }
    if (loop) loop->removeTimer(this);
}

bool Timer::isValid() const
{
    std::lock_guard lock(mutex_);
    return valid_;
}

double Timer::fireDate() const
{
    std::lock_guard lock(mutex_);
    return fireDate_;
}

RunLoop::RunLoop()
{
    std::lock_guard lock(registryMutex());
    registryInRunLoop().insert(this);
}

RunLoop::~RunLoop()
{
    std::lock_guard lock(registryMutex());
    registryInRunLoop().erase(this);
}

void RunLoop::insertLocked(Entry e)
{
    e.seq = nextSeq_++;
    auto pos = std::upper_bound(entries_.begin(), entries_.end(), e, [](const Entry& a, const Entry& b) {
        return a.due < b.due || (a.due == b.due && a.seq < b.seq);
    });
    entries_.insert(pos, std::move(e));
}

void RunLoop::post(Task task)
{
    std::shared_ptr<RunLoopWaiter> waiter;
    {
        std::lock_guard lock(mutex_);
        if (closed_) return;  // the task is dropped on return, outside the lock
        // Due "now" on any clock: -infinity keeps posts in FIFO order ahead of timers.
        insertLocked(Entry{-INFINITY, 0, std::move(task), nullptr, nullptr});
        woken_ = true;
        waiter = waiter_;
    }
    notify(waiter);
}

void RunLoop::postWithoutWaking(Task task)
{
    std::lock_guard lock(mutex_);
    if (closed_) return;  // the task is dropped on return, outside the lock
    insertLocked(Entry{-INFINITY, 0, std::move(task), nullptr, nullptr});
}

void RunLoop::postAfter(double delay, Task task, const void* key)
{
    double due = Clock::currentTime() + std::max(0.0, delay);
    std::shared_ptr<RunLoopWaiter> waiter;
    {
        std::lock_guard lock(mutex_);
        if (closed_) return;
        insertLocked(Entry{due, 0, std::move(task), key, nullptr});
        woken_ = true;
        waiter = waiter_;
    }
    notify(waiter);
}

void RunLoop::close()
{
    std::deque<Entry> dropped;
    std::shared_ptr<RunLoopWaiter> waiter;
    std::lock_guard lock(mutex_);
    closed_ = true;
    dropped.swap(entries_);
    waiter.swap(waiter_);
}

void RunLoop::setWaiter(std::shared_ptr<RunLoopWaiter> waiter)
{
    std::lock_guard lock(mutex_);
    if (!closed_) waiter_ = std::move(waiter);
}

std::shared_ptr<RunLoopWaiter> RunLoop::waiter() const
{
    std::lock_guard lock(mutex_);
    return waiter_;
}

void RunLoop::notify(const std::shared_ptr<RunLoopWaiter>& waiter)
{
    cv_.notify_all();
    if (waiter) waiter->interrupt();
}

void RunLoop::cancelDelayed(const void* key)
{
    if (!key) return;
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [key](const Entry& e) { return e.key == key && !e.timer; });
}

std::shared_ptr<Timer> RunLoop::scheduleTimer(double interval, bool repeats, Timer::Callback callback)
{
    std::shared_ptr<Timer> timer(new Timer(std::max(0.0, interval), repeats, std::move(callback)));
    timer->loop_ = std::static_pointer_cast<RunLoop>(shared_from_this());
    double due = Clock::currentTime() + timer->interval_;
    {
        std::lock_guard tl(timer->mutex_);
        timer->fireDate_ = due;
    }
    std::shared_ptr<RunLoopWaiter> waiter;
    {
        std::lock_guard lock(mutex_);
        if (!closed_) insertLocked(Entry{due, 0, nullptr, nullptr, timer});
        woken_ = true;
        waiter = waiter_;
    }
    notify(waiter);
    return timer;
}

void RunLoop::removeTimer(const Timer* timer)
{
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [timer](const Entry& e) { return e.timer.get() == timer; });
}

bool RunLoop::takeDueLocked(Entry& out, uint64_t turnEnd, double turnNow)
{
    // Posts sort first (due -infinity, then by sequence), so once the front
    // post is one made during this turn, every post after it is too: they
    // wait for the next turn, as does every timed entry added or re-armed
    // during it.
    auto it = entries_.begin();
    if (it != entries_.end() && it->due == -INFINITY && it->seq >= turnEnd)
        it = std::find_if(it, entries_.end(), [](const Entry& e) { return e.due != -INFINITY; });
    for (; it != entries_.end() && it->due <= turnNow + kDueTolerance; ++it) {
        if (it->seq >= turnEnd) continue;
        out = std::move(*it);
        entries_.erase(it);
        return true;
    }
    return false;
}

int RunLoop::runOnce()
{
    uint64_t turnEnd;
    {
        std::lock_guard lock(mutex_);
        turnEnd = nextSeq_;
    }
    const double turnNow = Clock::currentTime();
    int ran = 0;
    for (;;) {
        Entry e;
        {
            std::lock_guard lock(mutex_);
            if (!takeDueLocked(e, turnEnd, turnNow)) break;
        }
        ++ran;
        if (!e.timer) {
            e.task();
            continue;
        }
        auto timer = e.timer;
        Timer::Callback callback;
        {
            // Checked and marked firing in one step, so an invalidate() that
            // returns before this either stops the firing or waits for it.
            std::lock_guard tl(timer->mutex_);
            if (!timer->valid_) continue;
            timer->firing_ = true;
            timer->firingThread_ = std::this_thread::get_id();
            if (timer->repeats_) {
                callback = timer->callback_;
            } else {
                // A one-shot timer lets go of its callback as it fires.
                timer->valid_ = false;
                callback = std::move(timer->callback_);
            }
        }
        if (timer->repeats_) {
            // Missed periods collapse into one firing, as a timer on a busy loop does.
            double now = Clock::currentTime();
            double next = e.due + timer->interval_;
            if (timer->interval_ > 0 && next <= now)
                next = e.due + std::ceil((now - e.due) / timer->interval_ + 1e-9) * timer->interval_;
            if (timer->interval_ <= 0) next = now + 1e-4;
            {
                std::lock_guard tl(timer->mutex_);
                timer->fireDate_ = next;
            }
            std::lock_guard lock(mutex_);
            insertLocked(Entry{next, 0, nullptr, nullptr, timer});
        }
        if (callback) callback(*timer);
        // Released before the waiters go: what it captured may belong to them.
        callback = nullptr;
        {
            std::lock_guard tl(timer->mutex_);
            timer->firing_ = false;
        }
        timer->callbackEnded_.notify_all();
    }
    return ran;
}

int RunLoop::runUntilIdle(int maxTurns)
{
    int ran = 0;
    for (int turn = 0; turn < maxTurns; ++turn) {
        int thisTurn = runOnce();
        if (thisTurn == 0) break;
        ran += thisTurn;
    }
    return ran;
}

void RunLoop::waitLocked(std::unique_lock<std::mutex>& lock, double wallDeadline)
{
    double wait = 0;
    if (!woken_) {
        wait = wallDeadline - Clock::machineSeconds();
        auto clock = Clock::current();
        if (clock->isRealTime() && !entries_.empty()) wait = std::min(wait, entries_.front().due - clock->now());
        wait = std::clamp(wait, 0.0, kLongestWaitSeconds);
    }
    woken_ = false;
    if (auto waiter = waiter_) {
        // Called even when nothing is to be waited for, so that the waiter's
        // own work moves on while the loop is busy. A post between the
        // unlock and the wait interrupts the wait in advance.
        lock.unlock();
        waiter->wait(wait);
        lock.lock();
        return;
    }
    if (wait <= 0) return;
    cv_.wait_for(lock, std::chrono::duration<double>(wait), [this] { return woken_ || stopRequested_; });
    woken_ = false;
}

bool RunLoop::runUntil(const std::function<bool()>& done, double wallTimeoutSeconds)
{
    double deadline = Clock::machineSeconds() + wallTimeoutSeconds;
    for (;;) {
        runOnce();
        if (done()) return true;
        if (Clock::machineSeconds() >= deadline) return false;
        std::unique_lock lock(mutex_);
        if (!entries_.empty() && entries_.front().due <= Clock::currentTime() + kDueTolerance) continue;
        waitLocked(lock, deadline);
    }
}

void RunLoop::run()
{
    for (;;) {
        runOnce();
        std::unique_lock lock(mutex_);
        if (stopRequested_) {
            stopRequested_ = false;
            return;
        }
        if (!entries_.empty() && entries_.front().due <= Clock::currentTime() + kDueTolerance) continue;
        waitLocked(lock, Clock::machineSeconds() + 3600);
    }
}

void RunLoop::stop()
{
    std::shared_ptr<RunLoopWaiter> waiter;
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
        woken_ = true;
        waiter = waiter_;
    }
    notify(waiter);
}

void RunLoop::wake()
{
    std::shared_ptr<RunLoopWaiter> waiter;
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
        waiter = waiter_;
    }
    notify(waiter);
}

void RunLoop::wakeAll()
{
    std::lock_guard lock(registryMutex());
    for (RunLoop* loop : registryInRunLoop()) loop->wake();
}

size_t RunLoop::pendingCount() const
{
    std::lock_guard lock(mutex_);
    return entries_.size();
}

}  // namespace platform
