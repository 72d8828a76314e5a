#pragma once
// What should happen when the player acts on a notification: open the
// dashboard on a tab (with a page pushed), call a method, or push a page
// onto a navigation controller. The client's banners take no taps; these
// are for the game and for banners to come.
//
// Thread: main thread only (they open screens).
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/Object.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"

class HCNotificationInputResponse {
public:
    virtual ~HCNotificationInputResponse() = default;
    virtual void respondToInput() = 0;
};

// Opens the dashboard on `tab`, with the page named (made by the controller
// loader on the first response and reused after) or given pushed on it.
class HCInputResponseOpenDashboard final : public platform::Object, public HCNotificationInputResponse {
public:
    // initWithTab:andControllerName:
    HCInputResponseOpenDashboard(std::optional<std::string> tab, std::optional<std::string> controllerName);
    // initWithTab:andController:
    HCInputResponseOpenDashboard(std::optional<std::string> tab, platform::ui::ViewControllerPtr controller);

    void respondToInput() override;

private:
    std::optional<std::string> mStartingTab;
    std::optional<std::string> mControllerName;
    platform::ui::ViewControllerPtr mStartingController;
};

// Calls a method of an object the response does not keep alive; once the
// object is gone, responding does nothing.
class HCInputResponsePerformSelector final : public platform::Object, public HCNotificationInputResponse {
public:
    HCInputResponsePerformSelector(std::weak_ptr<platform::Object> target,
                                   std::function<void(platform::Object&)> selector);
    // responseWithSelector:andTarget:
    template <class T>
    static std::shared_ptr<HCInputResponsePerformSelector> responseWithSelector(void (T::*selector)(),
                                                                                const std::shared_ptr<T>& target)
    {
        return std::make_shared<HCInputResponsePerformSelector>(
            std::weak_ptr<platform::Object>(target),
            [selector](platform::Object& object) { (static_cast<T&>(object).*selector)(); });
    }

    void respondToInput() override;

private:
    std::weak_ptr<platform::Object> mTarget;
    std::function<void(platform::Object&)> mSelector;
};

// Makes the page named by the controller loader and pushes it onto the
// navigation controller (or presents it modally). Nothing when the loader
// makes no page or the navigation controller is gone (it is not kept alive).
class HCInputResponsePushController final : public platform::Object, public HCNotificationInputResponse {
public:
    HCInputResponsePushController(std::string controllerName,
                                  const std::shared_ptr<platform::ui::NavigationController>& navController,
                                  bool showAsModal);
    // responseWithControllerName:andNavController:andShowAsModal:
    static std::shared_ptr<HCInputResponsePushController> responseWithControllerName(
        std::string controllerName, const std::shared_ptr<platform::ui::NavigationController>& navController,
        bool showAsModal);

    void respondToInput() override;

private:
    std::string mControllerName;
    std::weak_ptr<platform::ui::NavigationController> mNavController;
    bool mShowAsModal;
};
