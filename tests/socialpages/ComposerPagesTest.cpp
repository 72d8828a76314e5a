// The social post composer and the extended-credential screens, as the
// player works them against the local server.
#include <algorithm>

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/support/DroppedRequests.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Faults.h"
#include "localserver/Fixtures.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/TextField.h"
#include "socialpages/composer/HCSendSocialNotificationController.h"
#include "uiframework/HCControllerLoader.h"

namespace {

const std::string kPosts = "notifications.xml";
using Rows = std::vector<std::string>;

class ComposerPagesTest : public pagetest::PageHarness {
protected:
    void SetUp() override
    {
        PageHarness::SetUp();
        standInComposer = false;
        startOnline();
    }
    // Ann's linked networks, and those she let the game post to.
    void link(std::vector<std::string> logins, std::vector<std::string> posting)
    {
        auto ann = server->accounts().user("1001");
        ann->credentials = std::move(logins);
        ann->postingAllowed = std::move(posting);
        server->accounts().addUser(*ann);
    }
    void openComposer(const std::optional<std::string>& lead, const std::optional<std::string>& message)
    {
        openPage("SendSocialNotification", [&](const platform::ui::ViewControllerPtr& page) {
            std::dynamic_pointer_cast<HCSocialPostComposer>(page)->setPrepopulatedText(lead, message);
        });
    }
    std::shared_ptr<platform::ui::TextField> messageField() const
    {
        return platform::ui::Driver::findFirst<platform::ui::TextField>(topPage()->view());
    }
    bool sendIsOn() const { return topPage()->navigationItem()->rightBarButtonItem()->isEnabled(); }
    std::vector<std::string> alerts() const
    {
        std::vector<std::string> out;
        for (const auto& panel : platform::ui::AlertPanel::shownPanels())
            if (auto alert = platform::as<platform::ui::AlertView>(panel)) out.push_back(alert->message());
        return out;
    }
    // The networks of the last post, and how the server answered it.
    std::vector<std::string> lastNetworks(int* status = nullptr) const
    {
        const auto entries = server->log().entries();
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
            if (entry->request.path != kPosts) continue;
            if (status) *status = entry->status;
            return entry->request.paramValues("networks[]");
        }
        return {};
    }
    std::string title() const { return topPage()->title(); }
};

TEST_F(ComposerPagesTest, TheMessageHoldsWhatTheLeadLeavesOf120CountedOnTheFinalText)
{
    link({"twitter"}, {"twitter"});
    openComposer(std::string(101, 'a'), std::string(30, 'm'));
    EXPECT_TRUE(platform::ui::Driver::findByText(std::string(100, 'a')));
    auto field = messageField();
    EXPECT_EQ(field->text(), std::string(20, 'm'));
    EXPECT_EQ(driver->typeText(field, "x"), 0u);
    field->deleteBackward();
    EXPECT_EQ(driver->typeText(field, "yz"), 1u);
    // A change that starts early but leaves the text too long is refused.
    auto delegate = field->delegate();
    EXPECT_EQ(delegate->textFieldShouldChangeCharactersInRange(*field, {0, 0}, "long paste"), false);
    EXPECT_EQ(delegate->textFieldShouldChangeCharactersInRange(*field, {0, 5}, ""), true);

    // A shorter lead given later leaves room; a longer one cuts the message.
    auto page = topPageAs<HCSendSocialNotificationController>();
    page->setPrepopulatedText(std::nullopt, std::string(130, 'n'));
    EXPECT_EQ(field->text(), std::string(120, 'n'));
    page->setPrepopulatedText(std::string(90, 'b'), std::nullopt);
    EXPECT_EQ(field->text(), std::string(30, 'n'));
}

TEST_F(ComposerPagesTest, NetworksComeTwitterFirstAndSendFollowsTheTicks)
{
    link({"twitter", "fbconnect"}, {"twitter", "fbconnect"});
    openComposer(std::string("I cleared level 3"), std::string("Beat that"));
    const auto rows = screenRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], "Post to Twitter");
    EXPECT_EQ(rows[2], "Post to Facebook");
    EXPECT_TRUE(sendIsOn());
    ASSERT_TRUE(tapRow("Post to Twitter"));
    EXPECT_TRUE(sendIsOn());
    ASSERT_TRUE(tapRow("Post to Facebook"));
    EXPECT_FALSE(sendIsOn()) << "no network ticked";
    ASSERT_TRUE(tapRow("Post to Facebook"));
    ASSERT_TRUE(tapRow("Post to Twitter"));
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    settle();
    EXPECT_EQ(lastNetworks(), (std::vector<std::string>{"Twitter", "Fbconnect"}));
    EXPECT_EQ(lastParam(kPosts, "msg"), "I cleared level 3  Beat that");
    // Pushed on a page, the composer goes back to it.
    EXPECT_NE(title(), "Post");
    EXPECT_TRUE(HalcyonDashboard::getActiveNavigationController());
}

TEST_F(ComposerPagesTest, WithNothingLinkedTheRowsOfferTheLoginsAndFacebookAsksLeaveToPost)
{
    link({"http_basic"}, {});
    openComposer(std::string("Lead"), std::nullopt);
    EXPECT_EQ(screenRows(), (Rows{"Connect Twitter or Facebook below to post about this game.", "Connect to Twitter",
                                  "Connect to Facebook"}));
    EXPECT_FALSE(sendIsOn());
    ASSERT_TRUE(tapRow("Connect to Facebook"));
    EXPECT_EQ(title(), "Facebook");
    ASSERT_TRUE(tapButton("Connect Facebook"));
    waitForIdle();
    EXPECT_EQ(title(), "Post");
    EXPECT_EQ(lastParam("users_credentials/link.xml", "posting_permission"), "1");
    EXPECT_EQ(screenRows()[2], "Post to Facebook");
    EXPECT_TRUE(sendIsOn());
}

TEST_F(ComposerPagesTest, AFailedSendKeepsSendOffUntilARowIsTapped)
{
    link({"twitter"}, {"twitter"});
    openComposer(std::string("Lead"), std::nullopt);
    server->faults().injectFor("POST", kPosts, localserver::Fault::reply(500, "down"));
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    EXPECT_TRUE(alerts().empty()) << "the page says nothing of its own" << (alerts().empty() ? "" : alerts()[0]);
    EXPECT_FALSE(sendIsOn());
    EXPECT_EQ(title(), "Post");
    ASSERT_TRUE(tapRow("Lead"));
    EXPECT_TRUE(sendIsOn());

    // The credentials list failing takes the loading screen down.
    server->faults().injectFor("GET", "users_credentials", localserver::Fault::reply(500, "down"));
    topPageAs<HCSendSocialNotificationController>()->reloadDataFromServer();
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
}

TEST_F(ComposerPagesTest, ASendTheProviderDropsTakesTheLoadingScreenDownAndKeepsSendOff)
{
    link({"twitter"}, {"twitter"});
    openComposer(std::string("Lead"), std::nullopt);
    pagetest::dropRequestsMadeBy([&] {
        ASSERT_TRUE(tapRightBarButton());
        settle();
        EXPECT_TRUE(showsLoadingScreen());
        EXPECT_FALSE(sendIsOn());
    });
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_TRUE(alerts().empty());
    EXPECT_FALSE(sendIsOn());
    EXPECT_EQ(requestsTo(kPosts), 0u);
    EXPECT_EQ(title(), "Post");
}

TEST_F(ComposerPagesTest, LeaveAskedOnBothNetworksRunsBothScreensFacebookFirstThenSendsAgain)
{
    link({"twitter", "fbconnect"}, {});
    openComposer(std::string("Lead"), std::nullopt);
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    EXPECT_EQ(title(), "Facebook");
    ASSERT_TRUE(tapButton("Allow Posting"));
    waitForIdle();
    EXPECT_EQ(title(), "Twitter");
    driver->typeText(platform::ui::Driver::findAll<platform::ui::TextField>(topPage()->view())[0], "ann");
    driver->typeText(platform::ui::Driver::findAll<platform::ui::TextField>(topPage()->view())[1], "secret");
    ASSERT_TRUE(tapButton("Allow Posting"));
    // The post goes again once the screen has reported back.
    ASSERT_TRUE(testsupport::runMainUntil([this] { return requestsTo(kPosts) == 2; }));
    settle();
    waitForIdle();
    settle();
    int status = 0;
    EXPECT_EQ(lastNetworks(&status), (std::vector<std::string>{"Twitter", "Fbconnect"}));
    EXPECT_EQ(status, 200);
    EXPECT_EQ(lastParam(kPosts, "msg"), "Lead  ") << "the two blanks stay with no message";
    EXPECT_NE(title(), "Post");
}

TEST_F(ComposerPagesTest, EachRefusalStartsANewRoundAndCancelClosesWithoutSending)
{
    link({"fbconnect"}, {});
    openComposer(std::string("Lead"), std::nullopt);
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    server->faults().injectFor("POST", kPosts, localserver::Fault::reply(500, "down"));
    ASSERT_TRUE(tapButton("Allow Posting"));
    ASSERT_TRUE(testsupport::runMainUntil([this] { return requestsTo(kPosts) == 2; }));
    waitForIdle();
    EXPECT_EQ(title(), "Post");

    // The leave was taken back: the next refusal asks again from the start.
    link({"fbconnect"}, {});
    ASSERT_TRUE(tapRow("Lead"));
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    EXPECT_EQ(title(), "Facebook");
    const auto posts = requestsTo(kPosts);
    ASSERT_TRUE(tapRightBarButton());  // "Cancel"
    waitForIdle();
    EXPECT_NE(title(), "Post");
    EXPECT_NE(title(), "Facebook");
    EXPECT_EQ(requestsTo(kPosts), posts);
}

TEST_F(ComposerPagesTest, TheGamesLaunchClosesTheDashboardOnceSentWhateverComposerOpensLater)
{
    link({"twitter"}, {"twitter"});
    Halcyon::launchDashboardWithSocialNotificationWithPrepopulatedText(std::string("I scored 900"), std::nullopt,
                                                                       std::nullopt, std::nullopt);
    settle();
    waitForIdle();
    EXPECT_EQ(title(), "Post");
    EXPECT_TRUE(platform::ui::Driver::findByText("I scored 900"));
    // Another composer loading its view leaves this one's way of closing alone.
    HCControllerLoader::load(HCSocialPostComposer::kLoaderName)->view();
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    settle();
    EXPECT_EQ(lastParam(kPosts, "image_id"), "game_icon");
    EXPECT_FALSE(Halcyon::isShowingFullScreen());
}

}  // namespace

namespace {

TEST_F(ComposerPagesTest, ANamedImageShowsWhereTheServiceKeepsItAndAFailedLookupTheGamesIcon)
{
    link({"twitter"}, {"twitter"});
    openPage("SendSocialNotification", [](const platform::ui::ViewControllerPtr& page) {
        auto composer = std::dynamic_pointer_cast<HCSendSocialNotificationController>(page);
        composer->setPrepopulatedText(std::string("Trophy"), std::nullopt);
        composer->setImageName("trophy", std::nullopt);
    });
    const std::string served = std::string("images/notifications/") + localserver::defaults::kGameId + "/trophy";
    EXPECT_EQ(rowPictures("Trophy").front(), served);

    server->faults().injectFor(
        "GET", std::string("client_applications/") + localserver::defaults::kGameId + "/notification_images/show.xml",
        localserver::Fault::reply(500, "down"));
    topPageAs<HCSendSocialNotificationController>()->setImageName("medal", std::nullopt);
    waitForIdle();
    EXPECT_EQ(rowPictures("Trophy").front(), "images/game_1.png");
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    EXPECT_EQ(lastParam(kPosts, "image_name"), "medal");
}

TEST_F(ComposerPagesTest, AskedForOneUnlinkedNetworkThePageOpensItsLoginAtOnce)
{
    link({"fbconnect"}, {"fbconnect"});
    openPage("SendSocialNotification", [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCSendSocialNotificationController>(page)->setUseNetwork(1);
    });
    settle();
    EXPECT_EQ(title(), "Twitter");
}

// Once the player went back from the composer, his message went with it: a
// post refused then is told on the page he is on, quoting the message.
TEST_F(ComposerPagesTest, APostRefusedAfterThePlayerWentBackIsToldOnThePageHeIsOn)
{
    link({"twitter"}, {"twitter"});
    openComposer(std::string("Lead"), std::nullopt);
    driver->typeText(messageField(), "Beat my score");
    const auto below = sendThenLeaveBefore(HeldSendEnd::Refused, kPosts, [&] { return tapRightBarButton(); });
    ASSERT_TRUE(below);
    EXPECT_EQ(topPage(), below);
    EXPECT_EQ(alerts(), std::vector<std::string>{"Your message \"Beat my score\" was not sent: busy"});
}

}  // namespace
