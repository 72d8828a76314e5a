#include "uiframework/HCNotificationInputResponse.h"

#include "core/halcyon/Halcyon.h"
#include "platform/runtime/ThreadChecker.h"
#include "uiframework/HCControllerLoader.h"

HCInputResponseOpenDashboard::HCInputResponseOpenDashboard(std::optional<std::string> tab,
                                                           std::optional<std::string> controllerName)
    : mStartingTab(std::move(tab)), mControllerName(std::move(controllerName))
{
}

HCInputResponseOpenDashboard::HCInputResponseOpenDashboard(std::optional<std::string> tab,
                                                           platform::ui::ViewControllerPtr controller)
    : mStartingTab(std::move(tab)), mStartingController(std::move(controller))
{
}

void HCInputResponseOpenDashboard::respondToInput()
{
    HC_CHECK_MAIN_THREAD();
    if (mControllerName && !mStartingController) mStartingController = HCControllerLoader::load(*mControllerName);
    std::vector<platform::ObjectPtr> controllers;
    if (mStartingController) controllers.push_back(mStartingController);
    Halcyon::launchDashboardWithDelegate(nullptr, mStartingTab, controllers);
}

HCInputResponsePerformSelector::HCInputResponsePerformSelector(std::weak_ptr<platform::Object> target,
                                                               std::function<void(platform::Object&)> selector)
    : mTarget(std::move(target)), mSelector(std::move(selector))
{
}

void HCInputResponsePerformSelector::respondToInput()
{
    HC_CHECK_MAIN_THREAD();
    if (auto target = mTarget.lock(); target && mSelector) mSelector(*target);
}

HCInputResponsePushController::HCInputResponsePushController(
    std::string controllerName, const std::shared_ptr<platform::ui::NavigationController>& navController,
    bool showAsModal)
    : mControllerName(std::move(controllerName)), mNavController(navController), mShowAsModal(showAsModal)
{
}

std::shared_ptr<HCInputResponsePushController> HCInputResponsePushController::responseWithControllerName(
    std::string controllerName, const std::shared_ptr<platform::ui::NavigationController>& navController,
    bool showAsModal)
{
    return std::make_shared<HCInputResponsePushController>(std::move(controllerName), navController, showAsModal);
}

void HCInputResponsePushController::respondToInput()
{
    HC_CHECK_MAIN_THREAD();
    auto navController = mNavController.lock();
    if (!navController) return;
    auto controller = HCControllerLoader::load(mControllerName);
    if (!controller) return;
    if (mShowAsModal)
        navController->presentModalViewController(controller, true);
    else
        navController->pushViewController(controller, true);
}
