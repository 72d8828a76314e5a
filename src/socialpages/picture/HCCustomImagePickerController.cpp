#include "socialpages/picture/HCCustomImagePickerController.h"

#include "dashboard/HCRootController.h"
#include "dashboard/HalcyonDashboard.h"
#include "kernel/system/HCSystemChecks.h"
#include "platform/ui/Screen.h"
#include "uiframework/HCUIKitCategories.h"

std::shared_ptr<HCCustomImagePickerController> HCCustomImagePickerController::make()
{
    return std::make_shared<HCCustomImagePickerController>();
}

void HCCustomImagePickerController::show()
{
    HC_CHECK_MAIN_THREAD();
    if (!is3PointOhSystemVersion()) {
        showInOwnWindow();
        return;
    }
    if (auto root = HalcyonDashboard::getRootController())
        root->presentModalViewController(std::static_pointer_cast<HCCustomImagePickerController>(platform::self(this)),
                                         true);
}

void HCCustomImagePickerController::hide()
{
    HC_CHECK_MAIN_THREAD();
    if (!is3PointOhSystemVersion()) {
        hideOwnWindow();
        return;
    }
    auto root = HalcyonDashboard::getRootController();
    // Only this picker: the root's modal may since have become another page.
    if (root && root->modalViewController().get() == this) root->dismissModalViewController(true);
}

void HCCustomImagePickerController::showInOwnWindow()
{
    if (windowFor2x_) return;
    auto application = platform::ui::Application::shared();
    statusBarWasHiddenFor2x_ = application->isStatusBarHidden();
    statusBarOrientationFor2x_ = application->statusBarOrientation();
    statusBarStyleFor2x_ = application->statusBarStyle();
    keyWindowBefore_ = application->keyWindow();
    application->setStatusBarStyle(platform::ui::StatusBarStyle::BlackTranslucent, false);
    application->setStatusBarHidden(sourceType() != SourceType::Camera, true);
    application->setStatusBarOrientation(platform::ui::InterfaceOrientation::Portrait, false);

    const auto bounds = platform::ui::Screen::mainScreen()->bounds();
    auto view = platform::ui::View::make(bounds);
    view->setBackgroundColor(platform::ui::Color::clearColor());
    controllerFor2x_ = std::make_shared<platform::ui::ViewController>();
    controllerFor2x_->setView(view);
    windowFor2x_ = platform::ui::Window::make(bounds);
    windowFor2x_->addSubview(view);
    windowFor2x_->setRootViewController(controllerFor2x_);
    windowFor2x_->makeKeyAndVisible();
    // The window shows its controller as the platform's windows do.
    controllerFor2x_->beginAppearanceTransition(true, false);
    controllerFor2x_->endAppearanceTransition();
    controllerFor2x_->presentModalViewController(
        std::static_pointer_cast<HCCustomImagePickerController>(platform::self(this)), true);
}

void HCCustomImagePickerController::hideOwnWindow()
{
    if (!windowFor2x_) return;
    controllerFor2x_->dismissModalViewController(false);
    controllerFor2x_->beginAppearanceTransition(false, false);
    controllerFor2x_->endAppearanceTransition();
    if (auto before = keyWindowBefore_.lock()) before->makeKeyWindow();
    windowFor2x_->setHidden(true);
    controllerFor2x_ = nullptr;
    windowFor2x_ = nullptr;
    auto application = platform::ui::Application::shared();
    application->setStatusBarStyle(statusBarStyleFor2x_, false);
    HChideStatusBar(statusBarWasHiddenFor2x_, true);
    application->setStatusBarOrientation(statusBarOrientationFor2x_, false);
}
