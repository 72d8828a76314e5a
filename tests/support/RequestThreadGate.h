#pragma once
// Holds a thread inside a task so that what is posted behind it waits.
//
// The state the held task waits on is shared with it, not kept on the
// test's stack: the task still takes the mutex after open() wakes it, which
// may be after the gate is gone.
//
// Thread: made, opened and destroyed on the test's thread.
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/runtime/Thread.h"

namespace testsupport {

class RequestThreadGate {
public:
    explicit RequestThreadGate(const platform::ThreadPtr& thread) : state_(std::make_shared<State>())
    {
        thread->runLoop()->post([state = state_] {
            std::unique_lock lock(state->mutex);
            state->entered = true;
            state->cv.notify_all();
            state->cv.wait(lock, [&] { return state->open; });
        });
        std::unique_lock lock(state_->mutex);
        state_->cv.wait(lock, [this] { return state_->entered; });
    }
    ~RequestThreadGate() { open(); }
    RequestThreadGate(const RequestThreadGate&) = delete;
    RequestThreadGate& operator=(const RequestThreadGate&) = delete;

    void open()
    {
        std::lock_guard lock(state_->mutex);
        state_->open = true;
        state_->cv.notify_all();
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable cv;
        bool entered = false;
        bool open = false;
    };
    std::shared_ptr<State> state_;
};

}  // namespace testsupport
