#include "gamepages/challenges/HCCompletedChallengeHeaderController.h"

#include "core/halcyon/Halcyon.h"
#include "gamepages/challenges/HCChallengeGame.h"
#include "gamepages/challenges/HCSendChallengeController.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/challenges/HCChallenge.h"
#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeToUser.h"
#include "uiframework/widgets/HCDefaultButton.h"

using platform::ui::Rect;
using Method = HCChallengeDelegate::Method;

void HCCompletedChallengeHeaderController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidLoad();
    challengeDescriptionContainer_ = HCChallengeDetailFrame::make(Rect(0, 0, 320, 130));
    personalMessageLabel_ = platform::ui::Label::make(Rect(10, 140, 300, 18));
    personalMessageLabel_->setText("Personal message:");
    userMessageTextField_ = std::make_shared<HCDefaultTextField>(Rect(10, 160, 300, 31));
    userMessageTextField_->setPlaceholder("Think you can beat me?");
    actionButton_ = std::make_shared<HCDefaultButton>(Rect(10, 201, 300, 37));
    std::weak_ptr<platform::Object> weakSelf = platform::self(this);
    actionButton_->addTarget(this, [weakSelf](platform::ui::Control&) {
        if (auto header = platform::as<HCCompletedChallengeHeaderController>(weakSelf.lock()))
            header->onActionButtonPressed();
    }, platform::ui::ControlEventTouchUpInside);
    for (const platform::ui::ViewPtr& part : std::initializer_list<platform::ui::ViewPtr>{
             challengeDescriptionContainer_, personalMessageLabel_, userMessageTextField_, actionButton_})
        view()->addSubview(part);
    showChallenge();
}

void HCCompletedChallengeHeaderController::setChallenge(const std::shared_ptr<HCChallengeToUser>& record)
{
    HC_CHECK_MAIN_THREAD();
    challenge_ = record;
    if (isViewLoaded()) showChallenge();
}

std::shared_ptr<HCSendChallengeController> HCCompletedChallengeHeaderController::sendChallengeController() const
{
    return platform::as<HCSendChallengeController>(tablePage());
}

void HCCompletedChallengeHeaderController::showChallenge()
{
    auto challenge = challenge_ ? challenge_->challenge() : nullptr;
    if (!challenge) return;
    challengeDescriptionContainer_->setChallengeToUser(challenge_);
    auto definition = challenge->challengeDefinition();
    std::weak_ptr<platform::Object> weakSelf = platform::self(this);
    auto self = [weakSelf] { return platform::as<HCCompletedChallengeHeaderController>(weakSelf.lock()); };
    bool keepsMessage = false;
    if (!definition || !definition->multiAttempt()) {
        actionButton_->setTitle(std::string("OK"), platform::ui::ControlStateNormal);
        action_ = [self] {
            if (auto header = self()) header->cancel();
        };
    } else if (challenge_->result() == HCChallengeToUser::kWin) {
        actionButton_->setTitle(std::string("Send Result As Challenge"), platform::ui::ControlStateNormal);
        action_ = [self] {
            auto header = self();
            if (auto page = header ? header->sendChallengeController() : nullptr) page->submitChallengeBack();
        };
        if (auto page = sendChallengeController()) page->chooseWhenListed(challenge->challenger());
        userMessageTextField_->setCloseKeyboardOnReturn(true);
        userMessageTextField_->setManageScrollViewOnFocus(true);
        keepsMessage = true;
    } else {
        actionButton_->setTitle(std::string("Try Again"), platform::ui::ControlStateNormal);
        action_ = [self] {
            if (auto header = self()) header->tryAgainPressed();
        };
    }
    personalMessageLabel_->setHidden(!keepsMessage);
    userMessageTextField_->setHidden(!keepsMessage);
    if (!keepsMessage) {
        const auto bubble = challengeDescriptionContainer_->speechBubble()->frame();
        auto frame = actionButton_->frame();
        frame.origin.y = bubble.origin.y + bubble.size.height + 20;
        actionButton_->setFrame(frame);
    }
}

void HCCompletedChallengeHeaderController::onActionButtonPressed()
{
    if (action_) action_();
}

void HCCompletedChallengeHeaderController::tryAgainPressed()
{
    HC_CHECK_MAIN_THREAD();
    if (auto* delegate = challengeDelegateFor(Method::userRestartedChallenge)) delegate->userRestartedChallenge();
    cancel();
}

void HCCompletedChallengeHeaderController::cancel()
{
    HC_CHECK_MAIN_THREAD();
    Halcyon::dismissDashboard();
    if (auto* delegate = challengeDelegateFor(Method::completedChallengeScreenClosed)) delegate->completedChallengeScreenClosed();
}

void HCCompletedChallengeHeaderController::resizeView(const platform::ui::ViewPtr& pageView)
{
    const auto button = actionButton_->frame();
    view()->setFrame(Rect(0, 0, pageView->bounds().size.width, button.origin.y + button.size.height + 10));
    view()->layoutIfNeeded();
}
