#include "platform/ui/ScrollView.h"

#include <algorithm>

namespace platform::ui {

ScrollView::ScrollView(const Rect& frame) : View(frame) { setClipsToBounds(true); }

Point ScrollView::contentOffset() const { return bounds().origin; }

void ScrollView::setContentOffset(Point offset, bool animated)
{
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

std::string ScrollView::describe() const
{
    std::string text = "content=" + toString(contentSize_);
    const Point offset = contentOffset();
    if (offset != Point()) text += " offset=" + toString(offset);
    return text;
}

}  // namespace platform::ui
