#pragma once
// A process-wide slot (a hook, a sink, an installed object) that one thread
// sets while others read it. get() hands out a copy, so a caller can run a
// hook without holding the lock while the hook runs.
//
// Thread: any thread.
#include <mutex>
#include <utility>

namespace platform {

template <class T>
class Guarded {
public:
    Guarded() = default;
    explicit Guarded(T initial) : value_(std::move(initial)) {}

    T get() const
    {
        std::lock_guard lock(mutex_);
        return value_;
    }
    void set(T value)
    {
        std::lock_guard lock(mutex_);
        value_ = std::move(value);
    }

private:
    mutable std::mutex mutex_;
    T value_{};
};

}  // namespace platform
