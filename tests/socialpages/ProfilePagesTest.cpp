// My Halcyon and the profile pages as the player works them: the tab and
// its badge, the own and another player's profile, following, and the
// failures that must take the loading screen down.

#include "core/device/HCDevice.h"
#include "core/device/HCParentalControls.h"
#include "core/halcyon/Halcyon.h"
#include "core/xp/HCSession.h"
#include "core/resources/HCResource.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HCPlayerBannerCell.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/highscores/HCHighScoreController.h"
#include "gamepages/support/DroppedRequests.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Fixtures.h"
#include "localserver/XmlWriter.h"
#include "localserver/routes/ConversationRoutes.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertPanel.h"
#include "platform/ui/AlertView.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "social/abuse/HCAbuseReporter.h"
#include "socialpages/conversations/HCConversationController.h"
#include "socialpages/forums/HCForumCells.h"
#include "socialpages/forums/HCForumThreadViewController.h"
#include "socialpages/picture/HCSelectProfilePictureController.h"
#include "socialpages/profile/HCHelpController.h"
#include "socialpages/profile/HCMyHalcyonController.h"
#include "socialpages/profile/HCProfileController.h"
#include "uiframework/HCControllerLoader.h"

namespace {

using namespace localserver::defaults;

std::shared_ptr<HCUser> player(const std::string& id, const std::string& name)
{
    auto user = HCResource::initWithId<HCUser>(id);
    user->setName(name);
    return user;
}

class ProfilePagesTest : public pagetest::PageHarness {
protected:
    void SetUp() override
    {
        PageHarness::SetUp();
        usePagesAsTabs({{"GameProfile", "Now Playing"}, {"MyHalcyon", "My Halcyon"}});
    }
    std::shared_ptr<HCMyHalcyonController> openMyHalcyon()
    {
        Halcyon::launchDashboardWithDelegate(nullptr, std::string("MyHalcyon"), {});
        settle();
        waitForIdle();
        return topPageAs<HCMyHalcyonController>();
    }
    std::shared_ptr<HCProfileController> showProfile(const std::shared_ptr<HCUser>& user)
    {
        HCProfileController::showProfileForUser(user);
        settle();
        waitForIdle();
        return topPageAs<HCProfileController>();
    }
    std::string screenText() const { return platform::ui::Driver::labelsText(topPage()->view()); }
    // The player banner the dashboard's frame shows now; nil when none.
    std::shared_ptr<HCPlayerBannerCell> frameBanner() const
    {
        auto frame =
            std::dynamic_pointer_cast<HCFramedNavigationController>(HalcyonDashboard::getActiveNavigationController());
        return frame ? std::dynamic_pointer_cast<HCPlayerBannerCell>(frame->featuredBanner()) : nullptr;
    }
    // A finger on the middle of a part of the frame's banner: true when the banner took it.
    bool tapBanner(const platform::ui::ViewPtr& part)
    {
        auto banner = frameBanner();
        auto window = part ? part->window() : nullptr;
        if (!banner || !window) return false;
        const auto inWindow = part->convertPointTo(part->bounds().center(), window);
        const platform::ui::Point onScreen(inWindow.x - window->bounds().minX() + window->frame().minX(),
                                           inWindow.y - window->bounds().minY() + window->frame().minY());
        auto hit = driver->tapAt(onScreen);
        return hit && hit->isDescendantOf(banner);
    }
    static std::vector<std::string> alertMessages()
    {
        std::vector<std::string> out;
        for (const auto& alert : platform::ui::AlertView::visibleAlerts()) out.push_back(alert->message());
        return out;
    }
};

TEST_F(ProfilePagesTest, MyHalcyonIsTheTabsPageAndItsBadgeAddsPendingFriendsToTheInbox)
{
    startOnline();
    auto hub = openMyHalcyon();
    ASSERT_TRUE(hub) << "the \"My Halcyon\" tab shows the page";
    EXPECT_EQ(requestsTo("profiles/viewed_own"), 1u);
    Halcyon::setUnreadIMCount(1, 1, 1);
    Halcyon::setPendingFriendsCount(2);
    EXPECT_EQ(hub->friendsBadge()->valueText(), "2");
    EXPECT_EQ(hub->inboxBadge()->valueText(), "3");
    EXPECT_EQ(hub->owningTabBarItem()->tabBarItem()->badgeValue(), "5");

    // The frame's banner shows Ann, under the navigation bar; a touch, even
    // on her picture, opens her own profile: one friend, one game, both singular.
    auto banner = frameBanner();
    ASSERT_TRUE(banner);
    EXPECT_EQ(banner->nameLabel()->text(), kUserName);
    EXPECT_GE(banner->frame().origin.y, hub->navigationController()->navigationBar()->frame().maxY());
    ASSERT_TRUE(tapBanner(banner->pictureView()));
    settle();
    waitForIdle();
    auto own = topPageAs<HCProfileController>();
    ASSERT_TRUE(own);
    EXPECT_EQ(own->title(), std::string(kUserName) + "'s Profile");
    EXPECT_EQ(own->friendsSubtextLabel()->text(), "You have 1 friend");
    EXPECT_EQ(own->gamesSubtextLabel()->text(), "You have played 1 game");
    EXPECT_TRUE(own->actionPanelView()->isHidden()) << "no following oneself";
    EXPECT_FALSE(tapButton("Report Player")) << "nor reporting oneself";
    // On the own profile the banner's picture leads to the picture page.
    ASSERT_TRUE(frameBanner());
    EXPECT_EQ(frameBanner()->nameLabel()->text(), kUserName);
    ASSERT_TRUE(tapBanner(frameBanner()->nameLabel()));
    settle();
    EXPECT_EQ(topPage(), own) << "the rest of the banner leads nowhere";
    ASSERT_TRUE(tapBanner(frameBanner()->pictureView()));
    settle();
    waitForIdle();
    EXPECT_TRUE(topPageAs<HCSelectProfilePictureController>());
    ASSERT_TRUE(driver->tapBack());
    settle();
    waitForIdle();

    ASSERT_TRUE(driver->tapBack());
    settle();
    EXPECT_EQ(frameBanner()->nameLabel()->text(), kUserName) << "back on the hub, its banner again";
    ASSERT_TRUE(tapButton("Help"));
    auto help = topPageAs<HCHelpController>();
    ASSERT_TRUE(help);
    EXPECT_NE(help->pageURL().find("help.iphone"), std::string::npos);
}

TEST_F(ProfilePagesTest, TheServiceHearsOfTheOwnPageOnceTheDashboardMadeIt)
{
    startOnline();
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    waitForIdle();
    waitForReplies();
    EXPECT_EQ(requestsTo("profiles/viewed_own"), 1u) << "the \"My Halcyon\" tab's page is made with the dashboard";
    ASSERT_TRUE(driver->tapTab("My Halcyon"));
    settle();
    waitForIdle();
    ASSERT_TRUE(topPageAs<HCMyHalcyonController>());
    waitForReplies();
    EXPECT_EQ(requestsTo("profiles/viewed_own"), 1u);
}

TEST_F(ProfilePagesTest, ClosedUserContentHidesTheInboxAndMovesSettingsAndHelpUp)
{
    disallowUserGeneratedContent();
    startOnline();
    auto hub = openMyHalcyon();
    ASSERT_TRUE(hub);
    EXPECT_TRUE(hub->inboxContainer()->isHidden());
    EXPECT_EQ(hub->settingsContainer()->frame().origin.y, hub->inboxContainer()->frame().origin.y);
    EXPECT_EQ(hub->helpContainer()->frame().origin.y,
              hub->settingsContainer()->frame().origin.y + hub->settingsContainer()->frame().size.height);
    auto ben = showProfile(player(kOtherUserId, kOtherUserName));
    ASSERT_TRUE(ben);
    EXPECT_TRUE(ben->imButton()->isHidden()) << "no instant messages either";
}

TEST_F(ProfilePagesTest, UserContentAllowedAgainPutsTheInboxBackOnTheNextAppearance)
{
    startOnline();
    auto hub = openMyHalcyon();
    ASSERT_TRUE(hub);
    const auto settings = hub->settingsContainer()->frame();
    const auto help = hub->helpContainer()->frame();
    auto comeBackToTheHub = [&] {
        ASSERT_TRUE(tapButton("Help"));
        settle();
        ASSERT_TRUE(driver->tapBack());
        settle();
    };
    // The device's parental controls close user content, then open it again.
    if (!Halcyon::session()->currentDevice()) Halcyon::session()->establishDeviceSession();
    ASSERT_TRUE(testsupport::runMainUntil([] { return Halcyon::session()->currentDevice() != nullptr; }));
    auto controls = std::make_shared<HCParentalControls>();
    controls->setEnabled(true);
    Halcyon::session()->currentDevice()->setParentalControls(controls);
    comeBackToTheHub();
    ASSERT_TRUE(hub->inboxContainer()->isHidden());
    ASSERT_NE(hub->settingsContainer()->frame(), settings);
    Halcyon::session()->currentDevice()->setParentalControls(nullptr);
    comeBackToTheHub();
    EXPECT_FALSE(hub->inboxContainer()->isHidden());
    EXPECT_EQ(hub->settingsContainer()->frame(), settings);
    EXPECT_EQ(hub->helpContainer()->frame(), help);
}

TEST_F(ProfilePagesTest, ProfilesCountFriendsAndGamesAndAreNotPushedTwice)
{
    startOnline();
    openMyHalcyon();
    auto ben = showProfile(player(kOtherUserId, kOtherUserName));
    ASSERT_TRUE(ben);
    EXPECT_EQ(ben->title(), std::string(kOtherUserName) + "'s Profile");
    ASSERT_TRUE(frameBanner());
    EXPECT_EQ(frameBanner()->nameLabel()->text(), kOtherUserName);
    ASSERT_TRUE(tapBanner(frameBanner()->pictureView()));
    settle();
    EXPECT_EQ(topPage(), ben) << "another player's picture is not the local player's to change";
    EXPECT_EQ(ben->friendsSubtextLabel()->text(), std::string(kOtherUserName) + " has not added any friends");
    EXPECT_EQ(ben->gamesSubtextLabel()->text(), std::string(kOtherUserName) + " has played 2 games");
    EXPECT_EQ(lastParam(std::string("profiles/") + kOtherUserId + "/", "compared_to_user_id"), "me");
    const auto depth = HalcyonDashboard::getActiveNavigationController()->viewControllers().size();
    EXPECT_FALSE(tapButton("Friends") && topPage() != ben) << "a total of 0 opens nothing";
    HCProfileController::showProfileForUser(player(kOtherUserId, kOtherUserName));
    settle();
    EXPECT_EQ(HalcyonDashboard::getActiveNavigationController()->viewControllers().size(), depth);
    EXPECT_EQ(topPage(), ben);

    ASSERT_TRUE(tapButton("Report Player"));
    std::vector<std::string> asked;
    for (const auto& panel : platform::ui::AlertPanel::shownPanels())
        if (auto sheet = std::dynamic_pointer_cast<platform::ui::ActionSheet>(panel)) asked.push_back(sheet->title());
    EXPECT_EQ(asked, std::vector<std::string>{HCAbuseReporter::kConfirmTitle});
    ASSERT_TRUE(driver->answerSheet("Cancel"));

    // The own profile with neither friends nor games.
    auto none = [] {
        localserver::ResourceList empty;
        empty.header = localserver::paginate(0, 1, 10);
        return empty;
    };
    server->faults().injectFor(
        "GET", "profiles/me/",
        localserver::Fault::reply(200,
                                  localserver::writeSectionedReply({{"Friends", "friends", none()}, {"Games", "games", none()}}),
                                  "application/xml"),
        1);
    auto own = showProfile(Halcyon::localUser());
    ASSERT_TRUE(own);
    EXPECT_EQ(own->friendsSubtextLabel()->text(), "You have not added any friends");
    EXPECT_EQ(own->gamesSubtextLabel()->text(), "You have not played any games");
}

TEST_F(ProfilePagesTest, FollowingAFollowerNeverTakesThePendingCountBelowZero)
{
    startOnline();
    // Dora follows Ann; Ann does not follow her back.
    auto dora = *server->accounts().user("1005");
    dora.friends.push_back(kUserId);
    server->accounts().addUser(dora);
    openMyHalcyon();
    auto shown = player("1005", "Dora");
    shown->setFollowsLocalUserAsString(std::string("true"));
    auto page = showProfile(shown);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->toggleFriendButton()->currentTitle().value_or(""), "Add Friend");
    Halcyon::setPendingFriendsCount(0);
    ASSERT_TRUE(tapButton("Add Friend"));
    waitForIdle();
    EXPECT_EQ(requestsTo("users/1005/following.xml"), 1u);
    EXPECT_EQ(page->toggleFriendButton()->currentTitle().value_or(""), "Remove Friend");
    EXPECT_EQ(Halcyon::pendingFriendsCount(), 0);
    ASSERT_TRUE(tapButton("Remove Friend"));
    waitForIdle();
    EXPECT_EQ(Halcyon::pendingFriendsCount(), 1) << "she follows Ann: a request again";
}

TEST_F(ProfilePagesTest, FailedLoadsAndFollowsTakeTheLoadingScreenDownAndChangeNothing)
{
    startOnline();
    openMyHalcyon();
    server->faults().injectFor("GET", "profiles/1005/", localserver::Fault::reply(500), 1);
    auto page = showProfile(player("1005", "Dora"));
    ASSERT_TRUE(page);
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_EQ(page->friendsSubtextLabel()->text(), "");
    // Shown again, it asks again.
    showProfile(player(kOtherUserId, kOtherUserName));
    ASSERT_TRUE(driver->tapBack());
    settle();
    waitForIdle();
    ASSERT_EQ(topPage(), page);
    EXPECT_EQ(requestsTo("profiles/1005/"), 2u);
    EXPECT_EQ(page->friendsSubtextLabel()->text(), "Dora has 1 friend");

    server->faults().injectFor("POST", "users/1005/following.xml", localserver::Fault::reply(500), 1);
    ASSERT_TRUE(tapButton("Add Friend"));
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_EQ(page->toggleFriendButton()->currentTitle().value_or(""), "Add Friend");
}

TEST_F(ProfilePagesTest, RequestsTheProviderDropsTakeTheLoadingScreenDownAndChangeNothing)
{
    localserver::registerConversationRoutes(*server, forums);
    startOnline();
    openMyHalcyon();
    std::shared_ptr<HCProfileController> ben;
    pagetest::dropRequestsMadeBy([&] {
        HCProfileController::showProfileForUser(player(kOtherUserId, kOtherUserName));
        settle();
        ben = topPageAs<HCProfileController>();
        ASSERT_TRUE(ben);
        EXPECT_TRUE(ben->isShowingLoadingScreen());
    });
    ASSERT_TRUE(ben);
    waitForIdle();
    EXPECT_FALSE(ben->isShowingLoadingScreen());
    EXPECT_EQ(ben->friendsSubtextLabel()->text(), "");

    // Shown again, it asks again and fills in.
    showProfile(player("1005", "Dora"));
    ASSERT_TRUE(driver->tapBack());
    settle();
    waitForIdle();
    ASSERT_EQ(topPage(), ben);
    ASSERT_NE(ben->friendsSubtextLabel()->text(), "");

    pagetest::dropRequestsMadeBy([&] {
        ASSERT_TRUE(tapButton("Add Friend"));
        EXPECT_TRUE(ben->isShowingLoadingScreen());
    });
    waitForIdle();
    EXPECT_FALSE(ben->isShowingLoadingScreen());
    EXPECT_EQ(ben->toggleFriendButton()->currentTitle().value_or(""), "Add Friend");

    pagetest::dropRequestsMadeBy([&] {
        ASSERT_TRUE(tapButton("Send IM"));
        EXPECT_TRUE(ben->isShowingLoadingScreen());
    });
    waitForIdle();
    EXPECT_FALSE(ben->isShowingLoadingScreen());
    EXPECT_EQ(topPage(), ben);
    EXPECT_EQ(alertMessages(), std::vector<std::string>{HCProfileController::kConversationErrorMessage});
    EXPECT_EQ(requestsTo("discussions.xml"), 0u);
}

TEST_F(ProfilePagesTest, AScoreAndAForumPostOpenTheirPlayersProfile)
{
    startOnline();
    seedScore(kOtherUserId, "1", 900);
    openPage("HighScore", [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCHighScoreController>(page)->setLeaderboard(HCLeaderboardService::getLeaderboard("1"));
    });
    ASSERT_TRUE(tapRow(kOtherUserName));
    waitForIdle();
    auto fromScore = topPageAs<HCProfileController>();
    ASSERT_TRUE(fromScore);
    EXPECT_EQ(fromScore->title(), std::string(kOtherUserName) + "'s Profile");
    ASSERT_TRUE(frameBanner());
    ASSERT_TRUE(driver->tapBack());
    settle();
    EXPECT_FALSE(frameBanner()) << "the scores have no banner";

    // Level 1 tips: Ben's discussion.
    auto discussion = HCResource::initWithId<HCForumThread>(std::string("201"));
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    navigation->pushViewController(HCForumThreadViewController::threadView(discussion, nullptr), true);
    settle();
    waitForIdle();
    auto thread = topPageAs<HCForumThreadViewController>();
    ASSERT_TRUE(thread);
    std::shared_ptr<HCForumPostCell> post;
    for (int row = 0; row < thread->tableView()->numberOfRowsInSection(0) && !post; ++row)
        post = std::dynamic_pointer_cast<HCForumPostCell>(thread->tableView()->cellForRowAtIndexPath({0, row}));
    ASSERT_TRUE(post && post->author());
    ASSERT_TRUE(driver->tap(post->authorButton()));
    settle();
    waitForIdle();
    auto fromPost = topPageAs<HCProfileController>();
    ASSERT_TRUE(fromPost);
    EXPECT_NE(fromPost, fromScore);
    EXPECT_EQ(fromPost->title(), post->author()->name().value_or("") + "'s Profile");
}

TEST_F(ProfilePagesTest, TheInstantMessageButtonOpensTheConversationOrSaysItCannot)
{
    localserver::registerConversationRoutes(*server, forums);
    startOnline();
    openMyHalcyon();
    auto ben = showProfile(player(kOtherUserId, kOtherUserName));
    ASSERT_TRUE(ben);
    EXPECT_FALSE(ben->imButton()->isHidden());

    server->faults().injectFor("POST", "discussions.xml", localserver::Fault::reply(500), 1);
    ASSERT_TRUE(tapButton("Send IM"));
    waitForIdle();
    EXPECT_EQ(topPage(), ben);
    EXPECT_EQ(alertMessages(), std::vector<std::string>{HCProfileController::kConversationErrorMessage});
    ASSERT_TRUE(driver->answerAlert("Ok"));

    ASSERT_TRUE(tapButton("Send IM"));
    waitForIdle();
    auto conversation = topPageAs<HCConversationController>();
    ASSERT_TRUE(conversation);
    EXPECT_EQ(lastParam("discussions.xml", "discussion[other_user_id]"), kOtherUserId);
    EXPECT_TRUE(conversation->conversationId());
    ASSERT_TRUE(conversation->conversationUser());
    EXPECT_EQ(conversation->conversationUser()->resourceId(), kOtherUserId);
}

TEST_F(ProfilePagesTest, AProfileAskedByIdOpensOrSaysThePlayerCannotBeFound)
{
    startOnline();
    openMyHalcyon();
    HCProfileController::showProfileForUserId(std::string(kOtherUserId));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return topPageAs<HCProfileController>() != nullptr; }));
    settle();
    waitForIdle();
    EXPECT_EQ(topPageAs<HCProfileController>()->title(), std::string(kOtherUserName) + "'s Profile");

    const auto depth = HalcyonDashboard::getActiveNavigationController()->viewControllers().size();
    HCProfileController::showProfileForUserId(std::string("9999"));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !alertMessages().empty(); }));
    EXPECT_EQ(alertMessages(), std::vector<std::string>{HCProfileController::kFailedToLoadUserMessage});
    EXPECT_EQ(HalcyonDashboard::getActiveNavigationController()->viewControllers().size(), depth);
}

TEST_F(ProfilePagesTest, AProfileByIdWhoseReplyHoldsNoPlayerSaysThePlayerCannotBeFound)
{
    startOnline();
    openMyHalcyon();
    const auto depth = HalcyonDashboard::getActiveNavigationController()->viewControllers().size();
    localserver::ResourceList credentialOnly;
    credentialOnly.resources.push_back(
        localserver::XmlNode::parent("http_basic_credential").add("id", "5").add("email", "ben@example.com"));
    for (const auto& reply : {localserver::ResourceList{}, credentialOnly}) {
        server->faults().injectFor("GET", std::string("users/") + kOtherUserId + "/",
                                   localserver::Fault::reply(200, localserver::writeFlatReply(reply), "application/xml"));
        HCProfileController::showProfileForUserId(std::string(kOtherUserId));
        waitForReplies();
        settle();
        EXPECT_EQ(alertMessages(), std::vector<std::string>{HCProfileController::kFailedToLoadUserMessage});
        EXPECT_EQ(HalcyonDashboard::getActiveNavigationController()->viewControllers().size(), depth);
        for (const auto& alert : platform::ui::AlertView::visibleAlerts()) alert->dismissWithClickedButtonIndex(0, false);
        settle();
    }
}

TEST_F(ProfilePagesTest, APlayerReportedFromTheirForumPostIsReportedWithThePost)
{
    startOnline();
    openMyHalcyon();
    // Level 1 tips: Ben's discussion.
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    navigation->pushViewController(
        HCForumThreadViewController::threadView(HCResource::initWithId<HCForumThread>(std::string("201")), nullptr),
        true);
    settle();
    waitForIdle();
    auto thread = topPageAs<HCForumThreadViewController>();
    ASSERT_TRUE(thread);
    std::optional<platform::ui::IndexPath> postRow;
    for (int row = 0; row < thread->tableView()->numberOfRowsInSection(0) && !postRow; ++row)
        if (platform::as<HCForumPost>(thread->getResourceAtIndexPath({0, row}))) postRow = platform::ui::IndexPath{0, row};
    ASSERT_TRUE(postRow);
    auto post = platform::as<HCForumPost>(thread->getResourceAtIndexPath(*postRow));
    ASSERT_TRUE(driver->selectRow(thread->tableView(), *postRow));
    settle();
    waitForIdle();
    auto profile = topPageAs<HCProfileController>();
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile->getPageContextUser()->resourceId(), post->author()->resourceId());
    EXPECT_EQ(profile->reportUserForumPost(), post);

    ASSERT_TRUE(tapButton("Report Player"));
    ASSERT_TRUE(driver->answerSheet("Yes, Report"));
    settle();
    waitForIdle();
    const auto path = "users/" + post->author()->resourceId().value_or("") + "/abuse_flags.xml";
    EXPECT_EQ(requestsTo(path), 1u);
    EXPECT_EQ(lastParam(path, "abuse_flag[abuse_type]"), "forum");
    EXPECT_EQ(lastParam(path, "abuse_flag[flaggable_type]"), "Post");
    EXPECT_EQ(lastParam(path, "abuse_flag[flaggable_id]"), post->resourceId());
}

}  // namespace
