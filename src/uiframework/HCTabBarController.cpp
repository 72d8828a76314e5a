#include "uiframework/HCTabBarController.h"

#include <set>

#include "platform/foundation/ProgrammingError.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "uiframework/HCViewController.h"

namespace {

// The page at the root of a tab: the tab's controller, or the first page of
// the navigation controller it is.
std::shared_ptr<HCViewController> rootPageOf(const platform::ui::ViewControllerPtr& controller)
{
    if (auto navigation = std::dynamic_pointer_cast<platform::ui::NavigationController>(controller)) {
        const auto& stack = navigation->viewControllers();
        return stack.empty() ? nullptr : std::dynamic_pointer_cast<HCViewController>(stack.front());
    }
    return std::dynamic_pointer_cast<HCViewController>(controller);
}

}  // namespace

void HCTabBarController::setTabBarItems(std::vector<HCTabBarItemPtr> items)
{
    HC_CHECK_MAIN_THREAD();
    std::set<std::string> names;
    std::vector<HCTabBarItemPtr> kept;
    std::vector<platform::ui::ViewControllerPtr> controllers;
    for (auto& item : items) {
        if (!item || !item->viewController()) continue;
        if (!names.insert(item->name()).second) {
            platform::reportProgrammingError("HCTabBarController: a second tab named \"" + item->name() + "\"");
            continue;
        }
        controllers.push_back(item->viewController());
        kept.push_back(std::move(item));
    }
    items_ = std::move(kept);
    setViewControllers(std::move(controllers));
    for (const auto& item : items_) {
        if (auto page = rootPageOf(item->viewController())) page->setOwningTabBarItem(item);
    }
}

HCTabBarItemPtr HCTabBarController::tabBarItemNamed(const std::string& name) const
{
    HC_CHECK_MAIN_THREAD();
    for (const auto& item : items_) {
        if (item->name() == name) return item;
    }
    return nullptr;
}

platform::ui::ViewControllerPtr HCTabBarController::showTabViewControllerNamed(const std::string& name,
                                                                                bool showAtRoot)
{
    HC_CHECK_MAIN_THREAD();
    auto item = tabBarItemNamed(name);
    if (!item) return nullptr;
    setSelectedViewController(item->viewController());
    if (showAtRoot) {
        if (auto navigation = std::dynamic_pointer_cast<platform::ui::NavigationController>(item->viewController())) {
            if (navigation->viewControllers().size() > 1) navigation->popToRootViewController(false);
        }
    }
    return item->viewController();
}
