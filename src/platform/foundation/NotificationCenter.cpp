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
    std::lock_guard lock(mutex_);
    std::erase_if(registrations_, [&](const Registration& r) { return r.observer == observer; });
}

void NotificationCenter::removeObserver(const void* observer, const std::string& name)
{
    std::lock_guard lock(mutex_);
    std::erase_if(registrations_, [&](const Registration& r) { return r.observer == observer && r.name == name; });
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
    for (auto& [id, handler] : targets) {
        // Skip observers removed by an earlier handler of this same post.
        bool stillRegistered;
        {
            std::lock_guard lock(mutex_);
            stillRegistered = std::any_of(registrations_.begin(), registrations_.end(),
                                          [id = id](const Registration& r) { return r.id == id; });
        }
        if (stillRegistered) (*handler)(n);
    }
}

size_t NotificationCenter::observerCount(const std::string& name) const
{
    std::lock_guard lock(mutex_);
    return std::count_if(registrations_.begin(), registrations_.end(), [&](const Registration& r) { return r.name == name; });
}

}  // namespace platform
