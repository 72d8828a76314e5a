// The challenge list and detail pages as the player sees them: Ben's
// challenges reach Ann over the local server, she lists them, opens one and
// starts it; the game is told through its challenge delegate.
#include <condition_variable>
#include <mutex>

#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/challenges/HCChallengeDetailController.h"
#include "gamepages/challenges/HCChallengeListController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ImageView.h"
#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeToUser.h"
#include "gamepages/support/ChallengePageHarness.h"

namespace {

namespace defaults = localserver::defaults;
constexpr const char* kRecords = "challenges_users.xml";

class ChallengePagesTest : public pagetest::ChallengePageHarness {
protected:
    // The data blobs are held until `release` (the player acts meanwhile).
    void gateData()
    {
        server->addRoute("GET", "challenges/{id}/data.blob", localserver::Access::Open, [this](const localserver::Request&) {
            std::unique_lock lock(gateMutex);
            gateOpen.wait(lock, [&] { return released; });
            localserver::Reply reply = localserver::Reply::text(200, "");
            reply.contentType = "application/octet-stream";
            reply.body = "seed 42";
            return reply;
        });
    }
    void release()
    {
        std::lock_guard lock(gateMutex);
        released = true;
        gateOpen.notify_all();
    }
    void TearDown() override
    {
        release();
        ChallengePageHarness::TearDown();
    }

    std::shared_ptr<HCChallengeDetailController> openDetailFromList(const std::string& rowText)
    {
        openPage("ChallengeList");
        EXPECT_TRUE(tapRow(rowText));
        waitForIdle();
        return topPageAs<HCChallengeDetailController>();
    }

    std::mutex gateMutex;
    std::condition_variable gateOpen;
    bool released = false;
};

TEST_F(ChallengePagesTest, PendingChallengesShowTheSenderAndLowerTheUnviewedCountOncePerRecord)
{
    benChallenges("1", "Beat 90 s");
    benChallenges("2", "Top 5000");
    Halcyon::setUnviewedChallengesCount(5);
    auto page = openPage("ChallengeList");
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[Pending Challenges]", "Beat my time | Beat 90 s | From Ben",
                                                      "Top my score | Top 5000 | From Ben"}));
    EXPECT_EQ(rowPictures("Top 5000").front(), "HCChallengeIconNew.png");
    EXPECT_EQ(Halcyon::unviewedChallengesCount(), 3);
    EXPECT_EQ(lastParam(kRecords, "mark_as_viewed"), "1");
    EXPECT_EQ(requestsTo(kRecords), 1u);

    // Drawn again, the rows take nothing more off.
    page->tableView()->reloadData();
    screenRows();
    EXPECT_EQ(Halcyon::unviewedChallengesCount(), 3);

    // Never below 0.
    benChallenges("1", "Again");
    Halcyon::setUnviewedChallengesCount(0);
    page->reloadDataFromServer();
    waitForIdle();
    EXPECT_EQ(screenRows().size(), 4u);
    EXPECT_EQ(Halcyon::unviewedChallengesCount(), 0);
}

TEST_F(ChallengePagesTest, TheHistoryTabListsTypesAndATypeTapOpensItsHistoryWithoutTabs)
{
    benChallenges("2", "Top 5000");
    openPage("ChallengeList");
    ASSERT_TRUE(tapButton("History"));
    waitForIdle();
    const auto rows = screenRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "[Challenge Types]");
    EXPECT_EQ(rows[2], "Top my score | Wins | 0 | Losses | 0 | Ties | 0");

    ASSERT_TRUE(tapRow("Top my score"));
    waitForIdle();
    auto history = topPageAs<HCChallengeListController>();
    ASSERT_TRUE(history);
    EXPECT_EQ(history->listType(), HCChallengeListController::kHistoryOfType);
    EXPECT_FALSE(history->tableHeader());
    EXPECT_EQ(lastParam(kRecords, "challenge_definition_id"), "2");
    EXPECT_EQ(lastParam(kRecords, "history"), "1");
    // Nothing completed yet.
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[Challenge History]", "(You don't have any pending challenges for " +
                                                     Halcyon::applicationDisplayName() + ".)"}));
}

TEST_F(ChallengePagesTest, AFailedLoadUnderATabShowsThatTabsFailureNotTheOtherTabsChallenges)
{
    constexpr const char* kTypes = "challenge_definitions.xml";
    const std::vector<std::string> failed{std::string("(") + HCTableControllerHelper::kLoadFailedMessage + ")"};
    const auto failWhere = [&](const char* path, const char* name) {
        server->faults().clear();
        server->faults().injectWhere("GET", path, name, std::string("1"), localserver::Fault::reply(500, "down"),
                                     localserver::Faults::kUntilCleared);
    };
    benChallenges("2", "Top 5000");
    openPage("ChallengeList");
    ASSERT_EQ(screenRows(), (std::vector<std::string>{"[Pending Challenges]", "Top my score | Top 5000 | From Ben"}));

    // Pending shown, then the types fail: Ben's challenge is no type.
    failWhere(kTypes, "challenge_definition_stats");
    ASSERT_TRUE(tapButton("History"));
    waitForIdle();
    EXPECT_EQ(lastParam(kTypes, "challenge_definition_stats"), "1");
    EXPECT_EQ(screenRows(), failed);

    // Types shown, then the pending challenges fail: a type is no challenge.
    server->faults().clear();
    ASSERT_TRUE(tapButton("Pending"));
    waitForIdle();
    ASSERT_TRUE(tapButton("History"));
    waitForIdle();
    ASSERT_EQ(screenRows().front(), "[Challenge Types]");
    failWhere(kRecords, "incomplete");
    ASSERT_TRUE(tapButton("Pending"));
    waitForIdle();
    EXPECT_EQ(lastParam(kRecords, "incomplete"), "1");
    EXPECT_EQ(screenRows(), failed);
}

TEST_F(ChallengePagesTest, TheTypesAreHeadedByTheListsOwnStripAndThePendingListByThePlainHeader)
{
    addBundleImage(HCChallengeListController::kSectionHeaderImageName);
    benChallenges("2", "Top 5000");
    auto page = std::dynamic_pointer_cast<HCChallengeListController>(openPage("ChallengeList"));
    ASSERT_TRUE(page);
    auto strips = [&] {
        std::vector<std::string> names;
        auto header = page->viewForHeaderInSection(*page->tableView(), 0);
        for (const auto& picture : platform::ui::Driver::findAll<platform::ui::ImageView>(header))
            names.push_back(picture->image() ? picture->image()->name() : "-");
        return names;
    };
    EXPECT_TRUE(strips().empty());
    ASSERT_TRUE(tapButton("History"));
    waitForIdle();
    EXPECT_EQ(strips(), std::vector<std::string>{HCChallengeListController::kSectionHeaderImageName});
    EXPECT_EQ(screenRows().front(), "[Challenge Types]");
    ASSERT_TRUE(tapButton("Pending"));
    waitForIdle();
    EXPECT_TRUE(strips().empty());
    EXPECT_EQ(screenRows().front(), "[Pending Challenges]");
}

TEST_F(ChallengePagesTest, ComparedWithBenTheTypesMarkTheWinnerAndEqualCountsMarkNone)
{
    addBundleImage("HCChallengeIconWinner.png");
    // Ann challenges Ben, who wins.
    HCChallengeService::sendChallenge(std::string("2"), std::string("Top 5000"), nullptr, std::nullopt, std::nullopt,
                                      {defaults::kOtherUserId}, std::nullopt, {}, {});
    ASSERT_TRUE(testsupport::runMainUntil([&] { return store->records().size() == 1; }));
    waitForIdle();
    Halcyon::provider()->setAccessToken(defaults::kOtherUserToken, defaults::kOtherUserTokenSecret);
    HCChallengeService::submitChallengeResult(store->records()[0].id, HCChallengeToUser::kWin, std::string("Won"), {},
                                              {});
    ASSERT_TRUE(testsupport::runMainUntil([&] { return store->records()[0].result == "win"; }));
    waitForIdle();
    Halcyon::provider()->setAccessToken(defaults::kUserToken, defaults::kUserTokenSecret);

    auto page = openPage("ChallengeList");
    auto navigation = std::dynamic_pointer_cast<HCFramedNavigationController>(
        HalcyonDashboard::getActiveNavigationController());
    ASSERT_TRUE(navigation);
    auto ben = HCResource::initWithId<HCUser>(std::string(defaults::kOtherUserId));
    ben->setName(std::string(defaults::kOtherUserName));
    ASSERT_TRUE(navigation->changeProfileUsers(page, Halcyon::localUser(), ben));
    waitForIdle();
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[Pending Challenges]",
                                                      "(There are no pending challenges between you and Ben.)"}));
    ASSERT_TRUE(tapButton("History"));
    waitForIdle();
    EXPECT_EQ(lastParam("challenge_definitions.xml", "compared_user_id"), defaults::kOtherUserId);
    const auto rows = screenRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], "Beat my time | Wins | 0 | Wins | 0 | Ties | 0");
    EXPECT_EQ(rows[2], "Top my score | Wins | 1 | Wins | 0 | Ties | 0");
    EXPECT_EQ(rowPictures("Top my score").back(), "HCChallengeIconWinner.png");
    EXPECT_NE(rowPictures("Beat my time").back(), "HCChallengeIconWinner.png");
}

TEST_F(ChallengePagesTest, TheDetailShowsTheKnownChallengeAtOnceEvenWhenTheRecipientsFail)
{
    benChallenges("2", "Top 5000");
    openPage("ChallengeList");
    server->addRoute("GET", kRecords, localserver::Access::User,
                     [](const localserver::Request&) { return localserver::Reply::text(500, "down"); });
    ASSERT_TRUE(tapRow("Top 5000"));
    waitForIdle();
    auto detail = topPageAs<HCChallengeDetailController>();
    ASSERT_TRUE(detail);
    EXPECT_FALSE(showsLoadingScreen());
    const auto header = platform::ui::Driver::labelsText(detail->tableView()->tableHeaderView());
    EXPECT_NE(header.find("Top my score"), std::string::npos) << header;
    EXPECT_NE(header.find("Ben"), std::string::npos) << header;
    EXPECT_TRUE(tapButton("Start Challenge"));
    EXPECT_EQ(game.lines, std::vector<std::string>{"launched Top 5000 with no data"});
}

TEST_F(ChallengePagesTest, AOneShotChallengeStartsOnlyOnceTheAlertIsAnsweredAndTheDataArrived)
{
    gateData();
    benChallenges("1", "Beat 90 s", "seed 42");
    auto detail = openDetailFromList("Beat 90 s");
    ASSERT_TRUE(detail);
    EXPECT_NE(screenRows().back().find("Ann | Challenge not completed yet."), std::string::npos);

    ASSERT_TRUE(tapButton("Start Challenge"));
    EXPECT_TRUE(showsLoadingScreen());
    ASSERT_TRUE(driver->answerAlert("OK"));
    settle();
    EXPECT_TRUE(game.lines.empty());  // the data is still on its way
    release();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !game.lines.empty(); }));
    EXPECT_EQ(game.lines, std::vector<std::string>{"launched Beat 90 s with seed 42"});
    EXPECT_FALSE(detail->isShowingLoadingScreen());

    // Data that arrive before the alert is answered wait for the answer.
    game.lines.clear();
    benChallenges("1", "Beat 80 s", "seed 42");
    detail = openDetailFromList("Beat 80 s");
    ASSERT_TRUE(detail);
    ASSERT_TRUE(tapButton("Start Challenge"));
    // The download is not the provider's: the server having answered it is
    // all a test can wait for; it reaches the page on a later turn.
    ASSERT_TRUE(testsupport::runMainUntil([&] {
        size_t downloads = 0;
        for (const auto& entry : server->log().entries()) downloads += entry.request.path.ends_with("/data.blob");
        return downloads == 2;
    }));
    waitForReplies();
    settle();
    EXPECT_TRUE(game.lines.empty());
    ASSERT_TRUE(driver->answerAlert("OK"));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !game.lines.empty(); }));
    EXPECT_EQ(game.lines, std::vector<std::string>{"launched Beat 80 s with seed 42"});
}

TEST_F(ChallengePagesTest, DataThatArrivesAfterThePlayerLeftStartsNothing)
{
    gateData();
    benChallenges("2", "Top 5000", "seed 42");
    auto detail = openDetailFromList("Top 5000");
    ASSERT_TRUE(detail);
    ASSERT_TRUE(tapButton("Start Challenge"));
    ASSERT_TRUE(driver->tapBack());
    settle();
    release();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return requestsTo("challenges/1/data.blob") == 1; }));
    waitForIdle();
    EXPECT_TRUE(game.lines.empty());
    EXPECT_FALSE(detail->isShowingLoadingScreen());
}

TEST_F(ChallengePagesTest, AFailedDownloadTakesTheLoadingScreenDownAndStartsNothing)
{
    server->addRoute("GET", "challenges/{id}/data.blob", localserver::Access::Open,
                     [](const localserver::Request&) { return localserver::Reply::text(500, "gone"); });
    benChallenges("1", "Beat 90 s", "seed 42");
    auto detail = openDetailFromList("Beat 90 s");
    ASSERT_TRUE(detail);
    ASSERT_TRUE(tapButton("Start Challenge"));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !detail->isShowingLoadingScreen(); }));
    auto alerts = platform::ui::AlertView::visibleAlerts();
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts.back()->title(), "Error downloading data");
    // The one-shot alert under it stays open, and its answer starts nothing.
    EXPECT_EQ(alerts.front()->title(), "One Shot Challenge");
    while (driver->answerAlert(0)) settle();
    EXPECT_TRUE(game.lines.empty());
}

TEST_F(ChallengePagesTest, WithoutAStartButtonTheHeaderEndsBelowTheSpeechBubble)
{
    benChallenges("2", "Top 5000");
    // Another game's challenge cannot be started here.
    Halcyon::setClientApplicationId(std::string(defaults::kOtherGameId));
    openPage("ChallengeDetail", [&](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCChallengeDetailController>(page)->setChallengeId(store->records().back().challengeId);
    });
    auto detail = topPageAs<HCChallengeDetailController>();
    ASSERT_TRUE(detail && detail->userChallenge());
    EXPECT_FALSE(tapButton("Start Challenge"));
    EXPECT_EQ(detail->tableView()->tableHeaderView()->frame().height(), 130);
}

TEST_F(ChallengePagesTest, AGameLaunchedForAChallengeOpensItsDetailPage)
{
    const auto recordId = benChallenges("2", "Top 5000");
    const auto challengeId = store->record(recordId)->challengeId;
    auto push = platform::Dictionary::make();
    push->setString("notification_type", "challenge");
    push->setString("resource_id", recordId);
    auto options = platform::Dictionary::make();
    options->setObject("UIApplicationLaunchOptionsRemoteNotificationKey", push);
    ASSERT_TRUE(Halcyon::respondToApplicationLaunchOptions(options));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return requestsTo("challenges_users/" + recordId + ".xml") == 1; }));
    // The dashboard opens once the record is in, and its pages come one by one.
    ASSERT_TRUE(testsupport::runMainUntil([&] {
        auto shown = topPageAs<HCChallengeDetailController>();
        return shown && shown->userChallenge() && requestsWithParam(kRecords, "challenge_id", challengeId) > 0;
    }));
    waitForIdle();
    auto detail = topPageAs<HCChallengeDetailController>();
    ASSERT_TRUE(detail);
    EXPECT_EQ(requestsWithParam(kRecords, "challenge_id", challengeId), 1u);
    ASSERT_TRUE(detail->userChallenge());
    EXPECT_EQ(detail->userChallenge()->resourceId(), recordId);
    // A recipient's row opens the recipient's profile.
    ASSERT_TRUE(tapRow("Challenge not completed yet."));
    ASSERT_TRUE(topPage());
    EXPECT_EQ(topPage()->kindName(), "HCProfileController");
    ASSERT_TRUE(driver->tapBack());
    settle();
    waitForIdle();
    ASSERT_EQ(topPage(), detail);
    // A multi-attempt challenge without data starts at once, without an alert.
    ASSERT_TRUE(tapButton("Start Challenge"));
    EXPECT_TRUE(platform::ui::AlertView::visibleAlerts().empty());
    EXPECT_EQ(game.lines, std::vector<std::string>{"launched Top 5000 with no data"});
}

}  // namespace
