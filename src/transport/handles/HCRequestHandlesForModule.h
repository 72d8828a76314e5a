#pragma once
// The process-wide registry of live request handles, grouped by the public
// class ("module") that started them, so that a class can cancel all of its
// requests at once when its delegate goes away.
//
// Entries keep the order in which their modules first registered; an entry
// stays when its last handle leaves, and the registry itself disappears only
// when cancelAllRequestsForModule() empties it.
//
// Thread: handles are added on the caller's thread and completed on the
// thread where the request ends (often the provider's request thread); one
// mutex serialises every access.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/Object.h"
#include "transport/handles/HCRequestHandle.h"

class HCRequestHandlesForModule final : public platform::Object {
public:
    HCRequestHandlesForModule(std::string module) : module_(std::move(module)) {}

    const std::string& module() const { return module_; }
    const std::vector<HCRequestHandlePtr>& handles() const { return handles_; }

    // A nil handle is ignored, and so is one whose request already ended;
    // registered handles whose request is gone are dropped on the way.
    static void addHandle(const HCRequestHandlePtr& handle, const std::string& module);
    // Clears the request of every handle that carries it, registered or not,
    // and drops those handles.
    static void completeRequest(const platform::ObjectPtr& request);
    // Every new handle is noted here (HCRequestHandle::requestHandle does it),
    // so that a request ending before its handle is registered still clears it.
    static void handleMade(const HCRequestHandlePtr& handle);
    // Forgets the module's handles and cancels their requests: no callback
    // of them follows.
    static void cancelAllRequestsForModule(const std::string& module);

    // What the registry holds now, for inspection: nullopt while it does not exist.
    static std::optional<std::vector<std::pair<std::string, std::vector<HCRequestHandlePtr>>>> snapshot();

private:
    std::string module_;
    std::vector<HCRequestHandlePtr> handles_;
};
