#pragma once
// The client's one callback value: a retained target, a method, an optional
// extra argument (a user object or a chained next callback) and the thread on
// which the call is delivered (the main thread unless one is given).
//
// invoke() never calls the target before it returns: the call is posted to the
// delivery thread's run loop, and at delivery the target is skipped when it is
// an HCCallbackable that answers canReceiveCallbacksNow() == false. Two ways
// deliver inside the call instead, for answers that are known before a call
// returns (a refusal, a value held locally): invokeNow(), and invoke() of a
// delegate named by an HCDelegate::DeliverNow that is alive on the thread.
// Both keep the thread rule: only on the delivery thread is the target called
// at once; from any other thread they post, as invoke() does.
//
// The delegate release rule: what a delegate retains (target, extra argument,
// closure) is released on the delivery thread. Copies share one state; when
// the last copy goes on another thread (a loader ending on the request
// thread), the release is posted to the delivery thread, so a page whose
// request outlived it is destroyed on the main thread, not the request thread.
//
// A non-nil parameter (or extra argument) that is not of the method's type is
// a programming error, reported naming both types; the method then gets nil.
//
// Thread: an HCDelegate is a value; copy it freely and invoke it from any
// thread. The target's method runs on the delivery thread.
#include <functional>
#include <initializer_list>
#include <memory>
#include <typeinfo>
#include <vector>

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

    // Schedules the call on the delivery thread and returns at once (unless a
    // DeliverNow names this delegate on its delivery thread).
    void invoke(const platform::ObjectPtr& param = nullptr) const;
    // On the delivery thread: calls the target now (after the same
    // canReceiveCallbacksNow test); elsewhere: invoke().
    void invokeNow(const platform::ObjectPtr& param = nullptr) const;

    // While it lives, invoke() of the named delegates (or any copy of them)
    // on this thread, when it is their delivery thread, acts as invokeNow().
    // The caller of a service opens one around the call so that an answer the
    // service gives before returning (a refusal) arrives before the call
    // returns. Lives on the thread that made it; not copied or moved.
    class DeliverNow {
    public:
        explicit DeliverNow(std::initializer_list<HCDelegate> delegates);
        ~DeliverNow();
        DeliverNow(const DeliverNow&) = delete;
        DeliverNow& operator=(const DeliverNow&) = delete;

    private:
        // Held so that the named states outlive the scope.
        std::vector<HCDelegate> delegates_;
    };

    bool isEmpty() const { return !state_; }
    explicit operator bool() const { return !isEmpty(); }
    platform::ObjectPtr target() const { return state_ ? state_->target : nullptr; }
    platform::ObjectPtr extra() const { return state_ ? state_->extra : nullptr; }
    // The delivery thread (the main thread when none was given).
    platform::ThreadPtr thread() const;

private:
    // Shared by every copy; its destructor carries out the release rule.
    struct State {
        State(platform::ObjectPtr target, Call call, platform::ObjectPtr extra, platform::ThreadPtr thread)
            : target(std::move(target)), call(std::move(call)), extra(std::move(extra)), thread(std::move(thread))
        {
        }
        State(const State&) = delete;
        State& operator=(const State&) = delete;
        ~State();

        platform::ObjectPtr target;
        Call call;
        platform::ObjectPtr extra;
        platform::ThreadPtr thread;
    };

    // `value` cast to P; a non-nil value of another type is reported.
    template <class P>
    static std::shared_ptr<P> cast(const platform::ObjectPtr& value, const platform::Object& target, const char* role)
    {
        auto typed = std::dynamic_pointer_cast<P>(value);
        if (value && !typed) {
            const platform::Object& actual = *value;
            reportWrongType(target, role, typeid(P), typeid(actual));
        }
        return typed;
    }
    static void reportWrongType(const platform::Object& target, const char* role, const std::type_info& expected,
                                const std::type_info& actual);

    template <class T, class P>
    static Call adapt(void (T::*method)(std::shared_ptr<P>))
    {
        return [method](platform::Object& target, const platform::ObjectPtr& param, const platform::ObjectPtr&) {
            (static_cast<T&>(target).*method)(cast<P>(param, target, "parameter"));
        };
    }
    template <class T, class P, class U>
    static Call adapt(void (T::*method)(std::shared_ptr<P>, std::shared_ptr<U>))
    {
        return [method](platform::Object& target, const platform::ObjectPtr& param, const platform::ObjectPtr& extra) {
            (static_cast<T&>(target).*method)(cast<P>(param, target, "parameter"),
                                              cast<U>(extra, target, "extra argument"));
        };
    }

    std::shared_ptr<const State> state_;
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
