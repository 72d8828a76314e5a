// Posts to linked networks and abuse reports over real HTTP against the
// local server: the networks by name, the image field by type, the refused
// post, the public class's callbacks, and the reporter's sheet, loading
// screen and failures.
#include <gtest/gtest.h>

#include "core/clientstate/HCClientState.h"
#include "e2e/support/LiveServerTest.h"
#include "localserver/Fixtures.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Driver.h"
#include "social/abuse/HCAbuseReporter.h"
#include "social/socialposts/HCImageUrl.h"
#include "social/socialposts/HCSocialNotificationApi.h"
#include "social/socialposts/HCSocialNotificationService.h"
#include "uiframework/HCViewController.h"

namespace {

using namespace localserver::defaults;
using Pairs = std::vector<std::pair<std::string, std::string>>;

struct PostRecorder : HCSocialNotificationApiDelegate {
    std::vector<std::string> calls;
    void didSendSocialNotification() override { calls.push_back("sent"); }
    void didFailSendSocialNotification() override { calls.push_back("failed"); }
};

class ReportingPage final : public HCViewController {
public:
    void showLoadingScreen() override { screens.push_back("shown"); }
    void hideLoadingScreen() override { screens.push_back("hidden"); }
    std::vector<std::string> screens;
};

class SocialPostsEndToEndTest : public LiveServerTest {
protected:
    void SetUp() override
    {
        LiveServerTest::SetUp();
        HCSocialNotificationService::initializeService();
        HCSocialNotificationApi::setDelegate(&recorder);
        HCClientStateQueries queries;
        queries.clientApplicationId = [] { return std::optional<std::string>(kGameId); };
        HCClientState::setQueries(queries);
        // The player linked both networks and let the game post to them.
        auto user = server->accounts().user(kUserId);
        user->credentials = {"http_basic", "fbconnect", "twitter"};
        user->postingAllowed = {"fbconnect", "twitter"};
        server->accounts().addUser(*user);
    }
    void TearDown() override
    {
        for (const auto& panel : platform::ui::AlertPanel::shownPanels()) driver.answerAlert(platform::as<platform::ui::AlertView>(panel), 0);
        HCClientState::setQueries({});
        HCSocialNotificationApi::setDelegate(nullptr);
        HCSocialNotificationService::shutdownService();
        LiveServerTest::TearDown();
    }

    localserver::Request last() { return server->log().entries().back().request; }

    PostRecorder recorder;
    platform::ui::Driver driver;
};

TEST_F(SocialPostsEndToEndTest, NetworksGoByNameInOrderAndTheImageFieldFollowsItsType)
{
    auto named = HCSocialNotification::initWithText(std::string("Level 12 cleared"), std::string("trophy"),
                                                    std::string(""));
    named->addSendToNetwork(1);
    named->addSendToNetwork(0);
    named->addSendToNetwork(1);
    Outcome posted;
    ASSERT_TRUE(HCSocialNotificationService::sendSocialNotification(named, posted.success(), posted.failed()));
    ASSERT_TRUE(waitFor(posted));
    ASSERT_FALSE(posted.failure);
    const auto sent = last().params;
    EXPECT_EQ(Pairs(sent.begin(), sent.end()), (Pairs{{"msg", "Level 12 cleared"},
                                                      {"image_type", "notification_images"},
                                                      {"networks[]", "Twitter"},
                                                      {"networks[]", "Fbconnect"},
                                                      {"image_name", "trophy"}}))
        << "an empty link is none, a repeated network is sent once";

    auto byId = HCSocialNotification::initWithText(std::string("Top score"), std::string("achievement"),
                                                   std::string("77"), std::string("http://example.com/g"));
    byId->addSendToNetwork(0);
    byId->addSendToNetwork(5);
    Outcome second;
    HCSocialNotificationService::sendSocialNotification(byId, second.success(), second.failed());
    ASSERT_TRUE(waitFor(second));
    EXPECT_EQ(last().paramValues("networks[]"), (std::vector<std::string>{"Fbconnect"}));
    EXPECT_EQ(last().param("image_id"), "77");
    EXPECT_FALSE(last().param("image_name"));
    EXPECT_EQ(last().param("url"), "http://example.com/g");
    // The same image by type and id, with no link.
    auto unlinked = HCSocialNotification::initWithTextImageTypeImageId(std::string("Top score"),
                                                                      std::string("achievement"), std::string("77"));
    unlinked->addSendToNetwork(1);
    Outcome third;
    HCSocialNotificationService::sendSocialNotification(unlinked, third.success(), third.failed());
    ASSERT_TRUE(waitFor(third));
    EXPECT_EQ(last().param("image_type"), "achievement");
    EXPECT_EQ(last().param("image_id"), "77");
    EXPECT_FALSE(last().param("url"));

    Outcome image;
    HCSocialNotificationService::getImageUrlForNotificationImageNamed(std::string("trophy"), image.success(),
                                                                      image.failed());
    ASSERT_TRUE(waitFor(image));
    EXPECT_EQ(last().path, "client_applications/1/notification_images/show.xml");
    ASSERT_TRUE(image.series && image.series->objects().size() == 1);
    EXPECT_EQ(platform::as<HCImageUrl>(image.series->objects()[0])->url(), "images/notifications/1/trophy");
}

TEST_F(SocialPostsEndToEndTest, APostToNoKnownNetworkIsRefusedAndReportedAsFailed)
{
    const auto before = server->log().entries().size();
    // Neither a post naming no network nor one naming only unknown ones goes out.
    auto unaddressed = HCSocialNotification::initWithText(std::string("Hello"));
    EXPECT_FALSE(HCSocialNotificationApi::publish(unaddressed));
    auto nowhere = HCSocialNotification::initWithText(std::string("Hello"));
    nowhere->addSendToNetwork(5);
    EXPECT_FALSE(HCSocialNotificationApi::publish(nowhere));
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"failed", "failed"}));
    EXPECT_EQ(server->log().entries().size(), before);

    auto somewhere = HCSocialNotification::initWithText(std::string("Hello"));
    somewhere->addSendToNetwork(1);
    ASSERT_TRUE(HCSocialNotificationApi::publish(somewhere));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return recorder.calls.size() == 3; }));
    // A reply the service refuses is a failure the game hears.
    server->faults().injectFor("POST", "notifications.xml", localserver::Fault::reply(500, "down"));
    ASSERT_TRUE(HCSocialNotificationApi::publish(somewhere));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return recorder.calls.size() == 4; }));
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"failed", "failed", "sent", "failed"}));
}

TEST_F(SocialPostsEndToEndTest, AConfirmedReportPostsTheFlagBehindTheLoadingScreen)
{
    auto page = std::make_shared<ReportingPage>();
    HCAbuseReporter::reportAbuseByUserForumPost(std::string(kOtherUserId), std::string("4001"), page);
    ASSERT_EQ(platform::ui::ActionSheet::visibleSheets().size(), 1u);
    EXPECT_EQ(platform::ui::ActionSheet::visibleSheets()[0]->title(), HCAbuseReporter::kConfirmTitle);
    ASSERT_TRUE(driver.answerSheet("Yes, Report"));
    EXPECT_EQ(page->screens, (std::vector<std::string>{"shown"}));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return HCAbuseReporter::liveReporters() == 0; }));
    EXPECT_EQ(page->screens, (std::vector<std::string>{"shown", "hidden"}));
    const auto sent = last().params;
    EXPECT_EQ(last().path, std::string("users/") + kOtherUserId + "/abuse_flags.xml");
    EXPECT_EQ(Pairs(sent.begin(), sent.end()), (Pairs{{"abuse_flag[abuse_type]", "forum"},
                                                      {"abuse_flag[flaggable_id]", "4001"},
                                                      {"abuse_flag[flaggable_type]", "Post"}}));
    EXPECT_TRUE(platform::ui::AlertPanel::shownPanels().empty());

    // Cancelled: nothing sent, no loading screen.
    const auto before = server->log().entries().size();
    auto other = std::make_shared<ReportingPage>();
    HCAbuseReporter::reportAbuseByUser(std::string(kOtherUserId), other);
    ASSERT_TRUE(driver.answerSheet("Cancel"));
    EXPECT_EQ(HCAbuseReporter::liveReporters(), 0u);
    EXPECT_TRUE(other->screens.empty());
    // No player: no sheet at all.
    HCAbuseReporter::reportAbuseByUser(std::string(""), other);
    EXPECT_TRUE(platform::ui::ActionSheet::visibleSheets().empty());
    EXPECT_EQ(HCAbuseReporter::liveReporters(), 0u);
    fence();
    EXPECT_EQ(server->log().entries().size(), before + 1);  // the fence alone
}

TEST_F(SocialPostsEndToEndTest, AReportThatCannotBeSentOrFailsEndsQuietly)
{
    auto page = std::make_shared<ReportingPage>();
    server->faults().injectFor("POST", std::string("users/") + kOtherUserId + "/abuse_flags.xml",
                               localserver::Fault::reply(500, "down"));
    HCAbuseReporter::reportAbuseByUser(std::string(kOtherUserId), page);
    ASSERT_TRUE(driver.answerSheet("Yes, Report"));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return HCAbuseReporter::liveReporters() == 0; }));
    EXPECT_EQ(page->screens, (std::vector<std::string>{"shown", "hidden"}));
    EXPECT_TRUE(platform::ui::AlertPanel::shownPanels().empty()) << "the player is told nothing either way";

    // With no provider the request is never started: the reporter ends at once.
    HCService::setProvider(nullptr);
    auto stranded = std::make_shared<ReportingPage>();
    HCAbuseReporter::reportAbuseByUser(std::string(kOtherUserId), stranded);
    ASSERT_TRUE(driver.answerSheet("Yes, Report"));
    EXPECT_EQ(HCAbuseReporter::liveReporters(), 0u);
    EXPECT_EQ(stranded->screens, (std::vector<std::string>{"shown", "hidden"}));
    EXPECT_TRUE(platform::ui::AlertPanel::shownPanels().empty());
    HCService::setProvider(provider);
}

}  // namespace
