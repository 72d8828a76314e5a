#pragma once
// A lock that carries an integer condition, so a thread can wait until the
// condition has a given value (for instance "no work queued or running").
//
// Thread: any thread; lock and unlock on the same thread.
#include <condition_variable>
#include <mutex>

namespace platform {

class ConditionLock {
public:
    explicit ConditionLock(int condition = 0) : condition_(condition) {}

    void lock();
    // Waits for the condition at most `wallTimeoutSeconds` of real time (this
    // waits for other threads' work, not for clock time). False on time-out,
    // in which case the lock is not held.
    bool lockWhenCondition(int condition, double wallTimeoutSeconds);
    void unlockWithCondition(int condition);
    int condition() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool locked_ = false;
    int condition_;
};

}  // namespace platform
