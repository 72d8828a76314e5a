#include "platform/ui/Touch.h"

#include "platform/runtime/Clock.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Window.h"

namespace platform::ui {

Touch::Touch(const std::shared_ptr<Window>& window, const std::shared_ptr<View>& view, Point inWindow,
             double timestamp)
    : window_(window), view_(view), location_(inWindow), previous_(inWindow), timestamp_(timestamp)
{
}

Point Touch::convert(Point inWindow, const std::shared_ptr<View>& view) const
{
    auto window = window_.lock();
    if (!view || !window) return inWindow;
    return view->convertPointFrom(inWindow, window);
}

Point Touch::locationInView(const std::shared_ptr<View>& view) const { return convert(location_, view); }
Point Touch::previousLocationInView(const std::shared_ptr<View>& view) const { return convert(previous_, view); }

void Touch::update(TouchPhase phase, Point inWindow, double timestamp)
{
    previous_ = location_;
    location_ = inWindow;
    phase_ = phase;
    timestamp_ = timestamp;
}

void TouchResponder::touchesBegan(const TouchSet& touches, const Event& event)
{
    if (auto next = nextTouchResponder()) next->touchesBegan(touches, event);
}

void TouchResponder::touchesMoved(const TouchSet& touches, const Event& event)
{
    if (auto next = nextTouchResponder()) next->touchesMoved(touches, event);
}

void TouchResponder::touchesEnded(const TouchSet& touches, const Event& event)
{
    if (auto next = nextTouchResponder()) next->touchesEnded(touches, event);
}

void TouchResponder::touchesCancelled(const TouchSet& touches, const Event& event)
{
    if (auto next = nextTouchResponder()) next->touchesCancelled(touches, event);
}

std::shared_ptr<View> deliverTouch(const std::shared_ptr<Window>& window, const std::vector<Point>& path)
{
    HC_CHECK_MAIN_THREAD();
    if (!window || path.empty()) return nullptr;
    auto view = window->hitTest(path.front());
    if (!view) return nullptr;
    const double now = Clock::currentTime();
    auto touch = std::make_shared<Touch>(window, view, path.front(), now);
    const TouchSet touches{touch};
    auto event = std::make_shared<Event>(touches, now);
    view->touchesBegan(touches, *event);
    for (size_t i = 1; i < path.size(); ++i) {
        touch->update(TouchPhase::Moved, path[i], now);
        view->touchesMoved(touches, *event);
    }
    touch->update(TouchPhase::Ended, path.back(), now);
    view->touchesEnded(touches, *event);
    return view;
}

}  // namespace platform::ui
