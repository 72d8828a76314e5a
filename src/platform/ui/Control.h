#pragma once
// The base of the controls a person works: buttons, switches, segmented
// controls, text fields. A control keeps its enabled, selected and
// highlighted state and a list of actions, each bound to a set of control
// events and to an opaque target pointer (usually the owner's `this`) so an
// owner can take its actions away again.
//
// Actions are closures: they capture what they need (weakly, when they point
// back at the control's owner). sendActionsForControlEvents runs every action
// bound to any of the events, in the order they were added; an action may add
// or remove actions while it runs (changes take effect with the next send).
//
// tap() is the entry for a person's tap: it only reaches a control that
// acceptsTouches() (enabled, shown and taking touches, up the whole tree). A
// touch that hit testing brings to the control is its own: it passes nothing
// on, and one that ends inside the bounds is a tap.
//
// Thread: main thread only.
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace platform::ui {

// Bit values match the platform's control events.
enum ControlEvent : unsigned {
    ControlEventTouchDown = 1u << 0,
    ControlEventTouchUpInside = 1u << 6,
    ControlEventValueChanged = 1u << 12,
    ControlEventEditingDidBegin = 1u << 16,
    ControlEventEditingChanged = 1u << 17,
    ControlEventEditingDidEnd = 1u << 18,
    ControlEventEditingDidEndOnExit = 1u << 19,
    ControlEventAllEvents = 0xFFFFFFFFu,
};

// Bit values match the platform's control states; Normal is no bit.
enum ControlState : unsigned {
    ControlStateNormal = 0,
    ControlStateHighlighted = 1u << 0,
    ControlStateDisabled = 1u << 1,
    ControlStateSelected = 1u << 2,
};

// Whether a person's touch can reach the view: it and every superview are
// shown, not transparent and take touches.
bool canReceiveTouches(const View& view);

class Control : public View {
public:
    using Action = std::function<void(Control& sender)>;

    explicit Control(const Rect& frame = Rect());

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    // The ControlState bits that hold now.
    unsigned state() const;

    void addTarget(const void* target, Action action, unsigned events);
    // Removes the target's actions for these events; a null target removes
    // every action for them.
    void removeTarget(const void* target, unsigned events);
    // The distinct targets with at least one action, in the order first added.
    std::vector<const void*> allTargets() const;
    // How many actions are bound to any of these events.
    size_t actionCount(unsigned events) const;
    void sendActionsForControlEvents(unsigned events);

    // Enabled, user interaction on, not hidden and not transparent, and the
    // same holds for every superview.
    bool acceptsTouches() const;
    // A person's tap. Answers whether the control took it; the base sends
    // touch down, then touch up inside.
    bool tap();

    void touchesBegan(const TouchSet&, const Event&) override {}
    void touchesMoved(const TouchSet&, const Event&) override {}
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void touchesCancelled(const TouchSet&, const Event&) override {}

protected:
    // What the tap does once it is known to reach the control.
    virtual void handleTap();
    // Called after enabled, selected or highlighted changed.
    virtual void stateDidChange() {}

private:
    struct Binding {
        const void* target;
        std::shared_ptr<Action> action;
        unsigned events;
    };
    std::vector<Binding> bindings_;
    bool enabled_ = true;
    bool selected_ = false;
    bool highlighted_ = false;
};

}  // namespace platform::ui
