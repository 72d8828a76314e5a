#include "platform/ui/Switch.h"

#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

Switch::Switch(const Rect& frame) : Control(Rect(frame.origin, kSize)) {}

void Switch::setOn(bool on, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    (void)animated;  // nothing slides on a headless screen
    on_ = on;
}

void Switch::handleTap()
{
    on_ = !on_;
    sendActionsForControlEvents(ControlEventValueChanged);
}

Size Switch::sizeThatFits(Size size) const
{
    (void)size;
    return kSize;
}

std::string Switch::describe() const
{
    std::string text = on_ ? "on" : "off";
    if (!isEnabled()) text += " disabled";
    return text;
}

}  // namespace platform::ui
