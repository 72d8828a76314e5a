#include "platform/ui/TabBarController.h"

#include <algorithm>

#include "platform/foundation/ProgrammingError.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Transitions.h"

namespace platform::ui {
namespace {

bool containsInTabBarController(const std::vector<ViewControllerPtr>& list, const ViewControllerPtr& vc)
{
    return std::find(list.begin(), list.end(), vc) != list.end();
}

}  // namespace

TabBar::TabBar(const Rect& frame) : View(frame)
{
    setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleTopMargin);
}

std::string TabBar::describe() const
{
    std::string text;
    for (const auto& item : items_) {
        if (!text.empty()) text += " | ";
        if (item == selectedItem_) text += "*";
        text += "\"" + item->title() + "\"";
        if (item->badgeValue()) text += " (" + *item->badgeValue() + ")";
    }
    return text;
}

bool TabBarControllerDelegate::shouldSelectViewController(TabBarController&, const ViewControllerPtr&)
{
    return true;
}

void TabBarControllerDelegate::didSelectViewController(TabBarController&, const ViewControllerPtr&) {}

void TabBarController::setViewControllers(std::vector<ViewControllerPtr> controllers, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    (void)animated;
    Transitions::finishAll();
    std::erase(controllers, nullptr);
    for (size_t i = 0; i < controllers.size(); ++i) {
        const auto& vc = controllers[i];
        bool duplicate = std::count(controllers.begin(), controllers.end(), vc) > 1;
        if (duplicate || (!containsInTabBarController(controllers_, vc) && vc->parentViewController())) {
            reportProgrammingError("a " + vc->kindName() +
                                   " that is listed twice or already has a parent cannot become a tab");
            return;
        }
    }
    for (const auto& vc : controllers_)
        if (!containsInTabBarController(controllers, vc)) releaseChild(vc);
    for (const auto& vc : controllers)
        if (!containsInTabBarController(controllers_, vc)) adoptChild(vc);
    controllers_ = std::move(controllers);
    std::vector<TabBarItemPtr> items;
    for (const auto& vc : controllers_) items.push_back(vc->tabBarItem());
    tabBar_->setItems(std::move(items));

    ViewControllerPtr next = containsInTabBarController(controllers_, selected_) ? selected_
                             : controllers_.empty()           ? nullptr
                                                              : controllers_.front();
    if (next != selected_)
        select(next);
    else if (isViewLoaded())
        showSelectedView();
}

void TabBarController::setSelectedViewController(const ViewControllerPtr& controller)
{
    HC_CHECK_MAIN_THREAD();
    if (!controller || !containsInTabBarController(controllers_, controller)) return;
    select(controller);
}

int TabBarController::selectedIndex() const
{
    auto it = std::find(controllers_.begin(), controllers_.end(), selected_);
    return it == controllers_.end() ? -1 : static_cast<int>(it - controllers_.begin());
}

void TabBarController::setSelectedIndex(int index)
{
    HC_CHECK_MAIN_THREAD();
    if (index < 0 || index >= static_cast<int>(controllers_.size())) return;
    select(controllers_[static_cast<size_t>(index)]);
}

bool TabBarController::tapTab(int index)
{
    if (index < 0 || index >= static_cast<int>(controllers_.size()) || tabBar_->isHidden()) return false;
    auto controller = controllers_[static_cast<size_t>(index)];
    if (!controller->tabBarItem()->isEnabled()) return false;
    auto d = delegate_.lock();
    if (d && !d->shouldSelectViewController(*this, controller)) return false;
    if (controller == selected_) {
        if (auto nav = std::dynamic_pointer_cast<NavigationController>(controller)) nav->popToRootViewController(true);
    } else {
        select(controller);
    }
    if (d) d->didSelectViewController(*this, controller);
    return true;
}

void TabBarController::updateTabBarVisibility()
{
    bool hidden = false;
    if (auto nav = std::dynamic_pointer_cast<NavigationController>(selected_)) {
        const auto& stack = nav->viewControllers();
        hidden = std::any_of(stack.begin(), stack.end(),
                             [](const ViewControllerPtr& vc) { return vc->hidesBottomBarWhenPushed(); });
    }
    tabBar_->setHidden(hidden);
    const auto& container = viewIfLoaded();
    if (!container) return;
    Rect bounds = container->bounds();
    tabBar_->setFrame(Rect(0, bounds.height() - TabBar::kHeight, bounds.width(), TabBar::kHeight));
    if (selected_ && selected_->viewIfLoaded() && selected_->viewIfLoaded()->superview() == container)
        selected_->viewIfLoaded()->setFrame(
            Rect(0, 0, bounds.width(), std::max(0.0, bounds.height() - (hidden ? 0 : TabBar::kHeight))));
}

void TabBarController::loadView()
{
    auto container = View::make(Screen::mainScreen()->applicationFrame());
    setView(container);
    container->addSubview(tabBar_);
    showSelectedView();
}

bool TabBarController::shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation)
{
    if (controllers_.empty()) return ViewController::shouldAutorotateToInterfaceOrientation(orientation);
    return std::all_of(controllers_.begin(), controllers_.end(), [orientation](const ViewControllerPtr& vc) {
        return vc->shouldAutorotateToInterfaceOrientation(orientation);
    });
}

std::vector<ViewControllerPtr> TabBarController::childrenForAppearance() const
{
    if (selected_) return {selected_};
    return {};
}

void TabBarController::select(const ViewControllerPtr& controller)
{
    Transitions::finishAll();
    if (controller == selected_) return;
    auto old = selected_;
    selected_ = controller;
    tabBar_->setSelectedItem(controller ? controller->tabBarItem() : nullptr);
    if (isViewLoaded()) showSelectedView();
    updateTabBarVisibility();
    if (isVisible()) {
        if (old) old->beginAppearanceTransition(false, false);
        if (controller) controller->beginAppearanceTransition(true, false);
        if (old) old->endAppearanceTransition();
        if (controller) controller->endAppearanceTransition();
    }
}

void TabBarController::showSelectedView()
{
    auto container = view();
    // Only the selected tab's view (and the bar) stays; this also drops the
    // view of a controller that left the tabs.
    for (const auto& sub : std::vector<ViewPtr>(container->subviews()))
        if (sub != tabBar_ && (!selected_ || sub != selected_->viewIfLoaded())) sub->removeFromSuperview();
    if (selected_) {
        auto v = selected_->view();
        v->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
        if (v->superview() != container) container->insertSubviewBelow(v, tabBar_);
    }
    updateTabBarVisibility();
}

}  // namespace platform::ui
