#include "platform/ui/NavigationItem.h"

#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

void NavigationItem::setLeftBarButtonItem(BarButtonItemPtr item, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    left_ = std::move(item);
    lastChangeAnimated_ = animated;
}

void NavigationItem::setRightBarButtonItem(BarButtonItemPtr item, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    right_ = std::move(item);
    lastChangeAnimated_ = animated;
}

void NavigationItem::setHidesBackButton(bool hides, bool animated)
{
    HC_CHECK_MAIN_THREAD();
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
