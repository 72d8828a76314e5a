#include "dashboard/HCShowMessageAndReturnController.h"

#include "platform/runtime/ClassRegistry.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"

namespace {
const bool showMessageAndReturnControllerRegistered =
    (platform::registerClass<HCShowMessageAndReturnController>("HCShowMessageAndReturnController"), true);
constexpr double kShowMessageAndReturnControllerMargin = 20;
constexpr double kTitleHeight = 30;
constexpr double kShowMessageAndReturnControllerButtonHeight = 44;
}  // namespace

const std::shared_ptr<platform::ui::Label>& HCShowMessageAndReturnController::messageLabel()
{
    view();
    return messageLabel_;
}

const std::shared_ptr<platform::ui::Label>& HCShowMessageAndReturnController::messageTitleLabel()
{
    view();
    return messageTitleLabel_;
}

const std::shared_ptr<platform::ui::Button>& HCShowMessageAndReturnController::continueButton()
{
    view();
    return continueButton_;
}

void HCShowMessageAndReturnController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    using namespace platform::ui;
    const Rect frame = Screen::mainScreen()->applicationFrame();
    const double width = frame.width() - 2 * kShowMessageAndReturnControllerMargin;
    auto root = View::make(frame);
    messageTitleLabel_ = Label::make(Rect(kShowMessageAndReturnControllerMargin, kShowMessageAndReturnControllerMargin, width, kTitleHeight));
    messageLabel_ = Label::make(Rect(kShowMessageAndReturnControllerMargin, 2 * kShowMessageAndReturnControllerMargin + kTitleHeight, width, frame.height() / 3));
    messageLabel_->setNumberOfLines(0);
    continueButton_ = std::make_shared<Button>(
        ButtonType::RoundedRect, Rect(kShowMessageAndReturnControllerMargin, frame.height() / 3 + 3 * kShowMessageAndReturnControllerMargin + kTitleHeight, width, kShowMessageAndReturnControllerButtonHeight));
    continueButton_->setTitle(std::string(kContinueTitle), ControlStateNormal);
    continueButton_->addTarget(this, [this](Control&) { continuePressed(); }, ControlEventTouchUpInside);
    root->addSubview(messageTitleLabel_);
    root->addSubview(messageLabel_);
    root->addSubview(continueButton_);
    setView(root);
}

void HCShowMessageAndReturnController::continuePressed()
{
    HC_CHECK_MAIN_THREAD();
    auto navigation = navigationController();
    if (auto target = popTo_.lock(); target && navigation) {
        navigation->popToViewController(target, true);
    } else if (continueAction_) {
        continueAction_();
    } else if (presentingViewController() || (navigation && navigation->presentingViewController())) {
        dismissModalViewController(true);
    } else if (navigation) {
        navigation->popToRootViewController(true);
    }
}
