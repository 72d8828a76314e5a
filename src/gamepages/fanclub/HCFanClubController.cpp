#include "gamepages/fanclub/HCFanClubController.h"

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "core/replies/HCTableSectionDescription.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "gamepages/discovery/HCPlayedGameController.h"
#include "gamepages/fanclub/HCFanClubCell.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "social/announcements/HCAnnouncementService.h"
#include "social/applications/HCClientApplicationService.h"
#include "uiframework/HCControllerLoader.h"

namespace {

constexpr const char* kAnnouncementsPage = "AnnouncementBrowser";

HCFanClubController::PageMaker& suggestionBrowserMaker()
{
    static HCFanClubController::PageMaker maker;
    return maker;
}

}  // namespace

void HCFanClubController::setSuggestionBrowserMaker(PageMaker maker)
{
    suggestionBrowserMaker() = std::move(maker);
}

std::shared_ptr<HCGameProfilePageInfo> HCFanClubController::contextGame() const
{
    auto game = getPageContextGame();
    return game ? game : Halcyon::localGameProfileInfo();
}

void HCFanClubController::createCell(std::vector<platform::ui::TableViewCellPtr>& cells, const std::string& title,
                                     const std::optional<std::string>& iconName,
                                     const std::optional<std::string>& controllerName,
                                     void (HCFanClubController::*createSelector)())
{
    auto cell = std::dynamic_pointer_cast<HCFanClubCell>(HCControllerLoader::loadCell("FanClub", platform::self(this)));
    if (!cell) return;
    cell->assemble();
    cell->titleLabel()->setText(title);
    cell->setControllerName(controllerName);
    if (createSelector) {
        std::weak_ptr<HCFanClubController> weakSelf =
            std::static_pointer_cast<HCFanClubController>(platform::self(this));
        cell->setCreateControllerSelector([weakSelf, createSelector] {
            if (auto page = weakSelf.lock()) ((*page).*createSelector)();
        });
    }
    cell->iconView()->setImage(iconName ? HCImageLoader::loadImage(*iconName) : nullptr);
    cells.push_back(cell);
}

HCTableControllerHelper::Sections HCFanClubController::buildTableSectionDescriptions()
{
    HC_CHECK_MAIN_THREAD();
    std::vector<platform::ui::TableViewCellPtr> cells;
    createCell(cells, "Add Game as Favorite", "HCFanClubIconStar.png", "FavoriteThisGame", nullptr);
    if (Halcyon::localGameProfileInfo()->hasiPurchase()) {
        createCell(cells, "Invite a Friend to Play", "HCFanClubIconSendInvite.png", std::nullopt,
                   &HCFanClubController::inviteFriends);
    }
    createCell(cells, "Developer Announcements", "HCFanClubIconDevAnnouncements.png", kAnnouncementsPage, nullptr);
    createCell(cells, "Subscribe to Newsletter", "HCFanClubIconNewsLetter.png", "NewsLetter", nullptr);
    if (Halcyon::allowUserGeneratedContent()) {
        createCell(cells, "Suggest a Feature", "HCFanClubIconIdea.png", std::nullopt,
                   &HCFanClubController::createSuggestionBrowser);
    }
    if (Halcyon::appHasFeaturedApplication()) {
        createCell(cells, "More Games", "HCFanClubIconMoreGames.png", std::nullopt,
                   &HCFanClubController::createDeveloperRecommendationsBrowser);
    }
    // The rows are first built after the first appearance began: they
    // carry the count from the start.
    showUnreadAnnouncements(cells);
    return {HCTableSectionDescription::sectionWithTitleAndStaticCells(std::nullopt, std::move(cells))};
}

void HCFanClubController::onCellWasClicked(const platform::ObjectPtr&, const IndexPath& indexPathInTable)
{
    HC_CHECK_MAIN_THREAD();
    if (sections().empty()) return;
    const auto& cells = sections().front()->staticCells();
    if (indexPathInTable.row < 0 || static_cast<size_t>(indexPathInTable.row) >= cells.size()) return;
    auto cell = std::dynamic_pointer_cast<HCFanClubCell>(cells[static_cast<size_t>(indexPathInTable.row)]);
    if (!cell) return;
    if (cell->createControllerSelector()) {
        cell->createControllerSelector()();
        tableView()->deselectRowAtIndexPath(indexPathInTable, true);
        return;
    }
    // The loader logs a page it cannot make; such a row leads nowhere.
    if (cell->controllerName()) push(HCControllerLoader::load(*cell->controllerName()));
}

void HCFanClubController::push(const platform::ui::ViewControllerPtr& page)
{
    auto navigation = navigationController();
    if (page && navigation) navigation->pushViewController(page, true);
}

void HCFanClubController::inviteFriends()
{
    // No invitation of its own: the player picks how to invite.
    push(HCControllerLoader::load("SelectInviteType"));
}

void HCFanClubController::createSuggestionBrowser()
{
    if (const auto& maker = suggestionBrowserMaker()) push(maker(contextGame()->suggestionsForumId()));
}

void HCFanClubController::createDeveloperRecommendationsBrowser()
{
    auto page = HCControllerLoader::load<HCPlayedGameController>("PlayedGame");
    if (!page) return;
    page->setTargetDiscoveryPageName(std::string("developers_picks"));
    page->setTitle("More Games");
    push(page);
}

void HCFanClubController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCTableStaticControllerHelper::viewWillAppear(animated);
    if (!registeredView_) {
        HCClientApplicationService::viewedFanClub(contextGame()->resourceId());
        registeredView_ = true;
    }
    if (!sections().empty()) showUnreadAnnouncements(sections().front()->staticCells());
}

void HCFanClubController::showUnreadAnnouncements(const std::vector<platform::ui::TableViewCellPtr>& cells) const
{
    if (!contextGame()->isLocalGameInfo()) return;
    for (const auto& row : cells) {
        auto cell = std::dynamic_pointer_cast<HCFanClubCell>(row);
        if (cell && cell->controllerName() == std::optional<std::string>(kAnnouncementsPage)) {
            cell->badgeView()->setValue(static_cast<int>(HCAnnouncementService::unreadAnnouncements()));
        }
    }
}
