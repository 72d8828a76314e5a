#include "gamepages/highscores/HCHighScoreController.h"

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/images/HCImageLoader.h"
#include "core/publicclass/HCBragDelegate.h"
#include "core/users/HCUser.h"
#include "gamepages/HCProfileOpener.h"
#include "gamepages/HCSocialPostComposer.h"
#include "gamepages/nearme/HCHighScoreMapViewController.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/highscores/HCHighScoreReplies.h"
#include "scores/highscores/HCHighScoreService.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/HCTabbedPageHeaderController.h"

namespace {

std::string boardName(const std::shared_ptr<HCLeaderboard>& board)
{
    return board ? board->name().value_or("") : std::string();
}

}  // namespace

unsigned HCHighScoreController::daysForTimeScope(unsigned scope)
{
    switch (scope) {
    case Today: return 1;
    case ThisWeek: return 7;
    default: return 0;
    }
}

std::string HCHighScoreController::bragText(const HCHighScore& score, const std::string& board,
                                            const std::string& gameName)
{
    // The whole 64-bit number: a score is never cut to 32 bits here.
    const std::string text = score.displayTextValue() ? *score.displayTextValue() : std::to_string(score.score());
    return "I scored " + text + " on the " + board + " leaderboard in " + gameName + ".";
}

std::shared_ptr<HCService> HCHighScoreController::getService()
{
    return HCHighScoreService::sharedInstance();
}

void HCHighScoreController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCHighScore>("HighScore");
}

HCHighScoreController::~HCHighScoreController()
{
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

void HCHighScoreController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCTableSequenceControllerHelper::viewDidLoad();
    std::weak_ptr<HCHighScoreController> weakSelf = std::static_pointer_cast<HCHighScoreController>(platform::self(this));
    platform::NotificationCenter::defaultCenter().addObserver(this, HCNSNotificationGameCenterScoresLoaded,
                                                              [weakSelf](const auto&) {
                                                                  if (auto page = weakSelf.lock()) page->checkLoadFinished();
                                                              });
}

void HCHighScoreController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCTableSequenceControllerHelper::viewWillAppear(animated);
    setTitle(boardName(leaderboard_));
    if (leaderboard_ && leaderboard_->resourceId()) Halcyon::loadGameCenterScores(*leaderboard_->resourceId());
    showMapButtonIfLocated();
    noDataFoundMessage_ = Halcyon::isOnline()
                              ? "No one has posted high scores for " + boardName(leaderboard_) + " yet."
                              : "All of your high scores for " + boardName(leaderboard_) +
                                    " will show up here. You have not posted any yet.";
}

void HCHighScoreController::showMapButtonIfLocated()
{
    if (!Halcyon::isOnline() || Halcyon::userDistanceUnit() == 1 || !Halcyon::getUserLocation()) return;
    std::weak_ptr<HCHighScoreController> weakSelf = std::static_pointer_cast<HCHighScoreController>(platform::self(this));
    navigationItem()->setRightBarButtonItem(platform::ui::BarButtonItem::withImage(
        HCImageLoader::loadImage("HCMapButton.png"), platform::ui::BarButtonStyle::Plain, [weakSelf](auto&) {
            if (auto page = weakSelf.lock()) page->clickedMap();
        }));
}

void HCHighScoreController::clickedMap()
{
    HC_CHECK_MAIN_THREAD();
    auto map = std::dynamic_pointer_cast<HCHighScoreMapViewController>(HCControllerLoader::load("Mapping"));
    auto navigation = navigationController();
    if (!map || !navigation || !leaderboard_) return;
    map->setLeaderboard(leaderboard_->resourceId().value_or(""));
    map->getScores();
    navigation->pushViewController(map, true);
}

void HCHighScoreController::downloadBlobForHighScore(const std::shared_ptr<HCHighScore>& score)
{
    HC_CHECK_MAIN_THREAD();
    if (!score || !score->hasBlob() || downloadingBlob_) return;
    downloadingBlob_ = true;
    showLoadingScreen();
    // A download the player never hears back from (dropped) says so like a failed one.
    auto [downloaded, failed] = pageRequestDelegates<HCHighScoreController>(
        std::static_pointer_cast<HCHighScoreController>(platform::self(this)),
        [](auto& page, const auto& reply) { page.onBlobDownloadedForHighScore(platform::as<HCHighScore>(reply)); },
        [](auto& page, const auto&) { page.endBlobDownload(); },
        tellWithAlert<HCHighScoreController>(kBlobFailedTitle, kBlobFailedMessage, "OK"));
    HCHighScoreService::downloadBlobForHighScore(score, downloaded, failed);
}

void HCHighScoreController::onBlobDownloadedForHighScore(const std::shared_ptr<HCHighScore>& score)
{
    HC_CHECK_MAIN_THREAD();
    endBlobDownload();
    // A reply that lost its score (or came back without the data) delivered nothing.
    if (!score || !score->blob()) {
        if (pageIsShown(*this)) showRequestFailureAlert(kBlobFailedTitle, kBlobFailedMessage, "OK");
        return;
    }
    if (auto* game = Halcyon::getDelegate()) {
        platform::callOptional([&] { game->userDownloadedBlob(score->blob(), score); });
    }
}

void HCHighScoreController::endBlobDownload()
{
    HC_CHECK_MAIN_THREAD();
    downloadingBlob_ = false;
    hideLoadingScreen();
}

void HCHighScoreController::onTableHeaderCreated(const platform::ObjectPtr& headerObject)
{
    HC_CHECK_MAIN_THREAD();
    auto header = platform::as<HCTabbedPageHeaderController>(headerObject);
    if (!header) return;
    header->setCallbackTarget(platform::self(this));
    if (!Halcyon::isOnline()) {
        header->addTab("My Scores", &HCHighScoreController::nullyMethod);
        return;
    }
    if (!Halcyon::isInLandscapeMode()) {
        header->setTabTextAlignment(platform::ui::TextAlignment::Left);
        header->setTabLabelPadding(platform::ui::EdgeInsets(0, 28, 0, 0));
    }
    // The first tab is picked as it is added; the first load is the base's,
    // so it must not load as well.
    header->setCallbackTarget(nullptr);
    header->addTab("All Time", &HCHighScoreController::setTimeScopingAll);
    header->setCallbackTarget(platform::self(this));
    header->addTab("Today", &HCHighScoreController::setTimeScopingDay);
    header->addTab("This week", &HCHighScoreController::setTimeScopingWeek);
}

void HCHighScoreController::setTimeScoping(unsigned scope)
{
    HC_CHECK_MAIN_THREAD();
    noDataFoundMessage_ = "No one has posted high scores for " + boardName(leaderboard_) + " yet.";
    timeScope_ = scope;
    // A load still running asked for another scope: this one replaces it.
    reloadDataFromServer();
}

void HCHighScoreController::profileUsersChanged(const std::shared_ptr<HCUser>&, const std::shared_ptr<HCUser>&)
{
    reloadDataFromServer();
}

void HCHighScoreController::doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    const auto boardId = leaderboard_ ? leaderboard_->resourceId() : std::nullopt;
    if (!Halcyon::isOnline()) {
        HCHighScoreService::getLocalHighScores(boardId.value_or(""), onSuccess, onFailure);
        return;
    }
    load_ = std::make_unique<Load>();
    load_->generation = ++generation_;
    load_->scope = timeScope_;
    load_->onSuccess = onSuccess;
    load_->onFailure = onFailure;
    // Either request failing (or dropped) ends the load, silently: the base
    // takes the loading screen down and the table keeps what it showed.
    const unsigned generation = load_->generation;
    auto requestFor = [this, generation](bool friendsOnly) {
        return pageRequestDelegates<HCHighScoreController>(
            std::static_pointer_cast<HCHighScoreController>(platform::self(this)),
            [generation, friendsOnly](auto& page, const auto& reply) {
                page.onScoresLoaded(generation, friendsOnly, platform::as<HCPaginatedSeries>(reply));
            },
            [generation](auto& page, const auto&) {
                if (page.loadOf(generation)) page.failLoad();
            });
    };
    auto compared = getPageComparisonUser();
    const auto comparedId = compared ? compared->resourceId() : std::nullopt;
    const unsigned days = daysForTimeScope(load_->scope);
    auto [friendsLoaded, friendsFailed] = requestFor(true);
    HCHighScoreService::getPage(1, boardId, comparedId, true, false, days, friendsLoaded, friendsFailed);
    auto [globalLoaded, globalFailed] = requestFor(false);
    HCHighScoreService::getPage(1, boardId, comparedId, false, false, days, globalLoaded, globalFailed);
}

HCHighScoreController::Load* HCHighScoreController::loadOf(unsigned generation)
{
    return load_ && load_->generation == generation ? load_.get() : nullptr;
}

void HCHighScoreController::onScoresLoaded(unsigned generation, bool friendsOnly, const HCPaginatedSeriesPtr& series)
{
    HC_CHECK_MAIN_THREAD();
    auto* load = loadOf(generation);
    if (!load) return;
    (friendsOnly ? load->friendResources : load->globalResources) =
        series ? series : HCPaginatedSeries::paginatedSeries();
    checkLoadFinished();
}

void HCHighScoreController::failLoad()
{
    // The base takes the loading screen down and keeps the table as it was;
    // the other request's reply, should it come, finds no load.
    auto load = std::move(load_);
    load->onFailure.invoke(nullptr);
}

void HCHighScoreController::checkLoadFinished()
{
    HC_CHECK_MAIN_THREAD();
    if (!load_ || !load_->friendResources || !load_->globalResources) return;
    // Game Center's scores of the scope this load asked for, not of a tab
    // picked since.
    const std::string boardId = leaderboard_ ? leaderboard_->resourceId().value_or("") : std::string();
    if (!Halcyon::isGameCenterScoreLoadedForLeaderboardId(boardId, load_->scope)) return;
    auto load = std::move(load_);
    // The friends' ranking is their reply's page, sectioned or not.
    load->onSuccess.invoke(Halcyon::combinedGameCenterForLeaderboardId(boardId, load->scope, load->globalResources,
                                                                      HCHighScorePageOf(load->friendResources)));
}

std::shared_ptr<HCHighScore> HCHighScoreController::myRankedScore(int section) const
{
    if (section < 0 || static_cast<std::size_t>(section) >= sections().size()) return nullptr;
    const auto& description = sections()[static_cast<std::size_t>(section)];
    if (description->title() != kMyScoreSection || description->count() == 0) return nullptr;
    auto score = platform::as<HCHighScore>(description->objectAtIndex(0));
    return score && score->rank() != -1 ? score : nullptr;
}

std::optional<std::string> HCHighScoreController::getTrailingCellControllerNameForSection(int section)
{
    return myRankedScore(section) ? std::optional<std::string>("ShareHighScore") : std::nullopt;
}

void HCHighScoreController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable)
{
    HC_CHECK_MAIN_THREAD();
    auto score = platform::as<HCHighScore>(resource);
    if (!score || !Halcyon::isOnline()) return;
    if (score->user()) {
        HCProfileOpener::showProfileForUser(score->user());
    } else {
        tableView()->deselectRowAtIndexPath(indexPathInTable, false);
    }
}

void HCHighScoreController::onTrailingCellWasClickedForSection(int section)
{
    HC_CHECK_MAIN_THREAD();
    auto score = myRankedScore(section);
    auto composer = HCControllerLoader::load(HCSocialPostComposer::kLoaderName);
    auto* post = dynamic_cast<HCSocialPostComposer*>(composer.get());
    auto navigation = navigationController();
    if (!score || !post || !navigation) return;
    std::optional<std::string> text;
    std::optional<std::string> originalMessage;
    if (auto* brag = Halcyon::getBragDelegate()) {
        platform::callOptional([&] { brag->bragAboutHighScore(score, leaderboard_, &text, &originalMessage); });
    }
    if (!text) text = bragText(*score, boardName(leaderboard_), Halcyon::applicationDisplayName());
    post->setPrepopulatedText(text, originalMessage);
    post->setImageType("achievement_definitions", "game_icon", std::nullopt);
    auto game = Halcyon::localGameProfileInfo();
    post->setImageUrl(game ? game->iconUrl() : std::nullopt, nullptr);
    navigation->pushViewController(composer, true);
}
