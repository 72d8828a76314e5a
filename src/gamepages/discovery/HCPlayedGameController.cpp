#include "gamepages/discovery/HCPlayedGameController.h"

#include <algorithm>

#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "dashboard/HCDefaultLeadingCell.h"
#include "dashboard/HCFramedNavigationController.h"
#include "gamepages/HCDescriptionOpener.h"
#include "gamepages/discovery/HCGameDiscoveryImageHyperlinkCell.h"
#include "gamepages/discovery/HCGameDiscoveryNewsItemController.h"
#include "gamepages/gameprofile/HCGameProfileController.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "social/applications/HCClientApplicationService.h"
#include "social/discovery/HCGameDiscoveryCategory.h"
#include "social/discovery/HCGameDiscoveryImageHyperlink.h"
#include "social/discovery/HCGameDiscoveryNewsItem.h"
#include "social/discovery/HCGameDiscoveryService.h"
#include "social/playedgames/HCPlayedGame.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/HCTabbedPageHeaderController.h"

namespace {
constexpr int32_t kGamesPerPage = 10;
}  // namespace

void HCPlayedGameController::setTargetDiscoveryPageName(std::optional<std::string> name)
{
    targetDiscoveryPageName_ = std::move(name);
    scope_ = 2;
}

bool HCPlayedGameController::isLocalUsersPage() const
{
    auto user = getPageContextUser();
    return !user || !user->resourceId() || *user->resourceId() == Halcyon::lastLoggedInUserId();
}

HCPlayedGameController::~HCPlayedGameController()
{
    // A page let go without leaving the screen (the dashboard closed) still
    // gives the accelerometer back.
    stopWatchingShakes();
}

void HCPlayedGameController::stopWatchingShakes()
{
    if (watchingShakes_) {
        auto accelerometer = platform::ui::Accelerometer::sharedAccelerometer();
        accelerometer->setUpdateInterval(defaultUpdateInterval_);
        accelerometer->setDelegate(defaultDelegate_);
    }
    watchingShakes_ = false;
    enableShake_ = false;
    defaultDelegate_.reset();
}

// --- loading -------------------------------------------------------------------------

std::shared_ptr<HCService> HCPlayedGameController::getService()
{
    return HCClientApplicationService::sharedInstance();
}

void HCPlayedGameController::doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    if (scope_ == 2) {
        HCGameDiscoveryService::getDiscoveryPageNamed(targetDiscoveryPageName_, page, onSuccess, onFailure);
        return;
    }
    if (scope_ == 1) {
        HCClientApplicationService::getPlayedGamesForLocalUsersFriends(page, onSuccess, onFailure);
        return;
    }
    auto user = getPageContextUser();
    const auto userId = user ? user->resourceId() : std::nullopt;
    if (inFavoriteTab_) {
        HCClientApplicationService::getFavoriteGamesForUser(userId, page, kGamesPerPage, onSuccess, onFailure);
    } else {
        HCClientApplicationService::getPlayedGamesForUser(userId, page, kGamesPerPage, onSuccess, onFailure);
    }
}

void HCPlayedGameController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCPlayedGame>("PlayedGame");
    map.addResourceClass<HCGameDiscoveryImageHyperlink>("GameDiscoveryImageHyperlink");
    map.addResourceClass<HCGameDiscoveryCategory>("GameDiscoveryCategory");
    map.addResourceClass<HCGameDiscoveryNewsItem>("GameDiscoveryNewsItem");
}

void HCPlayedGameController::onBeforeResourcesProcessed(const HCPaginatedSeriesPtr& series)
{
    HC_CHECK_MAIN_THREAD();
    headerBannerResource_.reset();
    if (series) {
        auto objects = series->objects();
        for (auto it = objects.begin(); it != objects.end(); ++it) {
            auto section = platform::as<HCTableSectionDescription>(*it);
            if (!section || section->identifier() != kBannerSectionIdentifier) continue;
            // A banner section without a link shows no banner.
            if (section->page() && section->page()->count() > 0) headerBannerResource_ = section->page()->objects()[0];
            objects.erase(it);
            auto header = series->header();
            series->setObjects(std::move(objects));
            series->setHeader(header);
            break;
        }
    }
    refreshFrameBanner();
}

void HCPlayedGameController::refreshFrameBanner()
{
    if (auto framed = std::dynamic_pointer_cast<HCFramedNavigationController>(navigationController()))
        framed->refreshBanner();
}

// --- header, leading cell, messages -----------------------------------------------

std::optional<std::string> HCPlayedGameController::getTableHeaderControllerName()
{
    return scope_ == 0 ? std::optional<std::string>("TabbedPageHeader") : std::nullopt;
}

void HCPlayedGameController::onTableHeaderCreated(const platform::ObjectPtr& headerObject)
{
    auto header = platform::as<HCTabbedPageHeaderController>(headerObject);
    if (!header) return;
    header->setCallbackTarget(platform::self(this));
    header->addTab("All Games", &HCPlayedGameController::onAllGamesSelected);
    header->addTab("Favorite Games", &HCPlayedGameController::onFavoriteGamesSelected);
}

void HCPlayedGameController::onAllGamesSelected()
{
    HC_CHECK_MAIN_THREAD();
    // The first tab is selected as it is added, before the page's first load.
    const bool changed = inFavoriteTab_;
    inFavoriteTab_ = false;
    showEditButtonIfEditable();
    if (!changed) return;
    clearRows();
    reloadDataFromServer();
}

void HCPlayedGameController::onFavoriteGamesSelected()
{
    HC_CHECK_MAIN_THREAD();
    const bool changed = !inFavoriteTab_;
    inFavoriteTab_ = true;
    tableView()->setEditing(false, false);
    showEditButtonIfEditable();
    // The other tab's games must not stand under this one while it loads,
    // nor after its load fails: the player would take them for favourites.
    if (changed) clearRows();
    reloadDataFromServer();
}

bool HCPlayedGameController::showsEditSwitch() const
{
    return scope_ == 0 && !inFavoriteTab_ && isLocalUsersPage();
}

void HCPlayedGameController::showEditButtonIfEditable()
{
    if (showsEditSwitch()) {
        updateEditButton();
    } else {
        // The table base put Edit there as the view loaded on every page
        // whose rows swipe away; on the shuffle page too, where "Shuffle"
        // comes only once the page has appeared.
        navigationItem()->setRightBarButtonItem(nullptr);
    }
}

std::optional<std::string> HCPlayedGameController::getLeadingCellControllerNameForSection(int)
{
    return scope_ == 2 ? std::nullopt : std::optional<std::string>("DefaultLeading");
}

void HCPlayedGameController::onLeadingCellWasLoaded(const platform::ui::TableViewCellPtr& cell, int)
{
    auto leading = std::dynamic_pointer_cast<HCDefaultLeadingCell>(cell);
    if (!leading || scope_ == 2) return;
    leading->populateRightIconsAsComparison(getPageContextUser());
    if (scope_ == 1) {
        leading->headerLabel()->setText("Friends' Games");
        return;
    }
    auto user = getPageContextUser();
    leading->headerLabel()->setText(isLocalUsersPage() ? std::string("Halcyon Games")
                                                       : user->name().value_or("") + "'s Games");
}

bool HCPlayedGameController::allowEditing()
{
    return isLocalUsersPage();
}

std::string HCPlayedGameController::getResourceDeletePromptText(const platform::ObjectPtr& resource)
{
    auto game = platform::as<HCPlayedGame>(resource);
    if (!game) return "Are you sure?";
    return game->name().value_or("") +
           " will be removed from your games list but it will be added again the next time you play it.";
}

void HCPlayedGameController::onResourceWasDeleted(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    // Only a game is on the player's list: the id of a category, news item
    // or link swiped off a discovery page could name one of his games.
    auto game = platform::as<HCPlayedGame>(resource);
    if (!game) return;
    // A removal the provider drops unanswered brings the row back like a refused one.
    auto [removed, failed] = pageRequestDelegates<HCPlayedGameController>(
        std::static_pointer_cast<HCPlayedGameController>(platform::self(this)), [](auto&, const auto&) {},
        [](auto& page, const auto& failure) { page.onRemovalFailed(failure); });
    HCClientApplicationService::removeGameFromLocalUsersList(game->resourceId(), removed, failed);
}

void HCPlayedGameController::onRemovalFailed(std::shared_ptr<platform::Object>)
{
    // The row went when it was swiped; the list as the server keeps it shows it again.
    reloadDataFromServer();
}

std::string HCPlayedGameController::getNoDataFoundMessage()
{
    if (scope_ == 1) return "You have not added any Halcyon friends yet. Find friends on the friends tab.";
    // Shown only after a load that succeeded: the list is empty, not lost.
    if (scope_ == 2) return "There are no games on this page yet.";
    auto user = getPageContextUser();
    const std::string name = user ? user->name().value_or("") : std::string();
    if (!inFavoriteTab_) {
        return isLocalUsersPage() ? std::string("You have no games in your list yet.")
                                  : name + " has no games in their list yet.";
    }
    return isLocalUsersPage() ? std::string("You don't have any favorite games. To favorite this game go to the "
                                            "game tab and press the Fan Club button.")
                              : name + " has not added any favorite games yet.";
}

// --- taps ----------------------------------------------------------------------------

void HCPlayedGameController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable)
{
    HC_CHECK_MAIN_THREAD();
    reloadWhenShownNext_ = false;
    auto navigation = navigationController();
    const bool fromBanner = resource == headerBannerResource_ && headerBannerResource_;
    if (auto link = platform::as<HCGameDiscoveryImageHyperlink>(resource)) {
        HCGameDiscoveryImageHyperlinkCell::openLink(link, navigation);
    } else if (auto game = platform::as<HCPlayedGame>(resource); game && game->isOwnedByCurrentUser()) {
        HCGameProfileController::showGameProfileWithClientApplicationId(game->clientApplicationId(),
                                                                        getPageContextUser());
    } else if (game && game->iconUrl() && game->clientApplicationId() && navigation) {
        const std::string placement = "playedGameController_" + targetDiscoveryPageName_.value_or("") + "_" +
                                      std::to_string(std::max(0, indexPathInTable.row));
        if (auto page = HCDescriptionOpener::descriptionPage(game->clientApplicationId(), placement)) {
            navigation->pushViewController(page, true);
            return;
        }
    } else if (auto item = platform::as<HCGameDiscoveryNewsItem>(resource); item && navigation) {
        auto page = std::make_shared<HCGameDiscoveryNewsItemController>();
        page->setNewsItem(item);
        navigation->pushViewController(page, true);
        return;
    } else if (auto category = platform::as<HCGameDiscoveryCategory>(resource);
               category && category->targetDiscoveryActionName() && navigation) {
        if (*category->targetDiscoveryActionName() == "what_are_my_friends_playing_find_friends") {
            // The friends found there change what this page lists.
            reloadWhenShownNext_ = true;
            if (auto page = HCControllerLoader::load("ImportFriends")) navigation->pushViewController(page, true);
            return;
        }
        if (auto page = HCControllerLoader::load<HCPlayedGameController>("PlayedGame")) {
            page->setTargetDiscoveryPageName(category->targetDiscoveryActionName());
            page->navigationItem()->setTitle(category->targetDiscoveryPageTitle().value_or(""));
            navigation->pushViewController(page, true);
            return;
        }
    }
    if (!fromBanner) tableView()->deselectRowAtIndexPath(indexPathInTable, false);
}

void HCPlayedGameController::onBannerClicked()
{
    onCellWasClicked(headerBannerResource_, IndexPath{});
}

void HCPlayedGameController::profileUsersChanged(const std::shared_ptr<HCUser>&, const std::shared_ptr<HCUser>&)
{
    reloadDataFromServer();
}

// --- shake to shuffle --------------------------------------------------------------

void HCPlayedGameController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    shakeHistory_.clear();
    HCTableSequenceControllerHelper::viewWillAppear(animated);
    // Kept until the player taps a row: friends he goes on adding (the
    // import page, the friends tab) change this list each time.
    if (reloadWhenShownNext_) reloadDataFromServer();
    showEditButtonIfEditable();
}

void HCPlayedGameController::viewDidAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    if (isShufflePage()) {
        auto accelerometer = platform::ui::Accelerometer::sharedAccelerometer();
        defaultUpdateInterval_ = accelerometer->updateInterval();
        defaultDelegate_ = accelerometer->delegate();
        std::weak_ptr<HCPlayedGameController> weakSelf = platform::self(this);
        navigationItem()->setRightBarButtonItem(platform::ui::BarButtonItem::withTitle(
            "Shuffle", platform::ui::BarButtonStyle::Plain, [weakSelf](platform::ui::BarButtonItem&) {
                if (auto self = weakSelf.lock()) self->halcyonFiveShuffle();
            }));
        accelerometer->setUpdateInterval(kShakeUpdateInterval);
        accelerometer->setDelegate(platform::self(this));
        watchingShakes_ = true;
        enableShake_ = true;
    }
    HCTableSequenceControllerHelper::viewDidAppear(animated);
    refreshFrameBanner();
}

void HCPlayedGameController::viewDidDisappear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    stopWatchingShakes();
    HCTableSequenceControllerHelper::viewDidDisappear(animated);
    refreshFrameBanner();
}

void HCPlayedGameController::accelerometerDidAccelerate(platform::ui::Accelerometer&,
                                                        const platform::ui::Acceleration& acceleration)
{
    HC_CHECK_MAIN_THREAD();
    if (!enableShake_) return;
    if (!shakeHistory_.addSampleAndTestShake(static_cast<float>(acceleration.x), static_cast<float>(acceleration.y),
                                             static_cast<float>(acceleration.z)))
        return;
    enableShake_ = false;
    halcyonFiveShuffle();
}

void HCPlayedGameController::halcyonFiveShuffle()
{
    HC_CHECK_MAIN_THREAD();
    shakeHistory_.clear();
    reloadDataFromServer();
}

void HCPlayedGameController::hideLoadingScreen()
{
    HCTableSequenceControllerHelper::hideLoadingScreen();
    if (!isShufflePage() || enableShake_ || !watchingShakes_) return;
    std::weak_ptr<HCPlayedGameController> weakSelf = platform::self(this);
    platform::Thread::mainThread()->runLoop()->postAfter(kShakePause, [weakSelf] {
        auto self = weakSelf.lock();
        if (self && self->watchingShakes_) self->enableShake_ = true;
    });
}
