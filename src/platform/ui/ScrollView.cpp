#include "platform/ui/ScrollView.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Control.h"

namespace platform::ui {

ScrollView::ScrollView(const Rect& frame) : View(frame) { setClipsToBounds(true); }

Point ScrollView::contentOffset() const { return bounds().origin; }

void ScrollView::setContentOffset(Point offset, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    const Rect b = bounds();
    if (b.origin == offset) return;
    lastScrollAnimated_ = animated;
    setBounds(Rect(offset, b.size));
    const auto keepAlive = weak_from_this().lock();
    didScroll();
    if (auto d = delegate()) d->scrollViewDidScroll(*this);
}

Point ScrollView::minimumContentOffset() const { return {-contentInset_.left, -contentInset_.top}; }

Point ScrollView::maximumContentOffset() const
{
    const Size size = bounds().size;
    const Point lowest = minimumContentOffset();
    return {std::max(lowest.x, contentSize_.width + contentInset_.right - size.width),
            std::max(lowest.y, contentSize_.height + contentInset_.bottom - size.height)};
}

void ScrollView::scrollRectToVisible(const Rect& rect, bool animated)
{
    const Rect target = rect.standardized();
    const Size size = bounds().size;
    Point offset = contentOffset();
    // Along each axis: bring the far edge in, then the near edge (the near
    // edge wins when the rectangle is larger than the view).
    if (target.maxX() > offset.x + size.width) offset.x = target.maxX() - size.width;
    if (target.minX() < offset.x) offset.x = target.minX();
    if (target.maxY() > offset.y + size.height) offset.y = target.maxY() - size.height;
    if (target.minY() < offset.y) offset.y = target.minY();
    const Point lowest = minimumContentOffset();
    const Point highest = maximumContentOffset();
    offset.x = std::clamp(offset.x, lowest.x, highest.x);
    offset.y = std::clamp(offset.y, lowest.y, highest.y);
    setContentOffset(offset, animated);
}

bool ScrollView::dragBy(double dx, double dy)
{
    if (!scrollEnabled_ || !canReceiveTouches(*this)) return false;
    const auto keepAlive = weak_from_this().lock();
    dragging_ = true;
    if (auto d = delegate()) d->scrollViewWillBeginDragging(*this);
    const Point start = contentOffset();
    const Point lowest = minimumContentOffset();
    const Point highest = maximumContentOffset();
    const Point end(std::clamp(start.x + dx, lowest.x, highest.x), std::clamp(start.y + dy, lowest.y, highest.y));
    const double distance = std::max(std::fabs(end.x - start.x), std::fabs(end.y - start.y));
    const int steps = std::max(1, static_cast<int>(std::ceil(distance / kDragStep)));
    for (int i = 1; i <= steps; ++i) {
        const double f = static_cast<double>(i) / steps;
        setContentOffset(Point(start.x + (end.x - start.x) * f, start.y + (end.y - start.y) * f), false);
    }
    dragging_ = false;
    if (auto d = delegate()) d->scrollViewDidEndDragging(*this, false);
    return true;
}

std::string ScrollView::describe() const
{
    std::string text = "content=" + toString(contentSize_);
    const Point offset = contentOffset();
    if (offset != Point()) text += " offset=" + toString(offset);
    return text;
}

}  // namespace platform::ui
