#pragma once
// Debug-build checks that an object is used on the one thread it belongs to.
//
// A class that lives on one thread holds a ThreadChecker and opens each method
// with HC_CHECK_THREAD(checker_); a class that lives on the main thread opens
// them with HC_CHECK_MAIN_THREAD() and needs no member. A call from another
// thread is reported as a programming error naming the method and both
// threads. When ownership moves to another thread on purpose, detach() lets
// the next check bind to whichever thread makes it, and bind() names the new
// owner outright. In release builds (NDEBUG) the class is empty and the
// macros compile to nothing.
//
// Thread: check() from any thread (answering that question is its job);
// detach() and bind() from the owning thread or while no other thread uses
// the object.
#include <memory>
#ifndef NDEBUG
#include <mutex>
#include <string>
#endif

namespace platform {

class Thread;

class ThreadChecker {
public:
#ifndef NDEBUG
    // Unbound: the first check binds it to the thread that makes it.
    ThreadChecker() = default;
    explicit ThreadChecker(const std::shared_ptr<Thread>& owner) { bind(owner); }
    ThreadChecker(const ThreadChecker&) = delete;
    ThreadChecker& operator=(const ThreadChecker&) = delete;

    // Answers whether the caller runs on the owning thread; when not, reports
    // a programming error naming `where`.
    bool check(const char* where) const;
    void detach();
    void bind(const std::shared_ptr<Thread>& owner);

private:
    mutable std::mutex mutex_;
    mutable std::weak_ptr<Thread> owner_;
    mutable std::string ownerName_;  // kept for the report once the owner ended
    mutable bool bound_ = false;
#else
    ThreadChecker() = default;
    explicit ThreadChecker(const std::shared_ptr<Thread>&) {}
    ThreadChecker(const ThreadChecker&) = delete;
    ThreadChecker& operator=(const ThreadChecker&) = delete;
    bool check(const char*) const { return true; }
    void detach() {}
    void bind(const std::shared_ptr<Thread>&) {}
#endif
};

// Answers whether the caller runs on the main thread; when not, reports a
// programming error naming `where`.
bool checkMainThread(const char* where);

}  // namespace platform

#ifndef NDEBUG
#define HC_CHECK_THREAD(checker) ((void)(checker).check(__PRETTY_FUNCTION__))
#define HC_CHECK_MAIN_THREAD() ((void)::platform::checkMainThread(__PRETTY_FUNCTION__))
#else
#define HC_CHECK_THREAD(checker) ((void)0)
#define HC_CHECK_MAIN_THREAD() ((void)0)
#endif
