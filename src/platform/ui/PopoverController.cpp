#include "platform/ui/PopoverController.h"

#include <algorithm>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Transitions.h"

namespace platform::ui {
namespace {

std::vector<std::shared_ptr<PopoverController>>& shownInPopoverController()
{
    static std::vector<std::shared_ptr<PopoverController>> list;
    return list;
}

// Runs the appearance calls of a controller coming or going, ending them at
// once or after the transition.
void appear(const ViewControllerPtr& controller, bool appearing, bool animated)
{
    if (!controller) return;
    controller->beginAppearanceTransition(appearing, animated);
    if (animated)
        Transitions::schedule(kTransitionDuration, [controller] { controller->endAppearanceTransition(); });
    else
        controller->endAppearanceTransition();
}

}  // namespace

bool PopoverControllerDelegate::popoverControllerShouldDismissPopover(PopoverController&) { return true; }
void PopoverControllerDelegate::popoverControllerDidDismissPopover(PopoverController&) {}

PopoverController::PopoverController(ViewControllerPtr contentViewController)
    : content_(std::move(contentViewController))
{
}

std::shared_ptr<PopoverController> PopoverController::withContentViewController(ViewControllerPtr contentViewController)
{
    return std::make_shared<PopoverController>(std::move(contentViewController));
}

void PopoverController::setContentViewController(ViewControllerPtr controller, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    if (controller == content_) return;
    if (!visible_) {
        content_ = std::move(controller);
        return;
    }
    Transitions::finishAll();
    auto old = std::exchange(content_, std::move(controller));
    appear(old, false, animated);
    appear(content_, true, animated);
}

Size PopoverController::popoverContentSize() const
{
    if (size_) return *size_;
    return content_ ? content_->contentSizeForViewInPopover() : Size();
}

void PopoverController::setPopoverContentSize(Size size, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    (void)animated;
    size_ = size;
}

void PopoverController::presentFromRect(const Rect& rect, const ViewPtr& inView, unsigned arrowDirections,
                                        bool animated)
{
    rect_ = rect;
    inView_ = inView;
    item_ = nullptr;
    arrows_ = arrowDirections;
    present(animated);
}

void PopoverController::presentFromBarButtonItem(const BarButtonItemPtr& item, unsigned arrowDirections, bool animated)
{
    rect_ = Rect();
    inView_.reset();
    item_ = item;
    arrows_ = arrowDirections;
    present(animated);
}

void PopoverController::present(bool animated)
{
    if (visible_) return;
    Transitions::finishAll();
    visible_ = true;
    shownInPopoverController().push_back(std::static_pointer_cast<PopoverController>(shared_from_this()));
    appear(content_, true, animated);
}

void PopoverController::dismissPopover(bool animated)
{
    dismiss(animated, false);
}

bool PopoverController::tapOutside()
{
    if (!visible_) return false;
    auto self = std::static_pointer_cast<PopoverController>(shared_from_this());
    if (auto d = delegate(); d && !d->popoverControllerShouldDismissPopover(*this)) return false;
    dismiss(true, true);
    return true;
}

void PopoverController::dismiss(bool animated, bool byPerson)
{
    if (!visible_) return;
    Transitions::finishAll();
    auto self = std::static_pointer_cast<PopoverController>(shared_from_this());
    visible_ = false;
    std::erase(shownInPopoverController(), self);
    auto content = content_;
    if (content) content->beginAppearanceTransition(false, animated);
    auto finish = [self, content, byPerson] {
        if (content) content->endAppearanceTransition();
        if (byPerson)
            if (auto d = self->delegate()) d->popoverControllerDidDismissPopover(*self);
    };
    if (animated)
        Transitions::schedule(kTransitionDuration, finish);
    else
        finish();
}

std::vector<std::shared_ptr<PopoverController>> PopoverController::visiblePopovers()
{
    return shownInPopoverController();
}

}  // namespace platform::ui
