#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Application.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/Layer.h"
#include "platform/ui/ViewAnimationRecording.h"
#include "platform/ui/Window.h"
#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

namespace {

// One layout pass per main run loop turn covers every window's tree.
bool layoutPassScheduled = false;

void scheduleLayoutPass()
{
    if (layoutPassScheduled) return;
    layoutPassScheduled = true;
    Thread::mainThread()->runLoop()->post([] {
        layoutPassScheduled = false;
        for (const auto& window : Application::shared()->windows()) window->layoutIfNeeded();
    });
}

void notifyWillMoveToWindow(const ViewPtr& view, const std::shared_ptr<Window>& newWindow)
{
    view->willMoveToWindow(newWindow);
    auto subviews = view->subviews();
    for (const auto& sub : subviews) notifyWillMoveToWindow(sub, newWindow);
}

// Views waiting for the next display pass (each at most once).
std::vector<std::weak_ptr<View>>& displayQueue()
{
    static std::vector<std::weak_ptr<View>> queue;
    return queue;
}

bool displayPassScheduled = false;

void notifyDidMoveToWindow(const ViewPtr& view)
{
    view->didMoveToWindow();
    auto subviews = view->subviews();
    for (const auto& sub : subviews) notifyDidMoveToWindow(sub);
}

// Spreads the change of the superview's length over the flexible parts of
// one axis (leading margin, length, trailing margin) in proportion to their
// current sizes, or evenly when those sizes add up to nothing.
void resizeAxis(double oldTotal, double newTotal, double& pos, double& len, bool flexLead, bool flexLen,
                bool flexTrail)
{
    double delta = newTotal - oldTotal;
    if (delta == 0) return;
    const double parts[3] = {pos, len, oldTotal - pos - len};
    const bool flexible[3] = {flexLead, flexLen, flexTrail};
    double sum = 0;
    int count = 0;
    for (int i = 0; i < 3; ++i) {
        if (!flexible[i]) continue;
        sum += parts[i];
        ++count;
    }
    if (count == 0) return;
    double share[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        if (flexible[i]) share[i] = sum != 0 ? delta * parts[i] / sum : delta / count;
    }
    pos += share[0];
    len = std::max(0.0, len + share[1]);
}

}  // namespace

// Layout first, then every queued view draws, so drawRect sees laid-out bounds.
void displayPendingViews()
{
    displayPassScheduled = false;
    for (const auto& window : Application::shared()->windows()) window->layoutIfNeeded();
    auto queue = std::exchange(displayQueue(), {});
    for (const auto& weak : queue) {
        auto view = weak.lock();
        if (!view) continue;
        view->displayQueued_ = false;
        if (view->needsDisplay_ && view->window()) view->display();
    }
}

void ViewAnimationDelegate::animationWillStart(const std::string&, const ObjectPtr&) {}
void ViewAnimationDelegate::animationDidStop(const std::string&, bool, const ObjectPtr&) {}

View::View(const Rect& frame) : layer_(std::make_shared<Layer>())
{
    HC_CHECK_MAIN_THREAD();
    Rect f = frame.standardized();
    layer_->view_ = this;
    layer_->bounds_ = Rect(0, 0, f.size.width, f.size.height);
    layer_->position_ = f.center();
}

View::~View()
{
    HC_CHECK_MAIN_THREAD();
    layer_->view_ = nullptr;
}

ViewPtr View::make(const Rect& frame)
{
    return std::make_shared<View>(frame);
}

// --- geometry -----------------------------------------------------------------

Rect View::frame() const { return layer_->frame(); }
Rect View::bounds() const { return layer_->bounds(); }
Point View::center() const { return layer_->position(); }
AffineTransform View::transform() const { return layer_->transform(); }

void View::setFrame(const Rect& frame)
{
    HC_CHECK_MAIN_THREAD();
    Rect f = frame.standardized();
    Rect oldBounds = layer_->bounds();
    Point oldPosition = layer_->position();
    AffineTransform t = layer_->transform();
    Rect newBounds = oldBounds;
    if (t.isIdentity()) {
        newBounds.size = f.size;
    } else if ((t.b == 0 && t.c == 0) || (t.a == 0 && t.d == 0)) {
        Size s = t.inverted().apply(f.size);
        newBounds.size = Size(std::fabs(s.width), std::fabs(s.height));
    }
    if (newBounds != oldBounds) layer_->setBounds(newBounds);
    Point now = layer_->frame().center();
    Point want = f.center();
    layer_->setPosition(Point(oldPosition.x + want.x - now.x, oldPosition.y + want.y - now.y));
    if (viewanimation::isRecording()) {
        if (layer_->position() != oldPosition)
            viewanimation::recordChange(layer_, "position", oldPosition, layer_->position());
        if (newBounds != oldBounds) viewanimation::recordChange(layer_, "bounds", oldBounds, newBounds);
    }
}

void View::setBounds(const Rect& bounds)
{
    HC_CHECK_MAIN_THREAD();
    Rect old = layer_->bounds();
    if (old == bounds) return;
    layer_->setBounds(bounds);
    if (viewanimation::isRecording()) viewanimation::recordChange(layer_, "bounds", old, bounds);
}

void View::setCenter(Point center)
{
    HC_CHECK_MAIN_THREAD();
    Point old = layer_->position();
    if (old == center) return;
    layer_->setPosition(center);
    if (viewanimation::isRecording()) viewanimation::recordChange(layer_, "position", old, center);
}

void View::setTransform(const AffineTransform& transform)
{
    HC_CHECK_MAIN_THREAD();
    AffineTransform old = layer_->transform();
    if (old == transform) return;
    layer_->setTransform(transform);
    if (viewanimation::isRecording()) viewanimation::recordChange(layer_, "transform", old, transform);
}

// --- appearance -------------------------------------------------------------

double View::alpha() const { return layer_->opacity(); }

void View::setAlpha(double alpha)
{
    HC_CHECK_MAIN_THREAD();
    double old = layer_->opacity();
    layer_->setOpacity(alpha);
    if (layer_->opacity() != old && viewanimation::isRecording())
        viewanimation::recordChange(layer_, "opacity", old, layer_->opacity());
}

bool View::isHidden() const { return layer_->isHidden(); }
void View::setHidden(bool hidden)
{
    HC_CHECK_MAIN_THREAD();
    layer_->setHidden(hidden);
}

const std::optional<Color>& View::backgroundColor() const { return layer_->backgroundColor(); }

void View::setBackgroundColor(std::optional<Color> color)
{
    HC_CHECK_MAIN_THREAD();
    std::optional<Color> old = layer_->backgroundColor();
    if (old == color) return;
    layer_->setBackgroundColor(color);
    if (viewanimation::isRecording()) {
        // A missing colour animates as clear, as on the platform.
        viewanimation::recordChange(layer_, "backgroundColor", old.value_or(Color::clearColor()),
                                    color.value_or(Color::clearColor()));
    }
}

bool View::clipsToBounds() const { return layer_->masksToBounds(); }
void View::setClipsToBounds(bool clips)
{
    HC_CHECK_MAIN_THREAD();
    layer_->setMasksToBounds(clips);
}

// --- hierarchy ----------------------------------------------------------------

std::shared_ptr<Window> View::window() const
{
    const View* v = this;
    while (auto s = v->superview_.lock()) v = s.get();
    return std::dynamic_pointer_cast<Window>(std::const_pointer_cast<Object>(v->weak_from_this().lock()));
}

void View::addSubview(const ViewPtr& view)
{
    HC_CHECK_MAIN_THREAD();
    insertAt(view, [this] { return subviews_.size(); });
}

void View::insertSubview(const ViewPtr& view, size_t index)
{
    HC_CHECK_MAIN_THREAD();
    insertAt(view, [this, index] { return std::min(index, subviews_.size()); });
}

void View::insertSubviewAbove(const ViewPtr& view, const ViewPtr& sibling)
{
    if (view == sibling) return;
    insertAt(view, [this, sibling] {
        auto it = std::find(subviews_.begin(), subviews_.end(), sibling);
        return it == subviews_.end() ? subviews_.size() : static_cast<size_t>(it - subviews_.begin()) + 1;
    });
}

void View::insertSubviewBelow(const ViewPtr& view, const ViewPtr& sibling)
{
    if (view == sibling) return;
    insertAt(view, [this, sibling] {
        auto it = std::find(subviews_.begin(), subviews_.end(), sibling);
        return it == subviews_.end() ? subviews_.size() : static_cast<size_t>(it - subviews_.begin());
    });
}

void View::insertAt(const ViewPtr& view, const std::function<size_t()>& index)
{
    if (!view || view.get() == this || isDescendantOf(view)) return;
    auto me = platform::self(this);
    auto old = view->superview();
    if (old.get() == this) {
        // Only the order changes: no view moves between superviews or windows.
        subviews_.erase(std::find(subviews_.begin(), subviews_.end(), view));
        subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(std::min(index(), subviews_.size())), view);
        setNeedsLayout();
        return;
    }
    auto oldWindow = view->window();
    auto newWindow = window();
    view->willMoveToSuperview(me);
    if (oldWindow != newWindow) notifyWillMoveToWindow(view, newWindow);
    if (old) old->detachFromSuperview(view);
    view->superview_ = me;
    subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(std::min(index(), subviews_.size())), view);
    if (oldWindow != newWindow) {
        notifyDidMoveToWindow(view);
        queueDisplayInTree(view);
    }
    view->didMoveToSuperview();
    didAddSubview(view);
    setNeedsLayout();
}

// Takes `view` out of this view's subviews; the caller sends the move hooks.
void View::detachFromSuperview(const ViewPtr& view)
{
    willRemoveSubview(view);
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    if (it != subviews_.end()) subviews_.erase(it);
    view->superview_.reset();
    setNeedsLayout();
}

void View::removeFromSuperview()
{
    HC_CHECK_MAIN_THREAD();
    auto old = superview();
    if (!old) return;
    auto me = platform::self(this);  // the superview may hold the last reference
    auto oldWindow = window();
    willMoveToSuperview(nullptr);
    if (oldWindow) notifyWillMoveToWindow(me, nullptr);
    old->detachFromSuperview(me);
    if (oldWindow) notifyDidMoveToWindow(me);
    didMoveToSuperview();
}

void View::bringSubviewToFront(const ViewPtr& view)
{
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    if (it == subviews_.end()) return;
    subviews_.erase(it);
    subviews_.push_back(view);
}

void View::sendSubviewToBack(const ViewPtr& view)
{
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    if (it == subviews_.end()) return;
    subviews_.erase(it);
    subviews_.insert(subviews_.begin(), view);
}

void View::exchangeSubviews(size_t index1, size_t index2)
{
    if (index1 >= subviews_.size() || index2 >= subviews_.size()) return;
    std::swap(subviews_[index1], subviews_[index2]);
}

bool View::isDescendantOf(const ViewPtr& view) const
{
    if (!view) return false;
    for (const View* v = this; v;) {
        if (v == view.get()) return true;
        auto s = v->superview_.lock();
        v = s.get();
    }
    return false;
}

ViewPtr View::viewWithTag(int tag)
{
    if (tag_ == tag) return platform::self(this);
    for (const auto& sub : subviews_) {
        if (auto found = sub->viewWithTag(tag)) return found;
    }
    return nullptr;
}

// --- layout -------------------------------------------------------------------

void View::boundsDidChange(const Rect& oldBounds)
{
    if (oldBounds.size == layer_->bounds().size) return;
    if (autoresizesSubviews_) {
        auto subviews = subviews_;
        for (const auto& sub : subviews) sub->resizeWithOldSuperviewSize(oldBounds.size);
    }
    setNeedsLayout();
}

void View::resizeWithOldSuperviewSize(Size oldSize)
{
    auto super = superview();
    if (!super || autoresizingMask_ == AutoresizingNone) return;
    Size newSize = super->bounds().size;
    Rect f = frame();
    const unsigned m = autoresizingMask_;
    resizeAxis(oldSize.width, newSize.width, f.origin.x, f.size.width, m & AutoresizingFlexibleLeftMargin,
               m & AutoresizingFlexibleWidth, m & AutoresizingFlexibleRightMargin);
    resizeAxis(oldSize.height, newSize.height, f.origin.y, f.size.height, m & AutoresizingFlexibleTopMargin,
               m & AutoresizingFlexibleHeight, m & AutoresizingFlexibleBottomMargin);
    setFrame(f);
}

void View::setNeedsLayout()
{
    HC_CHECK_MAIN_THREAD();
    needsLayout_ = true;
    scheduleLayoutPass();
}

void View::layoutIfNeeded()
{
    HC_CHECK_MAIN_THREAD();
    auto keep = weak_from_this().lock();  // layoutSubviews may detach this view
    if (needsLayout_) {
        needsLayout_ = false;
        layoutSubviews();
    }
    auto subviews = subviews_;
    for (const auto& sub : subviews) sub->layoutIfNeeded();
}

Size View::sizeThatFits(Size) const
{
    return bounds().size;
}

void View::sizeToFit()
{
    Size s = sizeThatFits(bounds().size);
    setFrame(Rect(frame().origin, s));
}

// --- drawing ------------------------------------------------------------------

void View::drawRect(const Rect&) {}

void View::setNeedsDisplay()
{
    HC_CHECK_MAIN_THREAD();
    needsDisplay_ = true;
    queueDisplay();
}

void View::queueDisplay()
{
    if (!needsDisplay_ || displayQueued_ || !window()) return;
    displayQueued_ = true;
    displayQueue().push_back(platform::self(this));
    if (displayPassScheduled) return;
    displayPassScheduled = true;
    Thread::mainThread()->runLoop()->post(displayPendingViews);
}

void View::queueDisplayInTree(const ViewPtr& view)
{
    view->queueDisplay();
    for (const auto& sub : view->subviews_) queueDisplayInTree(sub);
}

void View::display()
{
    needsDisplay_ = false;
    const Rect b = bounds();
    std::unique_ptr<BitmapContext> bitmap;
    pushContext([&] {
        bitmap = std::make_unique<BitmapContext>(b.size);
        bitmap->translateCTM(-b.origin.x, -b.origin.y);
        return bitmap.get();
    });
    drawRect(b);
    popContext();
    // A view that never asked for the context drew nothing and keeps no bitmap.
    layer_->setContents(bitmap ? bitmap->makeImage() : nullptr);
}

std::shared_ptr<TouchResponder> View::nextTouchResponder() const
{
    if (auto controller = viewController_.lock()) return controller;
    return superview();
}

// --- coordinates and touches ----------------------------------------------------

AffineTransform View::toSuperviewTransform() const
{
    return layer_->toParentTransform();
}

AffineTransform View::transformTo(const ViewPtr& view) const
{
    // Up to this view's root, in the root's bounds coordinates.
    auto upToRoot = [](const View* v, const View** root) {
        AffineTransform t;
        while (auto s = v->superview_.lock()) {
            t = t.concat(v->toSuperviewTransform());
            v = s.get();
        }
        *root = v;
        return t;
    };
    const View* myRoot = nullptr;
    AffineTransform up = upToRoot(this, &myRoot);
    if (!view) return up;
    const View* theirRoot = nullptr;
    AffineTransform theirUp = upToRoot(view.get(), &theirRoot);
    if (myRoot != theirRoot) {
        // Different trees meet in the space their roots' frames are given in
        // (the screen, for windows).
        up = up.concat(myRoot->toSuperviewTransform()).concat(theirRoot->toSuperviewTransform().inverted());
    }
    return up.concat(theirUp.inverted());
}

Point View::convertPointTo(Point p, const ViewPtr& view) const { return transformTo(view).apply(p); }
Point View::convertPointFrom(Point p, const ViewPtr& view) const { return transformTo(view).inverted().apply(p); }
Rect View::convertRectTo(const Rect& r, const ViewPtr& view) const { return transformTo(view).apply(r); }
Rect View::convertRectFrom(const Rect& r, const ViewPtr& view) const
{
    return transformTo(view).inverted().apply(r);
}

bool View::pointInside(Point p) const
{
    return bounds().contains(p);
}

ViewPtr View::hitTest(Point p)
{
    if (isHidden() || !userInteractionEnabled_ || alpha() < 0.01) return nullptr;
    if (!pointInside(p)) return nullptr;
    auto subviews = subviews_;
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        Point local = (*it)->toSuperviewTransform().inverted().apply(p);
        if (auto hit = (*it)->hitTest(local)) return hit;
    }
    return platform::self(this);
}

}  // namespace platform::ui
