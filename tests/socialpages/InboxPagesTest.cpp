// The inbox as the player works it: the menu and its badges, the two lists
// and their unread counts, a conversation's actions, starting a
// conversation from the friend picker or for a given player.
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/resources/HCResource.h"
#include "dashboard/HalcyonDashboard.h"
#include "SocialPagesSupport.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Fixtures.h"
#include "localserver/XmlWriter.h"
#include "localserver/routes/ConversationRoutes.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationController.h"
#include "social/forums/HCForumPost.h"
#include "socialpages/conversations/HCConversationController.h"
#include "socialpages/forums/HCForumThreadViewController.h"
#include "socialpages/inbox/HCFriendPickerController.h"
#include "socialpages/inbox/HCInboxCells.h"
#include "socialpages/inbox/HCInboxController.h"
#include "socialpages/inbox/HCInboxNotice.h"
#include "socialpages/inbox/HCInboxTopLevelController.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"

namespace {

using socialtest::alertMessages;

using localserver::defaults::kNamelessUserId;
using localserver::defaults::kOtherUserId;
using localserver::defaults::kUserId;

size_t rowsWith(const std::vector<std::string>& rows, const std::string& text)
{
    size_t n = 0;
    for (const auto& row : rows) n += row.find(text) != std::string::npos;
    return n;
}

HCUserPtr ben()
{
    auto user = HCResource::initWithId<HCUser>(std::string(kOtherUserId));
    user->setName(std::string("Ben"));
    return user;
}

class InboxPagesTest : public pagetest::PageHarness {
protected:
    void SetUp() override
    {
        PageHarness::SetUp();
        // The conversations share the forums' store, as the service's do.
        localserver::registerConversationRoutes(*server, forums);
    }

    // A conversation of the player with `other`, with a message from `other`.
    std::string conversationWith(const std::string& other, const std::string& message)
    {
        auto conversation = forums->conversationBetween(kUserId, other, server->now());
        forums->reply(conversation.id, other, message, server->now() + 1);
        return conversation.id;
    }

    std::shared_ptr<HCInboxCell> inboxCell(int row)
    {
        auto page = topPageAs<HCTableControllerHelper>();
        return std::dynamic_pointer_cast<HCInboxCell>(page->tableView()->cellForRowAtIndexPath({0, row}));
    }

    void failRoute(const std::string& method, const std::string& path)
    {
        server->addRoute(method, path, localserver::Access::User,
                         [](const localserver::Request&) { return localserver::Reply::text(500, "down"); });
    }
};

TEST_F(InboxPagesTest, TheMenuShowsTheUnreadCountsFollowsTheirChangesAndOpensTheLists)
{
    startOnline();
    Halcyon::setUnreadIMCount(3);
    openPage("InboxTopLevel");
    auto menu = topPageAs<HCInboxTopLevelController>();
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->title(), "Inbox");
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Invitations", "IM Conversations | 3", "Starred Forum Posts"}));

    Halcyon::setUnreadPostCount(2);
    Halcyon::setUnreadIMCount(0);
    settle();
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Invitations", "IM Conversations", "Starred Forum Posts | 2"}));

    ASSERT_TRUE(tapRow("IM Conversations"));
    waitForIdle();
    auto list = topPageAs<HCInboxIMConversationsController>();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->title(), "IM Conversations");
    EXPECT_EQ(requestsTo("subscriptions.xml"), 1u);
}

TEST_F(InboxPagesTest, EachListKeepsItsKindStoresItsUnreadCountAndOpensItsRows)
{
    forums->setSubscribed("300", kUserId, true);
    conversationWith(kOtherUserId, "Rematch?");
    forums->conversationBetween(kUserId, kNamelessUserId, server->now());
    startOnline();
    Halcyon::setUnreadPostCount(9);

    openPage("InboxIMConversations");
    auto rows = screenRows();
    EXPECT_EQ(rowsWith(rows, "IM Conversation"), 2u);
    EXPECT_EQ(rowsWith(rows, "Paddle stuck"), 0u);
    EXPECT_EQ(rowsWith(rows, "Ben | Rematch?"), 1u);
    EXPECT_EQ(Halcyon::unreadIMCount(), 1);

    openPage("InboxSubscribedForumThreads");
    rows = screenRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(rows[0].find("Forum Posting | Paddle stuck"), std::string::npos);
    EXPECT_GT(Halcyon::unreadPostCount(), 0);
    EXPECT_LT(Halcyon::unreadPostCount(), 9);

    ASSERT_TRUE(tapRow("Paddle stuck"));
    waitForIdle();
    auto thread = topPageAs<HCForumThreadViewController>();
    ASSERT_TRUE(thread);
    EXPECT_TRUE(thread->thread()->isSubscribed());
    EXPECT_EQ(thread->subscribeButton()->currentTitle(),
              std::optional<std::string>(HCForumThreadViewController::kSubscribedTitle));
}

TEST_F(InboxPagesTest, AListWithNothingUnreadStoresZeroAndAFailedLoadTakesTheLoadingScreenDown)
{
    const auto id = forums->conversationBetween(kUserId, kOtherUserId, server->now()).id;
    startOnline();
    Halcyon::setUnreadIMCount(4);
    openPage("InboxIMConversations");
    EXPECT_EQ(Halcyon::unreadIMCount(), 0);

    failRoute("GET", "subscriptions.xml");
    topPageAs<HCInboxController>()->reloadDataFromServer();
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_EQ(rowsWith(screenRows(), "Ben"), 1u);

    ASSERT_TRUE(tapRow("Ben"));
    waitForIdle();
    auto conversation = topPageAs<HCConversationController>();
    ASSERT_TRUE(conversation);
    EXPECT_EQ(conversation->conversationId(), std::optional<std::string>(id));
    EXPECT_EQ(requestsTo("discussions.xml"), 0u) << "an existing conversation is not started again";
}

TEST_F(InboxPagesTest, ExpandingASecondConversationCollapsesTheFirst)
{
    conversationWith(kOtherUserId, "one");
    forums->conversationBetween(kUserId, kNamelessUserId, server->now() + 5);
    startOnline();
    openPage("InboxIMConversations");
    auto page = topPageAs<HCInboxController>();
    ASSERT_EQ(page->tableView()->numberOfRowsInSection(0), 2);

    ASSERT_TRUE(driver->tap(inboxCell(0)->expandButton()));
    settle();
    ASSERT_EQ(page->tableView()->numberOfRowsInSection(0), 3);
    EXPECT_TRUE(page->isExpandedAtIndexPath({0, 0}));
    EXPECT_TRUE(page->isActionRowAtIndexPath({0, 1}));

    ASSERT_TRUE(driver->tap(inboxCell(2)->expandButton()));
    settle();
    ASSERT_EQ(page->tableView()->numberOfRowsInSection(0), 3);
    EXPECT_FALSE(page->isExpandedAtIndexPath({0, 0}));
    EXPECT_TRUE(page->isExpandedAtIndexPath({0, 1}));
    EXPECT_TRUE(page->isActionRowAtIndexPath({0, 2}));
    // A tap on the action row opens nothing.
    ASSERT_TRUE(driver->selectRow(page->tableView(), {0, 2}));
    settle();
    EXPECT_EQ(topPage(), page);
}

TEST_F(InboxPagesTest, DeleteRemovesTheChosenConversationEvenAfterTheListMoved)
{
    const auto withOther = forums->conversationBetween(kUserId, kNamelessUserId, server->now() + 100).id;
    const auto withBen = forums->conversationBetween(kUserId, kOtherUserId, server->now()).id;
    startOnline();
    openPage("InboxIMConversations");
    auto page = topPageAs<HCInboxController>();
    ASSERT_EQ(screenRows()[1].rfind("IM Conversation | Ben", 0), 0u);
    ASSERT_TRUE(driver->tap(inboxCell(1)->expandButton()));
    settle();
    auto action = std::dynamic_pointer_cast<HCInboxIMActionCell>(page->tableView()->cellForRowAtIndexPath({0, 2}));
    ASSERT_TRUE(action);

    ASSERT_TRUE(driver->tap(action->deleteButton()));
    settle();
    ASSERT_TRUE(driver->answerSheet("Cancel"));
    settle();
    EXPECT_EQ(requestsTo("discussions/" + withBen + "/delete.xml"), 0u);

    ASSERT_TRUE(driver->tap(action->deleteButton()));
    settle();
    // Before the player answers, Ben's message moves that conversation to the top.
    forums->reply(withBen, kOtherUserId, "wait", server->now() + 200);
    page->reloadDataFromServer();
    waitForIdle();
    ASSERT_EQ(screenRows()[0].rfind("IM Conversation | Ben", 0), 0u);
    ASSERT_TRUE(driver->answerSheet("Delete"));
    waitForIdle();
    EXPECT_EQ(requestsTo("discussions/" + withBen + "/delete.xml"), 1u);
    EXPECT_EQ(requestsTo("discussions/" + withOther + "/delete.xml"), 0u);
    EXPECT_TRUE(forums->discussion(withOther));
    EXPECT_EQ(rowsWith(screenRows(), "Ben"), 0u);
    EXPECT_EQ(rowsWith(screenRows(), "IM Conversation"), 1u);
}

TEST_F(InboxPagesTest, AFailedDeleteShowsNothingAndTheRowStays)
{
    const auto id = conversationWith(kOtherUserId, "keep me");
    startOnline();
    failRoute("POST", "discussions/{id}/delete.xml");
    openPage("InboxIMConversations");
    auto page = topPageAs<HCInboxController>();
    ASSERT_TRUE(driver->tap(inboxCell(0)->expandButton()));
    settle();
    page->actionPressedForTag(HCInboxIMActionCell::kDeleteTag, {0, 1});
    ASSERT_TRUE(driver->answerSheet("Delete"));
    waitForIdle();
    EXPECT_EQ(requestsTo("discussions/" + id + "/delete.xml"), 1u);
    EXPECT_TRUE(alertMessages().empty());
    EXPECT_EQ(rowsWith(screenRows(), "Ben | keep me"), 1u);
}

TEST_F(InboxPagesTest, APendingPlayerStartsTheConversationWithoutLoadingTheInbox)
{
    startOnline();
    openPage("InboxIMConversations", [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCInboxController>(page)->initAndBeginConversationWith(ben());
    });
    waitForIdle();
    EXPECT_EQ(requestsTo("subscriptions.xml"), 0u);
    EXPECT_EQ(requestsTo("discussions.xml"), 1u);
    auto conversation = topPageAs<HCConversationController>();
    ASSERT_TRUE(conversation);
    EXPECT_EQ(conversation->conversationUser()->resourceId(), std::optional<std::string>(kOtherUserId));
    EXPECT_TRUE(conversation->conversationId());
}

// Replies that leave out what the inbox already knows: a starred thread's
// discussion, a started conversation's other player.
TEST_F(InboxPagesTest, AThreadWithoutItsDiscussionAndAStartNamingNoPlayerOpenOnWhatTheInboxKnows)
{
    localserver::XmlNode starred = localserver::XmlNode::parent("subscription");
    starred.add("id", "s300").add("discussion_id", "300").add("title", "Paddle stuck").add("topic_id", "20");
    starred.add("discussion_type", "Forum");
    localserver::ResourceList subscriptions;
    subscriptions.header = localserver::paginate(1, 1, 10);
    subscriptions.resources.push_back(starred);
    server->faults().injectFor("GET", "subscriptions.xml",
                               localserver::Fault::reply(200, localserver::writeFlatReply(subscriptions), "application/xml"));
    const auto id = forums->conversationBetween(kUserId, kOtherUserId, server->now()).id;
    localserver::ResourceList started;
    started.resources.push_back(localserver::XmlNode::parent("conversation").add("id", id));
    server->faults().injectFor("POST", "discussions.xml",
                               localserver::Fault::reply(200, localserver::writeFlatReply(started), "application/xml"));
    startOnline();

    openPage("InboxSubscribedForumThreads");
    ASSERT_TRUE(tapRow("Paddle stuck"));
    waitForIdle();
    auto thread = topPageAs<HCForumThreadViewController>();
    ASSERT_TRUE(thread && thread->thread());
    EXPECT_EQ(thread->thread()->resourceId(), std::optional<std::string>("300"));
    EXPECT_EQ(thread->thread()->title(), std::optional<std::string>("Paddle stuck"));
    EXPECT_TRUE(thread->thread()->isSubscribed());

    openPage("InboxIMConversations", [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCInboxController>(page)->initAndBeginConversationWith(ben());
    });
    waitForIdle();
    auto conversation = topPageAs<HCConversationController>();
    ASSERT_TRUE(conversation && conversation->conversationUser());
    EXPECT_EQ(conversation->conversationUser()->resourceId(), std::optional<std::string>(kOtherUserId));
    EXPECT_EQ(conversation->conversationId(), std::optional<std::string>(id));
}

TEST_F(InboxPagesTest, AFailedStartSaysSoAndTakesTheLoadingScreenDown)
{
    startOnline();
    failRoute("POST", "discussions.xml");
    openPage("InboxIMConversations", [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCInboxController>(page)->initAndBeginConversationWith(ben());
    });
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{std::string("Error: ") + HCInboxController::kStartErrorMessage}));
    EXPECT_TRUE(topPageAs<HCInboxController>());
}

TEST_F(InboxPagesTest, AStartTheProviderDropsSaysSoAndTakesTheLoadingScreenDown)
{
    startOnline();
    openPage("InboxIMConversations");
    auto list = topPageAs<HCInboxController>();
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(driver->selectRowWithText("Ben"));
        settle();
        EXPECT_TRUE(list->isShowingLoadingScreen());
        Halcyon::provider()->destroyAllPendingRequests();
    }
    waitForIdle();
    EXPECT_FALSE(list->isShowingLoadingScreen());
    EXPECT_EQ(requestsTo("discussions.xml"), 0u);
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{std::string("Error: ") + HCInboxController::kStartErrorMessage}));
    EXPECT_EQ(topPage(), list);
}

TEST_F(InboxPagesTest, AFriendChosenInThePickerStartsTheConversationOnce)
{
    startOnline();
    openPage("InboxIMConversations");
    auto list = topPageAs<HCInboxController>();
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    ASSERT_TRUE(navigation->modalViewController());
    EXPECT_FALSE(list->navigationItem()->rightBarButtonItem()->isEnabled());
    ASSERT_TRUE(driver->tapBarButton(HCFriendPickerController::kCancelTitle));
    settle();
    EXPECT_FALSE(navigation->modalViewController());
    EXPECT_TRUE(list->navigationItem()->rightBarButtonItem()->isEnabled());

    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    // The reply comes while the picker is still sliding away: pushing the
    // conversation ends that slide, and the list's appearance must not
    // start the conversation a second time.
    ASSERT_TRUE(driver->selectRowWithText("Ben"));
    waitForReplies();
    settle();
    waitForIdle();
    EXPECT_FALSE(navigation->modalViewController());
    EXPECT_EQ(requestsTo("discussions.xml"), 1u);
    auto conversation = topPageAs<HCConversationController>();
    ASSERT_TRUE(conversation);
    EXPECT_EQ(conversation->title(), "Ben");
    EXPECT_EQ(navigation->viewControllers().size(), 3u);
}

TEST_F(InboxPagesTest, PresenceNoticesCarryAnInboxPageThatStartsTheConversation)
{
    const auto id = forums->conversationBetween(kUserId, kOtherUserId, server->now()).id;
    startOnline();
    openPage("InboxIMConversations");
    auto online = ben();
    online->setOnlineAsString(std::string("true"));
    auto notice = HCInboxNotice::noticeFor(online);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->notificationText, "Ben is online");
    waitForIdle();
    EXPECT_EQ(requestsTo("subscriptions.xml"), 2u);

    auto post = HCResource::initWithId<HCForumPost>(std::string("900001"));
    post->setAuthor(ben());
    post->setDiscussionId(id);
    post->setIsDiscussionConversation(std::string("true"));
    notice = HCInboxNotice::noticeFor(post);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->notificationText, "New message from Ben");
    EXPECT_FALSE(HCInboxNotice::noticeFor(ben()));
    waitForIdle();

    auto page = std::dynamic_pointer_cast<HCInboxController>(notice->notificationUserData);
    ASSERT_TRUE(page);
    HalcyonDashboard::getActiveNavigationController()->pushViewController(page, false);
    settle();
    waitForIdle();
    auto conversation = topPageAs<HCConversationController>();
    ASSERT_TRUE(conversation);
    EXPECT_EQ(conversation->conversationId(), std::optional<std::string>(id));
    // The conversation on screen shows its own messages: no notice.
    EXPECT_FALSE(HCInboxNotice::noticeFor(post));
}

}  // namespace
