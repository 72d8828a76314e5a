#include "transport/handles/HCRequestHandlesForModule.h"

#include <mutex>
#include <optional>

#include "kernel/http/HCHttpService.h"

namespace {

struct Registry {
    std::mutex mutex;
    // nullopt: the registry does not exist (never created, or emptied by a cancel).
    std::optional<std::vector<std::shared_ptr<HCRequestHandlesForModule>>> entries;
    // Handles made and not (yet) registered: a request may end before its
    // handle is registered, and its end must still reach the handle.
    std::vector<std::weak_ptr<HCRequestHandle>> unregistered;
};

Registry& registry()
{
    static Registry r;
    return r;
}

}  // namespace

void HCRequestHandlesForModule::handleMade(const HCRequestHandlePtr& handle)
{
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    std::erase_if(r.unregistered, [](const auto& weak) { return weak.expired(); });
    r.unregistered.push_back(handle);
}

void HCRequestHandlesForModule::addHandle(const HCRequestHandlePtr& handle, const std::string& module)
{
    if (!handle) return;
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    std::erase_if(r.unregistered, [&](const auto& weak) { return weak.expired() || weak.lock() == handle; });
    // Its request already ended (or is gone): nothing would ever take it out.
    if (!handle->request()) return;
    if (!r.entries) {
        r.entries.emplace();
        r.entries->reserve(64);
    }
    for (auto& entry : *r.entries) {
        // Handles whose request is gone without a reported end go now.
        std::erase_if(entry->handles_, [](const HCRequestHandlePtr& h) { return !h->request(); });
    }
    for (auto& entry : *r.entries) {
        if (entry->module_ == module) {
            entry->handles_.push_back(handle);
            return;
        }
    }
    auto entry = std::make_shared<HCRequestHandlesForModule>(module);
    entry->handles_.reserve(8);
    entry->handles_.push_back(handle);
    r.entries->push_back(std::move(entry));
}

void HCRequestHandlesForModule::completeRequest(const platform::ObjectPtr& request)
{
    auto& r = registry();
    std::vector<HCRequestHandlePtr> finished;
    {
        std::lock_guard lock(r.mutex);
        std::erase_if(r.unregistered, [&](const std::weak_ptr<HCRequestHandle>& weak) {
            auto h = weak.lock();
            if (h && h->request() != request) return false;
            if (h) finished.push_back(h);
            return true;
        });
        if (r.entries) {
            for (auto& entry : *r.entries) {
                std::erase_if(entry->handles_, [&](const HCRequestHandlePtr& h) {
                    if (h->request() != request) return false;
                    finished.push_back(h);
                    return true;
                });
            }
        }
    }
    // Cleared outside the registry lock: a handle has a lock of its own.
    for (auto& h : finished) h->setRequest(nullptr);
}

void HCRequestHandlesForModule::cancelAllRequestsForModule(const std::string& module)
{
    auto& r = registry();
    std::vector<HCRequestHandlePtr> dropped;
    {
        std::lock_guard lock(r.mutex);
        if (!r.entries) return;
        std::erase_if(*r.entries, [&](const std::shared_ptr<HCRequestHandlesForModule>& e) {
            if (e->module_ != module) return false;
            dropped.insert(dropped.end(), e->handles_.begin(), e->handles_.end());
            return true;
        });
        if (r.entries->empty()) r.entries.reset();
    }
    // A module forgets its requests when its delegate goes away; an answer
    // that still arrived would reach whichever delegate the module has next.
    // Cancelled outside the lock: a cancelled loader reports its own end here.
    for (auto& handle : dropped) handle->cancel();
}

std::optional<std::vector<std::pair<std::string, std::vector<HCRequestHandlePtr>>>>
HCRequestHandlesForModule::snapshot()
{
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    if (!r.entries) return std::nullopt;
    std::vector<std::pair<std::string, std::vector<HCRequestHandlePtr>>> out;
    for (auto& e : *r.entries) out.emplace_back(e->module_, e->handles_);
    return out;
}
