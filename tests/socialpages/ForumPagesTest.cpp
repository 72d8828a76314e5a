// The forum pages as the player works them: topics, discussions, posts,
// following a discussion, and the form that opens or answers one.
#include "core/halcyon/Halcyon.h"
#include "core/resources/HCResource.h"
#include "SocialPagesSupport.h"
#include "gamepages/support/DroppedRequests.h"
#include "gamepages/support/PageHarness.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationController.h"
#include "dashboard/HalcyonDashboard.h"
#include "social/forums/HCForumPost.h"
#include "socialpages/chat/HCSelectChatRoomDefinitionController.h"
#include "socialpages/forums/HCForumCells.h"
#include "socialpages/forums/HCForumThreadListController.h"
#include "socialpages/forums/HCForumThreadViewController.h"
#include "socialpages/forums/HCForumTopicListController.h"
#include "socialpages/forums/HCPostNewMessage.h"
#include "uiframework/HCViewController.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"

namespace {

using socialtest::alertMessages;

bool rowsContain(const std::vector<std::string>& rows, const std::string& text)
{
    for (const auto& row : rows)
        if (row.find(text) != std::string::npos) return true;
    return false;
}

HCForumTopicPtr topic(const std::string& id, const std::string& title)
{
    auto made = HCResource::initWithId<HCForumTopic>(id);
    made->setTitle(title);
    return made;
}

HCForumThreadPtr thread(const std::string& id, const std::string& title, bool locked = false)
{
    auto made = HCResource::initWithId<HCForumThread>(id);
    made->setTitle(title);
    made->setIsLocked(locked);
    return made;
}

class ForumPagesTest : public pagetest::PageHarness {
protected:
    std::shared_ptr<HCForumThreadViewController> openThread(const HCForumThreadPtr& shown)
    {
        openPage("ForumThreadView", [&](const platform::ui::ViewControllerPtr& page) {
            auto view = std::dynamic_pointer_cast<HCForumThreadViewController>(page);
            view->setThread(shown);
            view->setTopic(topic("20", "Bugs"));
        });
        return topPageAs<HCForumThreadViewController>();
    }
};

TEST_F(ForumPagesTest, TopicsLeadToTheirDiscussionsAndTheChatTopicToTheGlobalRooms)
{
    startOnline();
    for (const char* image : {"HCIconChat.png", "HCForumTopicSmall.png"}) addBundleImage(image);
    // The service lists the chat rooms as a topic without an id.
    server->faults().injectFor("GET", "client_applications/1/forums.xml",
                               localserver::Fault::reply(200,
                                                         "<resources><topic><id>20</id><name>Bugs</name></topic>"
                                                         "<topic><name>Chat</name></topic></resources>",
                                                         "application/xml"));
    auto list = std::dynamic_pointer_cast<HCForumTopicListController>(openPage("ForumTopicList"));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->title(), "Forums & Chat");
    EXPECT_TRUE(rowsContain(screenRows(), "Bugs"));
    EXPECT_EQ(requestsTo("client_applications/1/forums.xml"), 1u);
    auto iconOf = [&](int row) {
        auto cell = std::dynamic_pointer_cast<HCForumTopicCell>(list->cellForRowAtIndexPath(*list->tableView(), {0, row}));
        return cell && cell->topicIcon()->image() ? cell->topicIcon()->image()->name() : std::string();
    };
    EXPECT_EQ(iconOf(0), "HCForumTopicSmall.png");
    EXPECT_EQ(iconOf(1), "HCIconChat.png");

    ASSERT_TRUE(tapRow("Chat"));
    settle();
    auto rooms = topPageAs<HCSelectChatRoomDefinitionController>();
    ASSERT_TRUE(rooms);
    EXPECT_TRUE(rooms->includeGlobalRooms());
    EXPECT_FALSE(rooms->includeApplicationRooms());
    EXPECT_FALSE(rooms->includeDeveloperRooms());
    waitForIdle();
    EXPECT_EQ(lastParam("chat_room_definitions.xml", "include_global_rooms"), "1");
    HalcyonDashboard::getActiveNavigationController()->popViewController(false);
    settle();

    ASSERT_TRUE(tapRow("Bugs"));
    waitForIdle();
    auto threads = topPageAs<HCForumThreadListController>();
    ASSERT_TRUE(threads);
    EXPECT_EQ(threads->title(), "Bugs");
    EXPECT_TRUE(rowsContain(screenRows(), "Paddle stuck"));
}

TEST_F(ForumPagesTest, ANewDiscussionReloadsTheListOnceWhenItReappears)
{
    startOnline();
    openPage("ForumThreadList", [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCForumThreadListController>(page)->setTopic(topic("20", "Bugs"));
    });
    const std::string path = "topics/20/discussions.xml";
    EXPECT_EQ(requestsTo(path), 1u);
    ASSERT_TRUE(tapRightBarButton());
    auto form = topPageAs<HCPostNewMessage>();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->title(), "New Post");
    form->subjectField()->setText("Ball too fast");
    form->bodyField()->setText("After level 3.");
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    settle();
    waitForIdle();
    ASSERT_TRUE(topPageAs<HCForumThreadListController>());
    EXPECT_EQ(requestsWithParam(path, "discussion[subject]", "Ball too fast"), 1u);
    // The post, then the one reload.
    EXPECT_EQ(requestsTo(path), 3u);
    EXPECT_TRUE(rowsContain(screenRows(), "Ball too fast"));

    ASSERT_TRUE(tapRow("Paddle stuck"));
    waitForIdle();
    ASSERT_TRUE(topPageAs<HCForumThreadViewController>());
    HalcyonDashboard::getActiveNavigationController()->popViewController(true);
    settle();
    waitForIdle();
    EXPECT_EQ(requestsTo(path), 3u);
}

TEST_F(ForumPagesTest, EmptyFieldsAreRefusedWithOneAlertAndNothingSent)
{
    startOnline();
    openPage("ForumThreadList", [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCForumThreadListController>(page)->setTopic(topic("20", "Bugs"));
    });
    ASSERT_TRUE(tapRightBarButton());
    ASSERT_TRUE(topPageAs<HCPostNewMessage>());
    ASSERT_TRUE(tapRightBarButton());
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{"Incomplete: Please enter a subject and try again."}));
    platform::ui::AlertPanel::shownPanels().front()->dismissWithClickedButtonIndex(0, false);

    auto reply = HCPostNewMessage::postNewMessageInThread(thread("300", "Paddle stuck"), topic("20", "Bugs"));
    HalcyonDashboard::getActiveNavigationController()->pushViewController(reply, false);
    settle();
    EXPECT_TRUE(reply->subjectView()->isHidden());
    EXPECT_DOUBLE_EQ(reply->bodyView()->frame().origin.y, 5.0);
    ASSERT_TRUE(tapRightBarButton());
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{"Incomplete: Please enter a message body and try again."}));
    EXPECT_EQ(requestsTo("topics/20/discussions.xml"), 1u);
    EXPECT_EQ(requestsTo("discussions/300/posts.xml"), 0u);
}

TEST_F(ForumPagesTest, PostTappedTwiceSendsOneDiscussionOrOneReplyAndBlankFieldsNone)
{
    startOnline();
    openPage("ForumThreadList", [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCForumThreadListController>(page)->setTopic(topic("20", "Bugs"));
    });
    const std::string discussions = "topics/20/discussions.xml";
    ASSERT_TRUE(tapRightBarButton());
    auto form = topPageAs<HCPostNewMessage>();
    ASSERT_TRUE(form);

    // Blank is as good as empty: refused here, not by the service.
    form->subjectField()->setText("   ");
    form->bodyField()->setText("After level 3.");
    ASSERT_TRUE(tapRightBarButton());
    form->subjectField()->setText("Ball too fast");
    form->bodyField()->setText(" \n\t ");
    ASSERT_TRUE(tapRightBarButton());
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{"Incomplete: Please enter a subject and try again.",
                                                         "Incomplete: Please enter a message body and try again."}));
    EXPECT_EQ(requestsTo(discussions), 1u);  // the list only
    for (const auto& panel : platform::ui::AlertPanel::shownPanels()) panel->dismissWithClickedButtonIndex(0, false);

    form->bodyField()->setText("After level 3.");
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(tapRightBarButton());
        EXPECT_FALSE(tapRightBarButton()) << "Post waits for the post under way";
    }
    waitForIdle();
    settle();
    waitForIdle();
    EXPECT_EQ(requestsWithParam(discussions, "discussion[subject]", "Ball too fast"), 1u);
    EXPECT_TRUE(alertMessages().empty());
    ASSERT_TRUE(topPageAs<HCForumThreadListController>());

    ASSERT_TRUE(tapRow("Paddle stuck"));
    waitForIdle();
    ASSERT_TRUE(tapRightBarButton());
    auto reply = topPageAs<HCPostNewMessage>();
    ASSERT_TRUE(reply);
    reply->bodyField()->setText("Same here.");
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(tapRightBarButton());
        tapRightBarButton();
    }
    waitForIdle();
    EXPECT_EQ(requestsWithParam("discussions/300/posts.xml", "post[body]", "Same here."), 1u);
    EXPECT_TRUE(alertMessages().empty());
    EXPECT_TRUE(topPageAs<HCForumThreadViewController>());
}

TEST_F(ForumPagesTest, AReplyPopsTheFormAndTheDiscussionBelowFetchesItsPostsAgain)
{
    startOnline();
    auto page = openThread(thread("300", "Paddle stuck"));
    ASSERT_TRUE(page);
    const std::string path = "discussions/300/posts.xml";
    EXPECT_TRUE(rowsContain(screenRows(), "It stops at the wall."));
    ASSERT_TRUE(tapRightBarButton());
    auto form = topPageAs<HCPostNewMessage>();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->title(), "Reply");
    form->bodyField()->setText("Same here.");
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    EXPECT_EQ(topPage(), page);
    EXPECT_EQ(requestsWithParam(path, "post[body]", "Same here."), 1u);
    EXPECT_EQ(requestsTo(path), 3u);
    EXPECT_TRUE(rowsContain(screenRows(), "Same here."));
}

TEST_F(ForumPagesTest, ALockedDiscussionOffersNoReplyAndARefusedPostKeepsTheForm)
{
    startOnline();
    auto page = openThread(thread("200", "Forum rules", true));
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->navigationItem()->rightBarButtonItem());
    page->_reply();
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{"Thread is Locked: Cannot post in thread. It is locked."}));
    platform::ui::AlertPanel::shownPanels().front()->dismissWithClickedButtonIndex(0, false);

    // The server refuses what the page let through: the form stays, its loading screen gone.
    auto form = HCPostNewMessage::postNewMessageInThread(thread("200", "Forum rules"), topic("11", "Strategy"));
    HalcyonDashboard::getActiveNavigationController()->pushViewController(form, false);
    settle();
    form->bodyField()->setText("Let me in");
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    EXPECT_EQ(topPage(), form);
    EXPECT_FALSE(form->isShowingLoadingScreen());
    ASSERT_EQ(alertMessages().size(), 1u);
    EXPECT_EQ(alertMessages()[0].rfind("Oops! There was a problem:", 0), 0u);
}

TEST_F(ForumPagesTest, AReplyRefusedOrDroppedAfterThePlayerLeftTheFormIsToldOnTheDiscussionHeWentBackTo)
{
    startOnline();
    auto page = openThread(thread("300", "Paddle stuck"));
    ASSERT_TRUE(page);
    const std::string path = "discussions/300/posts.xml";
    const std::string body = "Same here, after level 3 and every time I restart the game.";
    for (const bool dropped : {false, true}) {
        SCOPED_TRACE(dropped);
        if (!dropped) server->faults().injectFor("POST", path, localserver::Fault::reply(503, "busy"));
        ASSERT_TRUE(tapRightBarButton());
        auto form = topPageAs<HCPostNewMessage>();
        ASSERT_TRUE(form);
        form->bodyField()->setText(body);
        {
            testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
            ASSERT_TRUE(tapRightBarButton());
            ASSERT_TRUE(driver->tapBack());
            settle();
            if (dropped) Halcyon::provider()->destroyAllPendingRequests();
        }
        waitForReplies();
        settle();
        EXPECT_EQ(topPage(), page);
        // The refusal names the post too: the service's text alone would not.
        const std::string notSent = "Oops! There was a problem:: Your message \"Same here, after level 3 and every "
                                    "time\xE2\x80\xA6\" was not sent";
        EXPECT_EQ(alertMessages(), (std::vector<std::string>{notSent + (dropped ? "." : ": busy")}));
        for (const auto& panel : platform::ui::AlertPanel::shownPanels()) panel->dismissWithClickedButtonIndex(0, false);
    }
    EXPECT_EQ(requestsWithParam(path, "post[body]", body), 1u) << "the refused one only";
}

TEST_F(ForumPagesTest, TheStarFollowsTheDiscussionAndAFailureLeavesItAsItWas)
{
    startOnline();
    auto followed = thread("300", "Paddle stuck");
    auto page = openThread(followed);
    ASSERT_TRUE(page && page->subscribeButton());
    EXPECT_EQ(page->subscribeButton()->currentTitle(), std::optional<std::string>(HCForumThreadViewController::kUnsubscribedTitle));
    ASSERT_TRUE(driver->tap(page->subscribeButton()));
    settle();
    waitForIdle();
    EXPECT_EQ(requestsTo("discussions/300/subscribe.xml"), 1u);
    EXPECT_TRUE(followed->isSubscribed());
    EXPECT_EQ(page->subscribeButton()->currentTitle(), std::optional<std::string>(HCForumThreadViewController::kSubscribedTitle));

    page->setThread(thread("999", "Gone"));
    page->_subscribe();
    settle();
    waitForIdle();
    EXPECT_FALSE(page->thread()->isSubscribed());
    EXPECT_FALSE(page->isShowingLoadingScreen());
    EXPECT_EQ(alertMessages(),
              (std::vector<std::string>{"Error Occurred: Could not subscribe to thread. Please try again later."}));
}

TEST_F(ForumPagesTest, AStarTheProviderDropsSaysSoAndLeavesItAsItWas)
{
    startOnline();
    auto page = openThread(thread("300", "Paddle stuck"));
    ASSERT_TRUE(page && page->subscribeButton());
    pagetest::dropRequestsMadeBy([&] {
        ASSERT_TRUE(driver->tap(page->subscribeButton()));
        settle();
        EXPECT_TRUE(page->isShowingLoadingScreen());
    });
    waitForIdle();
    EXPECT_FALSE(page->isShowingLoadingScreen());
    EXPECT_EQ(requestsTo("discussions/300/subscribe.xml"), 0u);
    EXPECT_FALSE(page->thread()->isSubscribed());
    EXPECT_EQ(page->subscribeButton()->currentTitle(),
              std::optional<std::string>(HCForumThreadViewController::kUnsubscribedTitle));
    EXPECT_EQ(alertMessages(),
              (std::vector<std::string>{"Error Occurred: Could not subscribe to thread. Please try again later."}));
    ASSERT_TRUE(driver->answerAlert("Ok"));

    // Left while the star is asked: what becomes of it is not told over the page below.
    auto below = HalcyonDashboard::getActiveNavigationController()->viewControllers().front();
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(driver->tap(page->subscribeButton()));
        settle();
        HalcyonDashboard::getActiveNavigationController()->popToRootViewController(true);
        settle();
    }
    waitForReplies();
    settle();
    EXPECT_EQ(requestsTo("discussions/300/subscribe.xml"), 1u);
    EXPECT_EQ(topPage(), below);
    EXPECT_TRUE(alertMessages().empty());
}

TEST_F(ForumPagesTest, APageThatHidesItsButtonsOffersNoStarAndNoReply)
{
    startOnline();
    openPage("ForumThreadView", [&](const platform::ui::ViewControllerPtr& page) {
        auto view = std::dynamic_pointer_cast<HCForumThreadViewController>(page);
        view->setHideSubscribeAndReplyButtons(true);
        view->setThread(thread("300", "Paddle stuck"));
    });
    auto page = topPageAs<HCForumThreadViewController>();
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->navigationItem()->rightBarButtonItem());
    EXPECT_FALSE(page->subscribeButton());
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Ben | It stops at the wall."}));
}

TEST_F(ForumPagesTest, UnderParentalControlsTheForumsOpenOnlyAnAlert)
{
    disallowUserGeneratedContent();
    startOnline();
    Halcyon::launchDashboardWithForumsPage();
    settle();
    EXPECT_FALSE(HalcyonDashboard::getActiveNavigationController());
    EXPECT_EQ(alertMessages(),
              (std::vector<std::string>{": Forum use is disabled due to the parental controls on this device."}));
    EXPECT_EQ(requestsTo("client_applications/1/forums.xml"), 0u);
}

TEST_F(ForumPagesTest, TheForumsShortcutOpensTheTopicList)
{
    startOnline();
    Halcyon::launchDashboardWithForumsPage();
    settle();
    waitForIdle();
    EXPECT_TRUE(topPageAs<HCForumTopicListController>());
    EXPECT_TRUE(alertMessages().empty());
}

TEST_F(ForumPagesTest, CellsShowStickyLockedAndShortPostsAsLaidOut)
{
    startOnline();
    auto sticky = thread("200", "Forum rules", true);
    sticky->setIsSticky(true);
    sticky->setPostCount(3);
    auto threadCell = std::make_shared<HCForumThreadCell>();
    threadCell->setResource(sticky);
    const auto stickyFrame = threadCell->stickyLabel()->frame();
    EXPECT_DOUBLE_EQ(threadCell->titleLabel()->frame().origin.x, stickyFrame.origin.x + stickyFrame.size.width);
    EXPECT_TRUE(threadCell->postsCountLabel()->isHidden());
    EXPECT_FALSE(threadCell->threadStatusIcon()->isHidden());
    EXPECT_TRUE(threadCell->favoritedIcon()->isHidden());

    auto post = HCResource::initWithId<HCForumPost>(std::string("1"));
    auto author = HCResource::initWithId<HCUser>(std::string("1004"));
    author->setName(std::string("Cleo"));
    post->setAuthor(author);
    post->setBody(std::string("Hi"));
    auto postCell = std::make_shared<HCForumPostCell>();
    postCell->setResource(post);
    EXPECT_EQ(postCell->authorLabel()->text(), "Cleo");
    EXPECT_DOUBLE_EQ(postCell->frame().size.height, HCForumPostCell::kMinimumHeight);
    author->setLastPlayedGameName(std::string("Breakout"));
    post->setBody(std::string(2000, 'x'));
    postCell->setResource(post);
    EXPECT_EQ(postCell->authorLabel()->text(), "Cleo | ");
    EXPECT_GT(postCell->frame().size.height, HCForumPostCell::kMinimumHeight);
}

}  // namespace
