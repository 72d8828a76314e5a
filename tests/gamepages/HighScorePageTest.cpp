// The score page of one leaderboard as the player sees it: both rankings
// in one table, the tabs, offline, distances, bragging and failures.
#include <algorithm>
#include <fstream>

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/images/HCImageView.h"
#include "core/resources/HCResource.h"
#include "core/storage/HCCloudStorageService.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "gamepages/highscores/HCHighScoreCell.h"
#include "gamepages/highscores/HCHighScoreController.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Fixtures.h"
#include "platform/gamecenter/GameCenterDevice.h"
#include "platform/runtime/Clock.h"
#include "platform/ui/Image.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Label.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "scores/offline/HCUserService+Private.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"

namespace {

namespace gc = platform::gamecenter;

constexpr const char* kScores = "client_applications/@me/high_scores.xml";

class HighScorePageTest : public pagetest::PageHarness {
protected:
    std::shared_ptr<HCTableControllerHelper> openBoard(const std::string& id)
    {
        auto page = pushBoard(id);
        waitForIdle();
        return page;
    }
    // As openBoard, without waiting for its load.
    std::shared_ptr<HCTableControllerHelper> pushBoard(const std::string& id)
    {
        return pushPage("HighScore", [id](const platform::ui::ViewControllerPtr& page) {
            auto board = HCLeaderboardService::getLeaderboard(id);
            ASSERT_TRUE(board);
            std::dynamic_pointer_cast<HCHighScoreController>(page)->setLeaderboard(board);
        });
    }
    // A score whose attachment the storage host holds.
    void seedScoreWithData(const std::string& user, std::int64_t score, const std::string& data)
    {
        localserver::StoredScore posted;
        posted.userId = user;
        posted.leaderboardId = "1";
        posted.score = score;
        posted.hasBlob = true;
        posted.acceptedAt = server->now();
        bucket->putObject("high_score-" + scores->accept(posted).id + ".blob", data);
    }
    // The shown score rows whose name reads `name` ("1. Ben").
    static std::vector<std::shared_ptr<HCHighScoreCell>> rowsNamed(const std::string& name)
    {
        std::vector<std::shared_ptr<HCHighScoreCell>> rows;
        for (const auto& cell : platform::ui::Driver::findAll<HCHighScoreCell>())
            if (cell->nameLabel()->text() == name) rows.push_back(cell);
        return rows;
    }
    void seedBoard()
    {
        seedScore(localserver::defaults::kUserId, "1", 500);
        seedScore(localserver::defaults::kOtherUserId, "1", 900, 3 * 86400);
        seedScore("2001", "1", 700);
    }
};

TEST_F(HighScorePageTest, ShowsBothRankingsAsOneTableWithTheFriendsSecond)
{
    startOnline();
    seedBoard();
    openBoard("1");
    EXPECT_EQ(requestsTo(kScores), 2u);
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[My Score]", "3. Ann | 500", "Share your high score",
                                                      "[Friends]", "1. Ben | 900", "2. Ann | 500", "[High Scores]",
                                                      "1. Ben | 900", "2.  | 700", "3. Ann | 500"}));
    EXPECT_EQ(topPage()->title(), "High Score");
}

// A friends' reply with sections has its ranking last; one without is the
// ranking itself. Either way the page shows it as "Friends".
TEST_F(HighScorePageTest, TheFriendsSectionHoldsTheFriendsRankingWhateverShapeTheReplyTakes)
{
    startOnline();
    seedBoard();
    for (const bool flat : {false, true}) {
        SCOPED_TRACE(flat ? "flat" : "sectioned");
        scoreQueries->flatFriendsRanking = flat;
        openBoard("1");
        EXPECT_EQ(screenRows(), (std::vector<std::string>{"[My Score]", "3. Ann | 500", "Share your high score",
                                                          "[Friends]", "1. Ben | 900", "2. Ann | 500",
                                                          "[High Scores]", "1. Ben | 900", "2.  | 700",
                                                          "3. Ann | 500"}));
    }
}

// The friends' and the global ranking travel side by side; whichever the
// server answers last, the page shows the same one table.
TEST_F(HighScorePageTest, TheTwoRankingsMakeOneTableWhicheverArrivesFirst)
{
    startOnline();
    seedBoard();
    const std::vector<std::string> expected{"[My Score]", "3. Ann | 500",  "Share your high score",
                                            "[Friends]",  "1. Ben | 900",  "2. Ann | 500",
                                            "[High Scores]", "1. Ben | 900", "2.  | 700", "3. Ann | 500"};
    // The friends' request carries friends_leaderboard=1, the global one none.
    for (const std::optional<std::string>& late : {std::optional<std::string>("1"), std::optional<std::string>()}) {
        SCOPED_TRACE(late ? "the friends' ranking answered last" : "the global ranking answered last");
        server->faults().injectWhere("GET", kScores, "friends_leaderboard", late, localserver::Fault::heldBack());
        pushBoard("1");
        releaseHeldLast();
        waitForIdle();
        EXPECT_EQ(screenRows(), expected);
    }
}

TEST_F(HighScorePageTest, ATabPickedWhileALoadRunsReloadsForItsScopeAndTheOldRepliesAreDropped)
{
    startOnline();
    seedBoard();
    auto page = openBoard("1");
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(tapButton("This week"));
        ASSERT_TRUE(tapButton("Today"));
        EXPECT_TRUE(showsLoadingScreen());
    }
    waitForIdle();
    EXPECT_EQ(requestsTo(kScores), 6u);
    // The friends and the global ranking of today, after those of all time
    // and of this week.
    EXPECT_EQ(requestsWithParam(kScores, "interval", "1"), 2u);
    // Ben's score is three days old: only today's ranking shows.
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[My Score]", "2. Ann | 500", "Share your high score",
                                                      "[Friends]", "1. Ann | 500", "[High Scores]", "1.  | 700",
                                                      "2. Ann | 500"}));
    EXPECT_EQ(std::dynamic_pointer_cast<HCHighScoreController>(page)->timeScope(), HCHighScoreController::Today);
}

TEST_F(HighScorePageTest, OfflineShowsTheStoredScoresUnderMyScoresWithoutARequest)
{
    startOffline();
    HCHighScoreService::setHighScore(1234, std::string("1"), true, HCDelegate(), HCDelegate());
    testsupport::drainMain();
    openBoard("1");
    EXPECT_EQ(requestsTo(kScores), 0u);
    EXPECT_TRUE(platform::ui::Driver::findByText("My Scores"));
    const auto rows = screenRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(rows[0].find("1234"), std::string::npos) << rows[0];
}

TEST_F(HighScorePageTest, OfflineMyScoresNameThePlayerTheDeviceRecorded)
{
    startOffline();
    // The player logged in here before; the bootstrap recorded them.
    const std::string picture = server->baseUrl() + "pictures/ann.png";
    ASSERT_TRUE(HCUserServicePrivate::createLocalUser(std::string(localserver::defaults::kUserId),
                                                      std::string(localserver::defaults::kUserName), picture));
    Halcyon::setLocalUser(HCResource::initWithId<HCUser>(std::string(localserver::defaults::kUserId)));
    HCHighScoreService::setHighScore(1234, std::string("1"), true, HCDelegate(), HCDelegate());
    testsupport::drainMain();
    openBoard("1");
    EXPECT_EQ(screenRows(), std::vector<std::string>{"1. Ann | 1234"});
    bool pictureShown = false;
    for (const auto& view : platform::ui::Driver::findAll<HCImageView>()) pictureShown |= view->imageUrl() == picture;
    EXPECT_TRUE(pictureShown);
}

TEST_F(HighScorePageTest, DistancesAreShownInKilometresUnlessThePlayerChoseMiles)
{
    startOnline();
    ASSERT_TRUE(server->accounts().setPosition(localserver::defaults::kUserId, {59.9139, 10.7522, true}));
    seedScore("2001", "1", 700, 0, std::make_pair(59.9139, 11.0));
    openBoard("1");
    const auto rows = screenRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back(), "1.  | 13.81 kms away | 700");
}

TEST_F(HighScorePageTest, APlayerWithoutAScoreIsNotRankedAndHasNothingToBragAbout)
{
    startOnline();
    scoreQueries->unrankedMyScore = true;
    seedScore(localserver::defaults::kOtherUserId, "1", 900);
    openBoard("1");
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[My Score]", "Ann | Not Ranked", "[Friends]", "1. Ben | 900",
                                                      "[High Scores]", "1. Ben | 900"}));
}

TEST_F(HighScorePageTest, TheBragTextCarriesTheWhole64BitScore)
{
    startOnline();
    seedScore(localserver::defaults::kUserId, "1", 5000000000123LL);
    openBoard("1");
    ASSERT_TRUE(tapRow("Share your high score"));
    EXPECT_TRUE(platform::ui::Driver::findByText(
        "I scored 5000000000123 on the High Score leaderboard in Tolvarine Ruvuru."));
}

TEST_F(HighScorePageTest, AFailedOrDroppedRequestTakesTheLoadingScreenDownAndKeepsTheTable)
{
    startOnline();
    seedBoard();
    openBoard("1");
    const auto shown = screenRows();
    server->faults().injectFor("GET", kScores, localserver::Fault::reply(500, "down"));
    ASSERT_TRUE(tapButton("Today"));
    waitForIdle();
    EXPECT_EQ(screenRows(), shown);

    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(tapButton("This week"));
        EXPECT_TRUE(showsLoadingScreen());
        Halcyon::provider()->destroyAllPendingRequests();
    }
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_EQ(screenRows(), shown);
}

// The game that takes the data attached to scores.
class DataTakingGame final : public HalcyonDelegate {
public:
    void userDownloadedBlob(const std::shared_ptr<platform::Data>& blob, const std::shared_ptr<HCHighScore>& score) override
    {
        received.push_back((blob ? blob->toString() : "nil") + " of " + (score ? std::to_string(score->score()) : "nil"));
    }
    std::vector<std::string> received;
};

TEST_F(HighScorePageTest, AScoresDataIsOfferedForDownloadAndReachesTheGameOnceForADoubleTap)
{
    DataTakingGame game;
    gameDelegate = &game;
    startOnline();
    seedScoreWithData(localserver::defaults::kOtherUserId, 900, "replay of level 7");
    seedScore(localserver::defaults::kUserId, "1", 500);
    openBoard("1");
    auto ben = rowsNamed("1. Ben");
    ASSERT_FALSE(ben.empty());
    auto ann = rowsNamed("2. Ann");
    ASSERT_FALSE(ann.empty());
    EXPECT_FALSE(ben.front()->downloadBlobButton()->isHidden());
    EXPECT_TRUE(ann.front()->downloadBlobButton()->isHidden());
    // The score gives the button its room.
    EXPECT_EQ(ben.front()->scoreLabel()->frame().maxX(), ben.front()->downloadBlobButton()->frame().minX() - 10);

    // The data is held back until both taps are in, so that the second tap
    // comes while the first download is surely on its way.
    server->faults().injectNext(localserver::Fault::heldBack());
    ASSERT_TRUE(driver->tap(ben.front()->downloadBlobButton()));
    ASSERT_TRUE(driver->tap(ben.front()->downloadBlobButton()));
    EXPECT_TRUE(showsLoadingScreen());
    server->faults().releaseHeld();
    waitForIdle();
    EXPECT_EQ(server->faults().pending(), 0u) << "the download was not held back";
    EXPECT_EQ(game.received, (std::vector<std::string>{"replay of level 7 of 900"}));
    EXPECT_TRUE(platform::ui::AlertView::visibleAlerts().empty());
}

TEST_F(HighScorePageTest, AFailedOrDroppedDownloadSaysSoAndGivesTheGameNothing)
{
    DataTakingGame game;
    gameDelegate = &game;
    startOnline();
    seedScoreWithData(localserver::defaults::kOtherUserId, 900, "replay");
    openBoard("1");
    auto ben = rowsNamed("1. Ben");
    ASSERT_FALSE(ben.empty());
    server->faults().injectNext(localserver::Fault::reply(500, "down"));
    ASSERT_TRUE(driver->tap(ben.front()->downloadBlobButton()));
    waitForIdle();
    EXPECT_TRUE(game.received.empty());
    auto alerts = platform::ui::AlertView::visibleAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts.front()->title(), "Error!");
    EXPECT_EQ(alerts.front()->message(),
              "There was a problem downloading the data for this high score. Please try again later.");
    alerts.front()->dismissWithClickedButtonIndex(0, false);

    // The storage host's download is let go unanswered; held back by the
    // server, so that no answer can be on its way when it is let go.
    server->faults().injectNext(localserver::Fault::heldBack());
    ASSERT_TRUE(driver->tap(ben.front()->downloadBlobButton()));
    EXPECT_TRUE(showsLoadingScreen());
    HCCloudStorageService::sharedInstance()->getS3HttpService()->cancelAllRequests();
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_TRUE(game.received.empty());
    alerts = platform::ui::AlertView::visibleAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts.front()->title(), "Error!");
}

TEST_F(HighScorePageTest, AnotherGamesScoreOffersNoDownload)
{
    startOnline();
    seedScoreWithData(localserver::defaults::kOtherUserId, 900, "replay");
    openPage("HighScore", [](const platform::ui::ViewControllerPtr& page) {
        auto scores = std::dynamic_pointer_cast<HCHighScoreController>(page);
        scores->setLeaderboard(HCLeaderboardService::getLeaderboard("1"));
        scores->setGameProfileInfo(HCResource::initWithId<HCGameProfilePageInfo>(std::string("7")));
    });
    auto ben = rowsNamed("1. Ben");
    ASSERT_FALSE(ben.empty());
    EXPECT_TRUE(ben.front()->downloadBlobButton()->isHidden());
}

TEST_F(HighScorePageTest, OfflineARowTakesNoHighlightWhenTapped)
{
    startOffline();
    HCHighScoreService::setHighScore(1234, std::string("1"), true, HCDelegate(), HCDelegate());
    testsupport::drainMain();
    openBoard("1");
    auto rows = platform::ui::Driver::findAll<HCHighScoreCell>();
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_TRUE(tapRow("1234"));
    EXPECT_EQ(rows.front()->selectionStyle(), platform::ui::TableViewCellSelectionStyle::None);
}

// Game Center beside the service: the client signed in to the headless Game
// Center, leaderboard 1 mapped to a Game Center board holding the scores of
// players the service does not know.
class HighScorePageWithGameCenterTest : public HighScorePageTest {
protected:
    void SetUp() override
    {
        HighScorePageTest::SetUp();
        useGameCenter();
        // The game ships the Game Center icon.
        auto icon = platform::ui::PNGRepresentation(platform::ui::Image::withPixels(2, 2, std::vector<uint8_t>(16, 255)));
        std::ofstream(bundle.str() + "/" + HCImageView::kGameCenterProfileImageName, std::ios::binary)
            .write(reinterpret_cast<const char*>(icon->data()), static_cast<std::streamsize>(icon->length()));
        const double now = platform::Clock::currentTime();
        gc::GameCenterDevice::setAlias("G:7", "Gus");
        gc::GameCenterDevice::setAlias("G:8", "Gwen");
        gc::GameCenterDevice::addScore({kGameCenterBoard, "G:7", 800, now - 3 * 86400});
        gc::GameCenterDevice::addScore({kGameCenterBoard, "G:8", 650, now - 3600});
        startOnline();
        seedBoard();
    }
};

TEST_F(HighScorePageWithGameCenterTest, GameCenterScoresAreMergedAndNamedOnceTheirAliasesLoad)
{
    gc::GameCenterDevice::setDelay(gc::Call::LoadPlayers, 5);
    openBoard("1");
    const auto loading = screenRows();
    EXPECT_NE(std::find(loading.begin(), loading.end(), "Loading... | 800"), loading.end()) << testing::PrintToString(loading);
    // Game Center hands out no pictures; its rows show its icon.
    EXPECT_NE(platform::ui::Driver::describeScreen().find(HCImageView::kGameCenterProfileImageName), std::string::npos);

    // The look-ups made so far are on Game Center's thread, waiting out the delay.
    answerGameCenter();
    clock->advance(5);
    // Ranked among the service's scores; Game Center's players are nobody's friends here.
    const std::vector<std::string> named{"[My Score]", "5. Ann | 500", "Share your high score",
                                                      "[Friends]", "1. Ben | 900", "2. Ann | 500", "[High Scores]",
                                                      "1. Ben | 900", "2. Gus | 800", "3.  | 700", "4. Gwen | 650",
                                                      "5. Ann | 500"};
    testsupport::runMainUntil([&] { return screenRows() == named; });
    EXPECT_EQ(screenRows(), named);
}

TEST_F(HighScorePageWithGameCenterTest, AnAliasThatFailsToLoadSaysSo)
{
    gc::GameCenterDevice::setFailure(gc::Call::LoadPlayers, gc::Error{3, "offline"});
    openBoard("1");
    answerGameCenter();
    const auto rows = screenRows();
    EXPECT_NE(std::find(rows.begin(), rows.end(), "Loading Error | 800"), rows.end()) << testing::PrintToString(rows);
}

TEST_F(HighScorePageWithGameCenterTest, APlayerGameCenterHasNoAliasForSaysLoadingError)
{
    // Game Center answers the look-up without an error and without the player.
    gc::GameCenterDevice::addScore({kGameCenterBoard, "G:9", 750, platform::Clock::currentTime()});
    openBoard("1");
    answerGameCenter();
    // The rows drawn ask for their names, which Game Center then answers.
    EXPECT_FALSE(screenRows().empty());
    answerGameCenter();
    const auto rows = screenRows();
    EXPECT_NE(std::find(rows.begin(), rows.end(), "Loading Error | 750"), rows.end()) << testing::PrintToString(rows);
}

TEST_F(HighScorePageWithGameCenterTest, ATabPickedWhileALoadRunsMergesTheGameCenterScoresOfItsOwnScope)
{
    openBoard("1");
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(tapButton("This week"));
        ASSERT_TRUE(tapButton("Today"));
        EXPECT_TRUE(showsLoadingScreen());
    }
    waitForIdle();
    answerGameCenter();
    EXPECT_EQ(requestsWithParam(kScores, "interval", "1"), 2u);
    // Today's: Gwen's score of an hour ago, not Gus's of three days ago.
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[My Score]", "3. Ann | 500", "Share your high score",
                                                      "[Friends]", "1. Ann | 500", "[High Scores]", "1.  | 700",
                                                      "2. Gwen | 650", "3. Ann | 500"}));
}

}  // namespace
