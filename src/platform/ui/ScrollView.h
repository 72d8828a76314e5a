#pragma once
// A view whose content is larger than itself: the content offset is the
// origin of its bounds, so subviews placed in content coordinates move when
// it scrolls. Nothing moves by itself: offsets change only through
// setContentOffset and scrollRectToVisible (or a subclass), and an animated
// change takes effect at once, recording that it was asked animated.
//
// A person's drag (dragBy) tells the delegate it begins, moves the offset in
// steps of at most kDragStep points (each step is a scroll the delegate
// hears of), keeps it within the content, and tells the delegate it ended.
// The finger lifts at rest: there is no deceleration and no bounce.
//
// Thread: main thread only.
#include <memory>
#include <string>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/View.h"

namespace platform::ui {

class ScrollView;

// Optional methods: the defaults do nothing.
class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;
    // After every change of the content offset.
    virtual void scrollViewDidScroll(ScrollView& scrollView) { (void)scrollView; }
    virtual void scrollViewWillBeginDragging(ScrollView& scrollView) { (void)scrollView; }
    virtual void scrollViewDidEndDragging(ScrollView& scrollView, bool willDecelerate)
    {
        (void)scrollView;
        (void)willDecelerate;
    }
};

class ScrollView : public View {
public:
    static constexpr double kDragStep = 20;

    explicit ScrollView(const Rect& frame = Rect());

    Size contentSize() const { return contentSize_; }
    void setContentSize(Size size) { HC_CHECK_MAIN_THREAD(); contentSize_ = size; }
    Point contentOffset() const;
    // Not clamped to the content: callers may place the offset anywhere.
    void setContentOffset(Point offset, bool animated = false);
    // Whether the last offset change was asked for with animation.
    bool wasLastScrollAnimated() const { return lastScrollAnimated_; }
    EdgeInsets contentInset() const { return contentInset_; }
    void setContentInset(const EdgeInsets& insets) { HC_CHECK_MAIN_THREAD(); contentInset_ = insets; }
    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled) { HC_CHECK_MAIN_THREAD(); scrollEnabled_ = enabled; }

    // Moves the offset as little as needed to show `rect` (content
    // coordinates), keeping it within the content and its insets.
    void scrollRectToVisible(const Rect& rect, bool animated);
    // A person drags the content so that the offset moves by (dx, dy). False
    // (and nothing happens) when scrolling is off or touches cannot reach the view.
    bool dragBy(double dx, double dy);
    bool isDragging() const { return dragging_; }

    // The smallest and largest offsets that keep the view over its content.
    Point minimumContentOffset() const;
    Point maximumContentOffset() const;

    // Not retained.
    std::shared_ptr<ScrollViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<ScrollViewDelegate>& delegate)
    {
        HC_CHECK_MAIN_THREAD();
        delegate_ = delegate;
    }

    std::string kindName() const override { return "ScrollView"; }
    // "content=(320x900) offset=(0,85)"; the offset only when not at the origin.
    std::string describe() const override;

protected:
    // Called after the offset changed, before the delegate hears of it.
    virtual void didScroll() {}

private:
    Size contentSize_;
    EdgeInsets contentInset_;
    bool scrollEnabled_ = true;
    bool lastScrollAnimated_ = false;
    bool dragging_ = false;
    std::weak_ptr<ScrollViewDelegate> delegate_;
};

}  // namespace platform::ui
