#pragma once
// The one delegate of a public class (HCUser, HCCloudStorage, HCTimeStamp
// ...) and the bookkeeping that every operation of such a class shares.
//
// A public class C keeps one file-scope HCClassDelegate<CDelegate>, named
// after C (the "module" of its request handles), and follows four rules:
//
//  - C::setDelegate(d) is set(d). The delegate is not retained. Setting nil
//    cancels every request C started that is still registered, and an
//    outcome already on its way is dropped: it never reaches a delegate
//    set later.
//  - An operation asks callbacks() for its success and failure HCDelegates,
//    passes them to its service, and returns track(handle): the handle is
//    registered under C, or nil when the service started nothing.
//  - An answer the service gives before it returns (a refusal, a value it
//    holds) reaches the delegate before the operation returns, on the
//    caller's thread: the callbacks deliver at once for as long as the
//    operation holds them (they go when the operation returns). Answers of
//    a request arrive on a later turn of the main run loop.
//  - Its steps (run on the main thread) report through notify(ticket, ...),
//    which calls the delegate method only when a delegate is set, it was
//    not cleared since the operation began, and it implements the method.
//  - C and its instances answer YES to canReceiveCallbacksNow.
//
//     namespace { HCClassDelegate<HCFooDelegate> sDelegate("HCFoo"); }
//     void HCFoo::setDelegate(HCFooDelegate* d) { sDelegate.set(d); }
//     HCRequestHandlePtr HCFoo::getBar()
//     {
//         auto cb = sDelegate.callbacks(nullptr,
//             [](auto ticket, const platform::ObjectPtr& series) { ... sDelegate.notify(ticket,
//                  [&](HCFooDelegate& d) { d.didGetBar(bar); }); },
//             [](auto ticket) { sDelegate.notify(ticket, [](HCFooDelegate& d) { d.didFailGetBar(); }); });
//         return sDelegate.track(HCFooService::getBar(cb.success, cb.failure));
//     }
//
// Thread: main. The object is a plain static with nothing to destroy, so a
// late callback at exit still finds it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "kernel/callbacks/HCDelegate.h"
#include "platform/runtime/OptionalMethods.h"
#include "platform/runtime/ThreadChecker.h"
#include "transport/handles/HCRequestHandle.h"
#include "transport/handles/HCRequestHandlesForModule.h"

// The success and failure callbacks of one public operation, held by the
// operation while it runs: until then the two deliver inside the call.
struct HCOperationCallbacks {
    HCDelegate success;
    HCDelegate failure;
    std::unique_ptr<HCDelegate::DeliverNow> deliverNow;
};

template <class D>
class HCClassDelegate {
public:
    // Which delegate generation an operation was started under.
    using Ticket = uint64_t;
    using SuccessStep = std::function<void(Ticket, const platform::ObjectPtr& result)>;
    using FailureStep = std::function<void(Ticket)>;
    // A failure step that reads what the service failed with (a status).
    using FailureObjectStep = std::function<void(Ticket, const platform::ObjectPtr& failure)>;

    constexpr explicit HCClassDelegate(const char* module) : module_(module) {}
    HCClassDelegate(const HCClassDelegate&) = delete;
    HCClassDelegate& operator=(const HCClassDelegate&) = delete;

    void set(D* delegate)
    {
        HC_CHECK_MAIN_THREAD();
        delegate_ = delegate;
        if (delegate == nullptr) {
            ++generation_;
            HCRequestHandlesForModule::cancelAllRequestsForModule(module_);
        }
    }
    D* get() const
    {
        HC_CHECK_MAIN_THREAD();
        return delegate_;
    }
    const char* module() const { return module_; }
    Ticket ticket() const { return generation_; }

    // Callbacks on the main thread for an operation starting now. `target`
    // is the instance for an instance operation (kept alive until the
    // callback ran) and nil for a class operation.
    HCOperationCallbacks callbacks(platform::ObjectPtr target, SuccessStep onSuccess, FailureStep onFailure) const
    {
        return callbacksWithFailureObject(
            std::move(target), std::move(onSuccess),
            [onFailure = std::move(onFailure)](Ticket started, const platform::ObjectPtr&) { onFailure(started); });
    }
    HCOperationCallbacks callbacksWithFailureObject(platform::ObjectPtr target, SuccessStep onSuccess,
                                                    FailureObjectStep onFailure) const
    {
        HC_CHECK_MAIN_THREAD();
        const Ticket started = ticket();
        HCOperationCallbacks made{
            HCDelegate::withFunction(
                [started, onSuccess = std::move(onSuccess)](const platform::ObjectPtr& result) { onSuccess(started, result); },
                target),
            HCDelegate::withFunction(
                [started, onFailure = std::move(onFailure)](const platform::ObjectPtr& failure) { onFailure(started, failure); },
                target),
            nullptr};
        made.deliverNow = std::make_unique<HCDelegate::DeliverNow>(std::initializer_list<HCDelegate>{made.success, made.failure});
        return made;
    }

    // Registers the handle under the module; nil stays nil and is not registered.
    HCRequestHandlePtr track(HCRequestHandlePtr handle) const
    {
        HCRequestHandlesForModule::addHandle(handle, module_);
        return handle;
    }

    // Calls `call(delegate)` when the operation's delegate is still there
    // and implements the method; answers whether it was called.
    template <class F>
    bool notify(Ticket started, F&& call) const
    {
        HC_CHECK_MAIN_THREAD();
        D* delegate = delegate_;
        if (delegate == nullptr || started != generation_) return false;
        return platform::callOptional([&] { call(*delegate); });
    }

private:
    const char* module_;
    D* delegate_ = nullptr;
    Ticket generation_ = 0;
};
