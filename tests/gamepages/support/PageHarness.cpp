#include "gamepages/support/PageHarness.h"

#include <atomic>
#include <fstream>
#include <optional>

#include "accounts/HCIntroNavigationController.h"
#include "accounts/HCLinkSocialNetworksController.h"
#include "client/HCClientHooks.h"
#include "localserver/Faults.h"
#include "core/halcyon/HCLocationSource.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "core/images/HCImageView.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "core/users/HCUser.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HCWebViewManifestService.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/HCSocialPostComposer.h"
#include "kernel/reachability/HCReachability.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Fixtures.h"
#include "localserver/routes/AchievementRoutes.h"
#include "localserver/routes/ForumRoutes.h"
#include "localserver/routes/LeaderboardRoutes.h"
#include "localserver/routes/ScoreQueryRoutes.h"
#include "localserver/routes/StorageRoutes.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/Sandbox.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"
#include "platform/gamecenter/GameCenterDevice.h"
#include "platform/ui/AlertPanel.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Location.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Transitions.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCViewController.h"

namespace pagetest {

namespace {

// The log-in of these tests is made by hand; nothing else may start one.
class NoLoginChain final : public HCLoginChain {
public:
    void login(const std::optional<std::string>&, bool) override {}
};

constexpr const char* kTabs = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>tabs</key><array>
    <dict><key>name</key><string>GameProfile</string><key>title</key><string>Now Playing</string>
          <key>page</key><string>HarnessTabRoot</string></dict>
    <dict><key>name</key><string>MyHalcyon</string><key>title</key><string>My Halcyon</string>
          <key>page</key><string>HarnessTabRoot</string></dict>
  </array>
</dict></plist>
)";

// The game ships the same boards as the server, so they list offline.
constexpr const char* kOfflineConfig =
    "<resources><offline><leaderboards>"
    "<leaderboard><id>1</id><name>High Score</name><active>1</active><visible>1</visible>"
    "<descending_sort_order>1</descending_sort_order><start_version>0000.00.00</start_version>"
    "<end_version>9999.99.99</end_version></leaderboard>"
    "<leaderboard><id>2</id><name>Fewest Moves</name><active>1</active><visible>1</visible>"
    "<descending_sort_order>0</descending_sort_order><start_version>0000.00.00</start_version>"
    "<end_version>9999.99.99</end_version></leaderboard>"
    "</leaderboards></offline></resources>";

// The social post page stands above this layer; the tests' own shows the
// text it is given and where its picture comes from.
class HCSendSocialNotificationController final : public HCViewController, public HCSocialPostComposer {
public:
    void setPrepopulatedText(const std::optional<std::string>& text, const std::optional<std::string>&) override
    {
        text_->setText(text.value_or(""));
    }
    void setImageType(const std::string& type, const std::string& id, const std::optional<std::string>&) override
    {
        image_->setText(type + "/" + id);
    }
    void setImageUrl(const std::optional<std::string>&, const platform::ui::ImagePtr&) override {}
    void viewDidLoad() override
    {
        view()->addSubview(text_);
        view()->addSubview(image_);
    }

private:
    std::shared_ptr<platform::ui::Label> text_ = platform::ui::Label::make(platform::ui::Rect(0, 0, 320, 40));
    std::shared_ptr<platform::ui::Label> image_ = platform::ui::Label::make(platform::ui::Rect(0, 40, 320, 40));
};

// The root of each tab: the pages under test are pushed above it, and a
// tab's real root page would load on its own.
class HarnessTabRootController final : public HCViewController {};
const bool tabRootRegistered =
    (platform::registerClass<HarnessTabRootController>("HCHarnessTabRootController"), true);

// A device that has its fix.
class FixedLocation final : public HCLocationSource {
public:
    explicit FixedLocation(platform::ui::LocationPtr location) : location_(std::move(location)) {}
    bool isLocationUpdating() const override { return false; }
    void stopUpdatingLocation() override {}
    platform::ObjectPtr userLocation() const override { return location_; }

private:
    platform::ui::LocationPtr location_;
};

}  // namespace

void PageHarness::SetUp()
{
    HCClientHooks::resetForTesting();
    platform::DeviceFacts::setLargeScreen(false);
    std::ofstream(bundle.str() + "/TabBarItems.plist") << kTabs;
    std::ofstream(bundle.str() + "/halcyon_offline_config.xml") << kOfflineConfig;
    platform::Sandbox::configure(sandbox.str(), bundle.str());
    server = std::make_unique<localserver::Server>();
    localserver::registerServiceRoutes(*server);
    bucket = localserver::registerStorageRoutes(*server);
    scores = localserver::registerScoreRoutes(*server, bucket);
    achievements = localserver::registerAchievementRoutes(*server);
    localserver::registerLeaderboardRoutes(*server, scores, achievements);
    scoreQueries = localserver::registerScoreQueryRoutes(*server, scores, bucket,
                                          [](const std::string& board) { return board != "2"; });
    forums = localserver::registerForumRoutes(*server);
    ASSERT_TRUE(server->start()) << server->error();
    HCSettings::setDefaultOverride("server-url", server->serviceRootUrl());
    clock = std::make_unique<testsupport::ScopedManualClock>();
    driver = std::make_unique<platform::ui::Driver>(&clock->clock());
    window = testsupport::BannerWindow::show();
}

void PageHarness::TearDown()
{
    for (const auto& panel : platform::ui::AlertPanel::shownPanels()) panel->dismissWithClickedButtonIndex(-1, false);
    platform::ui::Transitions::finishAll();
    HCClientHooks::resetForTesting();
    if (gameCenter_) platform::gamecenter::GameCenterDevice::reset();
    clock->advance(3600);
    testsupport::drainMain();
    server->stop();
    testsupport::drainMain();
    window.reset();
    driver.reset();
    clock.reset();
}

void PageHarness::startOnline()
{
    start(true);
}

void PageHarness::startOffline()
{
    start(false);
}

void PageHarness::useGameCenter()
{
    namespace gc = platform::gamecenter;
    gameCenter_ = true;
    gc::GameCenterDevice::reset();
    platform::DeviceFacts::setSystemVersion("4.2");
    gc::GameCenterDevice::setPlayer("G:1");
    std::ofstream(bundle.str() + "/HCGameCenter.plist")
        << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Leaderboards</key><dict>"
           "<key>1</key><string>" << kGameCenterBoard << "</string></dict></dict></plist>";
}

void PageHarness::disallowUserGeneratedContent()
{
    userContentAllowed_ = false;
}

void PageHarness::usePagesAsTabs(const std::vector<std::pair<std::string, std::string>>& tabs)
{
    std::ofstream plist(bundle.str() + "/TabBarItems.plist");
    plist << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict><key>tabs</key><array>";
    for (const auto& [name, title] : tabs) {
        plist << "<dict><key>name</key><string>" << name << "</string>";
        if (!title.empty()) plist << "<key>title</key><string>" << title << "</string>";
        plist << "</dict>";
    }
    plist << "</array></dict></plist>";
}

void PageHarness::answerGameCenter()
{
    bool passed = false;
    platform::gamecenter::GameCenterDevice::thread()->runLoop()->post(
        [&passed] { platform::performOnMain([&passed] { passed = true; }); });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return passed; }));
    testsupport::drainMain();
}

void PageHarness::start(bool online)
{
    Halcyon::setUserApprovedHalcyon();
    delegates = HCDelegatesContainer::containerWithHalcyonDelegate(gameDelegate);
    HCClientAssembly assembly = HCClientHooks::assembly();
    assembly.loginChain = std::make_shared<NoLoginChain>();
    std::shared_ptr<platform::Dictionary> settings = platform::Dictionary::make();
    if (gameCenter_) settings->setObject(HalcyonSettingGameCenterEnabled, platform::Number::makeBool(true));
    if (!userContentAllowed_)
        settings->setObject(HalcyonSettingDisableUserGeneratedContent, platform::Number::makeBool(true));
    Halcyon::_initialize(localserver::defaults::kProductKey, localserver::defaults::kProductSecret,
                         localserver::defaults::kGameName, settings, delegates,
                         std::move(assembly));
    testsupport::drainMain();
    // The start-up set the web pages' mirror fetching on a thread of its
    // own, beside the provider: ended here, online or not, so that a fault a
    // test arms for a page's next request is never taken by a late manifest.
    ASSERT_TRUE(testsupport::runMainUntil([] { return !HCWebViewManifestService::isUpdating(); }))
        << "the web pages' mirror did not finish";
    if (standInComposer)
        platform::registerClass<HCSendSocialNotificationController>("HCSendSocialNotificationController");
    auto game = HCResource::initWithId<HCGameProfilePageInfo>(std::string(localserver::defaults::kGameId));
    game->setName(std::string(localserver::defaults::kGameName));
    game->setIconUrl(std::string("images/game_1.png"));
    game->setHasLeaderboards(std::string("true"));
    game->setHasAchievements(std::string("true"));
    Halcyon::setLocalGameProfileInfo(game);
    if (!online) {
        HCReachability::Instance()->setOverride(HCReachability::NotReachable);
        testsupport::drainMain();
        return;
    }
    HCReachability::Instance()->setOverride(HCReachability::ReachableViaWiFi);
    // The monitor's first status is posted by the time the override is set,
    // whether its own check or the override made it; heard after the log-in
    // below, it would start another log-in that nothing here ends, and a
    // page's own log-in would then be refused. The start-up log-in is still
    // running now, so hearing it starts nothing.
    testsupport::drainMain();
    auto user = HCResource::initWithId<HCUser>(std::string(localserver::defaults::kUserId));
    user->setName(std::string(localserver::defaults::kUserName));
    Halcyon::setLocalUser(user);
    Halcyon::provider()->setAccessToken(localserver::defaults::kUserToken, localserver::defaults::kUserTokenSecret);
    Halcyon::sessionDidLoginUser();
    testsupport::drainMain();
    ASSERT_TRUE(Halcyon::isOnline());
    if (gameCenter_) {
        // What the log-in's end does; this log-in is made by hand.
        Halcyon::initializeGameCenter();
        // The sign-in, then what it asks next (the friends).
        for (int round = 0; round < 3; ++round) answerGameCenter();
        ASSERT_TRUE(Halcyon::isLoggedIntoGameCenter());
    }
    // What the log-in sent on its way is answered before a page asks anything.
    ASSERT_TRUE(Halcyon::provider()->waitUntilIdle(10.0));
    testsupport::drainMain();
}

void PageHarness::settle()
{
    for (int round = 0; round < 4; ++round) {
        driver->settle();
        clock->advance(1);
        testsupport::drainMain();
    }
}

std::shared_ptr<HCTableControllerHelper> PageHarness::openPage(
    const std::string& loaderName, const std::function<void(const platform::ui::ViewControllerPtr&)>& setUp)
{
    auto page = pushPage(loaderName, setUp);
    waitForIdle();
    return page;
}

std::shared_ptr<HCTableControllerHelper> PageHarness::pushPage(
    const std::string& loaderName, const std::function<void(const platform::ui::ViewControllerPtr&)>& setUp)
{
    auto page = startPush(loaderName, setUp);
    settle();
    return page;
}

std::shared_ptr<HCTableControllerHelper> PageHarness::startPush(
    const std::string& loaderName, const std::function<void(const platform::ui::ViewControllerPtr&)>& setUp)
{
    auto page = HCControllerLoader::load(loaderName);
    EXPECT_TRUE(page) << loaderName;
    if (!page) return nullptr;
    if (setUp) setUp(page);
    // Pushed on the open tab as another page would: a launch pushes
    // nothing while the client is offline.
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    EXPECT_TRUE(navigation) << "the dashboard did not open";
    if (!navigation) return nullptr;
    navigation->pushViewController(page, true);
    return std::dynamic_pointer_cast<HCTableControllerHelper>(page);
}

platform::ui::ViewControllerPtr PageHarness::topPage() const
{
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    return navigation ? navigation->topViewController() : nullptr;
}

std::vector<std::string> PageHarness::screenRows() const
{
    auto page = topPageAs<HCTableControllerHelper>();
    return page ? platform::ui::Driver::readTable(page->tableView()) : std::vector<std::string>{};
}

bool PageHarness::tapRow(const std::string& text)
{
    auto page = topPageAs<HCTableControllerHelper>();
    if (!page) return false;
    auto table = page->tableView();
    for (int section = 0; section < table->numberOfSections(); ++section) {
        for (int row = 0; row < table->numberOfRowsInSection(section); ++row) {
            const platform::ui::IndexPath path{section, row};
            table->scrollToRowAtIndexPath(path, platform::ui::TableViewScrollPosition::None, false);
            table->layoutIfNeeded();
            auto cell = table->cellForRowAtIndexPath(path);
            if (!cell || platform::ui::Driver::labelsText(cell).find(text) == std::string::npos) continue;
            const bool selected = driver->selectRow(table, path);
            settle();
            return selected;
        }
    }
    return false;
}

std::vector<std::string> PageHarness::rowPictures(const std::string& text) const
{
    std::vector<std::string> pictures;
    auto page = topPageAs<HCTableControllerHelper>();
    if (!page) return pictures;
    auto table = page->tableView();
    for (int section = 0; section < table->numberOfSections(); ++section) {
        for (int row = 0; row < table->numberOfRowsInSection(section); ++row) {
            auto cell = page->cellForRowAtIndexPath(*table, platform::ui::IndexPath{section, row});
            if (platform::ui::Driver::labelsText(cell).find(text) == std::string::npos) continue;
            for (const auto& picture : platform::ui::Driver::findAll<HCImageView>(cell)) {
                if (picture->imageUrl()) {
                    pictures.push_back(*picture->imageUrl());
                } else {
                    auto image = picture->image();
                    pictures.push_back(image && !image->name().empty() ? image->name() : "-");
                }
            }
            return pictures;
        }
    }
    return pictures;
}

void PageHarness::scrollToEnd()
{
    auto page = topPageAs<HCTableControllerHelper>();
    if (!page) return;
    auto table = page->tableView();
    const double end = table->contentSize().height - table->bounds().height() - table->contentOffset().y;
    if (end > 0) driver->dragScrollView(table, 0, end);
    settle();
}

void PageHarness::addBundleImage(const std::string& name)
{
    auto image = platform::ui::Image::withPixels(1, 1, {255, 255, 255, 255});
    auto data = platform::ui::PNGRepresentation(image);
    std::ofstream(bundle.str() + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(data->data()), static_cast<std::streamsize>(data->length()));
}

bool PageHarness::tapButton(const std::string& title)
{
    const bool tapped = driver->tapButton(title);
    settle();
    return tapped;
}

bool PageHarness::answerTheLinkingScreen()
{
    if (HCIntroNavigationController::activeIntroNavigationController()) {
        tapButton(HCLinkSocialNetworksController::kContinueTitle);
    }
    return HCIntroNavigationController::activeIntroNavigationController() == nullptr;
}

platform::ui::ViewControllerPtr PageHarness::sendThenLeaveBefore(HeldSendEnd end, const std::string& path,
                                                                const std::function<bool()>& send,
                                                                const std::function<bool()>& leave)
{
    const auto sending = topPage();
    // A refusal is held at the server; a drop is held on the request thread,
    // so that the provider still has it queued when it lets it go.
    std::optional<testsupport::RequestThreadGate> requestThreadHeld;
    if (end == HeldSendEnd::Refused) {
        server->faults().injectFor("POST", path, localserver::Fault::heldBack(localserver::Fault::reply(503, "busy")));
    } else {
        requestThreadHeld.emplace(Halcyon::provider()->requestThread());
    }
    const bool sent = send();
    const bool left = leave ? leave() : driver->tapBack();
    settle();
    const auto below = topPage();
    if (end == HeldSendEnd::Refused) {
        server->faults().releaseHeld();
    } else {
        Halcyon::provider()->destroyAllPendingRequests();
        requestThreadHeld.reset();
    }
    waitForIdle();
    settle();
    EXPECT_TRUE(sent && left) << "the send or the way out was not there";
    return below != sending ? below : nullptr;
}

bool PageHarness::showsLoadingScreen() const
{
    auto page = std::dynamic_pointer_cast<HCViewController>(topPage());
    return page && page->isShowingLoadingScreen();
}

namespace {

// Nothing is queued, running, or taken off the running count with its next
// step not yet posted. A finished request leaves the running count a moment
// before its reply's reading is posted on the request thread: a turn of that
// thread asked for in that moment would come before the reading, and a
// refusal heard after it (a page that reloads) after the wait had ended.
bool nothingOnItsWay(size_t runningLoaders)
{
    auto provider = Halcyon::provider();
    return !provider || (provider->queuedActionCount() == 0 && provider->runningLoaderCount() == runningLoaders &&
                         provider->outcomesBeingHandedOn() == 0);
}

bool providerIdle()
{
    return nothingOnItsWay(0);
}

// Once the provider lets go of a reply, its reading is on the request thread
// and hands it on to the main thread; one turn of the request thread puts
// every reply read so far in the main thread's queue. The
// turn wakes the main thread, which would otherwise see it only at its
// loop's next look (50 ms later): a crawl takes thousands of turns.
void turnRequestThread()
{
    auto provider = Halcyon::provider();
    auto thread = provider ? provider->requestThread() : nullptr;
    if (!thread) return;
    auto turned = std::make_shared<std::atomic<bool>>(false);
    auto mainLoop = platform::Thread::mainThread()->runLoop();
    thread->runLoop()->post([turned, mainLoop] {
        turned->store(true);
        mainLoop->wake();
    });
    EXPECT_TRUE(testsupport::runMainUntil([&] { return turned->load(); })) << "the request thread is stuck";
}

// Runs the main thread until `quiet` holds after every reply on its way has
// run here; a reply that ran may start the page's next request.
::testing::AssertionResult settleUntil(const std::function<bool()>& quiet)
{
    for (int round = 0; round < 50; ++round) {
        if (!testsupport::runMainUntil(quiet)) return ::testing::AssertionFailure() << "it did not come";
        turnRequestThread();
        testsupport::drainMain();
        if (quiet()) return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the page kept starting requests";
}

}  // namespace

void PageHarness::waitForIdle()
{
    auto idle = [this] {
        auto page = topPageAs<HCTableControllerHelper>();
        return providerIdle() && !showsLoadingScreen() && (!page || !page->isLoadingData());
    };
    ASSERT_TRUE(settleUntil(idle)) << "the page did not become idle";
}

void PageHarness::waitForReplies()
{
    ASSERT_TRUE(settleUntil(providerIdle)) << "the requests were not all answered";
}

bool PageHarness::serverHolds(size_t count)
{
    return testsupport::runMainUntil([&] { return server->faults().heldCount() == count; });
}

::testing::AssertionResult PageHarness::onlyTheHeldRequestRuns()
{
    // A request leaves the running count only once its reply is back, so a
    // request sent beside the held one keeps the count above one until the
    // server has logged it.
    auto onlyTheHeldOneLeft = [this] {
        auto provider = Halcyon::provider();
        return server->faults().heldCount() == 1 && provider && nothingOnItsWay(1);
    };
    return settleUntil(onlyTheHeldOneLeft) << ": the server held nothing, or other requests kept running";
}

void PageHarness::releaseHeldLast()
{
    EXPECT_TRUE(onlyTheHeldRequestRuns());
    server->faults().releaseHeld();
}

size_t PageHarness::requestsTo(const std::string& path) const
{
    size_t count = 0;
    for (const auto& entry : server->log().entries()) count += entry.request.path == path ? 1 : 0;
    return count;
}

std::optional<std::string> PageHarness::lastParam(const std::string& path, const std::string& name) const
{
    std::optional<std::string> value;
    bool seen = false;
    for (const auto& entry : server->log().entries()) {
        if (entry.request.path != path) continue;
        value = entry.request.param(name);
        seen = true;
    }
    return seen ? value : std::nullopt;
}

size_t PageHarness::requestsWithParam(const std::string& path, const std::string& name,
                                      const std::string& value) const
{
    size_t count = 0;
    for (const auto& entry : server->log().entries())
        count += entry.request.path == path && entry.request.param(name) == value ? 1 : 0;
    return count;
}

void PageHarness::placePlayerAt(double latitude, double longitude, long unit)
{
    Halcyon::setUserLocation(std::make_shared<FixedLocation>(platform::ui::Location::make(latitude, longitude)));
    Halcyon::setUserDistanceUnit(unit);
}

bool PageHarness::pushComparedWithBen(const platform::ui::ViewControllerPtr& page)
{
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    auto navigation =
        std::dynamic_pointer_cast<HCFramedNavigationController>(HalcyonDashboard::getActiveNavigationController());
    if (!navigation) return false;
    auto ben = HCResource::initWithId<HCUser>(std::string(localserver::defaults::kOtherUserId));
    navigation->pushViewControllerInContextOfLocalUserComparedTo(page, false, ben);
    return true;
}

bool PageHarness::tapRightBarButton()
{
    auto page = topPage();
    auto item = page ? page->navigationItem()->rightBarButtonItem() : nullptr;
    const bool tapped = item && driver->tap(item);
    settle();
    return tapped;
}

std::string PageHarness::rightBarButtonWords() const
{
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    auto item = navigation ? navigation->navigationBar()->topItem() : nullptr;
    auto button = item ? item->rightBarButtonItem() : nullptr;
    return button ? button->displayTitle() : std::string();
}

std::shared_ptr<platform::ui::MapView> PageHarness::screenMap() const
{
    auto page = topPage();
    return page ? platform::ui::Driver::findFirst<platform::ui::MapView>(page->view()) : nullptr;
}

std::vector<std::string> PageHarness::screenPins() const
{
    return platform::ui::Driver::readMapPins(screenMap());
}

void PageHarness::seedScore(const std::string& user, const std::string& board, std::int64_t score, std::int64_t age,
                            std::optional<std::pair<double, double>> position)
{
    localserver::StoredScore posted;
    posted.userId = user;
    posted.leaderboardId = board;
    posted.score = score;
    posted.acceptedAt = server->now() - age;
    if (position) {
        posted.latitude = position->first;
        posted.longitude = position->second;
    }
    scores->accept(posted);
}

}  // namespace pagetest
