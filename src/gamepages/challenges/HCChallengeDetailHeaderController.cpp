#include "gamepages/challenges/HCChallengeDetailHeaderController.h"

#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "gamepages/challenges/HCChallengeDetailController.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/challenges/HCChallenge.h"
#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeToUser.h"
#include "uiframework/widgets/HCDefaultButton.h"

using platform::ui::Rect;

namespace {
constexpr double kMargin = 20;
}

void HCChallengeDetailHeaderController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    platform::ui::ViewController::viewDidLoad();
    challengeDescriptionContainer_ = HCChallengeDetailFrame::make(Rect(0, 0, 320, 130));
    startChallengeButton_ = std::make_shared<HCDefaultButton>(Rect(60, 140, 200, 37));
    startChallengeButton_->setTitle(std::string("Start Challenge"), platform::ui::ControlStateNormal);
    std::weak_ptr<platform::Object> weakPage = tablePage();
    startChallengeButton_->addTarget(this, [weakPage](platform::ui::Control&) {
        if (auto page = platform::as<HCChallengeDetailController>(weakPage.lock())) page->acceptChallenge();
    }, platform::ui::ControlEventTouchUpInside);
    startChallengeButton_->setHidden(true);
    view()->addSubview(challengeDescriptionContainer_);
    view()->addSubview(startChallengeButton_);
    auto page = platform::as<HCChallengeDetailController>(tablePage());
    if (page && page->userChallenge()) setChallengeToUser(page->userChallenge());
}

void HCChallengeDetailHeaderController::setChallengeToUser(const std::shared_ptr<HCChallengeToUser>& record)
{
    HC_CHECK_MAIN_THREAD();
    if (!isViewLoaded()) return;  // viewDidLoad shows the page's challenge
    challengeDescriptionContainer_->setChallengeToUser(record);
    auto challenge = record ? record->challenge() : nullptr;
    auto definition = challenge ? challenge->challengeDefinition() : nullptr;
    const bool startable = record && record->recipient() && record->recipient()->isLocalUser() &&
                           !record->isCompleted() && definition &&
                           definition->clientApplicationId() == Halcyon::clientApplicationId();
    startChallengeButton_->setHidden(!startable);
    fitHeight(view()->frame().size.width, challengeDescriptionContainer_);
}

void HCChallengeDetailHeaderController::resizeView(const platform::ui::ViewPtr& pageView)
{
    fitHeight(pageView->bounds().size.width, challengeDescriptionContainer_->speechBubble());
}

void HCChallengeDetailHeaderController::fitHeight(double width, const platform::ui::ViewPtr& lowestWithoutButton)
{
    const auto lowest = startChallengeButton_->isHidden() ? lowestWithoutButton->frame()
                                                          : startChallengeButton_->frame();
    view()->setFrame(Rect(0, 0, width, lowest.origin.y + lowest.size.height + kMargin));
    view()->layoutIfNeeded();
}
