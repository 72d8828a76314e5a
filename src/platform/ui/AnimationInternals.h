#pragma once
// Internal to the UI library: access to the parts of an Animation that only
// layers and view animation blocks touch.
//
// Thread: main thread only.
#include <functional>
#include <memory>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Animation.h"

namespace platform::ui {

struct AnimationInternals {
    // Tells the stop observer, then the delegate, how the animation ended.
    static void reportStop(const std::shared_ptr<Animation>& animation, bool finished)
    {
        if (animation->stopObserver_) animation->stopObserver_(finished);
        if (animation->delegate_) animation->delegate_->animationDidStop(animation, finished);
    }

    static void setStopObserver(Animation& animation, std::function<void(bool finished)> observer)
    {
        HC_CHECK_MAIN_THREAD();
        animation.stopObserver_ = std::move(observer);
    }
};

}  // namespace platform::ui
