#pragma once
// The dashboard's tab bar controller: tabs with names, so that the client
// opens the dashboard on a tab by name ("GameProfile") and can bring a tab
// back to its first page. The page at the root of each tab learns its tab
// (setOwningTabBarItem), so it can set the tab's badge.
//
// Thread: main thread.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/TabBarController.h"
#include "uiframework/HCTabBarItem.h"

class HCTabBarController : public platform::ui::TabBarController {
public:
    // The tabs, in order; their controllers become the tab bar's. A second
    // tab of the same name is refused (a programming error) with its controller.
    void setTabBarItems(std::vector<HCTabBarItemPtr> items);
    const std::vector<HCTabBarItemPtr>& tabBarItems() const { return items_; }
    // nil when no tab has the name.
    HCTabBarItemPtr tabBarItemNamed(const std::string& name) const;

    // Selects the tab of that name; with showAtRoot, a navigation controller
    // in it goes back to its first page (not animated). Answers the tab's
    // controller, nil (and nothing changes) when no tab has the name.
    platform::ui::ViewControllerPtr showTabViewControllerNamed(const std::string& name, bool showAtRoot = false);

    std::string kindName() const override { return "HCTabBarController"; }

private:
    std::vector<HCTabBarItemPtr> items_;
};
