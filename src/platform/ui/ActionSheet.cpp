#include "platform/ui/ActionSheet.h"

namespace platform::ui {

void ActionSheetDelegate::actionSheetClickedButtonAtIndex(ActionSheet&, int) {}
void ActionSheetDelegate::actionSheetWillDismissWithButtonIndex(ActionSheet&, int) {}
void ActionSheetDelegate::actionSheetDidDismissWithButtonIndex(ActionSheet&, int) {}
bool ActionSheetDelegate::actionSheetCancel(ActionSheet&) { return false; }

ActionSheet::ActionSheet(std::string title, std::weak_ptr<ActionSheetDelegate> delegate,
                         std::optional<std::string> cancelButtonTitle, std::optional<std::string> destructiveButtonTitle,
                         std::vector<std::string> otherButtonTitles)
    : delegate_(std::move(delegate))
{
    setTitle(std::move(title));
    if (destructiveButtonTitle) destructiveIndex_ = addButtonWithTitle(std::move(*destructiveButtonTitle));
    for (auto& other : otherButtonTitles) addButtonWithTitle(std::move(other));
    if (cancelButtonTitle) cancelIndex_ = addButtonWithTitle(std::move(*cancelButtonTitle));
}

std::shared_ptr<ActionSheet> ActionSheet::make(std::string title, std::weak_ptr<ActionSheetDelegate> delegate,
                                               std::optional<std::string> cancelButtonTitle,
                                               std::optional<std::string> destructiveButtonTitle,
                                               std::vector<std::string> otherButtonTitles)
{
    return std::make_shared<ActionSheet>(std::move(title), std::move(delegate), std::move(cancelButtonTitle),
                                         std::move(destructiveButtonTitle), std::move(otherButtonTitles));
}

void ActionSheet::showInView(const ViewPtr& view)
{
    showFrom(Origin::View, view, nullptr, Rect());
}

void ActionSheet::showFromTabBar(const ViewPtr& tabBar)
{
    showFrom(Origin::TabBar, tabBar, nullptr, Rect());
}

void ActionSheet::showFromBarButtonItem(const BarButtonItemPtr& item, bool animated)
{
    (void)animated;
    showFrom(Origin::BarButtonItem, nullptr, item, Rect());
}

void ActionSheet::showFromRect(const Rect& rect, const ViewPtr& view, bool animated)
{
    (void)animated;
    showFrom(Origin::Rect, view, nullptr, rect);
}

void ActionSheet::showFrom(Origin origin, const ViewPtr& view, const BarButtonItemPtr& item, const Rect& rect)
{
    if (isVisible()) return;
    origin_ = origin;
    originView_ = view;
    originItem_ = item;
    originRect_ = rect;
    present();
}

std::vector<std::shared_ptr<ActionSheet>> ActionSheet::visibleSheets()
{
    std::vector<std::shared_ptr<ActionSheet>> sheets;
    for (const auto& panel : shownPanels())
        if (auto sheet = std::dynamic_pointer_cast<ActionSheet>(panel)) sheets.push_back(sheet);
    return sheets;
}

void ActionSheet::notifyClicked(int index)
{
    if (auto d = delegate()) d->actionSheetClickedButtonAtIndex(*this, index);
}

void ActionSheet::notifyWillDismiss(int index)
{
    if (auto d = delegate()) d->actionSheetWillDismissWithButtonIndex(*this, index);
}

void ActionSheet::notifyDidDismiss(int index)
{
    if (auto d = delegate()) d->actionSheetDidDismissWithButtonIndex(*this, index);
}

bool ActionSheet::notifyCancel()
{
    auto d = delegate();
    return d && d->actionSheetCancel(*this);
}

}  // namespace platform::ui
