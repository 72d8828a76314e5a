#include "platform/foundation/NotificationCenter.h"

#include <algorithm>

namespace platform {

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(const void* observer, const std::string& name, Handler handler, ObjectPtr object)
{
    std::lock_guard lock(mutex_);
    registrations_.push_back(Registration{nextId_++, observer, name, object, object != nullptr,
                                          std::make_shared<Handler>(std::move(handler))});
}

void NotificationCenter::removeObserver(const void* observer)
{
    removeWhere([&](const Registration& r) { return r.observer == observer; });
}

void NotificationCenter::removeObserver(const void* observer, const std::string& name)
{
    removeWhere([&](const Registration& r) { return r.observer == observer && r.name == name; });
}

void NotificationCenter::removeWhere(const std::function<bool(const Registration&)>& match)
{
    std::unique_lock lock(mutex_);
    std::vector<uint64_t> removed;
    std::erase_if(registrations_, [&](const Registration& r) {
        if (!match(r)) return false;
        removed.push_back(r.id);
        return true;
    });
    // A handler of a removed registration still running on another thread
    // ends first; one running on this thread is the caller itself.
    const auto self = std::this_thread::get_id();
    deliveryEnded_.wait(lock, [&] {
        return std::none_of(deliveries_.begin(), deliveries_.end(), [&](const Delivery& d) {
            return d.thread != self && std::find(removed.begin(), removed.end(), d.id) != removed.end();
        });
    });
}

void NotificationCenter::post(const std::string& name, ObjectPtr object, std::shared_ptr<Dictionary> userInfo)
{
    std::vector<std::pair<uint64_t, std::shared_ptr<Handler>>> targets;
    {
        std::lock_guard lock(mutex_);
        for (auto& r : registrations_) {
            if (r.name != name) continue;
            // An observer of one object never hears posts without one, even
            // after that object is gone.
            if (r.filtered && (!object || r.object.lock() != object)) continue;
            targets.emplace_back(r.id, r.handler);
        }
    }
    Notification n{name, std::move(object), std::move(userInfo)};
    const auto self = std::this_thread::get_id();
    for (auto& [id, handler] : targets) {
        {
            // Checked and recorded in one step: a removal either comes first
            // (and the handler is skipped) or waits for this call to end.
            std::lock_guard lock(mutex_);
            auto r = std::find_if(registrations_.begin(), registrations_.end(),
                                  [id = id](const Registration& reg) { return reg.id == id; });
            if (r == registrations_.end()) continue;
            deliveries_.push_back(Delivery{id, self});
        }
        (*handler)(n);
        {
            std::lock_guard lock(mutex_);
            auto d = std::find_if(deliveries_.begin(), deliveries_.end(),
                                  [&, id = id](const Delivery& x) { return x.id == id && x.thread == self; });
            if (d != deliveries_.end()) deliveries_.erase(d);
        }
        deliveryEnded_.notify_all();
    }
}

size_t NotificationCenter::observerCount(const std::string& name) const
{
    std::lock_guard lock(mutex_);
    return std::count_if(registrations_.begin(), registrations_.end(), [&](const Registration& r) { return r.name == name; });
}

}  // namespace platform
