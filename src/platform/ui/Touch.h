#pragma once
// Touches as the platform delivers them: a finger on the screen is a Touch
// that stays with the view it first landed on (found by hit testing) through
// its phases; each phase reaches that view's touchesBegan / Moved / Ended /
// Cancelled with the set of touches and the event they belong to.
//
// A responder that does not handle a phase passes it on to its next
// responder: a view's is the controller whose view it is, else its
// superview; a controller's is its view's superview. Controls, tables and
// segmented controls handle touches themselves (a tap on them is a tap of
// the control, a row or a segment); a plain view overrides the callbacks.
//
// Thread: main thread only.
#include <memory>
#include <vector>

#include "platform/runtime/Object.h"
#include "platform/ui/Geometry.h"

namespace platform::ui {

class View;
class Window;

// Numbers match the platform's.
enum class TouchPhase : int { Began = 0, Moved = 1, Stationary = 2, Ended = 3, Cancelled = 4 };

class Touch final : public Object {
public:
    Touch(const std::shared_ptr<Window>& window, const std::shared_ptr<View>& view, Point inWindow, double timestamp);

    std::shared_ptr<View> view() const { return view_.lock(); }
    std::shared_ptr<Window> window() const { return window_.lock(); }
    TouchPhase phase() const { return phase_; }
    int tapCount() const { return tapCount_; }
    double timestamp() const { return timestamp_; }
    // In `view`'s coordinates; nullptr: the window's.
    Point locationInView(const std::shared_ptr<View>& view) const;
    Point previousLocationInView(const std::shared_ptr<View>& view) const;

    // The finger moves on (a new phase at a new place in the window).
    void update(TouchPhase phase, Point inWindow, double timestamp);

private:
    Point convert(Point inWindow, const std::shared_ptr<View>& view) const;

    std::weak_ptr<Window> window_;
    std::weak_ptr<View> view_;
    Point location_;
    Point previous_;
    TouchPhase phase_ = TouchPhase::Began;
    int tapCount_ = 1;
    double timestamp_;
};

using TouchPtr = std::shared_ptr<Touch>;
using TouchSet = std::vector<TouchPtr>;

class Event final : public Object {
public:
    Event(TouchSet touches, double timestamp) : touches_(std::move(touches)), timestamp_(timestamp) {}
    const TouchSet& allTouches() const { return touches_; }
    double timestamp() const { return timestamp_; }

private:
    TouchSet touches_;
    double timestamp_;
};

// The touch callbacks. Each default passes the call on to the next responder.
class TouchResponder {
public:
    virtual ~TouchResponder() = default;
    virtual void touchesBegan(const TouchSet& touches, const Event& event);
    virtual void touchesMoved(const TouchSet& touches, const Event& event);
    virtual void touchesEnded(const TouchSet& touches, const Event& event);
    virtual void touchesCancelled(const TouchSet& touches, const Event& event);
    // nullptr at the end of the chain.
    virtual std::shared_ptr<TouchResponder> nextTouchResponder() const = 0;
};

// A finger put down at `inWindow` (window coordinates) on `window`: the view
// that hit testing finds hears began, then, for each further point, moved,
// then ended at the last point. Answers the view the finger landed on
// (nullptr when nothing under the point takes touches: no callback runs).
std::shared_ptr<View> deliverTouch(const std::shared_ptr<Window>& window, const std::vector<Point>& path);

}  // namespace platform::ui
