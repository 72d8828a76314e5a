// A private conversation as the player works it: starting it, its own
// poller, the partner's presence, sending and a send that fails.
#include <algorithm>
#include <functional>

#include "core/halcyon/Halcyon.h"
#include "core/resources/HCResource.h"
#include "dashboard/HCDeadEndErrorController.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HalcyonDashboard.h"
#include "SocialPagesSupport.h"
#include "gamepages/support/DroppedRequests.h"
#include "gamepages/support/PageHarness.h"
#include "platform/foundation/DeviceFacts.h"
#include "localserver/Faults.h"
#include "localserver/Fixtures.h"
#include "localserver/routes/ConversationRoutes.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "social/forums/HCForumPost.h"
#include "socialpages/conversations/HCConversationCells.h"
#include "socialpages/conversations/HCConversationController.h"
#include "socialpages/conversations/HCConversationMessageBoxController.h"
#include "socialpages/profile/HCProfileController.h"
#include "support/RequestThreadGate.h"
#include "support/TestSupport.h"
#include "transport/provider/HCProvider.h"

namespace {

using localserver::defaults::kNamelessUserId;
using localserver::defaults::kOtherUserId;
using localserver::defaults::kUserId;

constexpr long kChatSeconds = 5;

HCUserPtr user(const std::string& id, const std::string& name, bool online = false)
{
    auto made = HCResource::initWithId<HCUser>(id);
    made->setName(name);
    made->setOnlineAsString(std::string(online ? "true" : "false"));
    return made;
}

void postDiscovered(const std::string& name, std::vector<platform::ObjectPtr> resources)
{
    auto info = platform::Dictionary::make();
    info->setObject(HCPollerNotificationKeyResources, platform::Array::make(std::move(resources)));
    platform::NotificationCenter::defaultCenter().post(name, nullptr, info);
}

class ConversationPageTest : public pagetest::PageHarness {
protected:
    void SetUp() override
    {
        PageHarness::SetUp();
        localserver::registerConversationRoutes(*server, forums);
    }

    // `initialText`: what the opener offers to say.
    std::shared_ptr<HCConversationController> openConversation(const std::optional<std::string>& id,
                                                               const std::string& initialText = {})
    {
        startOnline();
        Halcyon::storePollingFrequencyInChat(kChatSeconds);
        openPage("Conversation", [&](const platform::ui::ViewControllerPtr& page) {
            auto conversation = std::dynamic_pointer_cast<HCConversationController>(page);
            conversation->setConversationUser(user(kOtherUserId, "Ben"));
            conversation->setConversationId(id);
            conversation->messageBox()->setInitialText(initialText);
        });
        return topPageAs<HCConversationController>();
    }

    // Ben's conversation `id` opened over the game's profile (pageBelow),
    // "one" and "two" sent, the page left, then `meanwhile` done, before any
    // answer can come. The test keeps nothing of the conversation.
    void sendTwoMessagesAndLeaveThen(const std::string& id, const std::function<void()>& meanwhile)
    {
        startOnline();
        Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
        settle();
        waitForIdle();
        pageBelow = topPage();
        auto page = HCConversationController::conversationWithId(id, user(kOtherUserId, "Ben"));
        HalcyonDashboard::getActiveNavigationController()->pushViewController(page, false);
        settle();
        waitForIdle();
        ASSERT_EQ(topPage(), page);
        auto field = page->messageBox()->messageField();
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        driver->typeText(field->textView(), "one");
        ASSERT_TRUE(driver->tapView(page->messageBox()->sendButton()));
        driver->typeText(field->textView(), "two");
        ASSERT_TRUE(driver->tapView(page->messageBox()->sendButton()));
        ASSERT_TRUE(driver->tapBack());
        settle();
        meanwhile();
    }
    // Once "two" reached Ben, alone, the player is back on the page below,
    // told `alert` alone.
    void expectToldOnThePageBelowOnceTheSecondWasSent(const std::string& id, const std::string& alert)
    {
        ASSERT_TRUE(testsupport::runMainUntil([&] { return forums->postsOfDiscussion(id).size() == 1u; }));
        waitForIdle();
        EXPECT_EQ(topPage(), pageBelow);
        EXPECT_EQ(forums->postsOfDiscussion(id)[0].body, "two");
        EXPECT_EQ(socialtest::alertMessages(), (std::vector<std::string>{alert}));
    }

    // One round of the page's poller.
    void pollOnce()
    {
        clock->advance(kChatSeconds);
        settle();
        waitForIdle();
    }

    platform::ui::ViewControllerPtr pageBelow;
};

TEST_F(ConversationPageTest, WithoutAnIdTheConversationStartsAndOnePollerBringsItsNewPosts)
{
    auto page = openConversation(std::nullopt);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->title(), "Ben");
    EXPECT_EQ(requestsTo("discussions.xml"), 1u);
    ASSERT_TRUE(page->conversationId());
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Ben is offline"}));
    const auto poller = page->poller();
    ASSERT_TRUE(poller);
    EXPECT_EQ(poller->getPollingFrequency(), kChatSeconds);

    page->reloadDataFromServer();
    waitForIdle();
    EXPECT_EQ(page->poller(), poller);

    const std::string id = *page->conversationId();
    // More than a page of posts: each poll asks past the newest it saw.
    for (int i = 0; i < 11; ++i) forums->reply(id, kOtherUserId, "line " + std::to_string(i), server->now() + i);
    pollOnce();
    pollOnce();
    auto rows = screenRows();
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_NE(rows.back().find("line 10"), std::string::npos);
    const size_t shown = rows.size();

    auto cell = std::dynamic_pointer_cast<HCConversationCell>(
        page->tableView()->cellForRowAtIndexPath({0, static_cast<int>(shown) - 1}));
    ASSERT_TRUE(cell);
    EXPECT_FALSE(cell->bubbleView() == cell->greenBubbleView()) << "Ben's message is grey, on the left";

    auto stray = HCResource::initWithId<HCForumPost>(std::string("999999"));
    stray->setDiscussionId(std::string("elsewhere"));
    postDiscovered(stray->getResourceDiscoveredNotification(), {stray});
    settle();
    EXPECT_EQ(screenRows().size(), shown);

    ASSERT_TRUE(driver->tap(cell->authorButton()));
    settle();
    waitForIdle();
    ASSERT_TRUE(topPageAs<HCProfileController>());
    EXPECT_EQ(poller->getPollingFrequency(), 0) << "polls only while shown";
    ASSERT_TRUE(driver->tapBack());
    settle();
    waitForIdle();
    EXPECT_EQ(topPage(), page);
    EXPECT_EQ(poller->getPollingFrequency(), kChatSeconds);
}

TEST_F(ConversationPageTest, AStartTheProviderDropsEndsTheLoadAndSaysSo)
{
    startOnline();
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    waitForIdle();
    auto page = HCConversationController::conversationWithId(std::nullopt, user(kOtherUserId, "Ben"));
    ASSERT_TRUE(page);
    pagetest::dropRequestsMadeBy([&] {
        HalcyonDashboard::getActiveNavigationController()->pushViewController(page, true);
        settle();
        EXPECT_TRUE(page->isLoadingData());
    });
    waitForIdle();
    settle();
    EXPECT_FALSE(page->isLoadingData());
    EXPECT_FALSE(page->isShowingLoadingScreen());
    EXPECT_EQ(requestsTo("discussions.xml"), 0u);
    auto error = topPageAs<HCDeadEndErrorController>();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), HCConversationController::kStartErrorMessage);
}

TEST_F(ConversationPageTest, AConversationLeftWhileItStartsShowsNoErrorOverThePageBelow)
{
    startOnline();
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    waitForIdle();
    auto below = topPage();
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        auto page = HCConversationController::conversationWithId(std::nullopt, user(kOtherUserId, "Ben"));
        HalcyonDashboard::getActiveNavigationController()->pushViewController(page, true);
        settle();
        ASSERT_TRUE(driver->tapBack());
        settle();
    }
    waitForReplies();
    settle();
    EXPECT_EQ(requestsTo("discussions.xml"), 1u);
    EXPECT_EQ(topPage(), below);
}

TEST_F(ConversationPageTest, AStartThatFailsWhileAnotherTabIsShownTellsNothingThereAndRunsAgainOnReturn)
{
    startOnline();
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    waitForIdle();
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    auto tabs = navigation->tabBarController();
    ASSERT_TRUE(tabs);
    const int home = tabs->selectedIndex();
    const int other = (home + 1) % static_cast<int>(tabs->viewControllers().size());
    // Refused, and answered with no conversation in it.
    for (const auto& fault : {localserver::Fault::reply(500, "down"), localserver::Fault::reply(200, "OK")}) {
        SCOPED_TRACE(fault.status);
        server->faults().injectFor("POST", "discussions.xml", fault);
        const size_t starts = requestsTo("discussions.xml");
        auto page = HCConversationController::conversationWithId(std::nullopt, user(kOtherUserId, "Ben"));
        {
            testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
            navigation->pushViewController(page, false);
            settle();
            ASSERT_TRUE(driver->tapTab(tabs, other));
            settle();
        }
        waitForReplies();
        settle();
        EXPECT_EQ(requestsTo("discussions.xml"), starts + 1);
        EXPECT_FALSE(page->isShowingLoadingScreen());
        EXPECT_FALSE(topPageAs<HCDeadEndErrorController>());
        const std::string screen = platform::ui::Driver::describeScreen();
        EXPECT_EQ(screen.find(HCConversationController::kStartErrorMessage), std::string::npos) << screen;

        ASSERT_TRUE(driver->tapTab(tabs, home));
        settle();
        waitForIdle();
        EXPECT_EQ(topPage(), page);
        EXPECT_EQ(requestsTo("discussions.xml"), starts + 2) << "started again";
        EXPECT_TRUE(page->conversationId());
        navigation->popViewController(false);
        settle();
    }
}

TEST_F(ConversationPageTest, AHistoryThatArrivesWhileAnotherTabIsShownStartsNoPollerUntilThePageIsBack)
{
    const auto id = forums->conversationBetween(kUserId, kOtherUserId, server->now()).id;
    startOnline();
    Halcyon::storePollingFrequencyInChat(kChatSeconds);
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    waitForIdle();
    auto page = HCConversationController::conversationWithId(id, user(kOtherUserId, "Ben"));
    ASSERT_TRUE(page);
    const std::string history = "discussions/" + id + "/posts.xml";
    server->faults().injectFor("GET", history, localserver::Fault::heldBack());
    HalcyonDashboard::getActiveNavigationController()->pushViewController(page, true);
    settle();
    auto tabs = page->tabBarController();
    ASSERT_TRUE(tabs);
    const int home = tabs->selectedIndex();
    ASSERT_TRUE(driver->tapTab(tabs, (home + 1) % static_cast<int>(tabs->viewControllers().size())));
    settle();
    server->faults().releaseHeld();
    waitForReplies();
    settle();
    ASSERT_TRUE(page->poller()) << "the history came in";
    EXPECT_EQ(page->poller()->getPollingFrequency(), 0.0);
    const size_t asked = requestsTo(history);
    clock->advance(3 * kChatSeconds);
    settle();
    waitForReplies();
    EXPECT_EQ(requestsTo(history), asked) << "a hidden page polls nothing";

    ASSERT_TRUE(driver->tapTab(tabs, home));
    settle();
    EXPECT_EQ(page->poller()->getPollingFrequency(), static_cast<double>(kChatSeconds));
}

TEST_F(ConversationPageTest, OnlyAFailingPollOfThisConversationClosesThePage)
{
    auto page = openConversation(forums->conversationBetween(kUserId, kOtherUserId, server->now()).id);
    ASSERT_TRUE(page && page->poller());
    platform::NotificationCenter::defaultCenter().post(HCPollingFailed, platform::String::make("activities.xml"));
    platform::NotificationCenter::defaultCenter().post(HCPollingFailed,
                                                       platform::String::make("discussions/1/posts.xml"));
    settle();
    EXPECT_EQ(topPage(), page);

    server->addRoute("GET", "discussions/{id}/posts.xml", localserver::Access::Consumer,
                     [](const localserver::Request&) { return localserver::Reply::text(500, "down"); });
    clock->advance(kChatSeconds);
    settle();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return topPage() != page; }));
}

TEST_F(ConversationPageTest, ThePresenceRowFollowsThePartnerWhereverTheNoticeNamesHim)
{
    auto page = openConversation(forums->conversationBetween(kUserId, kOtherUserId, server->now()).id);
    ASSERT_TRUE(page);
    const std::string notification = user(kUserId, "")->getResourceDiscoveredNotification();
    postDiscovered(notification, {user(kNamelessUserId, "Someone", true)});
    settle();
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Ben is offline"}));

    postDiscovered(notification, {user(kNamelessUserId, "Someone", true), user(kOtherUserId, "Ben", true)});
    settle();
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Ben is ONLINE", "Ben is offline"}));
}

TEST_F(ConversationPageTest, ASentMessageLeavesTheFieldAndAFailedOneComesBack)
{
    const auto id = forums->conversationBetween(kUserId, kOtherUserId, server->now()).id;
    auto page = openConversation(id);
    ASSERT_TRUE(page);
    auto box = page->messageBox();
    ASSERT_TRUE(driver->tap(box->sendButton()));
    settle();
    EXPECT_EQ(requestsTo("discussions/" + id + "/posts.xml"), 1u);  // the history only

    driver->typeText(box->messageField()->textView(), "gg");
    ASSERT_TRUE(driver->tap(box->sendButton()));
    EXPECT_EQ(box->messageField()->text(), "");
    waitForIdle();
    ASSERT_EQ(forums->postsOfDiscussion(id).size(), 1u);
    EXPECT_EQ(forums->postsOfDiscussion(id)[0].body, "gg");

    server->addRoute("POST", "discussions/{id}/posts.xml", localserver::Access::User,
                     [](const localserver::Request&) { return localserver::Reply::text(503, "try later"); });
    driver->typeText(box->messageField()->textView(), "rematch?");
    ASSERT_TRUE(driver->tap(box->sendButton()));
    waitForIdle();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !box->messageField()->text().empty(); }));
    EXPECT_EQ(box->messageField()->text(), "rematch?");
    EXPECT_EQ(socialtest::alertMessages(), (std::vector<std::string>{"Oops! There was a problem:: try later"}));
}

// The player closed the dashboard while his message was on its way, and
// the refusal comes while it still fades out: the dashboard took its page
// out of his reach as it began to close, so it is told over the game, as
// once the dashboard is gone: a banner naming the message, not an alert.
TEST_F(ConversationPageTest, AMessageRefusedWhileTheDashboardFadesOutIsABannerOverTheGame)
{
    const auto id = forums->conversationBetween(kUserId, kOtherUserId, server->now()).id;
    auto page = openConversation(id);
    ASSERT_TRUE(page);
    ASSERT_TRUE(answerTheLinkingScreen());
    auto box = page->messageBox();
    server->faults().injectFor("POST", "discussions/" + id + "/posts.xml",
                               localserver::Fault::heldBack(localserver::Fault::reply(503, "try later")));
    driver->typeText(box->messageField()->textView(), "rematch?");
    ASSERT_TRUE(driver->tap(box->sendButton()));
    ASSERT_TRUE(serverHolds(1));
    auto fadingOut = [] { return HalcyonDashboard::getRootController() && !HalcyonDashboard::isShowingFullScreen(); };
    Halcyon::dismissDashboard();
    ASSERT_TRUE(fadingOut());
    server->faults().releaseHeld();
    // The page takes the message back into its field as the refusal comes.
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !box->messageField()->text().empty(); }));
    EXPECT_TRUE(fadingOut()) << "the dashboard had gone before the refusal came: this case tests nothing";
    settle();
    EXPECT_FALSE(Halcyon::dashboardVisible());
    EXPECT_TRUE(socialtest::alertMessages().empty());
    const auto banners = bannerTexts();
    EXPECT_EQ(std::count(banners.begin(), banners.end(), "Your message \"rematch?\" was not sent: try later [failed]"), 1)
        << ::testing::PrintToString(banners);
}

TEST_F(ConversationPageTest, AMessageRefusedAfterThePlayerLeftIsToldOnThePageHeWentBackTo)
{
    const auto id = forums->conversationBetween(kUserId, kOtherUserId, server->now()).id;
    server->faults().injectWhere("POST", "discussions/" + id + "/posts.xml", "post[body]", std::string("one"),
                                 localserver::Fault::reply(503, "try later"));
    sendTwoMessagesAndLeaveThen(id, [] {});
    expectToldOnThePageBelowOnceTheSecondWasSent(
        id, "Oops! There was a problem:: Your message \"one\" was not sent: try later");
}

TEST_F(ConversationPageTest, AMessageDroppedAfterThePlayerLeftIsToldByItsText)
{
    const auto id = forums->conversationBetween(kUserId, kOtherUserId, server->now()).id;
    sendTwoMessagesAndLeaveThen(id, [] { Halcyon::provider()->destroyAllPendingRequests(); });
    expectToldOnThePageBelowOnceTheSecondWasSent(id, "Oops! There was a problem:: Your message \"one\" was not sent.");
}

TEST_F(ConversationPageTest, EachMessageKeepsItsOwnTextAndItsPlaceAndADoubleTapOrABlankOneSendsNothingMore)
{
    const auto id = forums->conversationBetween(kUserId, kOtherUserId, server->now()).id;
    auto page = openConversation(id);
    ASSERT_TRUE(page);
    auto box = page->messageBox();
    auto field = box->messageField();
    server->faults().injectWhere("POST", "discussions/" + id + "/posts.xml", "post[body]", std::string("first"),
                                 localserver::Fault::reply(422, "not now"));
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        driver->typeText(field->textView(), "first");
        ASSERT_TRUE(driver->tapView(box->sendButton()));
        driver->typeText(field->textView(), "second");
        ASSERT_TRUE(driver->tapView(box->sendButton()));
        ASSERT_TRUE(driver->tapView(box->sendButton()));
        driver->typeText(field->textView(), "third");
    }
    waitForIdle();
    ASSERT_EQ(forums->postsOfDiscussion(id).size(), 1u);
    EXPECT_EQ(forums->postsOfDiscussion(id)[0].body, "second");
    EXPECT_EQ(field->text(), "first third");
    EXPECT_EQ(socialtest::alertMessages(), (std::vector<std::string>{"Oops! There was a problem:: not now"}));

    field->setText("  \n\t ");
    ASSERT_TRUE(driver->tapView(box->sendButton()));
    waitForIdle();
    EXPECT_EQ(forums->postsOfDiscussion(id).size(), 1u);
    EXPECT_EQ(socialtest::alertMessages().size(), 1u);

    // The service is slow to take a message in: the one sent after it leaves only once it was taken.
    field->setText("");
    const std::string posts = "discussions/" + id + "/posts.xml";
    server->faults().injectWhere("POST", posts, "post[body]", std::string("fourth"), localserver::Fault::heldBack());
    driver->typeText(field->textView(), "fourth");
    ASSERT_TRUE(driver->tapView(box->sendButton()));
    driver->typeText(field->textView(), "fifth");
    ASSERT_TRUE(driver->tapView(box->sendButton()));
    ASSERT_TRUE(serverHolds(1));
    settle();
    ASSERT_TRUE(onlyTheHeldRequestRuns());
    EXPECT_EQ(requestsWithParam(posts, "post[body]", "fifth"), 0u) << "it left while the fourth was unanswered";
    server->faults().releaseHeld();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return forums->postsOfDiscussion(id).size() == 3u; }));
    waitForIdle();
    EXPECT_EQ(forums->postsOfDiscussion(id)[1].body, "fourth");
    EXPECT_EQ(forums->postsOfDiscussion(id)[2].body, "fifth");
    EXPECT_FALSE(box->isSubmitting());
}

TEST_F(ConversationPageTest, OnATabletTheBoxSpansTheFrameAndTheOpenersTextNeverCoversWhatThePlayerTyped)
{
    platform::DeviceFacts::setLargeScreen(true);
    const auto id = forums->conversationBetween(kUserId, kOtherUserId, server->now()).id;
    auto page = openConversation(id, "Good game!");
    ASSERT_TRUE(page);
    auto box = page->messageBox();
    auto field = box->messageField();
    EXPECT_EQ(field->text(), "Good game!");
    // The field and Send span the box, which spans the frame.
    const double width = box->view()->bounds().width();
    EXPECT_EQ(width, page->navigationController()->view()->bounds().width());
    EXPECT_EQ(box->sendButton()->frame().maxX(), width - 6);
    EXPECT_EQ(box->messageField()->frame().maxX(), width - 74);

    // The player empties the field, looks at Ben's profile and comes back
    // typing before the opener's text is due.
    field->setText("");
    auto navigation = page->navigationController();
    navigation->pushViewController(std::make_shared<HCViewController>(), false);
    settle();
    navigation->popViewController(false);
    driver->settle();
    EXPECT_EQ(field->text(), "");
    driver->typeText(field->textView(), "gg");
    clock->advance(HCConversationMessageBoxController::kInitialTextDelay);
    settle();
    EXPECT_EQ(field->text(), "gg");
}

TEST_F(ConversationPageTest, TheBoxStaysAboveTheKeyboardAndOnlyItsGrowthScrollsTheRows)
{
    const auto id = forums->conversationBetween(kUserId, kOtherUserId, server->now()).id;
    for (int i = 0; i < 9; ++i) forums->reply(id, kOtherUserId, "line " + std::to_string(i), server->now() + i);
    auto page = openConversation(id);
    ASSERT_TRUE(page);
    auto framed = std::dynamic_pointer_cast<HCFramedNavigationController>(page->navigationController());
    ASSERT_TRUE(framed);
    auto box = page->messageBox()->view();
    ASSERT_EQ(framed->bottomView(), box);
    auto field = page->messageBox()->messageField();
    const double frameHeight = framed->view()->bounds().height();
    auto boxBottom = [&] { return box->frame().origin.y + box->frame().size.height; };
    EXPECT_EQ(boxBottom(), frameHeight);

    ASSERT_TRUE(driver->showKeyboard(field->textView()));
    settle();
    EXPECT_TRUE(page->isKeyboardShown());
    EXPECT_TRUE(page->navigationController()->isNavigationBarHidden());
    const double keyboard = frameHeight - boxBottom();
    EXPECT_GT(keyboard, 0);

    page->tableView()->setContentOffset(platform::ui::Point(0, 0));
    const double before = box->frame().height();
    field->setText("one\ntwo\nthree\nfour\nfive");
    settle();
    const double growth = box->frame().height() - before;
    EXPECT_GT(growth, 0);
    EXPECT_EQ(boxBottom(), frameHeight - keyboard);
    EXPECT_EQ(page->tableView()->contentOffset().y, growth);
    field->setText("one");
    settle();
    EXPECT_EQ(page->tableView()->contentOffset().y, growth);

    ASSERT_TRUE(driver->hideKeyboard());
    settle();
    EXPECT_FALSE(page->isKeyboardShown());
    EXPECT_FALSE(page->navigationController()->isNavigationBarHidden());
    EXPECT_EQ(boxBottom(), frameHeight);
}

}  // namespace

namespace {

TEST_F(ConversationPageTest, OnAPhoneTheFieldIsALineOf22HighAndEachLineMoreAddsALineToItAndTheBox)
{
    auto page = openConversation(forums->conversationBetween(kUserId, kOtherUserId, server->now()).id);
    ASSERT_TRUE(page);
    auto box = page->messageBox();
    auto field = box->messageField();
    const double line = field->textView()->font()->lineHeight();
    EXPECT_EQ(field->frame().height(), 22);
    EXPECT_EQ(box->view()->frame().height(), HCConversationMessageBoxController::kHeight);

    driver->typeText(field->textView(), "gg");
    EXPECT_EQ(field->frame().height(), 22) << "a line typed is still one line";
    field->setText("one\ntwo\nthree");
    settle();
    EXPECT_EQ(field->visibleLines(), 3u);
    EXPECT_EQ(field->frame().height(), 22 + 2 * line);
    EXPECT_EQ(box->view()->frame().height(), 22 + 2 * line + 6);
    field->setText("");
    settle();
    EXPECT_EQ(field->frame().height(), 22);
    EXPECT_EQ(box->view()->frame().height(), 22 + 6);
}

TEST_F(ConversationPageTest, OnAPhoneTheLinesStayPutWhenTheKeyboardGoesAndTheBarComesBack)
{
    const auto id = forums->conversationBetween(kUserId, kOtherUserId, server->now()).id;
    for (int i = 0; i < 20; ++i) forums->reply(id, kOtherUserId, "line " + std::to_string(i), server->now() + i);
    auto page = openConversation(id);
    ASSERT_TRUE(page);
    auto table = page->tableView();
    ASSERT_TRUE(driver->showKeyboard(page->messageBox()->messageField()->textView()));
    settle();
    ASSERT_TRUE(page->navigationController()->isNavigationBarHidden());
    // The player reads somewhere in the middle.
    table->setContentOffset(platform::ui::Point(0, 200));
    table->layoutIfNeeded();
    auto line = table->cellForRowAtIndexPath({0, 8});
    ASSERT_TRUE(line);
    const std::string words = platform::ui::Driver::labelsText(line);
    const double onScreen = line->convertPointTo(platform::ui::Point(0, 0), line->window()).y;

    ASSERT_TRUE(driver->hideKeyboard());
    settle();
    ASSERT_FALSE(page->navigationController()->isNavigationBarHidden());
    table->layoutIfNeeded();
    line = table->cellForRowAtIndexPath({0, 8});
    ASSERT_TRUE(line);
    EXPECT_EQ(platform::ui::Driver::labelsText(line), words);
    EXPECT_EQ(line->convertPointTo(platform::ui::Point(0, 0), line->window()).y, onScreen);
}

}  // namespace

namespace {

TEST_F(ConversationPageTest, TheBoxFadesOutUnderThePartnersProfileAndBackInOnReturn)
{
    const auto id = forums->conversationBetween(kUserId, kOtherUserId, server->now()).id;
    forums->reply(id, kOtherUserId, "see my profile", server->now());
    auto page = openConversation(id);
    ASSERT_TRUE(page);
    auto box = page->messageBox();
    auto shown = [&] { return std::vector<double>{box->messageField()->alpha(), box->sendButton()->alpha()}; };
    EXPECT_EQ(shown(), (std::vector<double>{1.0, 1.0}));

    auto table = page->tableView();
    std::shared_ptr<HCConversationCell> bubble;
    for (int row = 0; row < table->numberOfRowsInSection(0) && !bubble; ++row)
        bubble = std::dynamic_pointer_cast<HCConversationCell>(table->cellForRowAtIndexPath({0, row}));
    ASSERT_TRUE(bubble);
    ASSERT_TRUE(driver->tapView(bubble->authorButton()));
    settle();
    waitForIdle();
    ASSERT_TRUE(topPageAs<HCProfileController>());
    EXPECT_EQ(shown(), (std::vector<double>{0.0, 0.0}));

    ASSERT_TRUE(driver->tapBack());
    settle();
    ASSERT_EQ(topPage(), page);
    EXPECT_EQ(shown(), (std::vector<double>{1.0, 1.0}));
}

}  // namespace
