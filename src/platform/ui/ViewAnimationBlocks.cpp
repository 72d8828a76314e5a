// The animation blocks of View: beginAnimations ... commitAnimations and the
// closure form. Changes take effect at once; the block records which layer
// properties changed and, at commit, attaches one basic animation per
// property and schedules its own report on the main run loop.
#include <algorithm>
#include <vector>

#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AnimationInternals.h"
#include "platform/ui/Layer.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewAnimationRecording.h"

namespace platform::ui {

namespace {

struct Block {
    std::string name;
    ObjectPtr context;
    double duration = 0.2;  // the platform's default
    double delay = 0;
    AnimationCurve curve = AnimationCurve::EaseInOut;
    std::shared_ptr<ViewAnimationDelegate> delegate;
    std::function<void(const std::string&, bool, const ObjectPtr&)> didStop;
    std::function<void(bool)> completion;

    struct Change {
        std::weak_ptr<Layer> layer;
        std::string keyPath;
        AnimationValue from;
        AnimationValue to;
    };
    std::vector<Change> changes;
    bool reported = false;
};

struct BlockState {
    std::vector<std::shared_ptr<Block>> open;  // innermost last
    bool enabled = true;
};

BlockState& stateInViewAnimationBlocks()
{
    static BlockState s;
    return s;
}

const std::shared_ptr<RunLoop>& mainLoopInViewAnimationBlocks()
{
    return Thread::mainThread()->runLoop();
}

TimingFunction timingFor(AnimationCurve curve)
{
    switch (curve) {
    case AnimationCurve::EaseIn: return TimingFunction::EaseIn;
    case AnimationCurve::EaseOut: return TimingFunction::EaseOut;
    case AnimationCurve::Linear: return TimingFunction::Linear;
    case AnimationCurve::EaseInOut: break;
    }
    return TimingFunction::EaseInEaseOut;
}

void report(const std::shared_ptr<Block>& block, bool finished)
{
    if (block->reported) return;
    block->reported = true;
    mainLoopInViewAnimationBlocks()->cancelDelayed(block.get());
    if (block->delegate) block->delegate->animationDidStop(block->name, finished, block->context);
    if (block->didStop) block->didStop(block->name, finished, block->context);
    if (block->completion) block->completion(finished);
    // Let go of the delegate and closures now rather than with the last layer animation.
    block->delegate.reset();
    block->didStop = nullptr;
    block->completion = nullptr;
}

Block* innermost()
{
    auto& open = stateInViewAnimationBlocks().open;
    return open.empty() ? nullptr : open.back().get();
}

}  // namespace

namespace viewanimation {

bool isRecording()
{
    return stateInViewAnimationBlocks().enabled && !stateInViewAnimationBlocks().open.empty();
}

void recordChange(const std::shared_ptr<Layer>& layer, const std::string& keyPath, AnimationValue from,
                  AnimationValue to)
{
    Block* block = innermost();
    if (!block || !stateInViewAnimationBlocks().enabled || !layer) return;
    for (auto& c : block->changes) {
        if (c.keyPath == keyPath && c.layer.lock() == layer) {
            c.to = std::move(to);
            return;
        }
    }
    block->changes.push_back(Block::Change{layer, keyPath, std::move(from), std::move(to)});
}

}  // namespace viewanimation

void View::beginAnimations(const std::string& name, ObjectPtr context)
{
    auto block = std::make_shared<Block>();
    block->name = name;
    block->context = std::move(context);
    if (Block* outer = innermost()) {
        // A nested block starts with the timing of the block around it.
        block->duration = outer->duration;
        block->delay = outer->delay;
        block->curve = outer->curve;
    }
    stateInViewAnimationBlocks().open.push_back(block);
}

void View::setAnimationDuration(double seconds)
{
    HC_CHECK_MAIN_THREAD();
    if (Block* b = innermost()) b->duration = std::max(0.0, seconds);
}

void View::setAnimationDelay(double seconds)
{
    HC_CHECK_MAIN_THREAD();
    if (Block* b = innermost()) b->delay = std::max(0.0, seconds);
}

void View::setAnimationCurve(AnimationCurve curve)
{
    HC_CHECK_MAIN_THREAD();
    if (Block* b = innermost()) b->curve = curve;
}

void View::setAnimationDelegate(std::shared_ptr<ViewAnimationDelegate> delegate)
{
    HC_CHECK_MAIN_THREAD();
    if (Block* b = innermost()) b->delegate = std::move(delegate);
}

void View::setAnimationDidStopCallback(
    std::function<void(const std::string& name, bool finished, const ObjectPtr& context)> callback)
{
    HC_CHECK_MAIN_THREAD();
    if (Block* b = innermost()) b->didStop = std::move(callback);
}

void View::setAnimationsEnabled(bool enabled)
{
    HC_CHECK_MAIN_THREAD();
    stateInViewAnimationBlocks().enabled = enabled;
}

bool View::areAnimationsEnabled()
{
    return stateInViewAnimationBlocks().enabled;
}

void View::commitAnimations()
{
    auto& open = stateInViewAnimationBlocks().open;
    if (open.empty()) return;
    std::shared_ptr<Block> block = open.back();
    open.pop_back();

    if (!stateInViewAnimationBlocks().enabled) {
        mainLoopInViewAnimationBlocks()->post([block] { report(block, true); });
        return;
    }
    if (block->delegate) {
        mainLoopInViewAnimationBlocks()->postAfter(block->delay, [block] {
            if (!block->reported && block->delegate)
                block->delegate->animationWillStart(block->name, block->context);
        });
    }
    if (block->duration > 0) {
        for (auto& change : block->changes) {
            auto layer = change.layer.lock();
            if (!layer) continue;
            auto animation = BasicAnimation::make(change.keyPath);
            animation->setFromValue(change.from);
            animation->setToValue(change.to);
            animation->setDuration(block->duration);
            animation->setDelay(block->delay);
            animation->setTimingFunction(timingFor(block->curve));
            // An animation taken off its layer before the end ends the block, unfinished.
            std::weak_ptr<Block> weakBlock = block;
            AnimationInternals::setStopObserver(*animation, [weakBlock](bool finished) {
                auto b = weakBlock.lock();
                if (b && !finished) report(b, false);
            });
            layer->addAnimation(animation, change.keyPath);
        }
    }
    block->changes.clear();
    mainLoopInViewAnimationBlocks()->postAfter(block->delay + block->duration, [block] { report(block, true); }, block.get());
}

void View::animate(double duration, const std::function<void()>& changes, std::function<void(bool finished)> completion)
{
    animate(duration, 0, AnimationCurve::EaseInOut, changes, std::move(completion));
}

void View::animate(double duration, double delay, AnimationCurve curve, const std::function<void()>& changes,
                   std::function<void(bool finished)> completion)
{
    beginAnimations("", nullptr);
    setAnimationDuration(duration);
    setAnimationDelay(delay);
    setAnimationCurve(curve);
    innermost()->completion = std::move(completion);
    if (changes) changes();
    commitAnimations();
}

}  // namespace platform::ui
