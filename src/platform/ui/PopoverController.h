#pragma once
// PopoverController: a content controller shown in a balloon that points at
// a rectangle of a view or at a bar button item (large screens).
//
// Presenting runs the content controller's appearance calls (ending after
// kTransitionDuration when animated); dismissing runs the disappearance. A
// dismissal in code tells the delegate nothing; a person's tap outside the
// balloon (tapOutside) asks popoverControllerShouldDismissPopover and, once
// the balloon has gone, tells popoverControllerDidDismissPopover. A shown
// popover is kept alive by the list of shown popovers, so an owner that lets
// go of it while it is shown does not pull it off the screen.
//
// Thread: main thread only.
#include <memory>
#include <optional>
#include <vector>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/ViewController.h"

namespace platform::ui {

class PopoverController;

// Bit values match the platform's arrow directions.
enum PopoverArrowDirection : unsigned {
    PopoverArrowDirectionUp = 1u << 0,
    PopoverArrowDirectionDown = 1u << 1,
    PopoverArrowDirectionLeft = 1u << 2,
    PopoverArrowDirectionRight = 1u << 3,
    PopoverArrowDirectionAny = 0xFu,
};

// Both optional: by default a tap outside dismisses.
class PopoverControllerDelegate {
public:
    virtual ~PopoverControllerDelegate() = default;
    virtual bool popoverControllerShouldDismissPopover(PopoverController& popoverController);
    virtual void popoverControllerDidDismissPopover(PopoverController& popoverController);
};

class PopoverController : public Object {
public:
    explicit PopoverController(ViewControllerPtr contentViewController);
    static std::shared_ptr<PopoverController> withContentViewController(ViewControllerPtr contentViewController);

    const ViewControllerPtr& contentViewController() const { return content_; }
    // While shown, the old content disappears and the new one appears.
    void setContentViewController(ViewControllerPtr controller, bool animated);
    // The size set, else the content controller's size for popovers.
    Size popoverContentSize() const;
    void setPopoverContentSize(Size size, bool animated);

    // Presenting again while shown only moves the balloon.
    void presentFromRect(const Rect& rect, const ViewPtr& inView, unsigned arrowDirections, bool animated);
    void presentFromBarButtonItem(const BarButtonItemPtr& item, unsigned arrowDirections, bool animated);
    void dismissPopover(bool animated);
    bool isPopoverVisible() const { return visible_; }

    // A person taps outside the balloon: false when it is not shown or the
    // delegate keeps it.
    bool tapOutside();

    std::shared_ptr<PopoverControllerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<PopoverControllerDelegate> delegate)
    {
        HC_CHECK_MAIN_THREAD();
        delegate_ = std::move(delegate);
    }

    // Where it was last presented.
    const Rect& presentedRect() const { return rect_; }
    ViewPtr presentedInView() const { return inView_.lock(); }
    const BarButtonItemPtr& presentedFromItem() const { return item_; }
    unsigned permittedArrowDirections() const { return arrows_; }

    // Popovers on screen, oldest first.
    static std::vector<std::shared_ptr<PopoverController>> visiblePopovers();

private:
    void present(bool animated);
    void dismiss(bool animated, bool byPerson);

    ViewControllerPtr content_;
    std::optional<Size> size_;
    bool visible_ = false;
    std::weak_ptr<PopoverControllerDelegate> delegate_;
    Rect rect_;
    std::weak_ptr<View> inView_;
    BarButtonItemPtr item_;
    unsigned arrows_ = PopoverArrowDirectionAny;
};

using PopoverControllerPtr = std::shared_ptr<PopoverController>;

}  // namespace platform::ui
