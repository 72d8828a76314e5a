#include "localserver/RequestLog.h"

namespace localserver {

std::size_t RequestLog::append(const Request& request)
{
    std::size_t index;
    {
        std::lock_guard lock(mutex_);
        if (capacity_ != 0 && entries_.size() >= capacity_) {
            // The oldest goes; a vector keeps snapshots cheap for the tests,
            // which never set a capacity.
            entries_.erase(entries_.begin());
            ++cleared_;
        }
        entries_.push_back(LoggedRequest{request, 0, false});
        index = cleared_ + entries_.size() - 1;
    }
    grew_.notify_all();
    return index;
}

void RequestLog::finish(std::size_t index, int status, bool dropped)
{
    std::lock_guard lock(mutex_);
    if (index < cleared_ || index - cleared_ >= entries_.size()) {
        return;  // cleared meanwhile
    }
    entries_[index - cleared_].status = status;
    entries_[index - cleared_].dropped = dropped;
}

std::vector<LoggedRequest> RequestLog::entries() const
{
    std::lock_guard lock(mutex_);
    return entries_;
}

std::size_t RequestLog::size() const
{
    std::lock_guard lock(mutex_);
    return entries_.size();
}

void RequestLog::clear()
{
    std::lock_guard lock(mutex_);
    cleared_ += entries_.size();
    entries_.clear();
}

bool RequestLog::waitForSize(std::size_t count, std::chrono::milliseconds bound) const
{
    std::unique_lock lock(mutex_);
    return grew_.wait_for(lock, bound, [&] { return entries_.size() >= count; });
}

}  // namespace localserver
