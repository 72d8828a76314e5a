#include "accounts/HCIntroNavigationController.h"
#include "platform/runtime/ThreadChecker.h"


namespace {

std::weak_ptr<HCIntroNavigationController>& active()
{
    static std::weak_ptr<HCIntroNavigationController> shown;
    return shown;
}

}  // namespace

std::shared_ptr<HCIntroNavigationController> HCIntroNavigationController::withScreen(
    const platform::ui::ViewControllerPtr& screen)
{
    HC_CHECK_MAIN_THREAD();
    auto intro = std::make_shared<HCIntroNavigationController>();
    intro->initWithRootViewController(screen);
    intro->setNavigationBarHidden(true, false);
    return intro;
}

std::shared_ptr<HCIntroNavigationController> HCIntroNavigationController::activeIntroNavigationController()
{
    HC_CHECK_MAIN_THREAD();
    return active().lock();
}

void HCIntroNavigationController::viewDidAppear(bool animated)
{
    HCNavigationController::viewDidAppear(animated);
    active() = std::static_pointer_cast<HCIntroNavigationController>(shared_from_this());
}

void HCIntroNavigationController::viewDidDisappear(bool animated)
{
    HCNavigationController::viewDidDisappear(animated);
    if (active().lock().get() == this) {
        active().reset();
    }
}
