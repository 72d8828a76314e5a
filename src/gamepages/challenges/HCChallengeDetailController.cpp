#include "gamepages/challenges/HCChallengeDetailController.h"

#include "core/halcyon/Halcyon.h"
#include "gamepages/HCProfileOpener.h"
#include "gamepages/challenges/HCChallengeGame.h"
#include "core/users/HCUser.h"
#include "gamepages/challenges/HCChallengeDetailHeaderController.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/challenges/HCChallenge.h"
#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeService.h"
#include "scores/challenges/HCChallengeToUser.h"
#include "uiframework/HCPageRequestDelegates.h"

std::shared_ptr<HCService> HCChallengeDetailController::getService()
{
    return HCChallengeService::sharedInstance();
}

std::optional<std::string> HCChallengeDetailController::getTableHeaderControllerName()
{
    return std::string("ChallengeDetailHeader");
}

void HCChallengeDetailController::setUserChallenge(const std::shared_ptr<HCChallengeToUser>& record)
{
    HC_CHECK_MAIN_THREAD();
    userChallenge_ = record;
    if (auto header = platform::as<HCChallengeDetailHeaderController>(tableHeader())) {
        header->setChallengeToUser(record);
        rebuildTableHeader();
    }
}

void HCChallengeDetailController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCChallengeToUser>("ChallengeDetail");
}

void HCChallengeDetailController::doIndexActionWithPage(int page, const HCDelegate& onSuccess,
                                                        const HCDelegate& onFailure)
{
    HCChallengeService::getUsersWhoReceivedChallengeWithId(challengeId_, clientApplicationId_,
                                                           static_cast<uint32_t>(page), onSuccess, onFailure);
}

void HCChallengeDetailController::onResourcesDownloaded(const HCPaginatedSeriesPtr& series)
{
    HC_CHECK_MAIN_THREAD();
    auto own = getMetaDataOfType<HCChallengeToUser>();
    std::shared_ptr<HCChallengeToUser> record = own.empty() ? nullptr : own.front();
    if (!record && series) {
        for (const auto& object : series->objects()) {
            if ((record = platform::as<HCChallengeToUser>(object))) break;
        }
    }
    if (record) setUserChallenge(record);
}

void HCChallengeDetailController::onSectionsCreated(const Sections& sections)
{
    if (sections.size() == 1) sections.front()->setTitle(std::string("People Who Received This Challenge"));
}

void HCChallengeDetailController::viewWillAppear(bool animated)
{
    HCTableSequenceControllerHelper::viewWillAppear(animated);
    setTitle("Challenge");
}

std::string HCChallengeDetailController::getNoDataFoundMessage()
{
    return "You have not received any challenges yet. You can send challenges to your friends from within " +
           Halcyon::applicationDisplayName() + ".";
}

void HCChallengeDetailController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    if (auto record = platform::as<HCChallengeToUser>(resource)) HCProfileOpener::showProfileForUser(record->recipient());
}

platform::ui::ViewControllerPtr HCChallengeDetailController::controllerForFollowingLaunchItem(
    const std::string& challengeId)
{
    challengeId_ = challengeId;
    // A launch pushes the page before it reads the id after it: a page that
    // already appeared loaded without one, so it loads again with it.
    if (isViewLoaded()) reloadDataFromServer();
    return nullptr;
}

// --- starting ---------------------------------------------------------------------

bool HCChallengeDetailController::usesChallengeData() const
{
    auto challenge = userChallenge_ ? userChallenge_->challenge() : nullptr;
    return challenge && challenge->usesChallengeData();
}

void HCChallengeDetailController::acceptChallenge()
{
    HC_CHECK_MAIN_THREAD();
    auto challenge = userChallenge_ ? userChallenge_->challenge() : nullptr;
    if (!challenge) return;
    cancelStart();
    const unsigned generation = startGeneration_;
    showLoadingScreen();
    auto definition = challenge->challengeDefinition();
    if (!definition || !definition->multiAttempt()) {
        auto self = std::static_pointer_cast<HCChallengeDetailController>(platform::self(this));
        oneShotAlertView_ = platform::ui::AlertView::make(
            "One Shot Challenge", "You only have one attempt to beat this challenge!",
            std::static_pointer_cast<platform::ui::AlertViewDelegate>(self), std::nullopt, {"OK"});
        oneShotAlertView_->show();
    }
    if (!challenge->usesChallengeData()) {
        if (!oneShotAlertView_) startChallenge();
        return;
    }
    // Only the latest start's download counts; a dropped one fails like a refused one.
    auto [downloaded, failed] = pageRequestDelegates<HCChallengeDetailController>(
        std::static_pointer_cast<HCChallengeDetailController>(platform::self(this)),
        [generation](auto& page, const auto& data) {
            if (generation == page.startGeneration_) page._challengeDataDownloaded(platform::as<platform::Data>(data));
        },
        // A one-shot alert still open stays so; without data its answer starts nothing.
        [generation](auto& page, const auto&) {
            if (generation == page.startGeneration_) page.endDownload();
        },
        [generation](auto& page, const auto&) {
            if (generation == page.startGeneration_)
                showRequestFailureAlert("Error downloading data", "Please try again.", "OK");
        });
    download_ = HCChallengeService::downloadChallengeData(challenge->challengeDataUrl(), downloaded, failed);
}

void HCChallengeDetailController::_challengeDataDownloaded(const std::shared_ptr<platform::Data>& data)
{
    HC_CHECK_MAIN_THREAD();
    challengeData_ = data;
    dataArrived_ = true;
    if (!oneShotAlertView_) startChallenge();
}

void HCChallengeDetailController::alertViewWillDismissWithButtonIndex(platform::ui::AlertView& alertView, int)
{
    HC_CHECK_MAIN_THREAD();
    if (&alertView != oneShotAlertView_.get()) return;
    alertView.setDelegate({});
    oneShotAlertView_.reset();
    if (!usesChallengeData() || dataArrived_) startChallenge();
}

void HCChallengeDetailController::startChallenge()
{
    HC_CHECK_MAIN_THREAD();
    hideLoadingScreen();
    auto data = std::move(challengeData_);
    auto record = userChallenge_;
    cancelStart();
    auto* delegate = challengeDelegateFor(HCChallengeDelegate::Method::userLaunchedChallenge);
    if (!delegate) return;
    Halcyon::dismissDashboard();
    delegate->userLaunchedChallenge(record, data);
}

void HCChallengeDetailController::dropOneShotAlert()
{
    if (!oneShotAlertView_) return;
    auto alert = std::move(oneShotAlertView_);
    alert->setDelegate({});
    alert->dismissWithClickedButtonIndex(-1, false);
}

void HCChallengeDetailController::endDownload()
{
    ++startGeneration_;
    challengeData_.reset();
    dataArrived_ = false;
    download_.reset();
    hideLoadingScreen();
}

void HCChallengeDetailController::cancelStart()
{
    endDownload();
    dropOneShotAlert();
}

void HCChallengeDetailController::viewDidDisappear(bool animated)
{
    HCTableSequenceControllerHelper::viewDidDisappear(animated);
    if (!isOnNavigationStack()) cancelStart();
}
