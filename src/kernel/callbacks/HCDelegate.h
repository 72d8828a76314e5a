#pragma once
// The client's one callback value: a retained target, a method, an optional
// extra argument (a user object or a chained next callback) and the thread on
// which the call is delivered (the main thread unless one is given).
//
// invoke() never calls the target before it returns: the call is posted to the
// delivery thread's run loop, and at delivery the target is skipped when it is
// an HCCallbackable that answers canReceiveCallbacksNow() == false.
//
// Thread: an HCDelegate is a value; copy it freely and invoke it from any
// thread. The target's method runs on the delivery thread.
#include <functional>
#include <memory>

#include "kernel/callbacks/HCCallbackable.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Thread.h"

class HCDelegateChained;

class HCDelegate {
public:
    using Call = std::function<void(platform::Object& target, const platform::ObjectPtr& param,
                                    const platform::ObjectPtr& extra)>;

    // Empty: invoking it does nothing.
    HCDelegate() = default;

    // target->method(param), on `thread` (the main thread when nullptr).
    template <class T, class P>
    HCDelegate(std::shared_ptr<T> target, void (T::*method)(std::shared_ptr<P>), platform::ThreadPtr thread = nullptr)
        : HCDelegate(std::move(target), adapt(method), nullptr, std::move(thread))
    {
    }

    // target->method(param, chained) where `chained` boxes `next`: a step of a
    // chain that hands its result on with chained->invokeWith(result).
    template <class T, class P>
    HCDelegate(std::shared_ptr<T> target, void (T::*method)(std::shared_ptr<P>, std::shared_ptr<HCDelegateChained>),
               const HCDelegate& next, platform::ThreadPtr thread = nullptr);

    // target->method(param, userObject).
    template <class T, class P, class U>
    HCDelegate(std::shared_ptr<T> target, void (T::*method)(std::shared_ptr<P>, std::shared_ptr<U>),
               platform::ObjectPtr userObject, platform::ThreadPtr thread = nullptr)
        : HCDelegate(std::move(target), adapt(method), std::move(userObject), std::move(thread))
    {
    }

    // A closure with an optional target: the target (when given) is retained
    // and still asked canReceiveCallbacksNow() at delivery.
    static HCDelegate withFunction(std::function<void(const platform::ObjectPtr&)> fn,
                                   platform::ObjectPtr target = nullptr, platform::ThreadPtr thread = nullptr);

    HCDelegate(platform::ObjectPtr target, Call call, platform::ObjectPtr extra, platform::ThreadPtr thread);

    // Schedules the call on the delivery thread and returns at once.
    void invoke(const platform::ObjectPtr& param = nullptr) const;

    bool isEmpty() const { return !call_; }
    explicit operator bool() const { return !isEmpty(); }
    const platform::ObjectPtr& target() const { return target_; }
    const platform::ObjectPtr& extra() const { return extra_; }
    // The delivery thread (the main thread when none was given).
    platform::ThreadPtr thread() const;

private:
    template <class T, class P>
    static Call adapt(void (T::*method)(std::shared_ptr<P>))
    {
        return [method](platform::Object& target, const platform::ObjectPtr& param, const platform::ObjectPtr&) {
            (static_cast<T&>(target).*method)(std::dynamic_pointer_cast<P>(param));
        };
    }
    template <class T, class P, class U>
    static Call adapt(void (T::*method)(std::shared_ptr<P>, std::shared_ptr<U>))
    {
        return [method](platform::Object& target, const platform::ObjectPtr& param, const platform::ObjectPtr& extra) {
            (static_cast<T&>(target).*method)(std::dynamic_pointer_cast<P>(param), std::dynamic_pointer_cast<U>(extra));
        };
    }

    platform::ObjectPtr target_;
    Call call_;
    platform::ObjectPtr extra_;
    platform::ThreadPtr thread_;
};

// A callback boxed as an object, handed to a chained step.
// Thread: any; invoking defers like HCDelegate::invoke.
class HCDelegateChained final : public platform::Object {
public:
    explicit HCDelegateChained(HCDelegate delegate) : delegate_(std::move(delegate)) {}
    static std::shared_ptr<HCDelegateChained> make(HCDelegate delegate)
    {
        return std::make_shared<HCDelegateChained>(std::move(delegate));
    }

    // Calls the boxed callback with nil.
    void invoke() const { delegate_.invoke(nullptr); }
    void invokeWith(const platform::ObjectPtr& object) const { delegate_.invoke(object); }
    const HCDelegate& delegate() const { return delegate_; }

private:
    HCDelegate delegate_;
};

template <class T, class P>
HCDelegate::HCDelegate(std::shared_ptr<T> target,
                       void (T::*method)(std::shared_ptr<P>, std::shared_ptr<HCDelegateChained>), const HCDelegate& next,
                       platform::ThreadPtr thread)
    : HCDelegate(std::move(target), adapt(method), HCDelegateChained::make(next), std::move(thread))
{
}
