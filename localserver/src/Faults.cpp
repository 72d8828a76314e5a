#include "localserver/Faults.h"

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
    return !wake_.wait_for(lock, delay, [this] { return interrupted_; });
}

bool Faults::waitUntilReleased()
{
    std::unique_lock lock(mutex_);
    ++held_;
    wake_.wait(lock, [this] { return interrupted_ || releases_ > 0; });
    --held_;
    if (interrupted_) {
        return false;
    }
    --releases_;
    return true;
}

std::size_t Faults::heldCount() const
{
    std::lock_guard lock(mutex_);
    return held_;
}

void Faults::releaseHeld(std::size_t count)
{
    {
        std::lock_guard lock(mutex_);
        releases_ += count;
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
    }
    wake_.notify_all();
}

void Faults::allowWaits()
{
    std::lock_guard lock(mutex_);
    interrupted_ = false;
}

}  // namespace localserver
