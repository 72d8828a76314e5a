#include "platform/ui/NavigationBar.h"

#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

NavigationBar::NavigationBar(const Rect& frame) : View(frame)
{
    setAutoresizingMask(AutoresizingFlexibleWidth);
}

void NavigationBar::setItems(std::vector<NavigationItemPtr> items, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    items_ = std::move(items);
    lastChangeAnimated_ = animated;
}

NavigationItemPtr NavigationBar::topItem() const
{
    return items_.empty() ? nullptr : items_.back();
}

NavigationItemPtr NavigationBar::backItem() const
{
    return items_.size() < 2 ? nullptr : items_[items_.size() - 2];
}

bool NavigationBar::showsBackButton() const
{
    auto top = topItem();
    return backItem() && top && !top->hidesBackButton() && !top->leftBarButtonItem();
}

std::string NavigationBar::backButtonTitle() const
{
    return showsBackButton() ? backItem()->backButtonTitle() : std::string();
}

bool NavigationBar::tapBackButton()
{
    if (isHidden() || !showsBackButton()) return false;
    if (backHandler_) {
        auto handler = backHandler_;
        handler();
    }
    return true;
}

std::string NavigationBar::describe() const
{
    auto top = topItem();
    if (!top) return {};
    std::string text = "\"" + top->title() + "\"";
    if (top->titleView()) text += " titleView=" + top->titleView()->kindName();
    if (top->prompt()) text += " prompt=\"" + *top->prompt() + "\"";
    if (showsBackButton()) text += " back=\"" + backButtonTitle() + "\"";
    if (top->leftBarButtonItem()) text += " left=[" + top->leftBarButtonItem()->description() + "]";
    if (top->rightBarButtonItem()) text += " right=[" + top->rightBarButtonItem()->description() + "]";
    return text;
}

}  // namespace platform::ui
