#include "gamepages/achievements/HCAchievementListController.h"

#include <set>

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "core/users/HCUser.h"
#include "dashboard/HCDefaultLeadingCell.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "scores/achievements/HCAchievement.h"
#include "scores/achievements/HCAchievementService.h"
#include "social/playedgames/HCPlayedGame.h"
#include "uiframework/HCControllerLoader.h"

namespace {

int unlockedCount(const HCPaginatedSeries::Objects& objects)
{
    int unlocked = 0;
    for (const auto& object : objects) {
        auto achievement = platform::as<HCAchievement>(object);
        if (achievement && achievement->percentComplete() == 100.0) ++unlocked;
    }
    return unlocked;
}

// `shown` followed by the objects of `loaded` it does not hold yet (by id).
HCPaginatedSeries::Objects appendNew(HCPaginatedSeries::Objects shown, const HCPaginatedSeries::Objects& loaded)
{
    std::set<std::string> ids;
    for (const auto& object : shown) {
        if (auto resource = platform::as<HCResource>(object); resource && resource->resourceId())
            ids.insert(*resource->resourceId());
    }
    for (const auto& object : loaded) {
        auto resource = platform::as<HCResource>(object);
        if (resource && resource->resourceId() && !ids.insert(*resource->resourceId()).second) continue;
        shown.push_back(object);
    }
    return shown;
}

}  // namespace

HCAchievementListController::HCAchievementListController()
{
    setTitle(kTitle);
}

bool HCAchievementListController::isRunningGame() const
{
    return applicationId_ && applicationId_ == Halcyon::localGameProfileInfo()->resourceId();
}

bool HCAchievementListController::namesAnotherGame() const
{
    return applicationId_ && !applicationId_->empty() && *applicationId_ != "@me" && !isRunningGame();
}

void HCAchievementListController::populateContextualDataFromPlayedGame(const std::shared_ptr<HCPlayedGame>& game)
{
    HC_CHECK_MAIN_THREAD();
    if (!game) return;
    applicationName_ = game->name();
    applicationId_ = game->clientApplicationId();
    applicationIconUrl_ = game->iconUrl();
    const auto localUserId = Halcyon::lastLoggedInUserId();
    for (const auto& stat : game->userGameStats()) {
        if (stat && stat->userId() == localUserId) doesUserHaveApplication_ = stat->userHasGame();
    }
}

void HCAchievementListController::postPushAchievementListController()
{
    HC_CHECK_MAIN_THREAD();
    followComparison();
}

void HCAchievementListController::followComparison()
{
    const bool comparing = isComparingToOtherUser();
    if (comparing != mapIsForComparison_) {
        mapIsForComparison_ = comparing;
        replaceResourceMap();
    }
}

bool HCAchievementListController::isComparingToOtherUser()
{
    auto compared = getPageComparisonUser();
    const auto id = compared ? compared->resourceId() : std::nullopt;
    return id && !id->empty() && *id != Halcyon::lastLoggedInUserId();
}

std::shared_ptr<HCService> HCAchievementListController::getService()
{
    return HCAchievementService::sharedInstance();
}

void HCAchievementListController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCAchievement>(mapIsForComparison_ ? "AchievementCompareList" : "AchievementProgressionList");
}

bool HCAchievementListController::usePlainTableSectionHeaders()
{
    return !isComparingToOtherUser() || HCTableSequenceControllerHelper::usePlainTableSectionHeaders();
}

std::optional<std::string> HCAchievementListController::getLeadingCellControllerNameForSection(int)
{
    return isComparingToOtherUser() ? std::optional<std::string>("DefaultLeading") : std::nullopt;
}

void HCAchievementListController::onLeadingCellWasLoaded(const platform::ui::TableViewCellPtr& cell, int)
{
    HC_CHECK_MAIN_THREAD();
    auto leading = std::dynamic_pointer_cast<HCDefaultLeadingCell>(cell);
    if (!leading || !isComparingToOtherUser()) return;
    leading->enableLeftIconViewWithImageUrl(applicationIconUrl_,
                                            HCImageLoader::loadImage("HCDefaultApplicationIcon.png"));
    leading->headerLabel()->setText(applicationName_.value_or(""));
    leading->populateRightIconsAsComparison(getPageComparisonUser());
}

void HCAchievementListController::doIndexActionWithPage(int page, const HCDelegate& onSuccess,
                                                        const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    // The compared player may change on the navigation controller: the rows
    // follow at each load too.
    followComparison();
    const bool comparing = mapIsForComparison_;
    if (!comparing && isRunningGame()) {
        HCPaginatedSeries::Objects objects;
        for (const auto& achievement : HCAchievement::achievements()) objects.push_back(achievement);
        onSuccess.invoke(HCPaginatedSeries::paginatedSeriesFromArray(objects));
        return;
    }
    // Offline the service would answer with the running game's own list,
    // which is not the list asked for.
    if (!Halcyon::isOnline() && namesAnotherGame()) {
        onFailure.invoke(nullptr);
        return;
    }
    const auto compared = comparing ? getPageComparisonUser()->resourceId() : std::nullopt;
    HCAchievementService::getAchievementsForApplication(applicationId_, compared, static_cast<unsigned>(page),
                                                        onSuccess, onFailure);
}

std::string HCAchievementListController::unlockedTitle(const HCTableSectionDescription& section)
{
    const auto objects = section.page() ? section.page()->objects() : HCPaginatedSeries::Objects();
    return std::to_string(unlockedCount(objects)) + "/" + std::to_string(objects.size()) + " Achievements Unlocked";
}

void HCAchievementListController::_onDataLoaded(const HCPaginatedSeriesPtr& series, bool isIncremental)
{
    HC_CHECK_MAIN_THREAD();
    if (mapIsForComparison_) {
        HCTableSequenceControllerHelper::_onDataLoaded(series, isIncremental);
        return;
    }
    // A further page joins the rows shown, and the list is counted and laid
    // out whole again, so it has one count and at most one share row.
    HCPaginatedSeries::Objects objects = series ? series->objects() : HCPaginatedSeries::Objects();
    if (isIncremental && !sections().empty() && sections().back()->page()) {
        objects = appendNew(sections().back()->page()->objects(), objects);
    }
    auto page = HCPaginatedSeries::paginatedSeriesFromArray(objects);
    if (series) page->setHeader(series->header());
    auto achievements = std::make_shared<HCTableSectionDescription>(std::nullopt, page);
    achievements->setTitle(unlockedTitle(*achievements));

    HCPaginatedSeries::Objects sectionList;
    achievementProgressionListLeading_ = nullptr;
    if (!namesAnotherGame() && unlockedCount(objects) > 0 && Halcyon::isOnline()) {
        achievementProgressionListLeading_ = HCControllerLoader::loadCell(kShareCellName, platform::self(this));
        if (auto cell = std::dynamic_pointer_cast<HCTableCellHelper>(achievementProgressionListLeading_))
            cell->setResource(nullptr);
    }
    if (achievementProgressionListLeading_) {
        sectionList.push_back(HCTableSectionDescription::sectionWithTitleAndStaticCells(
            std::string(), {achievementProgressionListLeading_}));
    }
    sectionList.push_back(achievements);
    HCTableSequenceControllerHelper::_onDataLoaded(HCPaginatedSeries::paginatedSeriesFromArray(sectionList), false);
}

void HCAchievementListController::onCellWasClicked(const platform::ObjectPtr&, const IndexPath& indexPath)
{
    HC_CHECK_MAIN_THREAD();
    if (!achievementProgressionListLeading_ || indexPath.section < 0 ||
        static_cast<std::size_t>(indexPath.section) >= sections().size())
        return;
    const auto& cells = sections()[static_cast<std::size_t>(indexPath.section)]->staticCells();
    if (indexPath.row < 0 || static_cast<std::size_t>(indexPath.row) >= cells.size() ||
        cells[static_cast<std::size_t>(indexPath.row)] != achievementProgressionListLeading_)
        return;
    auto navigation = navigationController();
    auto page = HCControllerLoader::load("SelectAchievementToShare");
    if (navigation && page) navigation->pushViewController(page, true);
}

std::string HCAchievementListController::getNoDataFoundMessage()
{
    return "There are no achievements for " + applicationName_.value_or(Halcyon::applicationDisplayName());
}

void HCAchievementListController::profileUsersChanged(const std::shared_ptr<HCUser>&, const std::shared_ptr<HCUser>&)
{
    reloadDataFromServer();
}
