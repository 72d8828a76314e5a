// The send and result screens: Ann chooses friends and sends the game's
// challenge, and after an attempt sees her result and sends it back, tries
// again or closes; the game hears each step through its challenge delegate.
#include "core/replies/HCPaginatedSeries.h"
#include "core/users/HCUser.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/challenges/HCCompletedChallengeHeaderController.h"
#include "gamepages/challenges/HCSendChallengeController.h"
#include "gamepages/challenges/HCSendChallengeHeaderController.h"
#include "gamepages/support/ChallengePageHarness.h"
#include "kernel/reachability/HCReachability.h"
#include "platform/ui/AlertView.h"
#include "scores/challenges/HCChallenge.h"
#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeToUser.h"
#include "support/RequestThreadGate.h"
#include "uiframework/HCNavigationController.h"

namespace {

using Method = HCChallengeDelegate::Method;
namespace defaults = localserver::defaults;
constexpr const char* kSend = "challenges.xml";

class Catch final : public platform::Object {
public:
    void got(std::shared_ptr<HCPaginatedSeries> reply) { series = std::move(reply); }
    std::shared_ptr<HCPaginatedSeries> series;
};

class SendChallengePageTest : public pagetest::ChallengePageHarness {
protected:
    std::shared_ptr<HCSendChallengeController> openSendPage()
    {
        return std::dynamic_pointer_cast<HCSendChallengeController>(
            openPage("SendChallenge", [](const platform::ui::ViewControllerPtr& controller) {
                auto page = std::dynamic_pointer_cast<HCSendChallengeController>(controller);
                page->setChallengeDefinitionId(std::string("1"));
                page->setChallengeText(std::string("Beat 90 s"));
                page->setChallengeData(std::make_shared<platform::Data>(std::string("seed 7")));
            }));
    }

    std::string lastAlertTitle() const
    {
        auto alerts = platform::ui::AlertView::visibleAlerts();
        return alerts.empty() ? std::string() : alerts.back()->title();
    }

    // Ann's record of a challenge from Ben, after an attempt with `result`.
    std::shared_ptr<HCChallengeToUser> attempted(const char* definitionId, int result)
    {
        const auto id = benChallenges(definitionId, "Top 5000");
        auto caught = std::make_shared<Catch>();
        HCChallengeService::getChallengeToUserWithId(id, HCDelegate(caught, &Catch::got), {});
        EXPECT_TRUE(testsupport::runMainUntil([&] { return caught->series != nullptr; }));
        auto record = caught->series ? platform::as<HCChallengeToUser>(caught->series->objectAtIndex(0)) : nullptr;
        if (record) record->setResult(result);
        return record;
    }

    // What the server holds of the challenge behind its `n`th record (from 0).
    std::optional<localserver::SentChallenge> sentChallenge(size_t n) const
    {
        const auto records = store->records();
        return n < records.size() ? store->challenge(records[n].challengeId) : std::nullopt;
    }

    // What the open modal shows on top.
    platform::ui::ViewControllerPtr modalTop()
    {
        settle();
        auto navigation = HalcyonDashboard::getActiveNavigationController();
        return navigation ? navigation->topViewController() : nullptr;
    }
};

TEST_F(SendChallengePageTest, TheGamesOwnChallengeOpensChallengeFriendsWhichSendsItOrClosesOnTheGamesWord)
{
    auto challenge = HCChallenge::initWithDefinition(HCResource::initWithId<HCChallengeDefinition>(std::string("1")),
                                                     std::string("Beat 88 s"),
                                                     std::make_shared<platform::Data>(std::string("seed 9")));
    challenge->displayAndSendChallenge();
    auto page = std::dynamic_pointer_cast<HCSendChallengeController>(modalTop());
    ASSERT_TRUE(page);
    waitForIdle();
    EXPECT_EQ(page->title(), "Challenge Friends");
    const auto header = platform::ui::Driver::labelsText(page->tableView()->tableHeaderView());
    EXPECT_NE(header.find("Beat my time"), std::string::npos) << header;
    EXPECT_NE(header.find("Beat 88 s"), std::string::npos) << header;

    // Closed without sending: the game hears of it and nothing is sent.
    ASSERT_TRUE(driver->tapBarButton(HCNavigationController::kCloseButtonTitle));
    settle();
    EXPECT_FALSE(HalcyonDashboard::getRootController());
    EXPECT_EQ(game.lines, std::vector<std::string>{"send closed"});
    EXPECT_EQ(requestsTo(kSend), 0u);

    game.lines.clear();
    challenge->displayAndSendChallenge();
    page = std::dynamic_pointer_cast<HCSendChallengeController>(modalTop());
    ASSERT_TRUE(page);
    waitForIdle();
    ASSERT_TRUE(tapRow("Ben"));
    ASSERT_TRUE(tapButton("Send"));
    waitForIdle();
    auto sent = sentChallenge(0);
    ASSERT_TRUE(sent);
    EXPECT_EQ(store->records().size(), 1u);
    EXPECT_EQ(sent->description, "Beat 88 s");
    EXPECT_EQ(sent->data, std::optional<std::string>("seed 9"));
    EXPECT_EQ(game.lines, (std::vector<std::string>{"sent", "send closed"}));
    settle();
    EXPECT_FALSE(HalcyonDashboard::getRootController());
}

TEST_F(SendChallengePageTest, TheGameShowsAResultOnlyOnceThereIsOneAndAWonOneOffersItsReChallenge)
{
    auto record = attempted("2", HCChallengeToUser::kNoResult);
    ASSERT_TRUE(record);
    record->displayCompletionWithData(nullptr, std::string("Top 5100"));
    settle();
    EXPECT_FALSE(HalcyonDashboard::getRootController());
    EXPECT_FALSE(record->isCompleted());

    record->setResult(HCChallengeToUser::kWin);
    record->setResultDescription(std::string("%@ won by 100"));
    record->displayCompletionWithData(std::make_shared<platform::Data>(std::string("5100")), std::string("Top 5100"));
    EXPECT_TRUE(record->isCompleted());
    auto page = std::dynamic_pointer_cast<HCSendChallengeController>(modalTop());
    ASSERT_TRUE(page);
    waitForIdle();
    EXPECT_EQ(page->title(), "Challenge Result");
    const auto header = platform::ui::Driver::labelsText(page->tableView()->tableHeaderView());
    EXPECT_NE(header.find("You won by 100"), std::string::npos) << header;
    ASSERT_TRUE(tapButton("Send Result As Challenge"));
    waitForIdle();
    auto sent = sentChallenge(1);
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->description, "Top 5100");
    EXPECT_EQ(sent->data, std::optional<std::string>("5100"));
    EXPECT_EQ(sent->responseTo, record->resourceId());
}

TEST_F(SendChallengePageTest, ChoosingFriendsInOrderAndSendingTellsTheGameAndCloses)
{
    auto page = openSendPage();
    ASSERT_TRUE(page);
    const auto header = platform::ui::Driver::labelsText(page->tableView()->tableHeaderView());
    EXPECT_NE(header.find("Beat my time"), std::string::npos) << header;
    const auto rows = screenRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], "[Friends To Challenge]");
    EXPECT_EQ(rows[1].rfind("Ben", 0), 0u) << rows[1];

    // Nothing chosen, also offline: that alert first, and no request.
    HCReachability::Instance()->setOverride(HCReachability::NotReachable);
    ASSERT_TRUE(tapButton("Send"));
    EXPECT_EQ(lastAlertTitle(), "No Friends Selected");
    ASSERT_TRUE(driver->answerAlert("OK"));
    HCReachability::Instance()->setOverride(HCReachability::ReachableViaWiFi);
    EXPECT_EQ(requestsTo(kSend), 0u);

    // A second tap lets Ben go again.
    ASSERT_TRUE(tapRow("Ben"));
    ASSERT_TRUE(tapRow("Ben"));
    EXPECT_TRUE(page->selectedUsers().empty());
    ASSERT_TRUE(tapRow("Ben"));
    ASSERT_TRUE(tapButton("Send"));
    waitForIdle();
    ASSERT_EQ(store->records().size(), 1u);
    EXPECT_EQ(store->records()[0].recipientId, defaults::kOtherUserId);
    auto sent = store->challenge(store->records()[0].challengeId);
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->userMessage, "Think you can beat me?");
    EXPECT_EQ(sent->description, "Beat 90 s");
    EXPECT_FALSE(sent->responseTo);
    EXPECT_EQ(game.lines, (std::vector<std::string>{"sent", "send closed"}));
}

TEST_F(SendChallengePageTest, NoConnectionOrARefusedSendKeepsTheChoiceAndTakesTheLoadingScreenDown)
{
    auto page = openSendPage();
    ASSERT_TRUE(page);
    ASSERT_TRUE(tapRow("Ben"));

    HCReachability::Instance()->setOverride(HCReachability::NotReachable);
    ASSERT_TRUE(tapButton("Send"));
    EXPECT_EQ(lastAlertTitle(), "No internet connection");
    ASSERT_TRUE(driver->answerAlert("OK"));
    HCReachability::Instance()->setOverride(HCReachability::ReachableViaWiFi);
    EXPECT_EQ(requestsTo(kSend), 0u);

    server->addRoute("POST", kSend, localserver::Access::User,
                     [](const localserver::Request&) { return localserver::Reply::text(500, "down"); });
    ASSERT_TRUE(tapButton("Send"));
    waitForIdle();
    EXPECT_EQ(lastAlertTitle(), "An error occurred");
    EXPECT_FALSE(page->isShowingLoadingScreen());
    ASSERT_EQ(page->selectedUsers().size(), 1u);
    EXPECT_EQ(page->selectedUsers()[0]->name(), std::string(defaults::kOtherUserName));

    // A send the provider drops.
    ASSERT_TRUE(driver->answerAlert("OK"));
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(tapButton("Send"));
        EXPECT_TRUE(page->isShowingLoadingScreen());
        Halcyon::provider()->destroyAllPendingRequests();
    }
    waitForIdle();
    EXPECT_FALSE(page->isShowingLoadingScreen());
    EXPECT_EQ(page->selectedUsers().size(), 1u);
    EXPECT_TRUE(game.lines.empty());
}

TEST_F(SendChallengePageTest, TryingAgainClosesThePageAndTellsTheGameOnlyWhenItCanRestart)
{
    auto page = openSendPage();
    ASSERT_TRUE(page);
    page->tryChallengeAgain();
    settle();
    EXPECT_FALSE(HalcyonDashboard::getRootController());
    EXPECT_EQ(game.lines, std::vector<std::string>{"restarted"});

    game.lines.clear();
    game.answers.erase(Method::userRestartedChallenge);
    page = openSendPage();
    ASSERT_TRUE(page);
    page->tryChallengeAgain();
    settle();
    EXPECT_FALSE(HalcyonDashboard::getRootController());
    EXPECT_TRUE(game.lines.empty());
}

TEST_F(SendChallengePageTest, EveryRefreshAfterTheFirstWaitsFiveSecondsOnATimerOfItsOwn)
{
    auto page = openSendPage();
    ASSERT_TRUE(page);
    const size_t before = requestsTo("users.xml");
    auto idleProvider = [] {
        auto provider = Halcyon::provider();
        return provider->queuedActionCount() == 0 && provider->runningLoaderCount() == 0;
    };
    page->reloadDataFromServer();
    clock->advance(2);
    testsupport::drainMain();
    // A refresh within those five seconds waits its own five.
    page->reloadDataFromServer();
    EXPECT_TRUE(page->isShowingLoadingScreen());
    clock->advance(2);
    ASSERT_TRUE(testsupport::runMainUntil(idleProvider));
    EXPECT_EQ(requestsTo("users.xml"), before);
    EXPECT_TRUE(page->isShowingLoadingScreen());
    clock->advance(1.5);
    testsupport::drainMain();
    waitForReplies();
    EXPECT_EQ(requestsTo("users.xml"), before + 1);
    clock->advance(2);
    testsupport::drainMain();
    waitForIdle();
    EXPECT_EQ(requestsTo("users.xml"), before + 2);
}

TEST_F(SendChallengePageTest, TheStrongerChallengeButtonShowsOnlyForAGameThatRestartsCreatingChallenges)
{
    // Making stronger challenges is not enough: the game must answer the restart.
    auto page = openSendPage();
    ASSERT_TRUE(page);
    EXPECT_FALSE(tapButton("Create Stronger Challenge"));
    // Down to the message field and its margin.
    EXPECT_EQ(page->tableView()->tableHeaderView()->frame().height(), 121);

    game.answers.insert(Method::userRestartedCreateChallenge);
    Halcyon::dismissDashboard();
    page = openSendPage();
    ASSERT_TRUE(tapButton("Create Stronger Challenge"));
    EXPECT_EQ(game.lines, (std::vector<std::string>{"create stronger", "send closed"}));

    // A game without createStrongerChallenge is told by the restart's name.
    game.lines.clear();
    game.answers.erase(Method::createStrongerChallenge);
    page = openSendPage();
    ASSERT_TRUE(tapButton("Create Stronger Challenge"));
    EXPECT_EQ(game.lines, (std::vector<std::string>{"restarted create", "send closed"}));
}

TEST_F(SendChallengePageTest, AnUnknownChallengeTypeShowsTheDownloadAlertAndKeepsThePage)
{
    auto page = std::dynamic_pointer_cast<HCSendChallengeController>(
        openPage("SendChallenge", [](const platform::ui::ViewControllerPtr& controller) {
            std::dynamic_pointer_cast<HCSendChallengeController>(controller)->setChallengeDefinitionId(std::string("99"));
        }));
    ASSERT_TRUE(page);
    EXPECT_EQ(lastAlertTitle(), "Error Occurred");
    EXPECT_EQ(topPage(), page);
    const auto header = platform::ui::Driver::labelsText(page->tableView()->tableHeaderView());
    EXPECT_NE(header.find("Loading..."), std::string::npos) << header;
}

TEST_F(SendChallengePageTest, AOneShotResultStandsAloneAndItsOkClosesTheScreen)
{
    auto record = attempted("1", HCChallengeToUser::kLose);
    ASSERT_TRUE(record);
    HCChallengeService::displayChallengeCompletedModal(record, nullptr, std::string("%@ lost by 3 s"), std::nullopt);
    EXPECT_TRUE(record->isCompleted());
    auto header = std::dynamic_pointer_cast<HCCompletedChallengeHeaderController>(modalTop());
    ASSERT_TRUE(header);
    const auto text = platform::ui::Driver::labelsText(header->view());
    EXPECT_NE(text.find("You lost by 3 s"), std::string::npos) << text;
    ASSERT_TRUE(tapButton("OK"));
    EXPECT_EQ(game.lines, std::vector<std::string>{"result closed"});
}

TEST_F(SendChallengePageTest, ALostMultiAttemptResultOffersTryAgainAndAsksTheGameFirst)
{
    auto record = attempted("2", HCChallengeToUser::kLose);
    ASSERT_TRUE(record);
    HCChallengeService::displayChallengeCompletedModal(record, nullptr, std::string("Lost"), std::nullopt);
    EXPECT_FALSE(record->isCompleted());
    ASSERT_TRUE(std::dynamic_pointer_cast<HCCompletedChallengeHeaderController>(modalTop()));
    ASSERT_TRUE(tapButton("Try Again"));
    EXPECT_EQ(game.lines, (std::vector<std::string>{"restarted", "result closed"}));

    // A game without the restart still gets the screen closed.
    game.lines.clear();
    game.answers.erase(Method::userRestartedChallenge);
    HCChallengeService::displayChallengeCompletedModal(record, nullptr, std::string("Lost"), std::nullopt);
    modalTop();
    ASSERT_TRUE(tapButton("Try Again"));
    EXPECT_EQ(game.lines, std::vector<std::string>{"result closed"});
}

TEST_F(SendChallengePageTest, AWonMultiAttemptResultGoesBackToTheChallengerAsANewChallenge)
{
    auto record = attempted("2", HCChallengeToUser::kWin);
    ASSERT_TRUE(record);
    HCChallengeService::displayChallengeCompletedModal(record, std::make_shared<platform::Data>(std::string("5100")),
                                                       std::string("Won"), std::string("Top 5100"));
    EXPECT_TRUE(record->isCompleted());
    auto page = std::dynamic_pointer_cast<HCSendChallengeController>(modalTop());
    ASSERT_TRUE(page);
    waitForIdle();
    EXPECT_EQ(page->title(), "Challenge Result");
    // Ben is chosen once his row is listed.
    EXPECT_EQ(lastParam("users.xml", "challenger_user_id"), defaults::kOtherUserId);
    ASSERT_EQ(page->selectedUsers().size(), 1u);
    ASSERT_TRUE(tapButton("Send Result As Challenge"));
    waitForIdle();
    ASSERT_EQ(store->records().size(), 2u);
    EXPECT_EQ(store->records()[1].recipientId, defaults::kOtherUserId);
    auto sent = store->challenge(store->records()[1].challengeId);
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->responseTo, record->resourceId());
    EXPECT_EQ(sent->description, "Top 5100");
    EXPECT_EQ(sent->data, std::optional<std::string>("5100"));
    EXPECT_EQ(game.lines, (std::vector<std::string>{"sent", "send closed"}));
}

TEST_F(SendChallengePageTest, AWonResultWhoseFriendsListFailsSendsNothingToTheUnlistedChallenger)
{
    auto record = attempted("2", HCChallengeToUser::kWin);
    ASSERT_TRUE(record);
    server->addRoute("GET", "users.xml", localserver::Access::User,
                     [](const localserver::Request&) { return localserver::Reply::text(500, "down"); });
    HCChallengeService::displayChallengeCompletedModal(record, std::make_shared<platform::Data>(std::string("5100")),
                                                       std::string("Won"), std::string("Top 5100"));
    auto page = std::dynamic_pointer_cast<HCSendChallengeController>(modalTop());
    ASSERT_TRUE(page);
    waitForIdle();
    EXPECT_TRUE(page->selectedUsers().empty());
    ASSERT_TRUE(tapButton("Send Result As Challenge"));
    EXPECT_EQ(lastAlertTitle(), "No Friends Selected");
    EXPECT_EQ(store->records().size(), 1u);
}

// The challenge carries the player's message: refused after he went back
// from the page, it is told on the page he is on.
TEST_F(SendChallengePageTest, ASendRefusedAfterThePlayerWentBackIsToldOnThePageHeIsOn)
{
    auto page = openSendPage();
    ASSERT_TRUE(page);
    auto header = std::dynamic_pointer_cast<HCSendChallengeHeaderController>(page->tableHeader());
    ASSERT_TRUE(header);
    ASSERT_TRUE(tapRow("Ben"));
    driver->typeText(header->userMessageTextField(), "Bet you cannot");
    const auto below = sendThenLeaveBefore(HeldSendEnd::Refused, kSend, [&] { return tapButton("Send"); });
    ASSERT_TRUE(below);
    EXPECT_EQ(topPage(), below);
    EXPECT_EQ(lastAlertTitle(), "An error occurred");
    EXPECT_TRUE(store->records().empty());
    EXPECT_TRUE(game.lines.empty());
}

}  // namespace
