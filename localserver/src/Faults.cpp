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

std::optional<Faults::Taken> Faults::take(const std::string& method, const std::string& path,
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
        Taken taken{it->fault};
        if (it->remaining > 0 && --it->remaining == 0) {
            armed_.erase(it);
        }
        // Interrupted, its wait would end at once: it claims nothing, so
        // that a release given later goes to a request that can use it.
        if (taken.fault.held && !interrupted_) {
            const Claim claim{++lastHold_, earlyReleases_ > 0};
            if (claim.released) {
                --earlyReleases_;
            }
            claims_.push_back(claim);
            taken.hold = claim.hold;
        }
        return taken;
    }
    return std::nullopt;
}

bool Faults::wait(std::chrono::milliseconds delay)
{
    std::unique_lock lock(mutex_);
    const std::size_t begun = interruptions_;
    return !wake_.wait_for(lock, delay, [&] { return interrupted_ || interruptions_ != begun; });
}

bool Faults::waitUntilReleased(std::uint64_t hold)
{
    std::unique_lock lock(mutex_);
    const auto claim = std::find_if(claims_.begin(), claims_.end(), [hold](const Claim& c) { return c.hold == hold; });
    if (claim == claims_.end()) {
        return false;  // an interrupt came after the hold was taken, or before
    }
    const bool released = claim->released;
    claims_.erase(claim);
    if (released) {
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
        std::size_t left = count - toWaiting;
        for (auto& claim : claims_) {
            if (left > 0 && !claim.released) {
                claim.released = true;
                --left;
            }
        }
        earlyReleases_ += left;
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
        // Every waiter leaves, released or not; none counts as held any more,
        // and a request on its way to wait will find its claim gone.
        held_ = 0;
        releasedHeld_ = 0;
        claims_.clear();
    }
    wake_.notify_all();
}

void Faults::allowWaits()
{
    std::lock_guard lock(mutex_);
    interrupted_ = false;
}

}  // namespace localserver
