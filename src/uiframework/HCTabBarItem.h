#pragma once
// One tab of an HCTabBarController: the name by which the client shows it
// ("GameProfile", ...) and the controller it holds. Its button is the
// controller's own tab bar item.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "platform/ui/TabBarItem.h"
#include "platform/ui/ViewController.h"

class HCTabBarItem final : public platform::Object {
public:
    HCTabBarItem(std::string name, platform::ui::ViewControllerPtr viewController)
        : name_(std::move(name)), viewController_(std::move(viewController))
    {
    }
    static std::shared_ptr<HCTabBarItem> make(std::string name, platform::ui::ViewControllerPtr viewController)
    {
        return std::make_shared<HCTabBarItem>(std::move(name), std::move(viewController));
    }

    const std::string& name() const { return name_; }
    const platform::ui::ViewControllerPtr& viewController() const { return viewController_; }
    // The button of the tab (its badge, title and image).
    const platform::ui::TabBarItemPtr& tabBarItem() const { return viewController_->tabBarItem(); }

private:
    std::string name_;
    platform::ui::ViewControllerPtr viewController_;
};

using HCTabBarItemPtr = std::shared_ptr<HCTabBarItem>;
