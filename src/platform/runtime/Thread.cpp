#include "platform/runtime/Thread.h"

#include <future>
#include <mutex>

namespace platform {
namespace {
// A started thread is owned by whoever holds its Thread; the thread itself keeps
// only a weak reference so that dropping the last owner stops it. Threads the
// library did not start own their Thread object here.
thread_local std::weak_ptr<Thread> tlsStarted;
thread_local std::shared_ptr<Thread> tlsAdopted;

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
    if (auto started = tlsStarted.lock()) return started;
    if (!tlsAdopted) {
        tlsAdopted = std::shared_ptr<Thread>(new Thread("thread"));
        tlsAdopted->id_ = std::this_thread::get_id();
    }
    return tlsAdopted;
}

std::shared_ptr<Thread> Thread::mainThread()
{
    std::lock_guard lock(mainMutex());
    if (!mainSlot()) {
        mainSlot() = current();
        mainSlot()->name_ = "main";
    }
    return mainSlot();
}

void Thread::adoptCurrentAsMain()
{
    std::lock_guard lock(mainMutex());
    mainSlot() = current();
    mainSlot()->name_ = "main";
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
    std::shared_ptr<Thread> t(new Thread(std::move(name)));
    auto ready = std::make_shared<std::promise<void>>();
    auto started = ready->get_future();
    std::weak_ptr<Thread> weak = t;
    t->thread_ = std::thread([weak, ready, loop = t->runLoop_] {
        tlsStarted = weak;
        ready->set_value();
        loop->run();
        if (auto s = weak.lock()) s->finished_ = true;
    });
    t->id_ = t->thread_.get_id();
    started.wait();
    return t;
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
