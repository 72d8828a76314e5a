#include "uiframework/HCUIKitCategories.h"

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Application.h"
#include "platform/ui/Keyboard.h"

void HChideStatusBar(bool hidden, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    platform::ui::Application::shared()->setStatusBarHidden(hidden, animated);
}

platform::ui::Size HCgetKeyboardSize(const platform::Dictionary& userInfo)
{
    HC_CHECK_MAIN_THREAD();
    return platform::ui::keyboardSize(userInfo);
}

platform::ui::ViewControllerPtr previousViewController(
    const std::shared_ptr<platform::ui::NavigationController>& navigationController,
    const platform::ui::ViewControllerPtr& controller)
{
    HC_CHECK_MAIN_THREAD();
    return navigationController ? navigationController->previousViewController(controller) : nullptr;
}

void setTitleForAllStates(platform::ui::Button& button, const std::string& title)
{
    HC_CHECK_MAIN_THREAD();
    for (unsigned state : {platform::ui::ControlStateNormal, platform::ui::ControlStateHighlighted,
                           platform::ui::ControlStateSelected, platform::ui::ControlStateDisabled}) {
        button.setTitle(title, state);
    }
}
