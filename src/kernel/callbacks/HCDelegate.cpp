#include "kernel/callbacks/HCDelegate.h"

#include "kernel/resources/HCResourceClassName.h"
#include "platform/foundation/ProgrammingError.h"

#include <algorithm>

namespace {

// The states named by the DeliverNow scopes alive on this thread.
thread_local std::vector<const void*> tDeliverNow;

}  // namespace

HCDelegate::HCDelegate(platform::ObjectPtr target, Call call, platform::ObjectPtr extra, platform::ThreadPtr thread)
{
    if (!call) return;
    state_ = std::make_shared<const State>(std::move(target), std::move(call), std::move(extra), std::move(thread));
}

HCDelegate::State::~State()
{
    platform::ThreadPtr delivery = thread ? thread : platform::Thread::mainThread();
    if (delivery->isCurrent()) return;
    // Moved into a task that ends on the delivery thread: the last reference
    // to a page goes there, however the request that held it ended. Letting
    // go is no reason to wake that thread: it happens on its next turn.
    delivery->runLoop()->postWithoutWaking(
        [target = std::move(target), call = std::move(call), extra = std::move(extra)]() mutable {
            target.reset();
            call = nullptr;
            extra.reset();
        });
}

void HCDelegate::reportWrongType(const platform::Object& target, const char* role, const std::type_info& expected,
                                 const std::type_info& actual)
{
    platform::reportProgrammingError("HCDelegate: a method of " + HCClassName(typeid(target)) + " takes a " +
                                     HCClassName(expected) + " as its " + role + " but was given a " +
                                     HCClassName(actual));
}

HCDelegate HCDelegate::withFunction(std::function<void(const platform::ObjectPtr&)> fn, platform::ObjectPtr target,
                                    platform::ThreadPtr thread)
{
    Call call = [fn = std::move(fn)](platform::Object&, const platform::ObjectPtr& param, const platform::ObjectPtr&) {
        fn(param);
    };
    // A closure without a target still needs an object to call through; a
    // plain Object stands in and never refuses delivery.
    if (!target) target = std::make_shared<platform::Object>();
    return HCDelegate(std::move(target), std::move(call), nullptr, std::move(thread));
}

platform::ThreadPtr HCDelegate::thread() const
{
    return state_ && state_->thread ? state_->thread : platform::Thread::mainThread();
}

void HCDelegate::invoke(const platform::ObjectPtr& param) const
{
    if (isEmpty() || !state_->target) return;
    if (std::find(tDeliverNow.begin(), tDeliverNow.end(), state_.get()) != tDeliverNow.end()) {
        invokeNow(param);
        return;
    }
    thread()->runLoop()->post([state = state_, param] {
        if (auto callbackable = dynamic_cast<const HCCallbackable*>(state->target.get())) {
            if (!callbackable->canReceiveCallbacksNow()) return;
        }
        state->call(*state->target, param, state->extra);
    });
}

void HCDelegate::invokeNow(const platform::ObjectPtr& param) const
{
    if (isEmpty() || !state_->target) return;
    if (!thread()->isCurrent()) {
        thread()->runLoop()->post([copy = *this, param] { copy.invokeNow(param); });
        return;
    }
    if (auto callbackable = dynamic_cast<const HCCallbackable*>(state_->target.get())) {
        if (!callbackable->canReceiveCallbacksNow()) return;
    }
    // The call may drop the last other copy; this one keeps the state alive.
    auto state = state_;
    state->call(*state->target, param, state->extra);
}

HCDelegate::DeliverNow::DeliverNow(std::initializer_list<HCDelegate> delegates)
{
    for (const auto& delegate : delegates) {
        if (delegate.isEmpty()) continue;
        delegates_.push_back(delegate);
        tDeliverNow.push_back(delegate.state_.get());
    }
}

HCDelegate::DeliverNow::~DeliverNow()
{
    for (const auto& delegate : delegates_) {
        auto found = std::find(tDeliverNow.begin(), tDeliverNow.end(), delegate.state_.get());
        if (found != tDeliverNow.end()) tDeliverNow.erase(found);
    }
}
