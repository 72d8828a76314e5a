#include "dashboard/HCDeadEndErrorController.h"

#include "core/halcyon/Halcyon.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Screen.h"

namespace {
const bool registered = (platform::registerClass<HCDeadEndErrorController>("HCDeadEndErrorController"), true);
constexpr double kMargin = 20;
constexpr double kButtonHeight = 44;
}  // namespace

std::shared_ptr<HCDeadEndErrorController> HCDeadEndErrorController::deadEndErrorWithMessage(const std::string& message)
{
    auto controller = std::make_shared<HCDeadEndErrorController>();
    controller->setMessage(message);
    return controller;
}

std::shared_ptr<HCDeadEndErrorController> HCDeadEndErrorController::deadEndErrorWithMessageAndOfflineButton(
    const std::string& message)
{
    auto controller = deadEndErrorWithMessage(message);
    controller->offlineButton_ = true;
    return controller;
}

void HCDeadEndErrorController::setMessage(const std::string& message)
{
    HC_CHECK_MAIN_THREAD();
    message_ = message;
    if (messageLabel_) {
        messageLabel_->setText(message);
    }
}

void HCDeadEndErrorController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    using namespace platform::ui;
    const Rect frame = platform::ui::Screen::mainScreen()->applicationFrame();
    auto root = View::make(frame);
    messageLabel_ = std::make_shared<Label>(
        Rect(kMargin, kMargin, frame.width() - 2 * kMargin, frame.height() / 2));
    messageLabel_->setNumberOfLines(0);
    messageLabel_->setText(message_);
    messageLabel_->setAutoresizingMask(AutoresizingFlexibleWidth);
    root->addSubview(messageLabel_);
    if (offlineButton_) {
        auto button = std::make_shared<Button>(ButtonType::RoundedRect,
                                               Rect(kMargin, frame.height() / 2 + kMargin,
                                                    frame.width() - 2 * kMargin, kButtonHeight));
        button->setTitle(std::string(kOfflineButtonTitle), ControlStateNormal);
        button->addTarget(this, [](Control&) { Halcyon::switchToOfflineDashboard(); }, ControlEventTouchUpInside);
        root->addSubview(button);
    }
    setView(root);
}
