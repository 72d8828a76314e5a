#include "platform/ui/Layer.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AnimationInternals.h"
#include "platform/ui/View.h"

namespace platform::ui {

namespace {

const std::shared_ptr<RunLoop>& mainLoop()
{
    return Thread::mainThread()->runLoop();
}

}  // namespace

Layer::~Layer()
{
    // Nothing is left to animate: pending ends are dropped without a report.
    for (auto& a : animations_) {
        if (a.animation->stopped_) continue;
        a.animation->stopped_ = true;
        mainLoop()->cancelDelayed(a.animation.get());
    }
}

void Layer::setBounds(const Rect& bounds)
{
    HC_CHECK_MAIN_THREAD();
    Rect old = bounds_;
    bounds_ = bounds;
    if (view_ && old.size != bounds.size) view_->boundsDidChange(old);
}

AffineTransform Layer::toParentTransform() const
{
    double ax = bounds_.origin.x + anchorPoint_.x * bounds_.size.width;
    double ay = bounds_.origin.y + anchorPoint_.y * bounds_.size.height;
    return AffineTransform::translation(-ax, -ay)
        .concat(transform_)
        .concat(AffineTransform::translation(position_.x, position_.y));
}

Rect Layer::frame() const
{
    return toParentTransform().apply(bounds_);
}

void Layer::setOpacity(double o)
{
    HC_CHECK_MAIN_THREAD();
    opacity_ = std::isnan(o) ? 0 : std::clamp(o, 0.0, 1.0);
}

void Layer::addAnimation(const std::shared_ptr<Animation>& animation, const std::string& key)
{
    if (!animation) return;
    auto copy = animation->copy();
    copy->addedAt_ = Clock::currentTime();
    copy->stopped_ = false;
    if (!key.empty()) {
        auto it = std::find_if(animations_.begin(), animations_.end(), [&](const Attached& a) { return a.key == key; });
        if (it != animations_.end()) detach(static_cast<size_t>(it - animations_.begin()));
    }
    animations_.push_back(Attached{key, copy});

    mainLoop()->post([copy] {
        if (!copy->stopped_ && copy->delegate_) copy->delegate_->animationDidStart(copy);
    });
    std::weak_ptr<Layer> weakSelf = std::static_pointer_cast<Layer>(shared_from_this());
    mainLoop()->postAfter(
        copy->delay_ + copy->duration_,
        [weakSelf, copy] {
            if (copy->stopped_) return;
            if (auto self = weakSelf.lock()) self->finish(copy);
        },
        copy.get());
}

void Layer::finish(const std::shared_ptr<Animation>& animation)
{
    animation->stopped_ = true;
    if (animation->removedOnCompletion_) {
        auto it = std::find_if(animations_.begin(), animations_.end(),
                               [&](const Attached& a) { return a.animation == animation; });
        if (it != animations_.end()) animations_.erase(it);
    }
    AnimationInternals::reportStop(animation, true);
}

void Layer::detach(size_t index)
{
    auto animation = animations_[index].animation;
    animations_.erase(animations_.begin() + static_cast<std::ptrdiff_t>(index));
    if (animation->stopped_) return;
    animation->stopped_ = true;
    mainLoop()->cancelDelayed(animation.get());
    mainLoop()->post([animation] { AnimationInternals::reportStop(animation, false); });
}

void Layer::removeAnimationForKey(const std::string& key)
{
    if (key.empty()) return;
    for (size_t i = 0; i < animations_.size(); ++i) {
        if (animations_[i].key == key) {
            detach(i);
            return;
        }
    }
}

void Layer::removeAllAnimations()
{
    while (!animations_.empty()) detach(0);
}

std::shared_ptr<Animation> Layer::animationForKey(const std::string& key) const
{
    if (key.empty()) return nullptr;
    for (const auto& a : animations_) {
        if (a.key == key) return a.animation;
    }
    return nullptr;
}

std::vector<std::string> Layer::animationKeys() const
{
    std::vector<std::string> keys;
    for (const auto& a : animations_) {
        if (!a.key.empty()) keys.push_back(a.key);
    }
    return keys;
}

}  // namespace platform::ui
