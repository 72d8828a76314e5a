#include "localserver/Faults.h"

#include <algorithm>

namespace localserver {

Fault Fault::reply(int status, std::string body, std::string contentType)
{
    Fault fault;
    fault.status = status;
    fault.body = std::move(body);
    fault.contentType = std::move(contentType);
    return fault;
}

Fault Fault::trickled(std::chrono::milliseconds interval, int status, std::string body, std::string contentType)
{
    Fault fault = reply(status, std::move(body), std::move(contentType));
    fault.trickle = interval;
    return fault;
}

Fault Fault::dropConnection()
{
    Fault fault;
    fault.drop = true;
    return fault;
}

Fault Fault::delayed(std::chrono::milliseconds delay)
{
    return delayed(delay, Fault{});
}

Fault Fault::delayed(std::chrono::milliseconds delay, Fault then)
{
    then.delay = delay;
    return then;
}

Fault Fault::heldBack()
{
    return heldBack(Fault{});
}

Fault Fault::heldBack(Fault then)
{
    then.held = true;
    return then;
}

void Faults::injectNext(const Fault& fault, int count)
{
    if (count == 0) {
        return;
    }
    std::lock_guard lock(mutex_);
    armed_.push_back(Armed{"", std::nullopt, std::nullopt, fault, count});
}

void Faults::injectFor(const std::string& method, const std::string& path, const Fault& fault, int count)
{
    if (count == 0) {
        return;
    }
    std::lock_guard lock(mutex_);
    armed_.push_back(Armed{method, path, std::nullopt, fault, count});
}

void Faults::injectWhere(const std::string& method, const std::string& path, const std::string& name,
                         const std::optional<std::string>& value, const Fault& fault, int count)
{
    if (count == 0) {
        return;
    }
    std::lock_guard lock(mutex_);
    armed_.push_back(Armed{method, path, std::make_pair(name, value), fault, count});
}

void Faults::clear()
{
    std::lock_guard lock(mutex_);
    armed_.clear();
    earlyReleases_ = 0;
}

std::size_t Faults::pending() const
{
    std::lock_guard lock(mutex_);
    return armed_.size();
}

std::optional<Fault> Faults::take(const std::string& method, const std::string& path,
                                  const std::function<std::optional<std::string>(const std::string&)>& param)
{
    std::lock_guard lock(mutex_);
    for (auto it = armed_.begin(); it != armed_.end(); ++it) {
        if ((!it->method.empty() && it->method != method) || (it->path && *it->path != path)) {
            continue;
        }
        if (it->param && (param ? param(it->param->first) : std::nullopt) != it->param->second) {
            continue;
        }
        Fault fault = it->fault;
        if (it->remaining > 0 && --it->remaining == 0) {
            armed_.erase(it);
        }
        return fault;
    }
    return std::nullopt;
}

bool Faults::wait(std::chrono::milliseconds delay)
{
    std::unique_lock lock(mutex_);
    const std::size_t begun = interruptions_;
    return !wake_.wait_for(lock, delay, [&] { return interrupted_ || interruptions_ != begun; });
}

bool Faults::waitUntilReleased()
{
    std::unique_lock lock(mutex_);
    if (interrupted_) {
        return false;
    }
    if (earlyReleases_ > 0) {
        --earlyReleases_;
        return true;
    }
    const std::size_t begun = interruptions_;
    ++held_;
    wake_.wait(lock, [&] { return interruptions_ != begun || releasedHeld_ > 0; });
    if (interruptions_ != begun) {
        return false;  // the interrupt let go of this wait's count
    }
    --held_;
    --releasedHeld_;
    return true;
}

std::size_t Faults::heldCount() const
{
    std::lock_guard lock(mutex_);
    return held_ - releasedHeld_;
}

void Faults::releaseHeld(std::size_t count)
{
    {
        std::lock_guard lock(mutex_);
        const std::size_t toWaiting = std::min(count, held_ - releasedHeld_);
        releasedHeld_ += toWaiting;
        earlyReleases_ += count - toWaiting;
    }
    wake_.notify_all();
}

bool Faults::paceTrickle(std::chrono::milliseconds interval)
{
    if (!wait(interval)) {
        return false;
    }
    std::lock_guard lock(mutex_);
    ++trickledBytes_;
    return true;
}

std::size_t Faults::trickledBytes() const
{
    std::lock_guard lock(mutex_);
    return trickledBytes_;
}

void Faults::interruptWaits()
{
    {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
        ++interruptions_;
        // Every waiter leaves, released or not; none counts as held any more.
        held_ = 0;
        releasedHeld_ = 0;
    }
    wake_.notify_all();
}

void Faults::allowWaits()
{
    std::lock_guard lock(mutex_);
    interrupted_ = false;
}

}  // namespace localserver
