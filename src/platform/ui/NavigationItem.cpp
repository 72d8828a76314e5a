#include "platform/ui/NavigationItem.h"

namespace platform::ui {

void NavigationItem::setLeftBarButtonItem(BarButtonItemPtr item, bool animated)
{
    left_ = std::move(item);
    lastChangeAnimated_ = animated;
}

void NavigationItem::setRightBarButtonItem(BarButtonItemPtr item, bool animated)
{
    right_ = std::move(item);
    lastChangeAnimated_ = animated;
}

void NavigationItem::setHidesBackButton(bool hides, bool animated)
{
    hidesBackButton_ = hides;
    lastChangeAnimated_ = animated;
}

std::string NavigationItem::backButtonTitle() const
{
    if (back_ && !back_->displayTitle().empty()) return back_->displayTitle();
    if (!title_.empty()) return title_;
    return "Back";
}

}  // namespace platform::ui
