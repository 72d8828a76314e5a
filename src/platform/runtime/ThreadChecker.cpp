#include "platform/runtime/ThreadChecker.h"

#include <string>

#include "platform/foundation/ProgrammingError.h"
#include "platform/runtime/Thread.h"

namespace platform {
namespace {
void reportWrongThread(const char* where, const std::string& owner)
{
    reportProgrammingError(std::string(where) + " ran on thread \"" + Thread::current()->name() +
                           "\"; it belongs to thread \"" + owner + "\"");
}
}  // namespace

bool checkMainThread(const char* where)
{
    if (Thread::isMainThread()) return true;
    reportWrongThread(where, "main");
    return false;
}

#ifndef NDEBUG
bool ThreadChecker::check(const char* where) const
{
    auto current = Thread::current();
    std::string ownerName;
    {
        std::lock_guard lock(mutex_);
        if (!bound_) {
            owner_ = current;
            ownerName_ = current->name();
            bound_ = true;
            return true;
        }
        if (owner_.lock() == current) return true;
        ownerName = ownerName_;
    }
    reportWrongThread(where, ownerName);
    return false;
}

void ThreadChecker::detach()
{
    std::lock_guard lock(mutex_);
    owner_.reset();
    ownerName_.clear();
    bound_ = false;
}

void ThreadChecker::bind(const std::shared_ptr<Thread>& owner)
{
    std::lock_guard lock(mutex_);
    owner_ = owner;
    ownerName_ = owner ? owner->name() : std::string();
    bound_ = true;
}
#endif

}  // namespace platform
