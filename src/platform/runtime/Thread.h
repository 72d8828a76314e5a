#pragma once
// A thread with its run loop.
//
// Every thread the library names (the main thread, the provider's request
// thread, the transport's worker) is a Thread; a thread the library did not
// start gets a Thread object the first time it asks for current(), so identity
// comparisons are always exact.
//
// Thread: all methods may be called from any thread.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/runtime/Object.h"
#include "platform/runtime/RunLoop.h"

namespace platform {

class Thread final : public Object {
public:
    ~Thread() override;

    static std::shared_ptr<Thread> current();
    // The thread the host pumps for UI and callbacks. Bound to the first thread
    // that asks, unless adoptCurrentAsMain() named one earlier.
    static std::shared_ptr<Thread> mainThread();
    static void adoptCurrentAsMain();
    static bool isMainThread();

    // Starts a std::thread that pumps its run loop until cancel() or until
    // the last handle returned here is released. On that thread, current()
    // answers the same object for the thread's whole life.
    static std::shared_ptr<Thread> start(std::string name);

    const std::shared_ptr<RunLoop>& runLoop() const { return runLoop_; }
    std::string name() const;
    bool isCurrent() const;

    // Stops the run loop of a started thread and joins it (unless called from
    // that very thread, in which case it detaches once the loop returns).
    // Callers on other threads that cancel at the same time all return only
    // once the thread has ended.
    void cancel();
    bool isFinished() const { return finished_.load(); }

private:
    explicit Thread(std::string name);
    void setName(std::string name);

    mutable std::mutex nameMutex_;
    std::string name_;
    std::shared_ptr<RunLoop> runLoop_;
    std::thread thread_;
    std::thread::id id_;
    std::atomic<bool> finished_{false};
    // Guards thread_ between concurrent cancel() calls; never held while joining.
    std::mutex joinMutex_;
    std::condition_variable joined_;
    bool joining_ = false;
};

using ThreadPtr = std::shared_ptr<Thread>;

// Posts the task to the main thread's run loop.
void performOnMain(std::function<void()> task);

}  // namespace platform
