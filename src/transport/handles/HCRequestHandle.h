#pragma once
// A cancellable handle of one running request, handed to the game by the
// public classes and to pages by the services.
//
// The handle does not keep its request alive: the provider (for signed
// requests) or the HTTP service (for downloads) owns it, and the handle
// forgets it when the request ends. Which kind of request it was is taken
// when the handle is made, so cancel() still knows how to cancel.
//
// Thread: made and cancelled on the caller's thread; the request is cleared
// from whichever thread the request ends on (guarded).
#include <memory>
#include <mutex>

#include "platform/runtime/Object.h"

class HCRequestHandle final : public platform::Object {
public:
    enum class RequestKind { SignedRequest, HttpDownload, Other };

    // The way to make a handle: the registry learns of it at once, so the
    // request's end reaches it even before it is registered with a module.
    static std::shared_ptr<HCRequestHandle> requestHandle(const platform::ObjectPtr& request);
    explicit HCRequestHandle(const platform::ObjectPtr& request);

    // Cancels the request behind the handle: a signed request through its
    // provider, a download at once; nothing when the request already ended.
    // The handle then holds no request.
    void cancel();

    platform::ObjectPtr request() const;
    void setRequest(const platform::ObjectPtr& request);
    RequestKind requestKind() const { return kind_; }

private:
    mutable std::mutex mutex_;
    std::weak_ptr<platform::Object> request_;
    RequestKind kind_;
};

using HCRequestHandlePtr = std::shared_ptr<HCRequestHandle>;
