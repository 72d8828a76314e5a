#include "gamepages/leaderboards/HCLeaderboardController.h"

#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "gamepages/highscores/HCHighScoreController.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "scores/leaderboards/HCLeaderboard.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "uiframework/HCControllerLoader.h"

std::shared_ptr<HCService> HCLeaderboardController::getService()
{
    return HCLeaderboardService::sharedInstance();
}

void HCLeaderboardController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCLeaderboard>("Leaderboard");
}

void HCLeaderboardController::doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto compared = getPageComparisonUser();
    if ((compared != nullptr) != isComparison_) {
        isComparison_ = compared != nullptr;
        replaceResourceMap();
    }
    HCLeaderboardService::getLeaderboardsForApplication(gameProfileInfo_ ? gameProfileInfo_->resourceId() : std::nullopt,
                                                        compared ? compared->resourceId() : std::nullopt, onSuccess,
                                                        onFailure);
}

std::string HCLeaderboardController::getNoDataFoundMessage()
{
    const auto name = gameProfileInfo_ && gameProfileInfo_->name() ? *gameProfileInfo_->name()
                                                                   : Halcyon::applicationDisplayName();
    return "There are no leaderboards for " + name;
}

void HCLeaderboardController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    HC_CHECK_MAIN_THREAD();
    auto board = platform::as<HCLeaderboard>(resource);
    auto page = HCControllerLoader::load<HCHighScoreController>("HighScore");
    auto navigation = navigationController();
    if (!board || !page || !navigation) return;
    page->setLeaderboard(board);
    page->setGameProfileInfo(gameProfileInfo_);
    navigation->pushViewController(page, true);
}

void HCLeaderboardController::profileUsersChanged(const std::shared_ptr<HCUser>&, const std::shared_ptr<HCUser>&)
{
    reloadDataFromServer();
}

platform::ui::ViewControllerPtr HCLeaderboardController::controllerForFollowingLaunchItem(
    const std::string& leaderboardId)
{
    HC_CHECK_MAIN_THREAD();
    auto board = HCLeaderboardService::getLeaderboard(leaderboardId);
    auto page = board ? HCControllerLoader::load<HCHighScoreController>("HighScore") : nullptr;
    if (!page) return nullptr;
    page->setTitle("HighScore");
    page->setLeaderboard(board);
    return page;
}
