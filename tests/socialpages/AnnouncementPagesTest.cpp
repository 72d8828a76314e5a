// The announcement pages as the player works them: the running game's list
// from what the client holds, another game's by request, one announcement
// with its discussion, and the page of the game it links to.
#include "core/halcyon/Halcyon.h"
#include "core/resources/HCResource.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/gameprofile/HCGameProfileController.h"
#include "gamepages/support/PageHarness.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SegmentedControl.h"
#include "social/announcements/HCAnnouncementDelegate.h"
#include "social/announcements/HCAnnouncementService.h"
#include "social/forums/HCForumTopic.h"
#include "socialpages/announcements/HCAnnouncementBrowserController.h"
#include "socialpages/announcements/HCAnnouncementDetailController.h"
#include "socialpages/announcements/HCApplicationDescriptionController.h"
#include "socialpages/forums/HCPostNewMessage.h"
#include "support/TestSupport.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/widgets/HCBadgeButton.h"

namespace {

constexpr const char* kOwnList = "client_applications/1/forums/announcements.xml";

bool rowsContain(const std::vector<std::string>& rows, const std::string& text)
{
    for (const auto& row : rows)
        if (row.find(text) != std::string::npos) return true;
    return false;
}

class AnnouncementPagesTest : public pagetest::PageHarness {
protected:
    // The client holds the running game's announcements, as after a log-in.
    void download()
    {
        HCAnnouncementService::downloadAnnouncements();
        waitForIdle();
    }
    // From the list, the announcement with this title.
    std::shared_ptr<HCAnnouncementDetailController> openAnnouncement(const std::string& title)
    {
        EXPECT_TRUE(tapRow(title));
        waitForIdle();
        settle();
        return topPageAs<HCAnnouncementDetailController>();
    }
    // "Welcome to Tolvarine" from the list, its discussion led by the
    // announcement's own post, whose text differs from the list's summary.
    std::shared_ptr<HCAnnouncementDetailController> openWelcomeWithOwnPost()
    {
        startOnline();
        download();
        server->faults().injectFor(
            "GET", "discussions/800/posts.xml",
            localserver::Fault::reply(200,
                                      "<resources><post><id>880</id><body>Rules, revised: be kind</body></post>"
                                      "<post><id>881</id><body>Thanks, see you in level 3</body></post></resources>",
                                      "application/xml"));
        openPage("AnnouncementBrowser");
        return openAnnouncement("Welcome to Tolvarine");
    }
    // Announcement 800 as an open discussion (the server's are locked), of
    // `posts` when given, else of the server's posts.
    std::shared_ptr<HCAnnouncementDetailController> openOpenWelcome(const std::string& posts = {})
    {
        if (!posts.empty()) {
            server->faults().injectFor(
                "GET", "discussions/800/posts.xml",
                localserver::Fault::reply(200, "<resources>" + posts + "</resources>", "application/xml"));
        }
        auto announcement = HCResource::initWithId<HCAnnouncement>(std::string("800"));
        announcement->setTitle(std::string("Welcome to Tolvarine"));
        openPage("AnnouncementDetail", [&](const platform::ui::ViewControllerPtr& page) {
            auto detail = std::dynamic_pointer_cast<HCAnnouncementDetailController>(page);
            detail->setThread(announcement);
            detail->setTopic(HCForumTopic::announcementsTopic());
        });
        return topPageAs<HCAnnouncementDetailController>();
    }
    double storedDate()
    {
        auto date = Halcyon::lastAnnouncementDateForLocalUser();
        return date ? date->timeIntervalSince1970() : 0;
    }
};

TEST_F(AnnouncementPagesTest, TheRunningGamesListAsksNothingStoresTheLatestDateAndClearsTheUnreadCount)
{
    startOnline();
    download();
    ASSERT_GT(HCAnnouncementService::unreadAnnouncements(), 0u);
    const size_t asked = requestsTo(kOwnList);
    auto list = openPage("AnnouncementBrowser");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->title(), "Announcements");
    EXPECT_EQ(requestsTo(kOwnList), asked);
    EXPECT_TRUE(rowsContain(screenRows(), "Welcome to Tolvarine"));
    EXPECT_TRUE(rowsContain(screenRows(), "Holiday sale"));
    EXPECT_EQ(HCAnnouncementService::unreadAnnouncements(), 0u);
    // The latest date the list holds: "Our next game" was updated last.
    EXPECT_EQ(storedDate(), 1767200000.0);
}

// The game's own copies of its announcements, as it downloads them.
class GameAnnouncements final : public HCAnnouncementDelegate {
public:
    void didDownloadAnnouncementsAppAnnouncements(const std::vector<HCAnnouncementPtr>& app,
                                                  const std::vector<HCAnnouncementPtr>&) override
    {
        own = app;
        downloaded = true;
    }
    std::vector<HCAnnouncementPtr> own;
    bool downloaded = false;
};

TEST_F(AnnouncementPagesTest, TheBadgeTheListClearedStaysClearedWhenTheGameReadsOneOfItsAnnouncements)
{
    startOnline();
    download();
    ASSERT_GT(HCAnnouncementService::unreadAnnouncements(), 1u);
    GameAnnouncements game;
    HCAnnouncement::setDelegate(&game);
    ASSERT_TRUE(HCAnnouncement::downloadAnnouncementsAndSortBy(HCAnnouncement::kByCreationDate));
    const bool downloaded = testsupport::runMainUntil([&] { return game.downloaded; });
    HCAnnouncement::setDelegate(nullptr);
    ASSERT_TRUE(downloaded);
    ASSERT_FALSE(game.own.empty());
    ASSERT_TRUE(game.own.front()->isUnread());

    // The running game's page counts them on its fan club; the player reads the list.
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    HCGameProfileController::showGameProfileWithLocalApplication();
    settle();
    waitForIdle();
    auto gamePage = topPageAs<HCGameProfileController>();
    ASSERT_TRUE(gamePage);
    EXPECT_EQ(gamePage->fanClubButton()->badgeNumber(), HCAnnouncementService::unreadAnnouncements());
    ASSERT_TRUE(tapButton("Fan Club"));
    waitForIdle();
    ASSERT_TRUE(tapRow("Developer Announcements"));
    waitForIdle();
    ASSERT_TRUE(topPageAs<HCAnnouncementBrowserController>());

    // Meanwhile the game marks its own copy of one read; back on the game's
    // page the badge stays cleared.
    game.own.front()->markAsRead();
    ASSERT_TRUE(driver->tapBack());
    settle();
    ASSERT_TRUE(driver->tapBack());
    settle();
    ASSERT_EQ(topPage(), gamePage);
    EXPECT_EQ(gamePage->fanClubButton()->badgeNumber(), 0u);
}

TEST_F(AnnouncementPagesTest, AnAnnouncementWithoutADateIsSkippedInTheLatestDate)
{
    startOnline();
    server->faults().injectFor(
        "GET", kOwnList,
        localserver::Fault::reply(200,
                                  "<resources><discussion><id>901</id><subject>Undated</subject></discussion>"
                                  "<discussion><id>902</id><subject>Dated</subject>"
                                  "<updated_at>2026-01-02T00:00:00Z</updated_at></discussion>"
                                  "<discussion><id>903</id><subject>Undated too</subject></discussion></resources>",
                                  "application/xml"));
    download();
    openPage("AnnouncementBrowser");
    EXPECT_TRUE(rowsContain(screenRows(), "Undated too"));
    EXPECT_EQ(storedDate(), 1767312000.0);
    EXPECT_EQ(HCAnnouncementService::unreadAnnouncements(), 0u);
}

TEST_F(AnnouncementPagesTest, AnotherGamesListIsAskedForAndChangesNothingKept)
{
    startOnline();
    download();
    const unsigned unread = HCAnnouncementService::unreadAnnouncements();
    const double stored = storedDate();
    auto other = HCResource::initWithId<HCGameProfilePageInfo>(std::string("2"));
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    auto framed = std::dynamic_pointer_cast<HCFramedNavigationController>(HalcyonDashboard::getActiveNavigationController());
    ASSERT_TRUE(framed);
    // Pushed by hand: opening a page by name sets the running game in context.
    framed->changeGameContext(other);
    auto list = HCAnnouncementBrowserController::announcementBrowser();
    ASSERT_TRUE(list);
    framed->pushViewController(list, true);
    settle();
    waitForIdle();
    EXPECT_EQ(requestsTo("client_applications/2/forums/announcements.xml"), 1u);
    EXPECT_EQ(HCAnnouncementService::unreadAnnouncements(), unread);
    EXPECT_EQ(storedDate(), stored);
}

TEST_F(AnnouncementPagesTest, AnAnnouncementShowsItsDiscussionAndItsLinkedGamesPage)
{
    startOnline();
    download();
    openPage("AnnouncementBrowser");
    auto detail = openAnnouncement("Welcome to Tolvarine");
    ASSERT_TRUE(detail);
    EXPECT_TRUE(rowsContain(screenRows(), "Thanks, see you in level 3"));
    // A locked announcement offers no reply, and without "Close" no segment at all.
    EXPECT_FALSE(detail->navigationItem()->rightBarButtonItem());
    EXPECT_FALSE(tapButton("Buy"));
    HalcyonDashboard::getActiveNavigationController()->popViewController(false);
    settle();

    // A failed discussion takes its loading screen down.
    server->faults().injectFor("GET", "discussions/802/posts.xml", localserver::Fault::reply(500, "down"));
    detail = openAnnouncement("Our next game");
    ASSERT_TRUE(detail);
    EXPECT_FALSE(detail->isShowingLoadingScreen());
    ASSERT_TRUE(tapButton("Buy"));
    settle();
    auto info = topPageAs<HCApplicationDescriptionController>();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->title(), "Info");
    ASSERT_TRUE(info->webView()->request());
    EXPECT_NE(info->webView()->request()->url.find(
                  "client_applications/2/application_descriptions.iphone?app_banner_placement=announcementDetailBuy"),
              std::string::npos);
}

std::string headerText(const std::shared_ptr<HCAnnouncementDetailController>& page)
{
    auto header = page ? page->tableView()->tableHeaderView() : nullptr;
    return header ? platform::ui::Driver::labelsText(header) : std::string();
}

// The server's four, all locked: one discussed, one of its own post alone,
// two whose discussion the server does not have.
TEST_F(AnnouncementPagesTest, EveryAnnouncementShowsItsTitleAndTextWhateverItsDiscussionHolds)
{
    startOnline();
    download();
    openPage("AnnouncementBrowser");
    struct Shown {
        std::string title, text;
        std::vector<std::string> rows;
    };
    const std::string disabled = std::string("(") + HCAnnouncementDetailController::kLockedText + ")";
    const Shown announcements[] = {
        {"Welcome to Tolvarine", "Read the rules & have fun", {"Thanks, see you in level 3"}},
        {"Level pack 2 is out", "Twenty new levels", {disabled}},
        {"Our next game", "Coming soon", {disabled}},
        {"Holiday sale", "Half price", {disabled}},
    };
    for (const auto& shown : announcements) {
        SCOPED_TRACE(shown.title);
        auto detail = openAnnouncement(shown.title);
        ASSERT_TRUE(detail);
        EXPECT_TRUE(platform::ui::Driver::findByText(detail->view(), shown.title))
            << platform::ui::Driver::describeScreen();
        EXPECT_TRUE(platform::ui::Driver::findByText(detail->view(), shown.text))
            << platform::ui::Driver::describeScreen();
        // The replies, or below the header the words that the discussion is closed.
        const auto rows = screenRows();
        ASSERT_EQ(rows.size(), shown.rows.size()) << testing::PrintToString(rows);
        for (const auto& row : shown.rows) EXPECT_TRUE(rowsContain(rows, row)) << row;
        ASSERT_TRUE(driver->tapBack());
        settle();
    }
}

TEST_F(AnnouncementPagesTest, TheHeaderShowsTheAnnouncementsOwnPostAndTheRowsOnlyTheReplies)
{
    auto detail = openWelcomeWithOwnPost();
    ASSERT_TRUE(detail);
    EXPECT_NE(headerText(detail).find("Rules, revised: be kind"), std::string::npos) << headerText(detail);
    auto rows = screenRows();
    EXPECT_TRUE(rowsContain(rows, "Thanks, see you in level 3"));
    EXPECT_FALSE(rowsContain(rows, "Rules, revised: be kind"));

    // An open discussion of the announcement's post alone has no replies to show.
    detail = openOpenWelcome("<post><id>890</id><body>Soon</body></post>");
    ASSERT_TRUE(detail);
    EXPECT_EQ(screenRows(), std::vector<std::string>{"(No one is discussing this announcement.)"});
    EXPECT_NE(headerText(detail).find("Soon"), std::string::npos) << headerText(detail);
}

TEST_F(AnnouncementPagesTest, UnderParentalControlsOnlyTheAnnouncementsOwnPostShowsAndTheRowsSaySo)
{
    disallowUserGeneratedContent();
    startOnline();
    auto detail = openOpenWelcome("<post><id>880</id><body>Rules, revised: be kind</body></post>"
                                  "<post><id>881</id><body>Thanks, see you in level 3</body></post>");
    ASSERT_TRUE(detail);
    EXPECT_EQ(screenRows(), std::vector<std::string>{"(Disabled by Parental Controls)"});
    EXPECT_NE(headerText(detail).find("Rules, revised: be kind"), std::string::npos) << headerText(detail);
}

TEST_F(AnnouncementPagesTest, TheDiscussionsNextPageIsAskedForAtItsLastReply)
{
    startOnline();
    // Twelve posts: the announcement's own and eleven replies, ten to a page.
    for (int i = 0; i < 10; ++i)
        forums->reply("800", localserver::defaults::kOtherUserId, "Reply " + std::to_string(i), server->now());
    auto detail = openOpenWelcome();
    ASSERT_TRUE(detail);
    EXPECT_EQ(screenRows().size(), 9u);
    scrollToEnd();
    waitForIdle();
    EXPECT_EQ(lastParam("discussions/800/posts.xml", "page"), std::optional<std::string>("2"));
    const auto rows = screenRows();
    EXPECT_EQ(rows.size(), 11u);
    EXPECT_FALSE(rowsContain(rows, "Read the rules & have fun"));
    EXPECT_NE(headerText(detail).find("Read the rules & have fun"), std::string::npos) << headerText(detail);
}

TEST_F(AnnouncementPagesTest, TheDescriptionPageTellsItsNoticeOnceLoaded)
{
    startOnline();
    openPage("AnnouncementBrowser");
    HalcyonDashboard::getActiveNavigationController()->pushViewController(
        HCApplicationDescriptionController::applicationDescriptionForId(std::string("2"), std::nullopt), false);
    settle();
    auto info = topPageAs<HCApplicationDescriptionController>();
    ASSERT_TRUE(info);
    ASSERT_TRUE(info->isShowingLoadingScreen());
    EXPECT_FALSE(platform::ui::Driver::findByText("Downloaded Application Description"));
    // Without a placement the address carries none.
    ASSERT_TRUE(info->webView()->request());
    EXPECT_EQ(info->webView()->request()->url.find("app_banner_placement"), std::string::npos);
    ASSERT_TRUE(info->webView()->finishLoad());
    // One turn of the main loop lets the banner in; settling would see it out again.
    testsupport::drainMain();
    EXPECT_FALSE(info->isShowingLoadingScreen());
    EXPECT_TRUE(platform::ui::Driver::findByText("Downloaded Application Description"))
        << platform::ui::Driver::describeScreen();
}

}  // namespace

namespace {

TEST_F(AnnouncementPagesTest, TheBarOffersAReplyOnAnOpenAnnouncementAndOnlyCloseOnALockedOne)
{
    addBundleImage("HCButtonReplyToThread.png");
    startOnline();
    auto show = [&](bool locked, bool close) {
        auto announcement = HCResource::initWithId<HCAnnouncement>(std::string("800"));
        announcement->setTitle(std::string("Welcome to Tolvarine"));
        announcement->setIsLocked(locked);
        openPage("AnnouncementDetail", [&](const platform::ui::ViewControllerPtr& page) {
            auto detail = std::dynamic_pointer_cast<HCAnnouncementDetailController>(page);
            detail->setThread(announcement);
            detail->setTopic(HCForumTopic::announcementsTopic());
            detail->setShowCloseButton(close);
        });
        auto detail = topPageAs<HCAnnouncementDetailController>();
        auto item = detail ? detail->navigationItem()->rightBarButtonItem() : nullptr;
        return item ? std::dynamic_pointer_cast<platform::ui::SegmentedControl>(item->customView()) : nullptr;
    };
    auto open = show(false, false);
    ASSERT_TRUE(open);
    ASSERT_EQ(open->numberOfSegments(), 1u);
    EXPECT_TRUE(open->imageForSegmentAtIndex(0));
    ASSERT_TRUE(open->tapSegment(0));
    settle();
    EXPECT_TRUE(topPageAs<HCPostNewMessage>());

    EXPECT_EQ(open->segmentedControlStyle(), platform::ui::SegmentedControl::Style::Bar);
    Halcyon::dismissDashboard();
    settle();

    // A locked one whose discussion fails says it is disabled below its
    // header, and its short text keeps the detail area at its least height.
    server->faults().injectFor("GET", "discussions/800/posts.xml", localserver::Fault::reply(500, "down"));
    auto locked = show(true, true);
    ASSERT_TRUE(locked);
    ASSERT_EQ(locked->numberOfSegments(), 1u);
    EXPECT_EQ(locked->titleForSegmentAtIndex(0), "Close");
    auto detail = topPageAs<HCAnnouncementDetailController>();
    EXPECT_EQ(screenRows(),
              std::vector<std::string>{std::string("(") + HCAnnouncementDetailController::kLockedText + ")"});
    EXPECT_FALSE(detail->tableView()->isHidden());
    EXPECT_EQ(detail->tableView()->tableHeaderView()->frame().height(),
              HCAnnouncementDetailController::kMinimumDetailHeight);
    // The log-in's linking screen, still up in its own window, goes first.
    Halcyon::dismissRootControllerOrItsModal();
    ASSERT_TRUE(HalcyonDashboard::getRootController());
    ASSERT_TRUE(locked->tapSegment(0));
    settle();
    EXPECT_FALSE(HalcyonDashboard::getRootController());
}

}  // namespace
