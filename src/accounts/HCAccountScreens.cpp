#include "accounts/HCAccountScreens.h"

#include "accounts/HCDoBootstrapController.h"
#include "accounts/HCIntroNavigationController.h"
#include "accounts/HCLinkSocialNetworksController.h"
#include "accounts/HCUserHalcyonApprovalController.h"
#include "accounts/HCWebNavIntroFlowController.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "uiframework/HCControllerLoader.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

platform::ui::ViewControllerPtr rootController()
{
    auto key = platform::ui::Application::shared()->keyWindow();
    return key ? std::dynamic_pointer_cast<platform::ui::ViewController>(key->rootViewController()) : nullptr;
}

}  // namespace

bool HCAccountScreens::isIntroFlowActive()
{
    return HCIntroNavigationController::activeIntroNavigationController() != nullptr;
}

void HCAccountScreens::presentApproval(const HCDelegate& approved, const HCDelegate& denied)
{
    HC_CHECK_MAIN_THREAD();
    auto screen = std::dynamic_pointer_cast<HCUserHalcyonApprovalController>(
        HCControllerLoader::load("UserHalcyonApproval"));
    if (!screen) {
        return;
    }
    screen->setApprovedDelegate(approved, denied);
    auto intro = HCIntroNavigationController::withScreen(screen);
    intro->hideBackground();
    presentRootControllerWithModal(intro);
}

void HCAccountScreens::presentConfirmAccount(const HCDelegate& complete, bool useModalInDashboard)
{
    HC_CHECK_MAIN_THREAD();
    auto screen = std::dynamic_pointer_cast<HCDoBootstrapController>(HCControllerLoader::load("DoBootstrap"));
    if (!screen) {
        return;
    }
    screen->setCompleteDelegate(complete);
    // In the open dashboard the screen follows the page it was asked from
    // (the approval sheet, or the tab's page).
    auto navigation = HalcyonDashboard::isShowingFullScreen() && !useModalInDashboard
                          ? HalcyonDashboard::getActiveNavigationController()
                          : nullptr;
    if (navigation) {
        navigation->pushViewController(screen, true);
        return;
    }
    presentRootControllerWithModal(HCIntroNavigationController::withScreen(screen));
}

void HCAccountScreens::presentLinkSocialNetworks()
{
    HC_CHECK_MAIN_THREAD();
    if (auto screen = HCControllerLoader::load("LinkSocialNetworks")) {
        presentRootControllerWithModal(HCIntroNavigationController::withScreen(screen));
    }
}

void HCAccountScreens::presentIntroFlow()
{
    HC_CHECK_MAIN_THREAD();
    auto intro = HCIntroNavigationController::withScreen(HCWebNavIntroFlowController::controller());
    intro->hideBackground();
    presentRootControllerWithModal(intro);
}

bool HCAccountScreens::hasSessionSeenLinkSocialNetworksScreen()
{
    return HCLinkSocialNetworksController::hasSessionSeenLinkSocialNetworksScreen();
}

void HCAccountScreens::invalidateSessionSeenLinkSocialNetworksScreen()
{
    HCLinkSocialNetworksController::invalidateSessionSeenLinkSocialNetworksScreen();
}

void HCAccountScreens::presentRootControllerWithModal(const platform::ui::ViewControllerPtr& modal)
{
    // Over an open dashboard the flow is the dashboard's modal, or the
    // dashboard would cover it.
    if (auto dashboard = HalcyonDashboard::getRootController(); dashboard && HalcyonDashboard::isShowingFullScreen()) {
        dashboard->presentModalViewController(modal, true);
        return;
    }
    if (auto root = rootController()) {
        root->presentModalViewController(modal, true);
        return;
    }
    auto screen = platform::ui::Screen::mainScreen();
    introWindow_ = platform::ui::Window::make(screen->bounds());
    introWindow_->setRootViewController(modal);
    modal->view()->setFrame(screen->applicationFrame());
    introWindow_->addSubview(modal->view());
    introWindow_->makeKeyAndVisible();
    modal->beginAppearanceTransition(true, false);
    modal->endAppearanceTransition();
}

void HCAccountScreens::closeIntroWindow()
{
    auto window = std::move(introWindow_);
    auto root = std::dynamic_pointer_cast<platform::ui::ViewController>(window->rootViewController());
    if (root) {
        if (root->modalViewController()) {
            root->dismissModalViewController(false);
        }
        root->beginAppearanceTransition(false, false);
        root->endAppearanceTransition();
        root->view()->removeFromSuperview();
    }
    window->setRootViewController(nullptr);
    window->setHidden(true);
}

void HCAccountScreens::dismissRootControllerOrItsModal(const platform::ui::ViewControllerPtr& endingScreen)
{
    HC_CHECK_MAIN_THREAD();
    if (endingScreen) {
        // Only the flow that holds the ending screen goes: another flow on
        // screen at the same time (the start-up's linking step in its own
        // window, say) stays.
        platform::ui::ViewControllerPtr flow = endingScreen->navigationController();
        if (!flow) {
            return;  // the player went back off it: none of its flow is left
        }
        // A screen shown over an earlier screen of the flow goes with it.
        while (auto earlier =
                   std::dynamic_pointer_cast<HCIntroNavigationController>(flow->presentingViewController())) {
            flow = earlier;
        }
        if (introWindow_ && introWindow_->rootViewController() == flow) {
            closeIntroWindow();
        } else if (auto presenter = flow->presentingViewController()) {
            presenter->dismissModalViewController(true);
        } else {
            HalcyonDashboard::dismissRootController();
        }
        return;
    }
    if (introWindow_) {
        closeIntroWindow();
        return;
    }
    // A flow over the game's own screen goes alone.
    if (auto root = rootController();
        root && std::dynamic_pointer_cast<HCIntroNavigationController>(root->modalViewController())) {
        root->dismissModalViewController(true);
        return;
    }
    // Inside the dashboard a flow is its sheet, or a page pushed on it: then
    // the dashboard closes with it.
    HalcyonDashboard::dismissRootControllerOrItsModal();
}

void HCAccountScreens::displayErrorMessage(const std::string& text)
{
    HC_CHECK_MAIN_THREAD();
    HalcyonDashboard::displayErrorMessage(text);
}
