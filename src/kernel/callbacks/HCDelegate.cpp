#include "kernel/callbacks/HCDelegate.h"

HCDelegate::HCDelegate(platform::ObjectPtr target, Call call, platform::ObjectPtr extra, platform::ThreadPtr thread)
    : target_(std::move(target)), call_(std::move(call)), extra_(std::move(extra)), thread_(std::move(thread))
{
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
    return thread_ ? thread_ : platform::Thread::mainThread();
}

void HCDelegate::invoke(const platform::ObjectPtr& param) const
{
    if (isEmpty() || !target_) return;
    thread()->runLoop()->post([target = target_, call = call_, extra = extra_, param] {
        if (auto callbackable = dynamic_cast<const HCCallbackable*>(target.get())) {
            if (!callbackable->canReceiveCallbacksNow()) return;
        }
        call(*target, param, extra);
    });
}
