#pragma once
// Named notifications, delivered synchronously on the posting thread.
//
// Observers are identified by an opaque pointer (usually `this`) so they can
// be removed all at once or by name. An observer may remove itself, or add
// others, while being notified.
//
// Thread: any thread; callbacks run on the thread that posts. Once
// removeObserver() returns, no handler of that observer runs or starts on
// another thread (it waits for one running there), so the observer may go.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/Values.h"

namespace platform {

struct Notification {
    std::string name;
    ObjectPtr object;
    std::shared_ptr<Dictionary> userInfo;
};

class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    // `object` non-null: only notifications posted with that same object reach the handler.
    void addObserver(const void* observer, const std::string& name, Handler handler, ObjectPtr object = nullptr);
    void removeObserver(const void* observer);
    void removeObserver(const void* observer, const std::string& name);
    void post(const std::string& name, ObjectPtr object = nullptr, std::shared_ptr<Dictionary> userInfo = nullptr);
    size_t observerCount(const std::string& name) const;

private:
    struct Registration {
        uint64_t id;
        const void* observer;
        std::string name;
        std::weak_ptr<Object> object;
        bool filtered;
        std::shared_ptr<Handler> handler;
    };
    struct Delivery {
        uint64_t id;
        std::thread::id thread;
    };
    void removeWhere(const std::function<bool(const Registration&)>& match);

    mutable std::mutex mutex_;
    std::condition_variable deliveryEnded_;
    std::vector<Registration> registrations_;
    std::vector<Delivery> deliveries_;  // handlers running now
    uint64_t nextId_ = 0;
};

}  // namespace platform
