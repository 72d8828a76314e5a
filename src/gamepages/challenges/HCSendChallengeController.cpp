#include "gamepages/challenges/HCSendChallengeController.h"

#include <algorithm>

#include "core/banners/HCNotificationData.h"
#include "core/halcyon/Halcyon.h"
#include "gamepages/challenges/HCChallengeGame.h"
#include "core/users/HCUser.h"
#include "gamepages/challenges/HCCompletedChallengeHeaderController.h"
#include "gamepages/challenges/HCSendChallengeHeaderController.h"
#include "kernel/reachability/HCReachability.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AlertView.h"
#include "scores/challenges/HCChallenge.h"
#include "scores/challenges/HCChallengeService.h"
#include "scores/challenges/HCChallengeToUser.h"
#include "social/friends/HCFriendsService.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/HCWritingFailure.h"
#include "uiframework/table/HCCheckableCell.h"

using Method = HCChallengeDelegate::Method;

namespace {

void showAlert(const std::string& title, const std::string& message)
{
    platform::ui::AlertView::make(title, message, {}, std::string("OK"))->show();
}

bool sameUser(const HCUser& a, const HCUser& b)
{
    return &a == &b || (a.resourceId() && a.resourceId() == b.resourceId());
}

}  // namespace

std::shared_ptr<HCService> HCSendChallengeController::getService()
{
    return HCFriendsService::sharedInstance();
}

std::optional<std::string> HCSendChallengeController::getTableHeaderControllerName()
{
    return std::string(isCompleted_ ? "CompletedChallengeHeader" : "SendChallengeHeader");
}

void HCSendChallengeController::onTableHeaderCreated(const platform::ObjectPtr& header)
{
    if (!isCompleted_) return;
    if (auto completed = platform::as<HCCompletedChallengeHeaderController>(header)) completed->setChallenge(userChallenge_);
}

void HCSendChallengeController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCUser>("SelectableUser");
}

void HCSendChallengeController::doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    doIndexActionWithPage(1, onSuccess, onFailure);
    stall_.arm();
}

void HCSendChallengeController::doIndexActionWithPage(int page, const HCDelegate& onSuccess,
                                                      const HCDelegate& onFailure)
{
    auto challenge = userChallenge_ ? userChallenge_->challenge() : nullptr;
    auto challenger = challenge ? challenge->challenger() : nullptr;
    const auto challengerId =
        isCompleted_ && challenger && !challenger->isLocalUser() ? challenger->resourceId() : std::nullopt;
    HCChallengeService::getUsersToChallenge(challengerId, static_cast<uint32_t>(page), onSuccess, onFailure);
}

void HCSendChallengeController::onSectionsCreated(const Sections& sections)
{
    if (!isCompleted_ && sections.size() == 1) sections.front()->setTitle(std::string("Friends To Challenge"));
}

std::string HCSendChallengeController::getNoDataFoundMessage()
{
    return "You have no friends with " + Halcyon::applicationDisplayName() + ".";
}

platform::ui::ViewControllerPtr HCSendChallengeController::getNoDataFoundViewController()
{
    return HCControllerLoader::load("FullscreenImportFriendsMessage", platform::self(this));
}

void HCSendChallengeController::onCell(const platform::ui::TableViewCellPtr& cell, const platform::ObjectPtr& resource)
{
    auto selectable = std::dynamic_pointer_cast<HCCheckableCell>(cell);
    auto user = platform::as<HCUser>(resource);
    if (selectable && user) selectable->setChecked(isSelected(*user));
}

bool HCSendChallengeController::isSelected(const HCUser& user) const
{
    return std::any_of(mSelectedUsers_.begin(), mSelectedUsers_.end(),
                       [&](const auto& chosen) { return sameUser(*chosen, user); });
}

void HCSendChallengeController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPath)
{
    auto user = platform::as<HCUser>(resource);
    auto cell = tableView()->cellForRowAtIndexPath(indexPath);
    if (user && std::dynamic_pointer_cast<HCCheckableCell>(cell)) toggleSelectionOfUser(user);
}

void HCSendChallengeController::toggleSelectionOfUser(const std::shared_ptr<HCUser>& user)
{
    HC_CHECK_MAIN_THREAD();
    const auto path = user ? getFirstIndexPathForResource(user) : std::nullopt;
    if (!path) return;
    auto listed = platform::as<HCUser>(getResourceAtIndexPath(*path));
    if (!listed) return;
    auto cell = std::dynamic_pointer_cast<HCCheckableCell>(tableView()->cellForRowAtIndexPath(*path));
    if (isSelected(*listed)) {
        std::erase_if(mSelectedUsers_, [&](const auto& chosen) { return sameUser(*chosen, *listed); });
        if (cell) cell->setChecked(false);
    } else {
        mSelectedUsers_.push_back(listed);
        if (cell) cell->setChecked(true);
    }
    tableView()->deselectRowAtIndexPath(*path, true);
}

void HCSendChallengeController::chooseWhenListed(const std::shared_ptr<HCUser>& user)
{
    HC_CHECK_MAIN_THREAD();
    awaitedChoice_ = user;
    chooseAwaitedIfListed();
}

void HCSendChallengeController::chooseAwaitedIfListed()
{
    if (!awaitedChoice_ || !getFirstIndexPathForResource(awaitedChoice_)) return;
    auto user = std::move(awaitedChoice_);
    if (!isSelected(*user)) toggleSelectionOfUser(user);
}

void HCSendChallengeController::_onDataLoaded(const HCPaginatedSeriesPtr& series, bool isIncremental)
{
    HCTableSequenceControllerHelper::_onDataLoaded(series, isIncremental);
    chooseAwaitedIfListed();
}

void HCSendChallengeController::_refreshData()
{
    if (!stall_.holdBack(*this)) HCTableSequenceControllerHelper::_refreshData();
}

// --- sending -------------------------------------------------------------------------

HCSendChallengeController::Text HCSendChallengeController::getUserMessage() const
{
    std::shared_ptr<HCDefaultTextField> field;
    if (auto send = platform::as<HCSendChallengeHeaderController>(tableHeader())) field = send->userMessageTextField();
    if (auto completed = platform::as<HCCompletedChallengeHeaderController>(tableHeader()))
        field = completed->userMessageTextField();
    if (!field) return std::nullopt;
    return field->text().empty() ? field->placeholder() : field->text();
}

void HCSendChallengeController::submitChallenge()
{
    send(challengeData_, std::nullopt);
}

void HCSendChallengeController::submitChallengeBack()
{
    send(resultData_, userChallenge_ ? userChallenge_->resourceId() : std::nullopt);
}

void HCSendChallengeController::send(const DataPtr& data, const Text& inResponseTo)
{
    HC_CHECK_MAIN_THREAD();
    if (mSelectedUsers_.empty()) {
        showAlert("No Friends Selected", "You must select at least one friend to challenge.");
        return;
    }
    if (!HCReachability::Instance()->isGameServerReachable()) {
        showAlert("No internet connection", "You must have an internet connection to submit challenges.");
        return;
    }
    std::vector<std::string> ids;
    for (const auto& user : mSelectedUsers_) ids.push_back(user->resourceId().value_or(""));
    showLoadingScreen();
    // A send dropped unanswered only takes the loading screen down while the
    // page is shown. The challenge carries the player's message: refused, or
    // dropped once he left the page, it is told wherever he is.
    auto [sent, failed] = pageRequestDelegates<HCSendChallengeController>(
        std::static_pointer_cast<HCSendChallengeController>(platform::self(this)),
        [](auto& page, const auto&) { page.challengeSubmitted(); },
        [](auto& page, const auto&) { page.hideLoadingScreen(); },
        [](auto&, const auto&) {
            tellWritingFailure({"An error occurred", "Your challenge was not submitted. Please try again.", "OK",
                                HCNotificationCategoryChallenge});
        },
        HCDroppedRequest::Untold, HCFailureTold::WhereverThePlayerIs);
    HCChallengeService::sendChallenge(challengeDefinitionId_, challengeText_, data, getUserMessage(), hiddenText_, ids,
                                      inResponseTo, sent, failed);
}

void HCSendChallengeController::challengeSubmitted()
{
    HC_CHECK_MAIN_THREAD();
    hideLoadingScreen();
    if (auto* delegate = challengeDelegateFor(Method::userSentChallenges)) delegate->userSentChallenges();
    cancel();
}

void HCSendChallengeController::cancel()
{
    HC_CHECK_MAIN_THREAD();
    Halcyon::dismissDashboard();
    if (auto* delegate = challengeDelegateFor(Method::sendChallengeScreenClosed)) delegate->sendChallengeScreenClosed();
}

void HCSendChallengeController::tryChallengeAgain()
{
    HC_CHECK_MAIN_THREAD();
    Halcyon::dismissDashboard();
    if (auto* delegate = challengeDelegateFor(Method::userRestartedChallenge)) delegate->userRestartedChallenge();
}
