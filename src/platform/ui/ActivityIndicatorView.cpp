#include "platform/ui/ActivityIndicatorView.h"

#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

namespace {

Size sizeFor(ActivityIndicatorStyle style)
{
    return style == ActivityIndicatorStyle::WhiteLarge ? Size(37, 37) : Size(20, 20);
}

}  // namespace

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorStyle style)
    : View(Rect(Point(), sizeFor(style))), style_(style)
{
    setHidden(true);  // stopped, and hiding while stopped
}

void ActivityIndicatorView::startAnimating()
{
    animating_ = true;
    setHidden(false);
}

void ActivityIndicatorView::stopAnimating()
{
    animating_ = false;
    if (hidesWhenStopped_) setHidden(true);
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides)
{
    HC_CHECK_MAIN_THREAD();
    hidesWhenStopped_ = hides;
    if (!animating_) setHidden(hides);
}

Size ActivityIndicatorView::sizeThatFits(Size size) const
{
    (void)size;
    return sizeFor(style_);
}

}  // namespace platform::ui
