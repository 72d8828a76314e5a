#pragma once
// Layer animations: a basic animation of one key path between two values, and
// a transition between a container's contents. Nothing moves on screen; an
// animation added to a layer only records what would run and reports its end.
//
// Timing: adding an animation to a layer (Layer::addAnimation) copies it,
// reports animationDidStart at the next turn of the main run loop and
// animationDidStop(finished = true) once delay + duration have passed on
// platform::Clock (so a ManualClock decides). Removing it earlier (by key, by
// adding another under the same key, or removeAllAnimations) reports
// animationDidStop(finished = false) at the next turn of the main run loop.
// An animation that is removed on completion leaves the layer before its
// delegate hears of the end; one that is not stays until removed.
//
// Thread: main thread only.
#include <functional>
#include <memory>
#include <string>
#include <variant>

#include "platform/runtime/Object.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"

namespace platform::ui {

class Animation;
class Layer;

// Numbers, points and the other plain values an animated property can take.
using AnimationValue = std::variant<std::monostate, double, Point, Size, Rect, AffineTransform, Color>;

enum class FillMode { Removed, Forwards, Backwards, Both };
enum class TimingFunction { Default, Linear, EaseIn, EaseOut, EaseInEaseOut };

// Told when a layer animation starts and stops. The animation retains its
// delegate until it has reported its end, as on the platform.
class AnimationDelegate {
public:
    virtual ~AnimationDelegate() = default;
    virtual void animationDidStart(const std::shared_ptr<Animation>& animation) { (void)animation; }
    virtual void animationDidStop(const std::shared_ptr<Animation>& animation, bool finished)
    {
        (void)animation;
        (void)finished;
    }
};

class Animation : public Object {
public:
    // Seconds; the platform's default of a quarter second.
    double duration() const { return duration_; }
    void setDuration(double seconds) { HC_CHECK_MAIN_THREAD(); duration_ = seconds < 0 ? 0 : seconds; }
    // Seconds between being added to a layer and starting.
    double delay() const { return delay_; }
    void setDelay(double seconds) { HC_CHECK_MAIN_THREAD(); delay_ = seconds < 0 ? 0 : seconds; }
    TimingFunction timingFunction() const { return timing_; }
    void setTimingFunction(TimingFunction f) { HC_CHECK_MAIN_THREAD(); timing_ = f; }
    bool isRemovedOnCompletion() const { return removedOnCompletion_; }
    void setRemovedOnCompletion(bool remove) { HC_CHECK_MAIN_THREAD(); removedOnCompletion_ = remove; }
    FillMode fillMode() const { return fillMode_; }
    void setFillMode(FillMode mode) { HC_CHECK_MAIN_THREAD(); fillMode_ = mode; }
    const std::shared_ptr<AnimationDelegate>& delegate() const { return delegate_; }
    void setDelegate(std::shared_ptr<AnimationDelegate> delegate)
    {
        HC_CHECK_MAIN_THREAD();
        delegate_ = std::move(delegate);
    }

    // Set on the copy a layer holds: the clock time it was added, and whether
    // it has reported its end (finished or removed).
    double addedAt() const { return addedAt_; }
    bool hasStopped() const { return stopped_; }

    // A fresh, unattached copy with the same settings.
    virtual std::shared_ptr<Animation> copy() const = 0;

protected:
    Animation() = default;
    void copySettingsTo(Animation& other) const;

private:
    friend class Layer;
    friend struct AnimationInternals;

    double duration_ = 0.25;
    double delay_ = 0;
    TimingFunction timing_ = TimingFunction::Default;
    bool removedOnCompletion_ = true;
    FillMode fillMode_ = FillMode::Removed;
    std::shared_ptr<AnimationDelegate> delegate_;

    double addedAt_ = 0;
    bool stopped_ = false;
    // Used by view animation blocks to learn how their implicit animations ended.
    std::function<void(bool finished)> stopObserver_;
};

class BasicAnimation final : public Animation {
public:
    explicit BasicAnimation(std::string keyPath) : keyPath_(std::move(keyPath)) {}
    static std::shared_ptr<BasicAnimation> make(std::string keyPath)
    {
        return std::make_shared<BasicAnimation>(std::move(keyPath));
    }

    const std::string& keyPath() const { return keyPath_; }
    const AnimationValue& fromValue() const { return from_; }
    void setFromValue(AnimationValue v) { HC_CHECK_MAIN_THREAD(); from_ = std::move(v); }
    const AnimationValue& toValue() const { return to_; }
    void setToValue(AnimationValue v) { HC_CHECK_MAIN_THREAD(); to_ = std::move(v); }

    std::shared_ptr<Animation> copy() const override;
    std::string description() const override;

private:
    std::string keyPath_;
    AnimationValue from_;
    AnimationValue to_;
};

enum class TransitionType { Fade, MoveIn, Push, Reveal };
enum class TransitionSubtype { None, FromLeft, FromRight, FromTop, FromBottom };

// A change of a container's contents (subviews swapped in the same turn).
class Transition final : public Animation {
public:
    // The key the platform adds transitions under.
    static constexpr const char* kKey = "transition";

    Transition(TransitionType type = TransitionType::Fade, TransitionSubtype subtype = TransitionSubtype::None)
        : type_(type), subtype_(subtype) {}
    static std::shared_ptr<Transition> make(TransitionType type, TransitionSubtype subtype = TransitionSubtype::None)
    {
        return std::make_shared<Transition>(type, subtype);
    }

    TransitionType type() const { return type_; }
    void setType(TransitionType t) { HC_CHECK_MAIN_THREAD(); type_ = t; }
    TransitionSubtype subtype() const { return subtype_; }
    void setSubtype(TransitionSubtype s) { HC_CHECK_MAIN_THREAD(); subtype_ = s; }

    std::shared_ptr<Animation> copy() const override;
    std::string description() const override;

private:
    TransitionType type_;
    TransitionSubtype subtype_;
};

}  // namespace platform::ui
