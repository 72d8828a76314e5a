#include "platform/ui/AlertView.h"

namespace platform::ui {

void AlertViewDelegate::alertViewClickedButtonAtIndex(AlertView&, int) {}
void AlertViewDelegate::alertViewWillDismissWithButtonIndex(AlertView&, int) {}
void AlertViewDelegate::alertViewDidDismissWithButtonIndex(AlertView&, int) {}
bool AlertViewDelegate::alertViewCancel(AlertView&) { return false; }

AlertView::AlertView(std::string title, std::string message, std::weak_ptr<AlertViewDelegate> delegate,
                     std::optional<std::string> cancelButtonTitle, std::vector<std::string> otherButtonTitles)
    : message_(std::move(message)), delegate_(std::move(delegate))
{
    setTitle(std::move(title));
    if (cancelButtonTitle) cancelIndex_ = addButtonWithTitle(std::move(*cancelButtonTitle));
    for (auto& other : otherButtonTitles) addButtonWithTitle(std::move(other));
}

std::shared_ptr<AlertView> AlertView::make(std::string title, std::string message,
                                           std::weak_ptr<AlertViewDelegate> delegate,
                                           std::optional<std::string> cancelButtonTitle,
                                           std::vector<std::string> otherButtonTitles)
{
    return std::make_shared<AlertView>(std::move(title), std::move(message), std::move(delegate),
                                       std::move(cancelButtonTitle), std::move(otherButtonTitles));
}

std::vector<std::shared_ptr<AlertView>> AlertView::visibleAlerts()
{
    std::vector<std::shared_ptr<AlertView>> alerts;
    for (const auto& panel : shownPanels())
        if (auto alert = std::dynamic_pointer_cast<AlertView>(panel)) alerts.push_back(alert);
    return alerts;
}

std::string AlertView::describe() const
{
    return AlertPanel::describe() + " \"" + message_ + "\"";
}

void AlertView::notifyClicked(int index)
{
    if (auto d = delegate()) d->alertViewClickedButtonAtIndex(*this, index);
}

void AlertView::notifyWillDismiss(int index)
{
    if (auto d = delegate()) d->alertViewWillDismissWithButtonIndex(*this, index);
}

void AlertView::notifyDidDismiss(int index)
{
    if (auto d = delegate()) d->alertViewDidDismissWithButtonIndex(*this, index);
}

bool AlertView::notifyCancel()
{
    auto d = delegate();
    return d && d->alertViewCancel(*this);
}

}  // namespace platform::ui
