#pragma once
// View: a rectangle of the headless UI. It holds what a screen would show
// (geometry, visibility, colour, its subviews) and never draws.
//
// API contract (other UI classes build on this; keep it stable):
// - Views live in std::shared_ptr (make with View::make or std::make_shared).
//   A view retains its subviews; superview and window are weak.
// - Geometry lives in the view's Layer: center == layer position, bounds ==
//   layer bounds, transform == layer transform, frame is derived from them
//   (the bounding box of the transformed bounds around the anchor point).
//   setFrame with a non-identity transform keeps the transform and moves the
//   centre; the bounds size follows only for axis-aligned transforms.
// - When the bounds size changes, every subview is resized by its
//   autoresizing mask (when autoresizesSubviews is on), then setNeedsLayout.
// - setNeedsLayout schedules one layout pass on the main run loop for every
//   window's tree; layoutIfNeeded runs it at once (self first, then subviews).
// - Tree edits call, in this order: willMoveToSuperview, willMoveToWindow
//   (whole subtree, only when the window changes), the edit, didMoveToWindow
//   (whole subtree), didMoveToSuperview, then the new superview's
//   didAddSubview. removeFromSuperview calls the old superview's
//   willRemoveSubview before the edit. Adding a view to itself or to one of
//   its descendants is ignored.
// - viewWithTag checks the receiver first, then its subviews depth-first in
//   subview order (back to front).
// - hitTest(point in the receiver's coordinates) answers the front-most
//   descendant under the point; hidden views, views with alpha < 0.01 and
//   views with user interaction off (and their subtrees) are skipped.
// - Animation blocks (beginAnimations ... commitAnimations, animate()) apply
//   their end state at once and report completion through the main run loop
//   once delay + duration have passed on platform::Clock. Inside a block the
//   setters of center/frame/bounds/transform/alpha/backgroundColor also add a
//   basic animation to the layer under the property's key path ("position",
//   "bounds", "transform", "opacity", "backgroundColor"), so callers can see
//   what was animated and for how long.
// - drawRect draws the view's content into the current graphics context (see
//   GraphicsContext.h): a bitmap of the view's bounds, in bounds coordinates,
//   kept as the layer's contents. A view draws on the first main run loop
//   turn after it enters a window and on the turn after setNeedsDisplay,
//   once per turn however often it was asked (layout runs first). The
//   bitmap is made when drawRect first asks for the current context, so a
//   view that draws nothing keeps none.
// - Touches (Touch.h) reach the view that hit testing finds; the touch
//   callbacks pass what a view does not handle to its controller (when it is
//   a controller's view), else to its superview.
// - Subclasses override kindName() (short class-like name) and describe()
//   (their own content, e.g. a label's text) for the text dump of Describe.h.
//
// Thread: main thread only, like the platform's UI toolkit.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/Object.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AwakeFromNib.h"
#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Touch.h"

namespace platform::ui {

class Layer;
class Window;
class View;

using ViewPtr = std::shared_ptr<View>;

// Bit values match the platform's autoresizing mask numbers (18 = flexible
// width and height), since the client stores them as plain numbers.
enum AutoresizingMask : unsigned {
    AutoresizingNone = 0,
    AutoresizingFlexibleLeftMargin = 1u << 0,
    AutoresizingFlexibleWidth = 1u << 1,
    AutoresizingFlexibleRightMargin = 1u << 2,
    AutoresizingFlexibleTopMargin = 1u << 3,
    AutoresizingFlexibleHeight = 1u << 4,
    AutoresizingFlexibleBottomMargin = 1u << 5,
};

// Numbers match the platform's (0 is scale-to-fill).
enum class ContentMode : int {
    ScaleToFill = 0,
    ScaleAspectFit,
    ScaleAspectFill,
    Redraw,
    Center,
    Top,
    Bottom,
    Left,
    Right,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

enum class AnimationCurve : int { EaseInOut = 0, EaseIn, EaseOut, Linear };

// The delegate of an animation block. Retained until the block has reported.
class ViewAnimationDelegate {
public:
    virtual ~ViewAnimationDelegate() = default;
    virtual void animationWillStart(const std::string& name, const ObjectPtr& context);
    virtual void animationDidStop(const std::string& name, bool finished, const ObjectPtr& context);
};

class View : public Object, public TouchResponder, public AwakeFromNib {
public:
    explicit View(const Rect& frame = Rect());
    ~View() override;
    static ViewPtr make(const Rect& frame = Rect());

    // --- geometry -------------------------------------------------------
    Rect frame() const;
    void setFrame(const Rect& frame);
    Rect bounds() const;
    void setBounds(const Rect& bounds);
    Point center() const;
    void setCenter(Point center);
    AffineTransform transform() const;
    void setTransform(const AffineTransform& transform);
    const std::shared_ptr<Layer>& layer() const { return layer_; }

    // --- appearance -----------------------------------------------------
    double alpha() const;
    void setAlpha(double alpha);  // clamped to 0...1
    bool isHidden() const;
    void setHidden(bool hidden);
    // Empty: no background (the platform's nil colour).
    const std::optional<Color>& backgroundColor() const;
    void setBackgroundColor(std::optional<Color> color);
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { HC_CHECK_MAIN_THREAD(); opaque_ = opaque; }
    bool clipsToBounds() const;
    void setClipsToBounds(bool clips);
    ContentMode contentMode() const { return contentMode_; }
    void setContentMode(ContentMode mode) { HC_CHECK_MAIN_THREAD(); contentMode_ = mode; }
    int tag() const { return tag_; }
    void setTag(int tag) { HC_CHECK_MAIN_THREAD(); tag_ = tag; }
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { HC_CHECK_MAIN_THREAD(); userInteractionEnabled_ = enabled; }

    // --- hierarchy ------------------------------------------------------
    ViewPtr superview() const { return superview_.lock(); }
    const std::vector<ViewPtr>& subviews() const { return subviews_; }
    // The window at the root of this view's tree, or nullptr.
    std::shared_ptr<Window> window() const;
    void addSubview(const ViewPtr& view);
    void insertSubview(const ViewPtr& view, size_t index);  // index past the end appends
    void insertSubviewAbove(const ViewPtr& view, const ViewPtr& sibling);
    void insertSubviewBelow(const ViewPtr& view, const ViewPtr& sibling);
    void removeFromSuperview();
    void bringSubviewToFront(const ViewPtr& view);
    void sendSubviewToBack(const ViewPtr& view);
    void exchangeSubviews(size_t index1, size_t index2);  // out of range: nothing
    bool isDescendantOf(const ViewPtr& view) const;  // true for the view itself
    ViewPtr viewWithTag(int tag);

    // --- layout ---------------------------------------------------------
    unsigned autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(unsigned mask) { HC_CHECK_MAIN_THREAD(); autoresizingMask_ = mask; }
    bool autoresizesSubviews() const { return autoresizesSubviews_; }
    void setAutoresizesSubviews(bool on) { HC_CHECK_MAIN_THREAD(); autoresizesSubviews_ = on; }
    void setNeedsLayout();
    bool needsLayout() const { return needsLayout_; }
    void layoutIfNeeded();
    virtual void layoutSubviews() {}
    // The size the view would like within `size`; the default is its current size.
    virtual Size sizeThatFits(Size size) const;
    // Resizes to sizeThatFits(current size), keeping the frame's origin.
    virtual void sizeToFit();

    // --- coordinates and touches -----------------------------------------
    // `view` nullptr means the coordinates of this view's root (its window).
    Point convertPointTo(Point p, const ViewPtr& view) const;
    Point convertPointFrom(Point p, const ViewPtr& view) const;
    Rect convertRectTo(const Rect& r, const ViewPtr& view) const;
    Rect convertRectFrom(const Rect& r, const ViewPtr& view) const;
    virtual bool pointInside(Point p) const;
    virtual ViewPtr hitTest(Point p);

    // --- drawing ----------------------------------------------------------
    virtual void drawRect(const Rect& rect);
    void setNeedsDisplay();
    bool needsDisplay() const { return needsDisplay_; }
    // The controller whose view this is, else the superview.
    std::shared_ptr<TouchResponder> nextTouchResponder() const override;

    // --- dump -----------------------------------------------------------
    // Short class-like name for the dump ("View", "Label", ...).
    virtual std::string kindName() const { return "View"; }
    // The view's own content for the dump (e.g. a quoted label text); empty for none.
    virtual std::string describe() const { return {}; }

    // --- animation blocks (class-wide, main thread) -----------------------
    static void beginAnimations(const std::string& name, ObjectPtr context = nullptr);
    static void commitAnimations();
    static void setAnimationDuration(double seconds);
    static void setAnimationDelay(double seconds);
    static void setAnimationCurve(AnimationCurve curve);
    static void setAnimationDelegate(std::shared_ptr<ViewAnimationDelegate> delegate);
    // The did-stop selector's counterpart: called after the delegate's
    // animationDidStop when both are set.
    static void setAnimationDidStopCallback(
        std::function<void(const std::string& name, bool finished, const ObjectPtr& context)> callback);
    static void setAnimationsEnabled(bool enabled);
    static bool areAnimationsEnabled();
    // The closure form: runs `changes` inside a block and reports to `completion`.
    static void animate(double duration, const std::function<void()>& changes,
                        std::function<void(bool finished)> completion = nullptr);
    static void animate(double duration, double delay, AnimationCurve curve, const std::function<void()>& changes,
                        std::function<void(bool finished)> completion = nullptr);

    // --- hooks for subclasses ---------------------------------------------
    virtual void willMoveToSuperview(const ViewPtr& newSuperview) { (void)newSuperview; }
    virtual void didMoveToSuperview() {}
    virtual void willMoveToWindow(const std::shared_ptr<Window>& newWindow) { (void)newWindow; }
    virtual void didMoveToWindow() {}
    virtual void didAddSubview(const ViewPtr& subview) { (void)subview; }
    virtual void willRemoveSubview(const ViewPtr& subview) { (void)subview; }

private:
    friend class Layer;
    friend class ViewController;
    friend void displayPendingViews();

    // `index` is evaluated after `view` has left this view's subviews (when it was one).
    void insertAt(const ViewPtr& view, const std::function<size_t()>& index);
    void detachFromSuperview(const ViewPtr& oldSuper);
    void boundsDidChange(const Rect& oldBounds);
    void resizeWithOldSuperviewSize(Size oldSize);
    // Maps this view's bounds coordinates into its superview's coordinates.
    AffineTransform toSuperviewTransform() const;
    // Maps this view's bounds coordinates into `view`'s (nullptr: the root's).
    AffineTransform transformTo(const ViewPtr& view) const;

    // Draws into a fresh bitmap and keeps it as the layer's contents.
    void display();
    // Queues the view for the next display pass when it needs one and has a window.
    void queueDisplay();
    static void queueDisplayInTree(const ViewPtr& view);

    std::shared_ptr<Layer> layer_;
    std::weak_ptr<View> superview_;
    std::weak_ptr<TouchResponder> viewController_;
    std::vector<ViewPtr> subviews_;
    int tag_ = 0;
    bool opaque_ = true;
    bool userInteractionEnabled_ = true;
    bool autoresizesSubviews_ = true;
    bool needsLayout_ = false;
    bool needsDisplay_ = true;
    bool displayQueued_ = false;
    unsigned autoresizingMask_ = AutoresizingNone;
    ContentMode contentMode_ = ContentMode::ScaleToFill;
};

}  // namespace platform::ui
