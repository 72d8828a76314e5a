#include "platform/runtime/Thread.h"

#include <future>
#include <mutex>

namespace platform {
namespace {
// Every thread holds its own Thread object here for its whole life, teardown
// included, so current() never answers with a second object. A started
// thread's owners hold a separate handle (see start()): dropping the last
// handle stops the thread, which this reference does not prevent.
thread_local std::shared_ptr<Thread> tlsSelf;

// Never destroyed: objects torn down at exit and threads still winding down
// then may post to the main thread.
std::mutex& mainMutex()
{
    static auto* m = new std::mutex;
    return *m;
}
std::shared_ptr<Thread>& mainSlot()
{
    static auto* main = new std::shared_ptr<Thread>;
    return *main;
}
}  // namespace

Thread::Thread(std::string name) : name_(std::move(name)), runLoop_(std::make_shared<RunLoop>()) {}

Thread::~Thread()
{
    if (thread_.joinable()) {
        runLoop_->stop();
        if (thread_.get_id() == std::this_thread::get_id())
            thread_.detach();
        else
            thread_.join();
    }
}

std::shared_ptr<Thread> Thread::current()
{
    if (!tlsSelf) {
        tlsSelf = std::shared_ptr<Thread>(new Thread("thread"));
        tlsSelf->id_ = std::this_thread::get_id();
    }
    return tlsSelf;
}

std::shared_ptr<Thread> Thread::mainThread()
{
    std::lock_guard lock(mainMutex());
    if (!mainSlot()) {
        mainSlot() = current();
        mainSlot()->setName("main");
    }
    return mainSlot();
}

void Thread::adoptCurrentAsMain()
{
    std::lock_guard lock(mainMutex());
    mainSlot() = current();
    mainSlot()->setName("main");
}

std::string Thread::name() const
{
    std::lock_guard lock(nameMutex_);
    return name_;
}

void Thread::setName(std::string name)
{
    std::lock_guard lock(nameMutex_);
    name_ = std::move(name);
}

bool Thread::isMainThread()
{
    return mainThread()->isCurrent();
}

bool Thread::isCurrent() const
{
    return id_ == std::this_thread::get_id();
}

std::shared_ptr<Thread> Thread::start(std::string name)
{
    std::shared_ptr<Thread> self(new Thread(std::move(name)));
    auto ready = std::make_shared<std::promise<void>>();
    auto started = ready->get_future();
    self->thread_ = std::thread([self, ready] {
        tlsSelf = self;
        ready->set_value();
        self->runLoop_->run();
        self->finished_ = true;
        // Nothing pumps the loop from now on: what is pending or posted later
        // (often a release meant for this thread) is let go, not kept.
        self->runLoop_->close();
    });
    self->id_ = self->thread_.get_id();
    started.wait();
    // The owners' handle: the same object, whose last release cancels the
    // thread. The thread's own reference keeps the object alive until its
    // last thread-local is gone.
    return std::shared_ptr<Thread>(self.get(), [self](Thread* t) { t->cancel(); });
}

void Thread::cancel()
{
    runLoop_->stop();
    std::unique_lock lock(joinMutex_);
    if (isCurrent()) {
        // A thread cannot join itself: it lets itself go, and its loop
        // returns once the task that called this ends.
        if (!thread_.joinable()) return;
        thread_.detach();
        finished_ = true;
        return;
    }
    if (joining_) {
        joined_.wait(lock, [this] { return !joining_; });
        return;
    }
    if (!thread_.joinable()) return;
    joining_ = true;
    std::thread running = std::move(thread_);
    lock.unlock();
    running.join();
    lock.lock();
    joining_ = false;
    finished_ = true;
    joined_.notify_all();
}

void performOnMain(std::function<void()> task)
{
    Thread::mainThread()->runLoop()->post(std::move(task));
}

}  // namespace platform
