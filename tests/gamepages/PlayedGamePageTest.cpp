// The games lists and the discovery pages as the player sees them.
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HCWebViewController.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/discovery/HCFeaturedGameCell.h"
#include "gamepages/discovery/HCFeaturedGamesController.h"
#include "gamepages/discovery/HCGameDiscoveryCategoryCell.h"
#include "gamepages/discovery/HCGameDiscoveryController.h"
#include "gamepages/discovery/HCGameDiscoveryLook.h"
#include "gamepages/discovery/HCGameDiscoveryNewsItemCell.h"
#include "gamepages/discovery/HCGameDiscoveryImageHyperlinkCell.h"
#include "gamepages/discovery/HCGameDiscoveryNewsItemController.h"
#include "gamepages/discovery/HCPlayedGameCell.h"
#include "gamepages/discovery/HCPlayedGameController.h"
#include "gamepages/discovery/HCShakeHistory.h"
#include "gamepages/gameprofile/HCGameProfileController.h"
#include "gamepages/support/DroppedRequests.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Faults.h"
#include "localserver/Fixtures.h"
#include "localserver/routes/ShowcaseRoutes.h"
#include "platform/net/NetError.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/Application.h"
#include "social/applications/HCClientApplicationService.h"
#include "social/discovery/HCGameDiscoveryImageHyperlink.h"
#include "platform/ui/NavigationItem.h"
#include "social/playedgames/HCPlayedGame.h"
#include "social/profiles/HCUserGameStat.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCControllerLoader.h"

namespace {

using platform::ui::Acceleration;

constexpr const char* kShufflePage = "game_discovery_categories/halcyon_five.xml";

class PlayedGamePageTest : public pagetest::PageHarness {
protected:
    void SetUp() override
    {
        PageHarness::SetUp();
        platform::ui::Accelerometer::resetShared();
        showcase = localserver::registerShowcaseRoutes(*server);
    }

    std::shared_ptr<HCFramedNavigationController> frame() const
    {
        return std::dynamic_pointer_cast<HCFramedNavigationController>(HalcyonDashboard::getActiveNavigationController());
    }

    std::shared_ptr<HCPlayedGameCell> gameCell(const std::string& name) const
    {
        auto page = topPageAs<HCTableControllerHelper>();
        for (const auto& cell : platform::ui::Driver::findAll<HCPlayedGameCell>(page->tableView()))
            if (platform::ui::Driver::labelsText(cell).find(name) != std::string::npos) return cell;
        return nullptr;
    }

    void openDiscoveryPage(const std::string& name)
    {
        openPage("PlayedGame", [&name](const platform::ui::ViewControllerPtr& page) {
            std::dynamic_pointer_cast<HCPlayedGameController>(page)->setTargetDiscoveryPageName(name);
        });
    }

    void openShufflePage() { openDiscoveryPage(HCPlayedGameController::kShufflePageName); }

    // The address of the description page of Pebble Tide that the top page shows.
    std::string shownDescription() const
    {
        auto page = topPageAs<HCWebViewController>();
        if (!page || page->kindName() != "HCApplicationDescriptionController") return "none";
        const std::string root = server->serviceRootUrl() + "client_applications/2/application_descriptions.iphone";
        return page->pageURL().rfind(root, 0) == 0 ? page->pageURL().substr(root.size()) : page->pageURL();
    }

    // Ben's games, as his profile pushes them, left sliding in (see
    // startPush); false when the dashboard did not open.
    bool startPushingBensGames()
    {
        Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
        settle();
        auto ben = HCResource::initWithId<HCUser>(std::string(localserver::defaults::kOtherUserId));
        ben->setName(std::string(localserver::defaults::kOtherUserName));
        if (!frame()) return false;
        frame()->pushViewController(HCControllerLoader::load("PlayedGame"), true, ben);
        return true;
    }

    void openBensGames()
    {
        ASSERT_TRUE(startPushingBensGames());
        settle();
        waitForIdle();
    }

    // The player swipes the first row showing `text` away and confirms; the
    // question he was asked, nothing when the row offers no delete.
    std::optional<std::string> swipeAway(const std::string& text)
    {
        auto table = topPageAs<HCTableControllerHelper>()->tableView();
        for (int section = 0; section < table->numberOfSections(); ++section) {
            for (int row = 0; row < table->numberOfRowsInSection(section); ++row) {
                const platform::ui::IndexPath path{section, row};
                auto cell = table->cellForRowAtIndexPath(path);
                if (!cell || platform::ui::Driver::labelsText(cell).find(text) == std::string::npos) continue;
                if (!driver->deleteRow(table, path)) return std::nullopt;
                const auto sheets = platform::ui::ActionSheet::visibleSheets();
                const std::string question = sheets.empty() ? std::string() : sheets.back()->title();
                EXPECT_TRUE(driver->answerSheet("OK"));
                settle();
                waitForIdle();
                return question;
            }
        }
        return std::nullopt;
    }

    // How many removals of games from the player's list the server got.
    size_t removalsSent() const
    {
        size_t count = 0;
        for (const auto& entry : server->log().entries())
            count += entry.request.method == "DELETE" && entry.request.path.rfind("profile/games/", 0) == 0 ? 1 : 0;
        return count;
    }

    std::shared_ptr<localserver::ShowcaseOptions> showcase;
};

// A game whose statistics hold (user, has it, score) entries in this order.
std::shared_ptr<HCPlayedGame> gameWithStats(const std::vector<std::tuple<std::string, bool, int>>& entries,
                                            bool withIcon = true)
{
    auto game = HCResource::initWithId<HCPlayedGame>(std::string("5"));
    game->setName(std::string("Stone Age"));
    if (withIcon) game->setIconUrl(std::string("images/game_5.png"));
    auto stats = platform::Array::make();
    for (const auto& [user, has, score] : entries) {
        auto stat = std::make_shared<HCUserGameStat>();
        stat->setUserId(user);
        stat->setUserHasGameFromString(std::string(has ? "true" : "false"));
        stat->setUserGamerScoreFromString(std::to_string(score));
        stats->add(stat);
    }
    game->setUserGameStats(stats);
    return game;
}

std::string imageName(const std::shared_ptr<platform::ui::ImageView>& view)
{
    return view->image() ? view->image()->name() : "-";
}

class RestingDevice final : public platform::ui::AccelerometerDelegate {
public:
    void accelerometerDidAccelerate(platform::ui::Accelerometer&, const Acceleration&) override {}
};

TEST_F(PlayedGamePageTest, SwipingAGameAwayRemovesItAndAnEmptyListSaysNoGamesNotAFailure)
{
    startOnline();
    auto page = openPage("PlayedGame");
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Halcyon Games", "Tolvarine Ruvuru | 1 friend has this game | 40"}));

    ASSERT_TRUE(driver->deleteRow(page->tableView(), {0, 1}));
    ASSERT_TRUE(driver->answerSheet("OK"));
    settle();
    waitForIdle();
    EXPECT_EQ(requestsTo("profile/games/1"), 1u);

    page->reloadDataFromServer();
    waitForIdle();
    const auto rows = screenRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], "(You have no games in your list yet.)");
}

TEST_F(PlayedGamePageTest, ARemovalTheServerRefusesBringsTheGameBack)
{
    startOnline();
    auto page = openPage("PlayedGame");
    server->faults().injectFor("DELETE", "profile/games/1", localserver::Fault::reply(500, "down"));

    ASSERT_TRUE(driver->deleteRow(page->tableView(), {0, 1}));
    ASSERT_TRUE(driver->answerSheet("OK"));
    settle();
    waitForIdle();
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Halcyon Games", "Tolvarine Ruvuru | 1 friend has this game | 40"}));
    EXPECT_EQ(requestsTo("profiles/me/list_games"), 2u);
    EXPECT_FALSE(showsLoadingScreen());
}

TEST_F(PlayedGamePageTest, ARemovalTheProviderDropsBringsTheGameBack)
{
    startOnline();
    auto page = openPage("PlayedGame");
    const auto shown = screenRows();
    ASSERT_EQ(shown.size(), 2u);
    pagetest::dropRequestsMadeBy([&] {
        ASSERT_TRUE(driver->deleteRow(page->tableView(), {0, 1}));
        ASSERT_TRUE(driver->answerSheet("OK"));
        settle();
    });
    settle();
    waitForIdle();
    EXPECT_EQ(requestsTo("profile/games/1"), 0u);
    EXPECT_EQ(requestsTo("profiles/me/list_games"), 2u);
    EXPECT_EQ(screenRows(), shown);
    EXPECT_FALSE(showsLoadingScreen());
}

TEST_F(PlayedGamePageTest, AGameSwipedOffTheFavouritesLeavesThePlayersGamesWithoutAnEditSwitch)
{
    startOnline();
    HCClientApplicationService::makeGameFavorite(std::string(localserver::defaults::kGameId), std::nullopt,
                                                 HCDelegate(), HCDelegate());
    waitForReplies();
    auto page = openPage("PlayedGame");
    ASSERT_TRUE(tapButton("Favorite Games"));
    waitForIdle();
    ASSERT_EQ(screenRows(), (std::vector<std::string>{"Halcyon Games", "Tolvarine Ruvuru | 1 friend has this game | 40"}));
    EXPECT_FALSE(page->navigationItem()->rightBarButtonItem());

    EXPECT_EQ(swipeAway("Tolvarine Ruvuru"), "Tolvarine Ruvuru will be removed from your games list but it will be "
                                             "added again the next time you play it.");
    EXPECT_EQ(requestsTo("profile/games/1"), 1u);
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Halcyon Games", "(You don't have any favorite games. To favorite "
                                                                       "this game go to the game tab and press the Fan "
                                                                       "Club button.)"}));

    ASSERT_TRUE(tapButton("All Games"));
    waitForIdle();
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Halcyon Games", "(You have no games in your list yet.)"}));
}

TEST_F(PlayedGamePageTest, OnlyTheLocalPlayersListsLetRowsBeSwipedAwayAndOnlyGamesLeaveHisList)
{
    startOnline();
    // Another player's games and the discovery index are read, not edited.
    openBensGames();
    ASSERT_TRUE(gameCell("Tolvarine Ruvuru"));
    EXPECT_FALSE(topPage()->navigationItem()->rightBarButtonItem());
    EXPECT_FALSE(swipeAway("Tolvarine Ruvuru"));
    openPage("GameDiscovery");
    EXPECT_FALSE(swipeAway("Puzzle"));
    EXPECT_EQ(screenRows().front(), "Puzzle | Think first");

    // His friends' games: a game he lacks is not on his list, so the
    // service refuses and the row comes back.
    openPage("PlayedGame", [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCPlayedGameController>(page)->setScope(1);
    });
    EXPECT_FALSE(topPage()->navigationItem()->rightBarButtonItem());
    ASSERT_TRUE(swipeAway("Pebble Tide"));
    EXPECT_EQ(requestsTo("profile/games/2"), 1u);
    EXPECT_TRUE(gameCell("Pebble Tide"));

    // A discovery page of games: the swiped game leaves his list.
    openDiscoveryPage("developers_picks");
    EXPECT_FALSE(topPage()->navigationItem()->rightBarButtonItem());
    ASSERT_TRUE(swipeAway("Tolvarine Ruvuru"));
    EXPECT_EQ(requestsTo("profile/games/1"), 1u);
    EXPECT_EQ(screenRows(), std::vector<std::string>{"Pebble Tide"});

    // A category is no game: it leaves the page, and no id of it is sent
    // as one of his games.
    openDiscoveryPage("puzzle");
    const size_t removalsBefore = removalsSent();
    EXPECT_EQ(swipeAway("Tolvarine Ruvuru"), "Are you sure?");
    EXPECT_EQ(screenRows(), std::vector<std::string>{"(There are no games on this page yet.)"});
    EXPECT_EQ(removalsSent(), removalsBefore);
}

// What the bar shows while a page slides in counts as much as what it shows
// once the page is in: Edit there would be the player's to tap.
TEST_F(PlayedGamePageTest, EditStandsOverThePlayersAllGamesFromItsFirstMomentAndNeverOverTheShufflePage)
{
    using Shown = std::pair<std::string, std::string>;
    // The right button while `move` slides its page in, then once it is in and idle.
    auto rightButtonDuringAndAfter = [&](const std::function<bool()>& move) {
        if (!move()) return Shown{"(nothing moved)", ""};
        std::string during = rightBarButtonWords();
        settle();
        waitForIdle();
        return Shown{std::move(during), rightBarButtonWords()};
    };
    auto friendsGames = [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCPlayedGameController>(page)->setScope(1);
    };
    auto discoveryPage = [](std::string name) {
        return [name](const platform::ui::ViewControllerPtr& page) {
            std::dynamic_pointer_cast<HCPlayedGameController>(page)->setTargetDiscoveryPageName(name);
        };
    };
    auto pushing = [&](const std::function<void(const platform::ui::ViewControllerPtr&)>& setUp = nullptr) {
        return [this, setUp] { return startPush("PlayedGame", setUp) != nullptr; };
    };
    startOnline();
    HCClientApplicationService::makeGameFavorite(std::string(localserver::defaults::kGameId), std::nullopt,
                                                 HCDelegate(), HCDelegate());
    waitForReplies();
    EXPECT_EQ(rightButtonDuringAndAfter(pushing()), (Shown{"Edit", "Edit"}));
    // His games under Favorite Games, come back to from a game's page.
    ASSERT_TRUE(tapButton("Favorite Games"));
    waitForIdle();
    ASSERT_TRUE(tapRow("Tolvarine Ruvuru"));
    waitForIdle();
    ASSERT_TRUE(topPageAs<HCGameProfileController>());
    EXPECT_EQ(rightButtonDuringAndAfter([&] { return driver->tapBack(); }), (Shown{"", ""}));

    EXPECT_EQ(rightButtonDuringAndAfter([&] { return startPushingBensGames(); }), (Shown{"", ""}));
    EXPECT_EQ(rightButtonDuringAndAfter(pushing(friendsGames)), (Shown{"", ""}));
    EXPECT_EQ(rightButtonDuringAndAfter(pushing(discoveryPage("developers_picks"))), (Shown{"", ""}));
    EXPECT_EQ(rightButtonDuringAndAfter(pushing(discoveryPage(HCPlayedGameController::kShufflePageName))),
              (Shown{"", "Shuffle"}));

    // A page pushed over the shuffle page, and the way back to it.
    auto banner = frame()->featuredBanner();
    ASSERT_TRUE(banner);
    EXPECT_EQ(rightButtonDuringAndAfter([&] { return driver->tapView(banner); }), (Shown{"", ""}));
    ASSERT_EQ(topPageAs<HCPlayedGameController>()->targetDiscoveryPageName(), "puzzle");
    EXPECT_EQ(rightButtonDuringAndAfter([&] { return driver->tapBack(); }), (Shown{"", "Shuffle"}));
    ASSERT_EQ(topPageAs<HCPlayedGameController>()->targetDiscoveryPageName(), HCPlayedGameController::kShufflePageName);
}

TEST_F(PlayedGamePageTest, FriendsGamesOfferTheStoreOnlyForGamesThePlayerLacksAndOpenOnlyStoreAddresses)
{
    startOnline();
    openPage("PlayedGame", [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCPlayedGameController>(page)->setScope(1);
    });
    auto owned = gameCell("Tolvarine Ruvuru");
    auto lacking = gameCell("Pebble Tide");
    ASSERT_TRUE(owned && lacking);
    EXPECT_TRUE(owned->shoppingCartButton()->isHidden());
    ASSERT_FALSE(lacking->shoppingCartButton()->isHidden());
    EXPECT_TRUE(lacking->secondStatView()->isHidden());

    ASSERT_TRUE(driver->tap(lacking->shoppingCartButton()));
    EXPECT_EQ(platform::ui::Application::shared()->openedURLs(),
              (std::vector<std::string>{"https://store.example/app/2"}));

    // An address of another kind that a reply carries is never opened.
    for (const char* url : {"file:///etc/passwd", "javascript:alert(1)", "tel:555", "store.example/app"}) {
        auto game = HCResource::initWithId<HCPlayedGame>(std::string("9"));
        game->setITunesAppStoreUrl(std::string(url));
        lacking->setResource(game);
        EXPECT_FALSE(lacking->showAppStorePage()) << url;
    }
    EXPECT_EQ(platform::ui::Application::shared()->openedURLs().size(), 1u);
    EXPECT_TRUE(HCPlayedGameCell::isStoreURL("ITMS-APPS://store/app/2"));
}

TEST_F(PlayedGamePageTest, AGameThePlayerLacksOpensItsDescriptionSayingWhereThePlayerCameFrom)
{
    startOnline();
    openPage("PlayedGame", [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCPlayedGameController>(page)->setScope(1);
    });
    // The headless web view loads nothing by itself: the test plays the page.
    ASSERT_TRUE(tapRow("Pebble Tide"));
    settle();
    EXPECT_EQ(shownDescription(), "?app_banner_placement=playedGameController__2");
    // A page that cannot be had takes its loading screen down.
    auto web = topPageAs<HCWebViewController>()->webView();
    ASSERT_TRUE(web->failLoad(platform::NetError::make(platform::kNetErrorTimedOut)));
    EXPECT_FALSE(showsLoadingScreen());
    ASSERT_TRUE(driver->tapBack());
    settle();

    // A cart whose store address may not be opened leads to the description.
    auto lacking = gameCell("Pebble Tide");
    auto game = platform::as<HCPlayedGame>(lacking->resource());
    game->setITunesAppStoreUrl(std::string("javascript:alert(1)"));
    lacking->setResource(game);
    ASSERT_TRUE(driver->tap(lacking->shoppingCartButton()));
    settle();
    EXPECT_EQ(shownDescription(), "?app_banner_placement=playedGameCell");
}

TEST_F(PlayedGamePageTest, FindFriendsOpensTheImportPageAndAPurchaseBannerTheGamesDescription)
{
    startOnline();
    openPage("PlayedGame", [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCPlayedGameController>(page)->setTargetDiscoveryPageName(std::string("friends"));
    });
    auto page = topPage();
    ASSERT_TRUE(tapRow("What are my friends playing?"));
    settle();
    EXPECT_EQ(topPage()->kindName(), "HCImportFriendsController");
    // Friends found there change the list: it is read again on return.
    ASSERT_TRUE(driver->tapBack());
    settle();
    waitForIdle();
    ASSERT_EQ(topPage(), page);
    EXPECT_EQ(requestsTo("game_discovery_categories/friends.xml"), 2u);

    auto links = platform::ui::Driver::findAll<HCGameDiscoveryImageHyperlinkCell>(
        std::dynamic_pointer_cast<HCTableControllerHelper>(page)->tableView());
    ASSERT_TRUE(!links.empty() && driver->tapView(links.front()));
    settle();
    EXPECT_EQ(shownDescription(), "?app_banner_placement=gameDiscoveryImageHyperlink_friends");
    // One tap, one page.
    EXPECT_EQ(topPage()->navigationController()->viewControllers().size(), 3u);
}

TEST_F(PlayedGamePageTest, AfterFindingFriendsThePageReloadsEachTimeItIsShownUntilARowIsTapped)
{
    constexpr const char* kFriendsPage = "game_discovery_categories/friends.xml";
    startOnline();
    openDiscoveryPage("friends");
    auto page = topPageAs<HCTableControllerHelper>();
    ASSERT_TRUE(tapRow("What are my friends playing?"));
    ASSERT_TRUE(driver->tapBack());
    settle();
    waitForIdle();
    EXPECT_EQ(requestsTo(kFriendsPage), 2u);

    // The player looks at another tab and comes back, twice.
    auto showAgain = [&] {
        ASSERT_TRUE(driver->tapTab("My Halcyon"));
        settle();
        ASSERT_TRUE(driver->tapTab("Now Playing"));
        settle();
        waitForIdle();
        ASSERT_EQ(topPage(), page);
    };
    showAgain();
    EXPECT_EQ(requestsTo(kFriendsPage), 3u);
    showAgain();
    EXPECT_EQ(requestsTo(kFriendsPage), 4u);

    // A tap on a row (the purchase link) ends it.
    ASSERT_TRUE(driver->selectRow(page->tableView(), {0, 1}));
    settle();
    EXPECT_EQ(shownDescription(), "?app_banner_placement=gameDiscoveryImageHyperlink_friends");
    ASSERT_TRUE(driver->tapBack());
    settle();
    waitForIdle();
    showAgain();
    EXPECT_EQ(requestsTo(kFriendsPage), 4u);
}

TEST_F(PlayedGamePageTest, TheBannerSectionBecomesTheFramesBannerAndLeavesWithThePage)
{
    startOnline();
    openShufflePage();
    auto banner = frame()->featuredBanner();
    ASSERT_TRUE(banner);
    auto link = platform::as<HCGameDiscoveryImageHyperlink>(std::dynamic_pointer_cast<HCTableCellHelper>(banner)->resource());
    ASSERT_TRUE(link);
    EXPECT_EQ(link->imageUrl(), "images/banner_30.png");
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[Halcyon Five]", "Tolvarine Ruvuru", "Pebble Tide"}));

    // A tap on the banner opens the page it links to.
    ASSERT_TRUE(driver->tapView(banner));
    settle();
    waitForIdle();
    auto linked = topPageAs<HCPlayedGameController>();
    ASSERT_TRUE(linked);
    EXPECT_EQ(linked->targetDiscoveryPageName(), "puzzle");
    EXPECT_EQ(linked->navigationItem()->title(), "Puzzle games");
    EXPECT_FALSE(frame()->featuredBanner());
}

TEST_F(PlayedGamePageTest, AnEmptyBannerSectionShowsNoBannerAndNoRow)
{
    startOnline();
    showcase->emptyBanner = true;
    openShufflePage();
    EXPECT_FALSE(frame()->featuredBanner());
    EXPECT_FALSE(topPageAs<HCPlayedGameController>()->headerBannerResource());
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[Halcyon Five]", "Tolvarine Ruvuru", "Pebble Tide"}));
}

TEST_F(PlayedGamePageTest, TwoShakesReloadOnceAndTheAccelerometerGoesBackWhenThePageLeaves)
{
    auto before = std::make_shared<RestingDevice>();
    platform::ui::Accelerometer::sharedAccelerometer()->setDelegate(before);
    startOnline();
    openShufflePage();
    auto accelerometer = platform::ui::Accelerometer::sharedAccelerometer();
    EXPECT_EQ(accelerometer->delegate(), topPageAs<platform::ui::AccelerometerDelegate>());

    driver->feedAcceleration({Acceleration{1.2, 0, 0}, Acceleration{-1.3, 0, 0}});
    driver->feedAcceleration({Acceleration{0, 1.5, 0}, Acceleration{0, -1.5, 0}});
    waitForIdle();
    EXPECT_EQ(requestsTo(kShufflePage), 2u);
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[Halcyon Five]", "Pebble Tide", "Tolvarine Ruvuru"}));

    // A second after the reload the page listens again.
    settle();
    driver->feedAcceleration({Acceleration{0, 0, 1.4}, Acceleration{0, 0, -1.4}});
    waitForIdle();
    EXPECT_EQ(requestsTo(kShufflePage), 3u);

    ASSERT_TRUE(driver->tapBack());
    settle();
    EXPECT_EQ(accelerometer->delegate(), before);
}

TEST_F(PlayedGamePageTest, TheDiscoveryIndexListsCategoriesAndOpensTheTappedOnesPage)
{
    startOnline();
    // A failed first load says, in the footer's place, that no categories
    // came, probably through an error; the next good one brings the footer back.
    server->faults().injectNext(localserver::Fault::reply(500, "down"));
    openPage("GameDiscovery");
    auto footerText = [&] {
        auto footer = topPageAs<HCTableControllerHelper>()->tableView()->tableFooterView();
        return footer ? platform::ui::Driver::labelsText(footer) : std::string();
    };
    EXPECT_EQ(footerText(), HCGameDiscoveryController::kNoCategoriesText);
    topPageAs<HCTableControllerHelper>()->reloadDataFromServer();
    waitForIdle();
    const auto rows = screenRows();
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[0], "Puzzle | Think first");
    EXPECT_NE(platform::ui::Driver::labelsText(topPageAs<HCTableControllerHelper>()->tableView()->tableFooterView())
                  .find(HCGameDiscoveryController::kFooterText),
              std::string::npos);

    ASSERT_TRUE(tapRow("News"));
    waitForIdle();
    auto news = topPageAs<HCPlayedGameController>();
    ASSERT_TRUE(news);
    EXPECT_EQ(news->scope(), 2);
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Level pack 2 | Twenty new levels"}));

    ASSERT_TRUE(tapRow("Level pack 2"));
    auto item = topPageAs<HCGameDiscoveryNewsItemController>();
    ASSERT_TRUE(item);
    EXPECT_EQ(item->title(), "News");
    EXPECT_EQ(item->pageURL(), server->serviceRootUrl() + "game_discovery_news_items/20.iphone");
}

// The discovery pages' own look: grey bands between divider lines, framed
// icons, their own disclosure sign; in landscape the icon widens.
TEST_F(PlayedGamePageTest, DiscoveryRowsAndTheFooterWearTheDiscoveryLook)
{
    for (const char* name : {HCGameDiscoveryLook::kGreyBackground, HCGameDiscoveryLook::kGreyBackgroundSelected,
                             HCGameDiscoveryLook::kDividerTop, HCGameDiscoveryLook::kDividerBottom,
                             HCGameDiscoveryLook::kIconFrame, HCGameDiscoveryCategoryCell::kDisclosureImageName})
        addBundleImage(name);
    startOnline();
    auto categoryRow = [&] {
        auto table = topPageAs<HCTableControllerHelper>()->tableView();
        table->layoutIfNeeded();
        auto cells = platform::ui::Driver::findAll<HCGameDiscoveryCategoryCell>(table);
        if (!cells.empty()) cells.front()->layoutIfNeeded();
        return cells.empty() ? nullptr : cells.front();
    };
    openPage("GameDiscovery");
    auto row = categoryRow();
    ASSERT_TRUE(row);
    auto background = std::dynamic_pointer_cast<platform::ui::ImageView>(row->backgroundView());
    auto selected = std::dynamic_pointer_cast<platform::ui::ImageView>(row->selectedBackgroundView());
    ASSERT_TRUE(background && selected);
    EXPECT_EQ(imageName(background), HCGameDiscoveryLook::kGreyBackground);
    EXPECT_EQ(imageName(selected), HCGameDiscoveryLook::kGreyBackgroundSelected);
    EXPECT_EQ(imageName(row->topDividerView()), HCGameDiscoveryLook::kDividerTop);
    EXPECT_EQ(imageName(row->bottomDividerView()), HCGameDiscoveryLook::kDividerBottom);
    EXPECT_EQ(row->bottomDividerView()->frame().maxY(), row->bounds().height());
    EXPECT_EQ(imageName(row->disclosureView()), HCGameDiscoveryCategoryCell::kDisclosureImageName);
    EXPECT_EQ(row->disclosureView()->frame().minX(), row->bounds().width() - 22);
    EXPECT_EQ(row->accessoryType(), platform::ui::TableViewCellAccessoryType::None) << "one disclosure sign only";
    EXPECT_EQ(row->iconFrame()->image()->leftCapWidth(), 21);
    EXPECT_EQ(row->iconFrame()->image()->topCapHeight(), 19);
    EXPECT_EQ(row->iconView()->frame().width(), 104);
    EXPECT_EQ(row->textContentView()->frame(), (platform::ui::Rect{137, 0, 143, row->bounds().height()}));

    auto footer = topPageAs<HCTableControllerHelper>()->tableView()->tableFooterView();
    ASSERT_TRUE(footer);
    std::vector<std::string> bands;
    for (const auto& strip : platform::ui::Driver::findAll<platform::ui::ImageView>(footer))
        bands.push_back(imageName(strip) + "@" + std::to_string(static_cast<int>(strip->frame().minY())) + "+" +
                        std::to_string(static_cast<int>(strip->frame().height())));
    EXPECT_EQ(bands, (std::vector<std::string>{std::string(HCGameDiscoveryLook::kGreyBackground) + "@0+32",
                                               std::string(HCGameDiscoveryLook::kDividerTop) + "@0+1",
                                               std::string(HCGameDiscoveryLook::kDividerBottom) + "@31+1"}));

    ASSERT_TRUE(tapRow("News"));
    waitForIdle();
    auto news = platform::ui::Driver::findAll<HCGameDiscoveryNewsItemCell>(topPageAs<HCTableControllerHelper>()->tableView());
    ASSERT_FALSE(news.empty());
    EXPECT_EQ(imageName(news.front()->iconFrame()), HCGameDiscoveryLook::kIconFrame);
    EXPECT_EQ(news.front()->iconFrame()->image()->leftCapWidth(), 21);

    // A small screen's dashboard turns only while closed.
    Halcyon::dismissDashboard();
    settle();
    Halcyon::setDashboardOrientation(static_cast<int>(platform::ui::InterfaceOrientation::LandscapeLeft));
    openPage("GameDiscovery");
    row = categoryRow();
    ASSERT_TRUE(row);
    EXPECT_EQ(row->iconFrame()->frame().width(), 164);
    EXPECT_EQ(row->iconView()->frame().width(), 150);
    EXPECT_EQ(row->disclosureView()->frame().minX(), row->bounds().width() - 22);
    EXPECT_GE(row->textContentView()->frame().minX(), row->iconFrame()->frame().maxX());
    EXPECT_LE(row->textContentView()->frame().maxX(), row->disclosureView()->frame().minX());
}

TEST_F(PlayedGamePageTest, TheFeaturedGamesPageAsksWithTheRunningGamesId)
{
    startOnline();
    auto page = HCControllerLoader::load<HCFeaturedGamesController>("FeaturedGames");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->pageURL(), server->serviceRootUrl() + "featured_apps_by_dev.iphone?client_application_id=" +
                                   localserver::defaults::kGameId);
}

TEST_F(PlayedGamePageTest, TheFavouritesTabAsksForFavouritesAndTakesTheEditSwitchAway)
{
    startOnline();
    auto page = openPage("PlayedGame");
    EXPECT_TRUE(page->navigationItem()->rightBarButtonItem());
    ASSERT_TRUE(tapButton("Favorite Games"));
    waitForIdle();
    EXPECT_EQ(lastParam("profiles/me/list_games", "only_favorites"), "1");
    EXPECT_FALSE(page->navigationItem()->rightBarButtonItem());
    const auto rows = screenRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], "(You don't have any favorite games. To favorite this game go to the game tab and press the "
                       "Fan Club button.)");

    ASSERT_TRUE(tapButton("All Games"));
    waitForIdle();
    EXPECT_TRUE(page->navigationItem()->rightBarButtonItem());
    EXPECT_EQ(requestsTo("profiles/me/list_games"), 3u);
}

TEST_F(PlayedGamePageTest, AFailedLoadUnderATabShowsThatTabsFailureNotTheOtherTabsGames)
{
    constexpr const char* kGames = "profiles/me/list_games";
    const std::vector<std::string> allGames{"Halcyon Games", "Tolvarine Ruvuru | 1 friend has this game | 40"};
    const std::vector<std::string> failed{std::string("(") + HCPlayedGameController::kLoadFailedText + ")"};
    startOnline();
    openPage("PlayedGame");
    ASSERT_EQ(screenRows(), allGames);
    server->faults().injectWhere("GET", kGames, "only_favorites", std::string("1"),
                                 localserver::Fault::reply(500, "down"), localserver::Faults::kUntilCleared);

    // All Games shown, then the favourites fail.
    ASSERT_TRUE(tapButton("Favorite Games"));
    waitForIdle();
    EXPECT_EQ(lastParam(kGames, "only_favorites"), "1");
    EXPECT_EQ(screenRows(), failed);

    ASSERT_TRUE(tapButton("All Games"));
    waitForIdle();
    ASSERT_EQ(screenRows(), allGames);

    // The favourites asked for while an All Games load is still on its way:
    // whichever reply comes first, the favourites' failure is what shows.
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(tapButton("Favorite Games"));
        ASSERT_TRUE(tapButton("All Games"));
        ASSERT_TRUE(tapButton("Favorite Games"));
        EXPECT_TRUE(showsLoadingScreen());
        EXPECT_TRUE(screenRows().empty()) << testing::PrintToString(screenRows());
    }
    waitForIdle();
    EXPECT_EQ(requestsTo(kGames), 6u);
    EXPECT_EQ(screenRows(), failed);
}

TEST_F(PlayedGamePageTest, AFailedFriendsListSaysTheLoadFailedNotThatThePlayerHasNoFriends)
{
    startOnline();
    server->faults().injectFor("GET", "apps.xml", localserver::Fault::reply(500, "down"));
    auto page = openPage("PlayedGame", [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCPlayedGameController>(page)->setScope(1);
    });
    EXPECT_EQ(screenRows(), std::vector<std::string>{std::string("(") + HCPlayedGameController::kLoadFailedText + ")"});
    page->reloadDataFromServer();
    waitForIdle();
    EXPECT_TRUE(gameCell("Pebble Tide"));
}

TEST_F(PlayedGamePageTest, AGameThePlayerOwnsOpensItsProfile)
{
    startOnline();
    openPage("PlayedGame");
    ASSERT_TRUE(tapRow("Tolvarine Ruvuru"));
    waitForIdle();
    EXPECT_TRUE(topPageAs<HCGameProfileController>());
}

TEST_F(PlayedGamePageTest, TheGameRowMarksTheHigherScoreAndShowsTheCartOrTheDisclosure)
{
    addBundleImage("HCTableHalcyonPoints.png");
    addBundleImage("HCTableHalcyonPointsWin.png");
    startOnline();
    const std::string me = localserver::defaults::kUserId;
    auto cell = std::dynamic_pointer_cast<HCPlayedGameCell>(HCControllerLoader::loadCell("PlayedGame", nullptr));
    ASSERT_TRUE(cell);

    cell->setResource(gameWithStats({{"7", true, 30}, {me, true, 50}}));
    EXPECT_EQ(imageName(cell->firstGamerScoreIcon()), "HCTableHalcyonPoints.png");
    EXPECT_EQ(imageName(cell->secondGamerScoreIcon()), "HCTableHalcyonPointsWin.png");
    EXPECT_TRUE(cell->shoppingCartButton()->isHidden());

    // The local player's entry counts wherever the server put it.
    cell->setResource(gameWithStats({{me, true, 50}, {"7", true, 50}}));
    EXPECT_EQ(imageName(cell->firstGamerScoreIcon()), "HCTableHalcyonPoints.png");
    EXPECT_EQ(imageName(cell->secondGamerScoreIcon()), "HCTableHalcyonPoints.png");

    cell->setResource(gameWithStats({{"7", true, 30}, {me, false, 0}}));
    EXPECT_FALSE(cell->shoppingCartButton()->isHidden());
    EXPECT_EQ(cell->accessoryType(), platform::ui::TableViewCellAccessoryType::None);

    cell->setResource(gameWithStats({{me, true, 50}}));
    EXPECT_TRUE(cell->shoppingCartButton()->isHidden());

    cell->setResource(gameWithStats({}));
    EXPECT_EQ(cell->accessoryType(), platform::ui::TableViewCellAccessoryType::DisclosureIndicator);
    cell->setResource(gameWithStats({}, false));
    EXPECT_EQ(cell->accessoryType(), platform::ui::TableViewCellAccessoryType::None);
}

TEST_F(PlayedGamePageTest, TheFeaturedBannerFindsTheNowPlayingPlacementItself)
{
    startOnline();
    auto cell = std::dynamic_pointer_cast<HCFeaturedGameCell>(HCControllerLoader::loadCell("FeaturedGame", nullptr));
    ASSERT_TRUE(cell);
    window->addSubview(cell);
    cell->setResource(nullptr);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return cell->resource() != nullptr; }));
    auto link = platform::as<HCGameDiscoveryImageHyperlink>(cell->resource());
    ASSERT_TRUE(link);
    EXPECT_EQ(link->resourceId(), "10");
    EXPECT_EQ(cell->imageView()->imageUrl(), "images/banner_10_portrait.png");
}

TEST(ShakeHistoryTest, AShakeNeedsBothSwingsWithinTheLastTenSamples)
{
    HCShakeHistory history;
    EXPECT_FALSE(history.addSampleAndTestShake(1.2F, 0, 0));
    EXPECT_TRUE(history.addSampleAndTestShake(-1.3F, 0, 0));

    history.clear();
    EXPECT_FALSE(history.addSampleAndTestShake(0, 1.2F, 0));
    for (int i = 0; i < HCShakeHistory::kSamples - 1; ++i) EXPECT_FALSE(history.addSampleAndTestShake(0, 0, 0));
    // The swing up has fallen out by now.
    EXPECT_FALSE(history.addSampleAndTestShake(0, -1.3F, 0));
    // Exactly 1 g is no swing.
    history.clear();
    history.addSampleAndTestShake(0, 0, 1.0F);
    EXPECT_FALSE(history.addSampleAndTestShake(0, 0, -1.0F));
}

}  // namespace
