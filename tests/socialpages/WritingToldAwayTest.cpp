// What the player wrote, refused or dropped once he left the page it came
// from: told on the page he is on inside the dashboard, naming what was not
// sent; told over the game with an error banner once he closed the
// dashboard, which the game and his banner option may keep off screen.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "accounts/HCAccountForms.h"
#include "core/banners/HCNotificationData.h"
#include "core/banners/HCNotificationDelegate.h"
#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "gamepages/challenges/HCSendChallengeController.h"
#include "gamepages/challenges/HCSendChallengeHeaderController.h"
#include "gamepages/fanclub/HCFavoriteThisGameController.h"
#include "gamepages/fanclub/HCNewsLetterController.h"
#include "gamepages/support/ChallengePageHarness.h"
#include "localserver/Faults.h"
#include "localserver/Fixtures.h"
#include "localserver/routes/CredentialRoutes.h"
#include "platform/ui/AddressBook.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/TextField.h"
#include "socialpages/composer/HCSendSocialNotificationController.h"
#include "socialpages/invitations/HCInviteFriendsController.h"
#include "socialpages/invitations/HCInviteHeaderViews.h"
#include "socialpages/invitations/HCSelectInviteTypeController.h"
#include "support/TestSupport.h"
#include "uiframework/HCViewController.h"

namespace {

constexpr const char* kReview = "client_applications/1/users/review.xml";
constexpr const char* kLink = "users_credentials/link.xml";
constexpr const char* kPosts = "notifications.xml";
constexpr const char* kChallenges = "challenges.xml";

// The error banners the game is asked about, as "text (category/type)"
// (a request's own banner may come beside them); it allows them while
// `allows` says so.
class GameNotices final : public HCNotificationDelegate {
public:
    bool isHalcyonNotificationAllowed(const HCNotificationDataPtr& notice) override
    {
        if (notice->notificationType == HCNotificationTypeError) {
            asked.push_back(notice->notificationText + " (" + std::to_string(notice->notificationCategory) + "/" +
                            std::to_string(notice->notificationType) + ")");
        }
        return allows;
    }
    void handleDisallowedNotification(const HCNotificationDataPtr& notice) override
    {
        if (notice->notificationType == HCNotificationTypeError) ++kept;
    }
    void notificationWillShow(const HCNotificationDataPtr&) override {}
    std::vector<std::string> asked;
    // Error banners kept off screen, by the game or by the player's option.
    int kept = 0;
    bool allows = true;
};

class WritingToldAwayTest : public pagetest::ChallengePageHarness {
protected:
    void SetUp() override
    {
        standInComposer = false;
        ChallengePageHarness::SetUp();
        localserver::registerCredentialRoutes(*server);
        for (const char* image : {"HCCheckBox.png", "HCCheckBoxSelected.png"}) addBundleImage(image);
        platform::ui::AddressBook::reset();
        auto ann = server->accounts().user(localserver::defaults::kUserId);
        ann->credentials = {"twitter"};
        ann->postingAllowed = {"twitter"};
        server->accounts().addUser(*ann);
        delegates->setNotificationDelegate(&notices);
        ASSERT_TRUE(answerTheLinkingScreen());
    }

    // Every alert shown, as "title: message", answered as it is read.
    static std::vector<std::string> takeAlerts()
    {
        std::vector<std::string> out;
        for (const auto& alert : platform::ui::AlertView::visibleAlerts()) {
            out.push_back(alert->title() + ": " + alert->message());
            alert->dismissWithClickedButtonIndex(0, false);
        }
        return out;
    }
    // The banners shown so far that say something was not sent.
    std::vector<std::string> notSentBanners() const
    {
        std::vector<std::string> out;
        for (const auto& text : bannerTexts())
            if (text.find(" was not sent") != std::string::npos) out.push_back(text);
        return out;
    }
    static bool closeTheDashboard()
    {
        Halcyon::dismissDashboard();
        return true;
    }

    // The favourite page with the star on and `review` typed.
    bool writeReview(const std::string& review)
    {
        openPage("FanClub");
        if (!tapRow("Add Game as Favorite")) return false;
        settle();
        waitForIdle();
        auto page = topPageAs<HCFavoriteThisGameController>();
        if (!page) return false;
        if (!page->isFavorite()) {
            driver->tap(page->favoriteButton());
            waitForIdle();
        }
        page->reviewTextField()->setText("");
        driver->typeText(page->reviewTextField(), review);
        return true;
    }
    // The e-mail login form reached from the newsletter, filled in.
    bool writeLogin()
    {
        Halcyon::setLoggedInUserHasHttpBasicCredential(false);
        openPage("FanClub");
        if (!tapRow("Subscribe to Newsletter")) return false;
        settle();
        waitForIdle();
        auto newsletter = topPageAs<HCNewsLetterController>();
        if (!newsletter || !driver->tap(newsletter->subscriptionSwitch())) return false;
        settle();
        if (!driver->answerSheet(HCNewsLetterController::kEnableRetrieval)) return false;
        settle();
        auto form = topPageAs<HCHttpCredentialsCreateController>();
        if (!form) return false;
        driver->typeText(form->field("email"), "ann@example.com");
        driver->typeText(form->field("password"), "secret99");
        return true;
    }
    // The invitation's compose page for Ben, with `message` typed.
    bool writeInvitation(const std::string& message)
    {
        openPage("SelectInviteType");
        auto start = topPageAs<HCSelectInviteTypeController>();
        if (!start) return false;
        start->updateSelectedType(HCSelectInviteTypeController::kFriends,
                                  {HCResource::initWithId<HCUser>(std::string(localserver::defaults::kOtherUserId))});
        if (!tapRightBarButton()) return false;
        settle();
        waitForIdle();
        auto compose = topPageAs<HCInviteFriendsController>();
        if (!compose || !compose->header()) return false;
        driver->typeText(compose->header()->inviteText(), message);
        return true;
    }
    // The challenge's send page with Ben ticked and `message` typed.
    bool writeChallenge(const std::string& message)
    {
        openPage("SendChallenge", [](const platform::ui::ViewControllerPtr& controller) {
            auto page = std::dynamic_pointer_cast<HCSendChallengeController>(controller);
            page->setChallengeDefinitionId(std::string("1"));
            page->setChallengeText(std::string("Beat 90 s"));
        });
        auto page = topPageAs<HCSendChallengeController>();
        auto header = page ? std::dynamic_pointer_cast<HCSendChallengeHeaderController>(page->tableHeader()) : nullptr;
        if (!header || !tapRow("Ben")) return false;
        driver->typeText(header->userMessageTextField(), message);
        return true;
    }
    // The composer with `message` typed under the lead.
    bool writePost(const std::string& message)
    {
        openPage("SendSocialNotification", [](const platform::ui::ViewControllerPtr& page) {
            std::dynamic_pointer_cast<HCSocialPostComposer>(page)->setPrepopulatedText(std::string("Lead"),
                                                                                      std::nullopt);
        });
        auto field = platform::ui::Driver::findFirst<platform::ui::TextField>(topPage()->view());
        if (!field) return false;
        driver->typeText(field, message);
        return true;
    }

    GameNotices notices;
};

// A drop brings no text of its own: each writing is named by what the
// page says of it, once the player went back from the page.
TEST_F(WritingToldAwayTest, WritingDroppedAfterThePlayerWentBackIsToldOnThePageHeIsOn)
{
    const auto dropped = HeldSendEnd::Dropped;
    ASSERT_TRUE(writeReview("Great fun"));
    EXPECT_TRUE(sendThenLeaveBefore(dropped, kReview, [&] { return tapRightBarButton(); }));
    EXPECT_EQ(takeAlerts(),
              std::vector<std::string>{"Oops! There was a problem:: Your message \"Great fun\" was not sent."});

    ASSERT_TRUE(writeLogin());
    EXPECT_TRUE(sendThenLeaveBefore(dropped, kLink, [&] { return tapButton("Secure Account"); }));
    EXPECT_EQ(takeAlerts(),
              std::vector<std::string>{"Oops! There was a problem:: Your login was not added to your account."});

    ASSERT_TRUE(writeInvitation("Race me to level 9!"));
    EXPECT_TRUE(sendThenLeaveBefore(dropped, "invites.xml", [&] { return tapRightBarButton(); }));
    EXPECT_EQ(takeAlerts(),
              std::vector<std::string>{"An error occurred: Your invite was not submitted. Please try again."});

    ASSERT_TRUE(writeChallenge("Bet you cannot"));
    EXPECT_TRUE(sendThenLeaveBefore(dropped, kChallenges, [&] { return tapButton("Send"); }));
    EXPECT_EQ(takeAlerts(),
              std::vector<std::string>{"An error occurred: Your challenge was not submitted. Please try again."});

    ASSERT_TRUE(writePost("Beat my score"));
    EXPECT_TRUE(sendThenLeaveBefore(dropped, kPosts, [&] { return tapRightBarButton(); }));
    EXPECT_EQ(takeAlerts(),
              std::vector<std::string>{"Oops! There was a problem:: Your message \"Beat my score\" was not sent."});

    EXPECT_EQ(requestsTo(kLink) + requestsTo("invites.xml") + requestsTo(kChallenges) + requestsTo(kPosts), 0u);
    EXPECT_TRUE(notSentBanners().empty()) << "the dashboard was open throughout";
}

// Once the player closed the dashboard he is playing: his review refused or
// dropped then is an error banner over the game, which the game may refuse
// and his option may turn off; never an alert stopping play.
TEST_F(WritingToldAwayTest, WithTheDashboardClosedAReviewRefusedOrDroppedIsAnErrorBannerTheGameOrThePlayerMayTurnOff)
{
    for (const auto end : {HeldSendEnd::Refused, HeldSendEnd::Dropped}) {
        SCOPED_TRACE(end == HeldSendEnd::Refused ? "refused" : "dropped");
        notices.asked.clear();
        const auto shownBefore = notSentBanners().size();
        ASSERT_TRUE(writeReview("Great fun"));
        EXPECT_FALSE(sendThenLeaveBefore(end, kReview, [&] { return tapRightBarButton(); }, closeTheDashboard));
        EXPECT_FALSE(Halcyon::isShowingFullScreen());
        EXPECT_TRUE(takeAlerts().empty());
        const std::string told =
            std::string("Your message \"Great fun\" was not sent") + (end == HeldSendEnd::Refused ? ": busy" : ".");
        EXPECT_EQ(notices.asked, std::vector<std::string>{told + " (1/3)"});
        const auto shown = notSentBanners();
        EXPECT_EQ(std::vector<std::string>(shown.begin() + static_cast<long>(shownBefore), shown.end()),
                  std::vector<std::string>{told + " [failed]"});
    }

    // The game refusing the banner, or the player's option, keeps it off screen.
    for (const bool gameRefuses : {true, false}) {
        SCOPED_TRACE(gameRefuses ? "the game refuses" : "banners off");
        notices.asked.clear();
        notices.kept = 0;
        const auto shownBefore = notSentBanners().size();
        ASSERT_TRUE(writeReview("Great fun"));
        notices.allows = !gameRefuses;
        // The option also keeps the client from sending: it is turned off
        // once the review is on its way.
        sendThenLeaveBefore(HeldSendEnd::Refused, kReview, [&] { return tapRightBarButton(); }, [&] {
            Halcyon::setDisabled(!gameRefuses);
            return closeTheDashboard();
        });
        Halcyon::setDisabled(false);
        EXPECT_TRUE(takeAlerts().empty());
        EXPECT_EQ(notSentBanners().size(), shownBefore);
        EXPECT_EQ(notices.asked.size(), gameRefuses ? 1u : 0u) << "the option keeps it from the game too";
        EXPECT_EQ(notices.kept, 1);
    }
}

// The post from the composer the game opened, refused once the dashboard
// closed, is told over the game as a social post's error.
TEST_F(WritingToldAwayTest, APostFromTheGamesComposerRefusedAfterTheDashboardClosedIsAnErrorBanner)
{
    Halcyon::launchDashboardWithSocialNotificationWithPrepopulatedText(std::string("I scored 900"), std::nullopt,
                                                                       std::nullopt, std::nullopt);
    settle();
    waitForIdle();
    auto field = platform::ui::Driver::findFirst<platform::ui::TextField>(topPage()->view());
    ASSERT_TRUE(field);
    driver->typeText(field, "Beat my score");
    sendThenLeaveBefore(HeldSendEnd::Refused, kPosts, [&] { return tapRightBarButton(); }, closeTheDashboard);
    EXPECT_TRUE(takeAlerts().empty());
    EXPECT_EQ(notices.asked, std::vector<std::string>{"Your message \"Beat my score\" was not sent: busy (7/3)"});
    EXPECT_EQ(notSentBanners(), std::vector<std::string>{"Your message \"Beat my score\" was not sent: busy [failed]"});

    // A refusal that comes while the closing dashboard still holds the page
    // on its way out: the page is no longer where he could read his field.
    Halcyon::launchDashboardWithSocialNotificationWithPrepopulatedText(std::string("I scored 950"), std::nullopt,
                                                                       std::nullopt, std::nullopt);
    settle();
    waitForIdle();
    field = platform::ui::Driver::findFirst<platform::ui::TextField>(topPage()->view());
    ASSERT_TRUE(field);
    driver->typeText(field, "Again?");
    server->faults().injectFor("POST", kPosts, localserver::Fault::heldBack(localserver::Fault::reply(503, "busy")));
    ASSERT_TRUE(tapRightBarButton());
    ASSERT_TRUE(serverHolds(1));
    const auto composer = topPage();
    Halcyon::dismissDashboard();
    server->faults().releaseHeld();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return notices.asked.size() == 2; }))
        << "the refusal was told nowhere";
    EXPECT_TRUE(std::dynamic_pointer_cast<HCViewController>(composer)->isOnNavigationStack())
        << "the page had gone before the refusal came: this case tests nothing";
    settle();
    EXPECT_TRUE(takeAlerts().empty());
    EXPECT_EQ(notSentBanners().back(), "Your message \"Again?\" was not sent: busy [failed]");
}

}  // namespace
