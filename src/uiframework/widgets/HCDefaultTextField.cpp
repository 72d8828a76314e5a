#include "uiframework/widgets/HCDefaultTextField.h"

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Keyboard.h"

HCDefaultTextField::HCDefaultTextField(const platform::ui::Rect& frame) : platform::ui::TextField(frame) {}

HCDefaultTextField::~HCDefaultTextField() = default;

void HCDefaultTextField::setCloseKeyboardOnReturn(bool close)
{
    HC_CHECK_MAIN_THREAD();
    if (close == closeKeyboardOnReturn_) return;
    closeKeyboardOnReturn_ = close;
    // An action waiting for "did end on exit" makes return give the focus up.
    if (close) {
        addTarget(this, [](platform::ui::Control&) {}, platform::ui::ControlEventEditingDidEndOnExit);
    } else {
        removeTarget(this, platform::ui::ControlEventEditingDidEndOnExit);
    }
}

std::shared_ptr<platform::ui::ScrollView> HCDefaultTextField::enclosingScrollView() const
{
    for (auto view = superview(); view; view = view->superview()) {
        if (auto scroll = std::dynamic_pointer_cast<platform::ui::ScrollView>(view)) return scroll;
    }
    return nullptr;
}

void HCDefaultTextField::didBeginEditing()
{
    platform::ui::TextField::didBeginEditing();
    if (!manageScrollViewOnFocus_) return;
    auto scroll = enclosingScrollView();
    if (!scroll || !scroll->window()) return;
    // Both rectangles in the scroll view's coordinates, whatever the rotation.
    const auto keyboard = scroll->convertRectFrom(platform::ui::Keyboard::frame(), nullptr);
    const auto field = convertRectTo(bounds(), scroll);
    const double overlap = field.maxY() + kKeyboardMargin - keyboard.minY();
    if (overlap <= 0) return;
    if (!offsetBeforeFocus_ || scrolled_.lock() != scroll) offsetBeforeFocus_ = scroll->contentOffset();
    scrolled_ = scroll;
    auto offset = scroll->contentOffset();
    offset.y += overlap;
    scroll->setContentOffset(offset, true);
}

void HCDefaultTextField::didEndEditing()
{
    platform::ui::TextField::didEndEditing();
    auto scroll = scrolled_.lock();
    if (scroll && offsetBeforeFocus_) scroll->setContentOffset(*offsetBeforeFocus_, true);
    scrolled_.reset();
    offsetBeforeFocus_.reset();
}
