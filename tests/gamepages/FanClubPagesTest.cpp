// The fan club of a game and its favourite and newsletter pages, worked
// through the screen against the local server.
#include "core/halcyon/Halcyon.h"
#include "core/resources/HCResource.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "dashboard/HCFramedNavigationController.h"
#include "gamepages/discovery/HCPlayedGameController.h"
#include "gamepages/fanclub/HCFanClubController.h"
#include "gamepages/fanclub/HCFavoriteThisGameController.h"
#include "gamepages/fanclub/HCNewsLetterController.h"
#include "gamepages/support/DroppedRequests.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Faults.h"
#include "accounts/HCAccountForms.h"
#include "localserver/routes/CredentialRoutes.h"
#include "uiframework/HCControllerLoader.h"
#include "platform/ui/ActionSheet.h"
#include "social/announcements/HCAnnouncementService.h"
#include "platform/ui/AlertView.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"

namespace {

constexpr const char* kReview = "client_applications/1/users/review.xml";
constexpr const char* kNewsletter = "client_applications/1/news_letter_subscription.xml";

class FanClubPagesTest : public pagetest::PageHarness {
protected:
    void putUnknownGameInContext()
    {
        auto framed = std::dynamic_pointer_cast<HCFramedNavigationController>(topPage()->navigationController());
        ASSERT_TRUE(framed);
        framed->changeGameContext(HCResource::initWithId<HCGameProfilePageInfo>(std::string("77")));
    }

    // The fan club of the running game (or of a game the server does not
    // know), then the row's page.
    template <class Page>
    std::shared_ptr<Page> openFromFanClub(const std::string& row, bool unknownGame = false)
    {
        openPage("FanClub");
        if (unknownGame) putUnknownGameInContext();
        EXPECT_TRUE(tapRow(row)) << row;
        settle();
        waitForIdle();
        return topPageAs<Page>();
    }

    // The announcements row of the running game, its announcements all unread.
    std::string announcementsRow()
    {
        HCAnnouncementService::downloadAnnouncements();
        EXPECT_TRUE(testsupport::runMainUntil([] { return HCAnnouncementService::unreadAnnouncements() > 0; }));
        return "Developer Announcements | " + std::to_string(HCAnnouncementService::unreadAnnouncements());
    }

    static std::vector<std::string> alertMessages()
    {
        std::vector<std::string> out;
        for (const auto& alert : platform::ui::AlertView::visibleAlerts()) out.push_back(alert->message());
        return out;
    }
};

TEST_F(FanClubPagesTest, AGameWithoutStoreOrUserContentHasThreeRowsAndTheVisitIsToldOnce)
{
    disallowUserGeneratedContent();
    startOnline();
    const std::string announcements = announcementsRow();
    auto page = openPage("FanClub");
    ASSERT_TRUE(page);
    EXPECT_EQ(screenRows(),
              (std::vector<std::string>{"Add Game as Favorite", announcements, "Subscribe to Newsletter"}));
    EXPECT_EQ(lastParam("client_application_users/fan_club", "client_application_id"), std::string("1"));

    ASSERT_TRUE(tapRow("Subscribe to Newsletter"));
    settle();
    waitForIdle();
    EXPECT_TRUE(topPageAs<HCNewsLetterController>());
    driver->tapBack();
    settle();
    ASSERT_EQ(topPage(), page);
    EXPECT_EQ(requestsTo("client_application_users/fan_club"), 1u);
}

TEST_F(FanClubPagesTest, AFavouriteThatCannotBeReadSaysSoOnThePage)
{
    startOnline();
    server->faults().injectFor("GET", "client_applications/1/users/1001.xml", localserver::Fault::reply(500, "down"));
    auto page = openFromFanClub<HCFavoriteThisGameController>("Add Game as Favorite");
    ASSERT_TRUE(page);
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_TRUE(platform::ui::Driver::findByText(page->view(), HCFavoriteThisGameController::kReadFailedMessage));
}

TEST_F(FanClubPagesTest, MoreGamesOpensTheDevelopersPicksAndTheRunningGamesBadgeShowsAtOnce)
{
    startOnline();
    auto game = Halcyon::localGameProfileInfo();
    game->setHasFeaturedApplication(std::string("true"));
    Halcyon::setLocalGameProfileInfo(game);
    const std::string announcements = announcementsRow();
    auto page = openPage("FanClub");
    ASSERT_TRUE(page);
    // The badge is filled on the very first appearance.
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Add Game as Favorite", announcements, "Subscribe to Newsletter",
                                                      "Suggest a Feature", "More Games"}));

    ASSERT_TRUE(tapRow("More Games"));
    settle();
    waitForIdle();
    auto picks = topPageAs<HCPlayedGameController>();
    ASSERT_TRUE(picks);
    EXPECT_EQ(picks->title(), "More Games");
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Pebble Tide", "Tolvarine Ruvuru"}));
}

TEST_F(FanClubPagesTest, TheStarTwiceMakesTheGameAFavouriteAndTakesItBack)
{
    startOnline();
    auto page = openFromFanClub<HCFavoriteThisGameController>("Add Game as Favorite");
    ASSERT_TRUE(page);
    EXPECT_EQ(requestsTo("client_applications/1/users/1001.xml"), 1u);
    EXPECT_FALSE(page->isFavorite());
    EXPECT_EQ(page->reviewArea()->alpha(), 0.0);

    ASSERT_TRUE(driver->tap(page->favoriteButton()));
    waitForIdle();
    EXPECT_TRUE(page->isFavorite());
    EXPECT_EQ(lastParam(kReview, "client_application_user[favorite]"), std::string("1"));
    EXPECT_FALSE(lastParam(kReview, "client_application_user[review]"));
    EXPECT_EQ(page->reviewArea()->alpha(), 1.0);
    EXPECT_TRUE(page->navigationItem()->rightBarButtonItem());

    ASSERT_TRUE(driver->tap(page->favoriteButton()));
    waitForIdle();
    EXPECT_FALSE(page->isFavorite());
    EXPECT_EQ(requestsTo(kReview), 2u);
    EXPECT_EQ(lastParam(kReview, "client_application_user[favorite]"), std::string("0"));
    EXPECT_EQ(page->reviewArea()->alpha(), 0.0);
    EXPECT_FALSE(page->navigationItem()->rightBarButtonItem());
}

TEST_F(FanClubPagesTest, AReviewIsRefusedEmptyAndComesBackOnTheNextVisit)
{
    startOnline();
    auto page = openFromFanClub<HCFavoriteThisGameController>("Add Game as Favorite");
    ASSERT_TRUE(page);
    ASSERT_TRUE(driver->tap(page->favoriteButton()));
    waitForIdle();
    ASSERT_TRUE(tapRightBarButton());
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{HCFavoriteThisGameController::kEmptyReviewMessage}));
    EXPECT_EQ(requestsTo(kReview), 1u);
    ASSERT_TRUE(driver->answerAlert(0));

    driver->typeText(page->reviewTextField(), "Great fun");
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    EXPECT_EQ(requestsTo(kReview), 2u);
    EXPECT_EQ(lastParam(kReview, "client_application_user[review]"), std::string("Great fun"));
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{HCFavoriteThisGameController::kSubmittedMessage}));
    ASSERT_TRUE(driver->answerAlert(0));

    // The review comes back on the next visit.
    driver->tapBack();
    settle();
    ASSERT_TRUE(tapRow("Add Game as Favorite"));
    settle();
    waitForIdle();
    page = topPageAs<HCFavoriteThisGameController>();
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->isFavorite());
    EXPECT_EQ(page->reviewTextField()->text(), "Great fun");
}

// The page's form sends the review with the star as it stands, one change
// at a time with the favourite calls.
TEST_F(FanClubPagesTest, TheFormSendsTheReviewAndTheStarToTheGamesReviewAndSaysSo)
{
    startOnline();
    auto page = openFromFanClub<HCFavoriteThisGameController>("Add Game as Favorite");
    ASSERT_TRUE(page);
    ASSERT_TRUE(driver->tap(page->favoriteButton()));
    waitForIdle();
    ASSERT_TRUE(page->isFavorite());
    driver->typeText(page->reviewTextField(), "Great fun");
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(page->onSubmitForm());
        EXPECT_FALSE(tapRightBarButton()) << "Submit waits for the form under way";
        driver->tapView(page->favoriteButton());
    }
    waitForIdle();
    EXPECT_EQ(requestsTo(kReview), 2u);
    EXPECT_EQ(lastParam(kReview, "client_application_user[review]"), std::string("Great fun"));
    EXPECT_EQ(lastParam(kReview, "client_application_user[favorite]"), std::string("1"));
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{"Your comment has been submitted successfully."}));
    ASSERT_TRUE(driver->answerAlert(0));
    EXPECT_TRUE(page->isFavorite());
    EXPECT_FALSE(showsLoadingScreen());

    // While the star's change is on its way the form sends nothing.
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(driver->tap(page->favoriteButton()));
        EXPECT_FALSE(page->onSubmitForm());
    }
    waitForIdle();
    EXPECT_EQ(requestsTo(kReview), 3u);
    EXPECT_EQ(lastParam(kReview, "client_application_user[favorite]"), std::string("0"));
}

TEST_F(FanClubPagesTest, SubmitAndTheStarTappedTwiceSendOneChangeEach)
{
    startOnline();
    auto page = openFromFanClub<HCFavoriteThisGameController>("Add Game as Favorite");
    ASSERT_TRUE(page);
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(driver->tapView(page->favoriteButton()));
        driver->tapView(page->favoriteButton());
    }
    waitForIdle();
    EXPECT_EQ(requestsTo(kReview), 1u);
    EXPECT_TRUE(page->isFavorite());

    driver->typeText(page->reviewTextField(), "Great fun");
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(tapRightBarButton());
        EXPECT_FALSE(tapRightBarButton()) << "Submit waits for the review under way";
    }
    waitForIdle();
    EXPECT_EQ(requestsTo(kReview), 2u);
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{HCFavoriteThisGameController::kSubmittedMessage}));
    ASSERT_TRUE(driver->answerAlert(0));

    // A change the provider lets go leaves the page taking taps again.
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(tapRightBarButton());
        Halcyon::provider()->destroyAllPendingRequests();
    }
    waitForIdle();
    EXPECT_EQ(requestsTo(kReview), 2u);
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    EXPECT_EQ(requestsTo(kReview), 3u);
}

TEST_F(FanClubPagesTest, AFailedReadOrStarLeavesThePageAsItWas)
{
    startOnline();
    auto page = openFromFanClub<HCFavoriteThisGameController>("Add Game as Favorite", true);
    ASSERT_TRUE(page);
    EXPECT_FALSE(showsLoadingScreen());
    ASSERT_TRUE(driver->tap(page->favoriteButton()));
    waitForIdle();
    EXPECT_FALSE(page->isFavorite());
    EXPECT_EQ(page->reviewArea()->alpha(), 0.0);
}

TEST_F(FanClubPagesTest, TheNewsletterSwitchShowsWhatTheServiceHolds)
{
    startOnline();
    auto page = openFromFanClub<HCNewsLetterController>("Subscribe to Newsletter");
    ASSERT_TRUE(page);
    EXPECT_EQ(requestsTo(kNewsletter), 1u);
    EXPECT_FALSE(page->subscriptionSwitch()->isOn());

    // Without an e-mail credential the switch stays off and one is offered.
    Halcyon::setLoggedInUserHasHttpBasicCredential(false);
    ASSERT_TRUE(driver->tap(page->subscriptionSwitch()));
    settle();
    EXPECT_FALSE(page->subscriptionSwitch()->isOn());
    auto sheets = platform::ui::ActionSheet::visibleSheets();
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets.front()->title(), HCNewsLetterController::kCredentialNeeded);
    ASSERT_TRUE(driver->answerSheet("Cancel"));
    EXPECT_EQ(requestsTo(kNewsletter), 1u);

    Halcyon::setLoggedInUserHasHttpBasicCredential(true);
    ASSERT_TRUE(driver->tap(page->subscriptionSwitch()));
    waitForIdle();
    EXPECT_TRUE(page->subscriptionSwitch()->isOn());
    ASSERT_TRUE(driver->tap(page->subscriptionSwitch()));
    waitForIdle();
    EXPECT_FALSE(page->subscriptionSwitch()->isOn());
    EXPECT_EQ(requestsTo(kNewsletter), 3u);
}

// "Enable Account Retrieval": the player secures the account with an e-mail
// and a password, comes back, and is subscribed.
TEST_F(FanClubPagesTest, SecuringTheAccountFromTheNewsletterLinksTheLoginAndSubscribes)
{
    startOnline();
    localserver::registerCredentialRoutes(*server);
    Halcyon::setLoggedInUserHasHttpBasicCredential(false);
    auto page = openFromFanClub<HCNewsLetterController>("Subscribe to Newsletter");
    ASSERT_TRUE(page);
    ASSERT_TRUE(driver->tap(page->subscriptionSwitch()));
    settle();
    ASSERT_TRUE(driver->answerSheet(HCNewsLetterController::kEnableRetrieval));
    settle();
    auto form = topPageAs<HCHttpCredentialsCreateController>();
    ASSERT_TRUE(form) << "no credential form";
    driver->typeText(form->field("email"), "ann@example.com");
    driver->typeText(form->field("password"), "secret99");
    ASSERT_TRUE(tapButton("Secure Account"));
    waitForIdle();
    // Back on the newsletter page once the form has slid away.
    settle();
    waitForIdle();
    EXPECT_EQ(requestsWithParam("users_credentials/link.xml", "credential_type", "http_basic"), 1u);
    EXPECT_EQ(lastParam("users_credentials/link.xml", "users_credential[email]"), "ann@example.com");
    ASSERT_EQ(topPage(), page) << "the form did not go back";
    EXPECT_TRUE(Halcyon::loggedInUserHasHttpBasicCredential());
    EXPECT_TRUE(page->subscriptionSwitch()->isOn());
    // The reading on the way in, then the subscription; no second reading on return.
    EXPECT_EQ(requestsTo(kNewsletter), 2u);
    EXPECT_TRUE(alertMessages().empty());
}

// A credential form opened by something that did not make it link a login
// cannot send; the player is told instead of pressing in vain.
TEST_F(FanClubPagesTest, ACredentialFormThatCannotSendSaysSo)
{
    startOnline();
    auto form = HCControllerLoader::load<HCHttpCredentialsCreateController>("HttpCredentialsCreate");
    ASSERT_TRUE(form);
    openPage("FanClub");
    topPage()->navigationController()->pushViewController(form, true);
    settle();
    driver->typeText(form->field("email"), "ann@example.com");
    driver->typeText(form->field("password"), "secret99");
    ASSERT_TRUE(tapButton("Secure Account"));
    waitForIdle();
    EXPECT_EQ(requestsTo("users_credentials/link.xml"), 0u);
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{HCAccountSetupBaseController::kCannotSubmitMessage}));
}

TEST_F(FanClubPagesTest, ARefusedNewsletterChangePutsTheSwitchBack)
{
    startOnline();
    Halcyon::setLoggedInUserHasHttpBasicCredential(true);
    auto page = openFromFanClub<HCNewsLetterController>("Subscribe to Newsletter", true);
    ASSERT_TRUE(page);
    EXPECT_FALSE(showsLoadingScreen());
    ASSERT_TRUE(driver->tap(page->subscriptionSwitch()));
    waitForIdle();
    EXPECT_EQ(requestsTo("client_applications/77/news_letter_subscription.xml"), 2u);
    EXPECT_FALSE(page->subscriptionSwitch()->isOn());
}

TEST_F(FanClubPagesTest, NewsletterRequestsTheProviderDropsTakeTheLoadingScreenDownAndPutTheSwitchBack)
{
    startOnline();
    Halcyon::setLoggedInUserHasHttpBasicCredential(true);
    openPage("FanClub");
    std::shared_ptr<HCNewsLetterController> page;
    pagetest::dropRequestsMadeBy([&] {
        ASSERT_TRUE(tapRow("Subscribe to Newsletter"));
        settle();
        page = topPageAs<HCNewsLetterController>();
        ASSERT_TRUE(page);
        EXPECT_TRUE(page->isShowingLoadingScreen());
    });
    ASSERT_TRUE(page);
    waitForIdle();
    EXPECT_FALSE(page->isShowingLoadingScreen());
    EXPECT_FALSE(page->subscriptionSwitch()->isOn());

    pagetest::dropRequestsMadeBy([&] {
        ASSERT_TRUE(driver->tap(page->subscriptionSwitch()));
        settle();
        EXPECT_TRUE(page->subscriptionSwitch()->isOn());
        EXPECT_TRUE(page->isShowingLoadingScreen());
    });
    waitForIdle();
    EXPECT_FALSE(page->isShowingLoadingScreen());
    EXPECT_FALSE(page->subscriptionSwitch()->isOn()) << "the change never reached the service";
    EXPECT_EQ(requestsTo(kNewsletter), 0u);
}

// What the player wrote is told when its send fails after he went back from
// the page that held it: the review, and the e-mail login he typed.
TEST_F(FanClubPagesTest, AReviewOrLoginRefusedAfterThePlayerWentBackIsToldOnThePageHeIsOn)
{
    startOnline();
    auto page = openFromFanClub<HCFavoriteThisGameController>("Add Game as Favorite");
    ASSERT_TRUE(page);
    ASSERT_TRUE(driver->tap(page->favoriteButton()));
    waitForIdle();
    driver->typeText(page->reviewTextField(), "Great fun");
    const auto fanClub = sendThenLeaveBefore(HeldSendEnd::Refused, kReview, [&] { return tapRightBarButton(); });
    ASSERT_TRUE(std::dynamic_pointer_cast<HCFanClubController>(fanClub));
    EXPECT_EQ(topPage(), fanClub);
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{"Your message \"Great fun\" was not sent: busy"}));
    ASSERT_TRUE(driver->answerAlert(0));
    EXPECT_EQ(lastParam(kReview, "client_application_user[review]"), std::string("Great fun"));

    // The star alone is no writing of his: its failure stays untold.
    ASSERT_TRUE(tapRow("Add Game as Favorite"));
    settle();
    waitForIdle();
    page = topPageAs<HCFavoriteThisGameController>();
    ASSERT_TRUE(page);
    server->faults().injectFor("POST", kReview, localserver::Fault::heldBack(localserver::Fault::reply(503, "busy")));
    ASSERT_TRUE(driver->tap(page->favoriteButton()));
    ASSERT_TRUE(driver->tapBack());
    settle();
    server->faults().releaseHeld();
    waitForIdle();
    settle();
    EXPECT_TRUE(alertMessages().empty());

    localserver::registerCredentialRoutes(*server);
    Halcyon::setLoggedInUserHasHttpBasicCredential(false);
    ASSERT_TRUE(tapRow("Subscribe to Newsletter"));
    settle();
    waitForIdle();
    auto newsletter = topPageAs<HCNewsLetterController>();
    ASSERT_TRUE(newsletter);
    ASSERT_TRUE(driver->tap(newsletter->subscriptionSwitch()));
    settle();
    ASSERT_TRUE(driver->answerSheet(HCNewsLetterController::kEnableRetrieval));
    settle();
    auto form = topPageAs<HCHttpCredentialsCreateController>();
    ASSERT_TRUE(form);
    driver->typeText(form->field("email"), "ann@example.com");
    driver->typeText(form->field("password"), "secret99");
    ASSERT_EQ(sendThenLeaveBefore(HeldSendEnd::Refused, "users_credentials/link.xml",
                                  [&] { return tapButton("Secure Account"); }),
              newsletter);
    EXPECT_EQ(topPage(), newsletter);
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{"Your login was not added to your account: busy"}));
    EXPECT_FALSE(Halcyon::loggedInUserHasHttpBasicCredential());
}

}  // namespace
