#include "socialpages/invitations/HCInviteNotificationController.h"

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCUIKitCategories.h"

std::shared_ptr<HCInviteNotificationController> HCInviteNotificationController::showInviteNotification(
    const std::string& notificationText, const HCUserPtr& user, const std::string& headerText)
{
    auto panel = HCControllerLoader::load<HCInviteNotificationController>("InviteNotification");
    if (!panel) return nullptr;
    panel->view();
    panel->headerText_->setText(headerText);
    panel->notificationText_->setText(notificationText);
    panel->userIcon_->useProfilePictureFromUser(user);
    HalcyonDashboard::presentModalOverlay(panel);
    return panel;
}

void HCInviteNotificationController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    setView(platform::ui::View::make(platform::ui::Rect(0, 0, 320, 120)));
    if (auto background = HCImageLoader::loadImage("HCInviteNotificationBackground.png")) {
        bgImage_->setImage(background->stretchableImage(static_cast<int>(background->size().width / 2),
                                                        static_cast<int>(background->size().height / 2)));
    }
    bgImage_->setContentMode(platform::ui::ContentMode::ScaleToFill);
    auto close = std::make_shared<platform::ui::Button>(platform::ui::ButtonType::Custom, platform::ui::Rect(250, 85, 60, 28));
    setTitleForAllStates(*close, "Close");
    std::weak_ptr<HCInviteNotificationController> weakSelf =
        std::static_pointer_cast<HCInviteNotificationController>(platform::self(this));
    close->addTarget(
        this, [weakSelf](platform::ui::Control&) {
            if (auto panel = weakSelf.lock()) panel->dismiss();
        },
        platform::ui::ControlEventTouchUpInside);
    for (const platform::ui::ViewPtr& part : {platform::ui::ViewPtr(bgImage_), platform::ui::ViewPtr(userIcon_),
                                              platform::ui::ViewPtr(headerText_), platform::ui::ViewPtr(notificationText_),
                                              platform::ui::ViewPtr(close)})
        view()->addSubview(part);
}

void HCInviteNotificationController::dismiss()
{
    HC_CHECK_MAIN_THREAD();
    auto self = platform::self(this);
    auto root = HalcyonDashboard::getRootController();
    // Shown as the overlay, the panel is the frame's whole content.
    if (root && root->contentController() == self) {
        Halcyon::dismissDashboard();
    } else if (auto navigation = navigationController(); navigation && navigation->topViewController() == self) {
        navigation->popViewController(true);
    } else if (presentingViewController()) {
        dismissModalViewController(true);
    }
}
