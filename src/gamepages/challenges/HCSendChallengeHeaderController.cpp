#include "gamepages/challenges/HCSendChallengeHeaderController.h"

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "gamepages/challenges/HCChallengeGame.h"
#include "core/replies/HCPaginatedSeries.h"
#include "gamepages/challenges/HCSendChallengeController.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeDefinitionService.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/widgets/HCDefaultButton.h"

using platform::ui::Rect;
using Method = HCChallengeDelegate::Method;

namespace {

constexpr double kSendChallengeHeaderControllerMargin = 20;

void tellDownloadFailed()
{
    showRequestFailureAlert("Error Occurred",
                            "Halcyon failed downloading data. Please check your connection and try again.", "OK");
}

}  // namespace

void HCSendChallengeHeaderController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    platform::ui::ViewController::viewDidLoad();
    challengeIconImageView_ = HCImageView::make(Rect(10, 10, 48, 48));
    titleLabel_ = platform::ui::Label::make(Rect(66, 10, 244, 20));
    descriptionLabel_ = platform::ui::Label::make(Rect(66, 32, 244, 30));
    userMessageTextField_ = std::make_shared<HCDefaultTextField>(Rect(10, 70, 200, 31));
    userMessageTextField_->setPlaceholder("Think you can beat me?");
    userMessageTextField_->setCloseKeyboardOnReturn(true);
    sendChallengeButton_ = std::make_shared<HCDefaultButton>(Rect(218, 70, 92, 31));
    sendChallengeButton_->setTitle(std::string("Send"), platform::ui::ControlStateNormal);
    tryAgainButton_ = std::make_shared<HCDefaultButton>(Rect(10, 111, 300, 37));
    tryAgainButton_->setTitle(std::string("Create Stronger Challenge"), platform::ui::ControlStateNormal);
    titleLabel_->setText("Loading...");
    descriptionLabel_->setText("");
    for (const platform::ui::ViewPtr& part : std::initializer_list<platform::ui::ViewPtr>{
             challengeIconImageView_, titleLabel_, descriptionLabel_, userMessageTextField_, sendChallengeButton_,
             tryAgainButton_})
        view()->addSubview(part);
    view()->setAutoresizingMask(platform::ui::AutoresizingNone);

    std::weak_ptr<platform::Object> weakPage = tablePage();
    sendChallengeButton_->addTarget(this, [weakPage](platform::ui::Control&) {
        if (auto page = platform::as<HCSendChallengeController>(weakPage.lock())) page->submitChallenge();
    }, platform::ui::ControlEventTouchUpInside);
    auto self = std::static_pointer_cast<HCSendChallengeHeaderController>(platform::self(this));
    std::weak_ptr<HCSendChallengeHeaderController> weakSelf = self;
    tryAgainButton_->addTarget(this, [weakSelf](platform::ui::Control&) {
        if (auto header = weakSelf.lock()) header->createStrongerChallenge();
    }, platform::ui::ControlEventTouchUpInside);
    tryAgainButton_->setHidden(!allowCreateStrongerChallenge());

    auto page = platform::as<HCSendChallengeController>(tablePage());
    selfRetainer_ = self;
    parentRetainer_ = page;
    auto [downloaded, failed] = pageRequestDelegates<HCSendChallengeHeaderController>(
        self,
        [](auto& header, const auto& reply) {
            header._newChallengeDefinitionDownloaded(platform::as<HCPaginatedSeries>(reply));
        },
        [](auto& header, const auto&) { header.releaseRetainers(); },
        [](auto&, const auto&) { tellDownloadFailed(); });
    HCChallengeDefinitionService::getChallengeDefinitionWithId(page ? page->challengeDefinitionId() : std::nullopt,
                                                               downloaded, failed);
}

void HCSendChallengeHeaderController::_newChallengeDefinitionDownloaded(const std::shared_ptr<HCPaginatedSeries>& series)
{
    HC_CHECK_MAIN_THREAD();
    std::shared_ptr<HCChallengeDefinition> definition;
    if (series && series->count() > 0) definition = platform::as<HCChallengeDefinition>(series->objectAtIndex(0));
    if (definition) {
        setChallenge(definition);
    } else if (pageIsShown(*this)) {
        tellDownloadFailed();
    }
    releaseRetainers();
}

void HCSendChallengeHeaderController::releaseRetainers()
{
    // The last holder may be this header itself: let go of the page first.
    parentRetainer_.reset();
    auto keep = std::move(selfRetainer_);
}

void HCSendChallengeHeaderController::setChallenge(const std::shared_ptr<HCChallengeDefinition>& definition)
{
    HC_CHECK_MAIN_THREAD();
    finishedDownloadingChallenge_ = true;
    challengeIconImageView_->setDefaultImage(HCImageLoader::loadImage("HCDefaultChallengeIcon.png"));
    challengeIconImageView_->setImageUrl(definition->iconUrl());
    titleLabel_->setText(definition->title().value_or(""));
    auto page = platform::as<HCSendChallengeController>(tablePage());
    descriptionLabel_->setText(page ? page->challengeText().value_or("") : "");
}

bool HCSendChallengeHeaderController::allowCreateStrongerChallenge() const
{
    return challengeDelegateFor(Method::userRestartedCreateChallenge) != nullptr;
}

void HCSendChallengeHeaderController::createStrongerChallenge()
{
    HC_CHECK_MAIN_THREAD();
    // The button shows for a game that answers userRestartedCreateChallenge;
    // one that lacks createStrongerChallenge still hears the press by that name.
    if (auto* delegate = challengeDelegateFor(Method::createStrongerChallenge)) {
        delegate->createStrongerChallenge();
    } else if (auto* older = challengeDelegateFor(Method::userRestartedCreateChallenge)) {
        older->userRestartedCreateChallenge();
    }
    cancel();
}

void HCSendChallengeHeaderController::cancel()
{
    HC_CHECK_MAIN_THREAD();
    Halcyon::dismissDashboard();
    if (auto* delegate = challengeDelegateFor(Method::sendChallengeScreenClosed)) delegate->sendChallengeScreenClosed();
}

void HCSendChallengeHeaderController::resizeView(const platform::ui::ViewPtr& pageView)
{
    const auto lowest = allowCreateStrongerChallenge() ? tryAgainButton_->frame() : userMessageTextField_->frame();
    view()->setFrame(Rect(0, 0, pageView->bounds().size.width, lowest.origin.y + lowest.size.height + kSendChallengeHeaderControllerMargin));
    view()->layoutIfNeeded();
}
