#include "platform/ui/Control.h"

#include <algorithm>

#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

Control::Control(const Rect& frame) : View(frame) {}

void Control::setEnabled(bool enabled)
{
    HC_CHECK_MAIN_THREAD();
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    stateDidChange();
}

void Control::setSelected(bool selected)
{
    HC_CHECK_MAIN_THREAD();
    if (selected_ == selected) return;
    selected_ = selected;
    stateDidChange();
}

void Control::setHighlighted(bool highlighted)
{
    HC_CHECK_MAIN_THREAD();
    if (highlighted_ == highlighted) return;
    highlighted_ = highlighted;
    stateDidChange();
}

unsigned Control::state() const
{
    unsigned s = ControlStateNormal;
    if (highlighted_) s |= ControlStateHighlighted;
    if (!enabled_) s |= ControlStateDisabled;
    if (selected_) s |= ControlStateSelected;
    return s;
}

void Control::addTarget(const void* target, Action action, unsigned events)
{
    if (!action || events == 0) return;
    bindings_.push_back(Binding{target, std::make_shared<Action>(std::move(action)), events});
}

void Control::removeTarget(const void* target, unsigned events)
{
    for (auto& b : bindings_) {
        if (target == nullptr || b.target == target) b.events &= ~events;
    }
    std::erase_if(bindings_, [](const Binding& b) { return b.events == 0; });
}

std::vector<const void*> Control::allTargets() const
{
    std::vector<const void*> targets;
    for (const auto& b : bindings_) {
        if (std::find(targets.begin(), targets.end(), b.target) == targets.end()) targets.push_back(b.target);
    }
    return targets;
}

size_t Control::actionCount(unsigned events) const
{
    return static_cast<size_t>(
        std::count_if(bindings_.begin(), bindings_.end(), [&](const Binding& b) { return (b.events & events) != 0; }));
}

void Control::sendActionsForControlEvents(unsigned events)
{
    // A snapshot, so actions that edit the list do not disturb this send; the
    // control is kept alive in case an action drops the last other reference.
    std::vector<std::shared_ptr<Action>> due;
    for (const auto& b : bindings_) {
        if (b.events & events) due.push_back(b.action);
    }
    if (due.empty()) return;
    const auto keepAlive = weak_from_this().lock();
    for (const auto& action : due) (*action)(*this);
}

bool canReceiveTouches(const View& view)
{
    const auto reachable = [](const View& v) {
        return !v.isHidden() && v.alpha() >= 0.01 && v.isUserInteractionEnabled();
    };
    if (!reachable(view)) return false;
    for (auto v = view.superview(); v; v = v->superview()) {
        if (!reachable(*v)) return false;
    }
    return true;
}

bool Control::acceptsTouches() const { return enabled_ && canReceiveTouches(*this); }

bool Control::tap()
{
    if (!acceptsTouches()) return false;
    handleTap();
    return true;
}

void Control::touchesEnded(const TouchSet& touches, const Event&)
{
    if (touches.empty()) return;
    const auto me = platform::self(this);
    if (bounds().contains(touches.front()->locationInView(me))) tap();
}

void Control::handleTap()
{
    const auto keepAlive = weak_from_this().lock();
    setHighlighted(true);
    sendActionsForControlEvents(ControlEventTouchDown);
    setHighlighted(false);
    sendActionsForControlEvents(ControlEventTouchUpInside);
}

}  // namespace platform::ui
