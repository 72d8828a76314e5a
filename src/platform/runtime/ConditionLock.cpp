#include "platform/runtime/ConditionLock.h"

#include <chrono>

namespace platform {

void ConditionLock::lock()
{
    std::unique_lock guard(mutex_);
    changed_.wait(guard, [this] { return !locked_; });
    locked_ = true;
}

bool ConditionLock::lockWhenCondition(int condition, double wallTimeoutSeconds)
{
    std::unique_lock guard(mutex_);
    bool ok = changed_.wait_for(guard, std::chrono::duration<double>(wallTimeoutSeconds),
                                [&] { return !locked_ && condition_ == condition; });
    if (ok) locked_ = true;
    return ok;
}

void ConditionLock::unlockWithCondition(int condition)
{
    {
        std::lock_guard guard(mutex_);
        condition_ = condition;
        locked_ = false;
    }
    changed_.notify_all();
}

int ConditionLock::condition() const
{
    std::lock_guard guard(mutex_);
    return condition_;
}

}  // namespace platform
