#pragma once
// TabBarController: controllers side by side, one of them (the selected
// tab) shown above a tab bar. A person's tap on a tab asks the delegate, then
// switches at once (tabs do not slide): while the tab bar controller is on
// screen the old tab's controller hears viewWillDisappear, the new one
// viewWillAppear, then viewDidDisappear and viewDidAppear. Selecting by code
// makes no delegate call. Tapping the tab that is already selected pops a
// navigation controller in it to its root.
//
// Thread: main thread only.
#include <memory>
#include <optional>
#include <vector>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

namespace platform::ui {

class TabBarController;

// The bar of tab buttons: the tab bar items of the controllers, and which is selected.
class TabBar : public View {
public:
    static constexpr double kHeight = 49;

    explicit TabBar(const Rect& frame = Rect());
    const std::vector<TabBarItemPtr>& items() const { return items_; }
    void setItems(std::vector<TabBarItemPtr> items) { HC_CHECK_MAIN_THREAD(); items_ = std::move(items); }
    const TabBarItemPtr& selectedItem() const { return selectedItem_; }
    void setSelectedItem(TabBarItemPtr item) { HC_CHECK_MAIN_THREAD(); selectedItem_ = std::move(item); }

    std::string kindName() const override { return "TabBar"; }
    // Each item's title and badge; the selected one marked with '*'.
    std::string describe() const override;

private:
    std::vector<TabBarItemPtr> items_;
    TabBarItemPtr selectedItem_;
};

// Both calls are optional: by default every tab may be selected.
class TabBarControllerDelegate {
public:
    virtual ~TabBarControllerDelegate() = default;
    virtual bool shouldSelectViewController(TabBarController& tabBarController, const ViewControllerPtr& controller);
    virtual void didSelectViewController(TabBarController& tabBarController, const ViewControllerPtr& controller);
};

class TabBarController : public ViewController {
public:
    TabBarController() = default;

    const std::vector<ViewControllerPtr>& viewControllers() const { return controllers_; }
    // Keeps the selected controller when it stays, else selects the first.
    // A controller listed twice or held by another container is refused.
    void setViewControllers(std::vector<ViewControllerPtr> controllers, bool animated = false);
    const ViewControllerPtr& selectedViewController() const { return selected_; }
    // A controller that is not one of the tabs is ignored.
    void setSelectedViewController(const ViewControllerPtr& controller);
    // -1 when there are no tabs.
    int selectedIndex() const;
    // Out of range: ignored.
    void setSelectedIndex(int index);

    // A person's tap on the tab at `index`; false when the tab could not be
    // tapped (out of range, disabled item) or the delegate refused it.
    bool tapTab(int index);

    const std::shared_ptr<TabBar>& tabBar() const { return tabBar_; }
    // Hides the tab bar while the selected tab is a navigation controller
    // with a controller on its stack that hides the bottom bar, and lays out the content.
    void updateTabBarVisibility();

    std::weak_ptr<TabBarControllerDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<TabBarControllerDelegate> delegate)
    {
        HC_CHECK_MAIN_THREAD();
        delegate_ = std::move(delegate);
    }

    void loadView() override;
    std::string kindName() const override { return "TabBarController"; }
    // Every tab must allow the orientation.
    bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation) override;

protected:
    std::vector<ViewControllerPtr> childrenForAppearance() const override;

private:
    void select(const ViewControllerPtr& controller);
    void showSelectedView();

    std::vector<ViewControllerPtr> controllers_;
    ViewControllerPtr selected_;
    std::shared_ptr<TabBar> tabBar_ = std::make_shared<TabBar>();
    std::weak_ptr<TabBarControllerDelegate> delegate_;
};

}  // namespace platform::ui
