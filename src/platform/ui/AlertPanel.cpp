#include "platform/ui/AlertPanel.h"

#include <algorithm>

#include "platform/ui/Transitions.h"

namespace platform::ui {
namespace {

std::vector<std::shared_ptr<AlertPanel>>& shown()
{
    static std::vector<std::shared_ptr<AlertPanel>> list;
    return list;
}

}  // namespace

std::string AlertPanel::buttonTitleAtIndex(int index) const
{
    if (index < 0 || index >= numberOfButtons()) return {};
    return buttons_[static_cast<size_t>(index)];
}

int AlertPanel::addButtonWithTitle(std::string title)
{
    buttons_.push_back(std::move(title));
    return numberOfButtons() - 1;
}

int AlertPanel::firstOtherButtonIndex() const
{
    for (int i = 0; i < numberOfButtons(); ++i)
        if (i != cancelIndex_ && i != destructiveIndex_) return i;
    return -1;
}

void AlertPanel::present()
{
    if (visible_) return;
    visible_ = true;
    shown().push_back(std::static_pointer_cast<AlertPanel>(shared_from_this()));
}

void AlertPanel::dismissWithClickedButtonIndex(int index, bool animated)
{
    dismiss(index, animated, false);
}

bool AlertPanel::clickButton(int index)
{
    if (!visible_ || index < 0 || index >= numberOfButtons()) return false;
    dismiss(index, true, true);
    return true;
}

void AlertPanel::cancel()
{
    if (!visible_) return;
    auto keepAlive = shared_from_this();
    if (notifyCancel()) {
        visible_ = false;
        std::erase(shown(), keepAlive);
        return;
    }
    if (cancelIndex_ >= 0 && cancelIndex_ < numberOfButtons())
        dismiss(cancelIndex_, false, true);
    else
        dismiss(-1, false, false);
}

void AlertPanel::dismiss(int index, bool animated, bool clicked)
{
    if (!visible_) return;
    auto self = std::static_pointer_cast<AlertPanel>(shared_from_this());
    if (clicked) {
        notifyClicked(index);
        // The delegate may have dismissed the panel itself.
        if (!visible_) return;
    }
    visible_ = false;
    // Off the list before the delegate hears: it may show the panel again.
    std::erase(shown(), self);
    notifyWillDismiss(index);
    if (animated)
        Transitions::schedule(kAlertDismissDuration, [self, index] { self->notifyDidDismiss(index); });
    else
        notifyDidDismiss(index);
}

std::vector<std::shared_ptr<AlertPanel>> AlertPanel::shownPanels()
{
    return shown();
}

std::string AlertPanel::describe() const
{
    std::string text = "\"" + title_ + "\" [";
    for (int i = 0; i < numberOfButtons(); ++i) {
        if (i) text += ", ";
        text += "\"" + buttons_[static_cast<size_t>(i)] + "\"";
        if (i == cancelIndex_) text += "*";
        if (i == destructiveIndex_) text += "!";
    }
    return text + "]";
}

}  // namespace platform::ui
