// Banners as the player sees them, with the client up, the game's
// notification delegate and a manual clock: each caller's banner (the
// log-in's, a request's of types 1 and 2, a score's, an achievement's, a
// challenge's, the server's) with its words, place and timeline; the gate;
// the open dashboard; icons from the bundle, the cache and the local
// server.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "client/support/HalcyonTest.h"
#include "core/banners/HCAchievementNotificationView.h"
#include "core/banners/HCChallengeNotificationView.h"
#include "core/banners/HCDashboardNotificationView.h"
#include "core/banners/HCNotification.h"
#include "core/banners/HCNotificationDelegate.h"
#include "core/banners/HCNotificationHooks.h"
#include "core/banners/HCServerNotificationView.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/images/HCImageCache.h"
#include "core/notifications/HCServerNotification.h"
#include "core/users/HCUser.h"
#include "kernel/settings/HCSettings.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/Sandbox.h"
#include "platform/ui/Driver.h"
#include "platform/ui/Layer.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/TextMetrics.h"
#include "support/BannerWindow.h"
#include "support/LoopbackServer.h"
#include "transport/provider/HCProvider.h"

namespace {

using platform::ui::Rect;
using testnet::LoopbackServer;
using testnet::ServerReply;
using testsupport::BannerWindow;

class GameNotifications final : public HCNotificationDelegate {
public:
    bool isHalcyonNotificationAllowed(const HCNotificationDataPtr& notice) override
    {
        return vetoed.empty() || notice->notificationText.find(vetoed) == std::string::npos;
    }
    void handleDisallowedNotification(const HCNotificationDataPtr& notice) override
    {
        heard.push_back("refused " + describe(notice));
    }
    void notificationWillShow(const HCNotificationDataPtr& notice) override
    {
        heard.push_back((platform::Thread::isMainThread() ? "shows " : "OFF MAIN shows ") + describe(notice));
    }
    static std::string describe(const HCNotificationDataPtr& notice)
    {
        return notice->notificationText + " (" + std::to_string(notice->notificationCategory) + "/" +
               std::to_string(notice->notificationType) + ")";
    }
    std::string vetoed;  // refuses banners containing this text
    std::vector<std::string> heard;
};

// A delegate that implements none of the three questions.
class QuietGame final : public HCNotificationDelegate {};

std::string pngBytes(int side)
{
    auto image = platform::ui::Image::withPixels(side, side, std::vector<uint8_t>(size_t(side) * side * 4, 0x80));
    return platform::ui::PNGRepresentation(image)->toString();
}

void writeBundleImage(const std::string& name, int side)
{
    std::filesystem::create_directories(platform::Sandbox::bundlePath());
    std::ofstream(std::filesystem::path(platform::Sandbox::bundlePath()) / name, std::ios::binary) << pngBytes(side);
}

class BannersTest : public HalcyonTest {
protected:
    void SetUp() override
    {
        HalcyonTest::SetUp();
        server.route("/icon.png", [](const testnet::ServerRequest&) { return ServerReply::text(200, pngBytes(8)); });
        server.route("/held.png", [](const testnet::ServerRequest&) {
            auto reply = ServerReply::text(200, pngBytes(8));
            reply.hold = true;
            return reply;
        });
        server.route("/scores.xml", [](const testnet::ServerRequest&) {
            return ServerReply::text(200, "<resources></resources>");
        });
        server.route("/slow.xml", [](const testnet::ServerRequest&) {
            auto reply = ServerReply::text(200, "<resources></resources>");
            reply.hold = true;
            return reply;
        });
        for (const char* name : {"HalcyonStatusIconNotificationFailure.png", "HCHalcyonPointsWhite.png",
                                 "HalcyonPercentLockWhite.png", "HCNotificationBackgroundIPhoneTop.png",
                                 "HCNotificationBackgroundIPhoneBottom.png", "HCNotificationBackgroundIPadBottomRight.png",
                                 "HalcyonLogoNotificationIcon.png", "AchievementIcon_7.jpg"})
            writeBundleImage(name, 60);
    }

    // Starts the client with the game's delegate and these settings, and a
    // key window the banners slide into.
    void startWith(std::initializer_list<std::pair<const char*, platform::ObjectPtr>> entries = {},
                   HCNotificationDelegate* notifications = nullptr)
    {
        HCSettings::setDefaultOverride("server-url", server.url("/"));
        delegates = HCDelegatesContainer::containerWithHalcyonDelegate(nullptr, nullptr,
                                                                       notifications ? notifications : &game);
        start(settingsWith(entries));
        window = BannerWindow::show();
        testsupport::drainMain();
        window->shown.clear();
    }

    std::shared_ptr<HCNotificationView> onlyBanner()
    {
        testsupport::drainMain();
        EXPECT_EQ(window->shown.size(), 1u);
        return window->shown.empty() ? nullptr : window->shown.back();
    }

    // The layer animation under the key, as "from->to over seconds".
    static std::string slide(const HCNotificationViewPtr& banner, const std::string& key)
    {
        auto animation = std::dynamic_pointer_cast<platform::ui::BasicAnimation>(banner->layer()->animationForKey(key));
        if (!animation) return "none";
        char text[96];
        std::snprintf(text, sizeof text, "%g->%g over %g", std::get<double>(animation->fromValue()),
                      std::get<double>(animation->toValue()), animation->duration());
        return text;
    }

    static bool onScreen(const HCNotificationViewPtr& banner) { return banner->superview() != nullptr; }

    void wait(double seconds) { platform::ui::Driver(&clock->clock()).wait(seconds); }

    LoopbackServer server;
    GameNotifications game;
    std::shared_ptr<BannerWindow> window;
};

TEST_F(BannersTest, ATextBannerSlidesInAtTheTopStaysTwoSecondsAndSlidesOutUpwards)
{
    startWith();
    HCNotification::sharedInstance()->showBackgroundNotice(
        HCNotificationData::dataWithText("Hello there", HCNotificationCategoryLogin, HCNotificationTypeSuccess),
        HCNotificationStatusSuccess);
    EXPECT_TRUE(window->shown.empty()) << "configured on the next turn, not inside the call";
    auto banner = onlyBanner();
    ASSERT_TRUE(banner);
    EXPECT_EQ(game.heard, std::vector<std::string>{"shows Hello there (2/4)"});
    EXPECT_EQ(window->texts(), std::vector<std::string>{"Hello there [ok]"});
    // Position 0 on a small portrait screen: under the status bar, full width.
    EXPECT_EQ(banner->frame(), Rect(0, 20, 320, 50));
    EXPECT_EQ(banner->backgroundImage->image()->name(), "HCNotificationBackgroundIPhoneTop.png");
    EXPECT_EQ(banner->backgroundImage->image()->leftCapWidth(), 10) << "stretched 50 points from its right end";
    EXPECT_EQ(banner->viewToMove->frame().origin.y, -2) << "nudged towards the edge";
    // No icon and no status: the text takes the icon's room.
    EXPECT_EQ(banner->notice->frame(), Rect(16, 5, 260, 40));
    EXPECT_EQ(slide(banner, "position.y"), "-5->45 over 0.25");

    // The driver's waiting moves the clock in steps of 0.05 s, so each timed
    // hop may land up to a step late.
    wait(1.0);
    // A second banner a second later lies over the first, on its own timeline.
    HCNotification::sharedInstance()->showBackgroundNotice(HCNotificationData::dataWithText("Again", 1),
                                                           HCNotificationStatusSuccess);
    testsupport::drainMain();
    ASSERT_EQ(window->shown.size(), 2u);
    auto second = window->shown.back();
    EXPECT_EQ(second->frame(), banner->frame());
    wait(1.2);
    EXPECT_TRUE(onScreen(banner));
    EXPECT_EQ(slide(banner, "position.y"), "none");
    wait(0.2);
    EXPECT_EQ(slide(banner, "position.y"), "45->-5 over 0.5");
    EXPECT_EQ(slide(second, "position.y"), "none");
    wait(0.3);
    EXPECT_TRUE(onScreen(banner)) << "still sliding out at 2.7 s";
    wait(0.2);
    EXPECT_FALSE(onScreen(banner)) << "gone after 0.25 + 2.0 + 0.5 s";
    EXPECT_TRUE(onScreen(second));
    wait(1.0);
    EXPECT_FALSE(onScreen(second)) << "gone a second after the first";
}

TEST_F(BannersTest, BannersSitAtTheirPositionForEachScreenAndOrientationAndLeaveOverTheirEdge)
{
    // Bottom right on a small portrait screen: placed bottom left, slides down.
    startWith({{HalcyonSettingNotificationPosition, platform::Number::make(3)}});
    HCNotification::sharedInstance()->showBackgroundNotice(HCNotificationData::dataWithText("Low", 1),
                                                           HCNotificationStatusSuccess);
    auto banner = onlyBanner();
    ASSERT_TRUE(banner);
    EXPECT_EQ(banner->frame(), Rect(0, 430, 320, 50));
    EXPECT_EQ(banner->backgroundImage->image()->name(), "HCNotificationBackgroundIPhoneBottom.png");
    EXPECT_EQ(slide(banner, "position.y"), "505->455 over 0.25");

    // Upside down: the same banner sits at the window's top, turned over, and leaves upwards.
    restartProcess();
    startWith({{HalcyonSettingNotificationPosition, platform::Number::make(3)},
               {HalcyonSettingDashboardOrientation, platform::Number::make(2)}});
    HCNotification::sharedInstance()->showBackgroundNotice(HCNotificationData::dataWithText("Over", 1),
                                                           HCNotificationStatusSuccess);
    banner = onlyBanner();
    ASSERT_TRUE(banner);
    EXPECT_EQ(banner->frame(), Rect(0, 0, 320, 50));
    EXPECT_EQ(banner->transform(), platform::ui::AffineTransform::quarterTurns(2));
    EXPECT_EQ(slide(banner, "position.y"), "-25->25 over 0.25");

    // A tablet in landscape whose window keeps portrait coordinates: a quarter
    // turn along the window's right edge, at most 480 long, leaving sideways.
    restartProcess();
    platform::DeviceFacts::setLargeScreen(true);
    startWith({{HalcyonSettingNotificationPosition, platform::Number::make(3)},
               {HalcyonSettingDashboardOrientation, platform::Number::make(4)}});
    HCNotification::sharedInstance()->showBackgroundNotice(HCNotificationData::dataWithText("Side", 1),
                                                           HCNotificationStatusSuccess);
    banner = onlyBanner();
    ASSERT_TRUE(banner);
    EXPECT_TRUE(banner->isParentViewRotatedInternally());
    EXPECT_EQ(banner->bounds().size, platform::ui::Size(480, 50));
    EXPECT_EQ(banner->center(), platform::ui::Point(743, 240));
    EXPECT_EQ(banner->transform(), platform::ui::AffineTransform::quarterTurns(-1));
    EXPECT_EQ(banner->backgroundImage->image()->name(), "HCNotificationBackgroundIPadBottomRight.png");
    EXPECT_EQ(slide(banner, "position.x"), "793->743 over 0.25");
    platform::DeviceFacts::setLargeScreen(false);

    // Without the status bar a top banner touches the screen's edge.
    restartProcess();
    startWith();
    platform::ui::Application::shared()->setStatusBarHidden(true, false);
    HCNotification::sharedInstance()->showBackgroundNotice(HCNotificationData::dataWithText("Edge", 1),
                                                           HCNotificationStatusSuccess);
    banner = onlyBanner();
    ASSERT_TRUE(banner);
    EXPECT_EQ(banner->frame().origin.y, 0);
}

TEST_F(BannersTest, TheGateAsksTheGameAndADisabledPlayerSeesNone)
{
    game.vetoed = "secret";
    startWith();
    auto notices = HCNotification::sharedInstance();
    notices->showBackgroundNotice(HCNotificationData::dataWithText("A secret", 7, 4), HCNotificationStatusSuccess);
    notices->showAchievementNotice(std::nullopt, 100);
    testsupport::drainMain();
    EXPECT_EQ(game.heard, (std::vector<std::string>{"refused A secret (7/4)", "shows Achievement Unlocked! (6/4)"}));
    EXPECT_EQ(window->shown.size(), 1u);

    // Disabled: refused whatever the game would say.
    game.heard.clear();
    game.vetoed.clear();
    Halcyon::setDisabled(true);
    notices->showBackgroundNotice(HCNotificationData::dataWithText("Anything", 1), HCNotificationStatusSuccess);
    notices->showChallengeNotice(std::nullopt);
    testsupport::drainMain();
    EXPECT_EQ(game.heard, (std::vector<std::string>{"refused Anything (1/0)", "refused New Challenge! (3/5)"}));
    EXPECT_EQ(window->shown.size(), 1u);

    // A game that answers none of the questions lets every banner through.
    Halcyon::setDisabled(false);
    restartProcess();
    QuietGame quiet;
    startWith({}, &quiet);
    notices->showBackgroundNotice(HCNotificationData::dataWithText("Plain", 1), HCNotificationStatusSuccess);
    EXPECT_TRUE(onlyBanner());
}

TEST_F(BannersTest, WhileTheHubIsOpenBackgroundNoticesAreDroppedSilentlyButOthersShow)
{
    startWith();
    HCNotificationHooks hooks;
    hooks.isDashboardHubOpen = [] { return true; };
    HCNotificationHooks::install(hooks);
    auto notices = HCNotification::sharedInstance();
    notices->setDefaultBackgroundNotice(HCNotificationData::dataWithText("Saved", 4, 4), HCNotificationStatusSuccess);
    notices->showDefaultNotice();
    notices->showAchievementNotice(HCAchievementNoticeInfo{"9", "Sharp", 10, std::nullopt, nullptr}, 100);
    testsupport::drainMain();
    EXPECT_EQ(game.heard, std::vector<std::string>{"shows Achievement Unlocked! (6/4)"});
    ASSERT_EQ(window->shown.size(), 1u);
    EXPECT_EQ(BannerWindow::textOf(window->shown[0]), "'Sharp' | 10");
    EXPECT_EQ(notices->defaultBackgroundNotice(), nullptr) << "dropped, not kept";
    HCNotificationHooks::install({});
}

TEST_F(BannersTest, AServerBannerReplacesTheArmedNoticeAndEachReplyTakesTheNoticeOfItsOwnCall)
{
    startWith();
    auto notices = HCNotification::sharedInstance();
    auto server = std::make_shared<HCServerNotification>();
    server->setText(std::string("Tournament tonight"));
    notices->setDefaultBackgroundNotice(HCNotificationData::dataWithText("Submitting", 4, 1), HCNotificationStatusSuccess);
    notices->showServerNotification(server);
    notices->showDefaultNotice();
    testsupport::drainMain();
    EXPECT_EQ(game.heard, std::vector<std::string>{"shows Tournament tonight (4/1)"});
    EXPECT_EQ(window->texts(), std::vector<std::string>{"Tournament tonight [ok]"});

    // Nothing armed: presence category, no type.
    game.heard.clear();
    notices->showServerNotification(server);
    testsupport::drainMain();
    EXPECT_EQ(game.heard, std::vector<std::string>{"shows Tournament tonight (8/0)"});

    // Vetoed: the caller's own notice is shown after all.
    game.heard.clear();
    window->shown.clear();
    game.vetoed = "Tournament";
    notices->setDefaultBackgroundNotice(HCNotificationData::dataWithText("Score saved", 4, 4),
                                        HCNotificationStatusSuccess);
    notices->showServerNotification(server);
    notices->showDefaultNotice();
    testsupport::drainMain();
    EXPECT_EQ(game.heard, (std::vector<std::string>{"refused Tournament tonight (4/4)", "shows Score saved (4/4)"}));
    EXPECT_EQ(window->texts(), std::vector<std::string>{"Score saved [ok]"});
    notices->showDefaultNotice();  // nothing armed: nothing shown
    testsupport::drainMain();
    EXPECT_EQ(window->shown.size(), 1u);

    // Replies read on the request thread take the notice armed for their own
    // call, although the main thread arms the next call's before it gets
    // round to showing anything.
    game.heard.clear();
    game.vetoed.clear();
    notices->setDefaultBackgroundNotice(HCNotificationData::dataWithText("First call", 4, 4),
                                        HCNotificationStatusSuccess);
    std::thread([notices] { notices->showDefaultNotice(); }).join();
    notices->setDefaultBackgroundNotice(HCNotificationData::dataWithText("Second call", 4, 1),
                                        HCNotificationStatusSuccess);
    std::thread([notices, server] {
        notices->showServerNotification(server);
        notices->showDefaultNotice();
    }).join();
    notices->setDefaultBackgroundNotice(HCNotificationData::dataWithText("Third call", 4, 4),
                                        HCNotificationStatusSuccess);
    testsupport::drainMain();
    EXPECT_EQ(game.heard, (std::vector<std::string>{"shows First call (4/4)", "shows Tournament tonight (4/1)"}));
    ASSERT_TRUE(notices->defaultBackgroundNotice());
    EXPECT_EQ(notices->defaultBackgroundNotice()->notificationText, "Third call");
}

TEST_F(BannersTest, ARequestBannerAppearsWhenTheRequestEndsAndTheCallerStillHears)
{
    startWith();
    std::vector<std::string> outcomes;
    auto heard = [&](const char* what) {
        return HCDelegate::withFunction([&outcomes, what](const platform::ObjectPtr&) { outcomes.push_back(what); });
    };
    auto provider = Halcyon::provider();
    ASSERT_TRUE(provider);
    provider->performAction("scores.xml", std::nullopt, "GET", heard("ok"), heard("failed"), 1,
                            HCNotificationData::dataWithText("Submitting", 4, 1), false);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !outcomes.empty(); }));
    EXPECT_EQ(outcomes, std::vector<std::string>{"ok"});
    EXPECT_EQ(window->texts(), std::vector<std::string>{"Submitting [ok]"});
    auto first = window->shown.back();
    wait(3.0);
    EXPECT_FALSE(onScreen(first)) << "2.0 s after the request ended, plus the slides";

    // Nothing shows while the request is on its way.
    outcomes.clear();
    provider->performAction("slow.xml", std::nullopt, "GET", heard("ok"), heard("failed"), 1,
                            HCNotificationData::dataWithText("Slow", 4, 1), false);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return server.requestCount("/slow.xml") == 1; }));
    wait(1.0);
    EXPECT_EQ(window->shown.size(), 1u);
    server.releaseHeldReplies();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !outcomes.empty(); }));
    testsupport::drainMain();
    EXPECT_EQ(window->texts().back(), "Slow [ok]");
    wait(3.0);

    // Type 2 with a plain text notice, and a reply the server refuses: the failure icon.
    outcomes.clear();
    provider->performAction("missing.xml", std::nullopt, "GET", heard("ok"), heard("failed"), 2,
                            platform::String::make("Downloading"), false);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !outcomes.empty(); }));
    EXPECT_EQ(outcomes, std::vector<std::string>{"failed"});
    testsupport::drainMain();
    EXPECT_EQ(window->texts().back(), "Downloading [failed]");
    EXPECT_EQ(window->shown.back()->statusIndicator->image()->name(), "HalcyonStatusIconNotificationFailure.png");

    // Vetoed, or with no window at all, the request still goes out.
    game.vetoed = "Submitting";
    outcomes.clear();
    provider->performAction("scores.xml", std::nullopt, "GET", heard("ok"), heard("failed"), 1,
                            HCNotificationData::dataWithText("Submitting", 4, 1), false);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !outcomes.empty(); }));
    EXPECT_EQ(game.heard.back(), "refused Submitting (4/1)");
    wait(3);
    game.vetoed.clear();
    // A layout that builds no banner: the request goes out all the same.
    platform::ui::NibRegistry::registerNib("NotificationView",
                                           [](const platform::ObjectPtr&) { return std::vector<platform::ObjectPtr>{}; });
    outcomes.clear();
    provider->performAction("scores.xml", std::nullopt, "GET", heard("ok"), heard("failed"), 1,
                            HCNotificationData::dataWithText("Submitting", 4, 1), false);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !outcomes.empty(); }));
    platform::ui::NibRegistry::unregisterNib("NotificationView");
    window->setHidden(true);
    window = nullptr;
    platform::ui::Application::resetShared();
    outcomes.clear();
    provider->performAction("scores.xml", std::nullopt, "GET", heard("ok"), heard("failed"), 1,
                            HCNotificationData::dataWithText("Submitting", 4, 1), false);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !outcomes.empty(); }));
    EXPECT_EQ(outcomes, std::vector<std::string>{"ok"});
    EXPECT_EQ(server.requestCount("/scores.xml"), 4);
}

TEST_F(BannersTest, AnAchievementBannerShowsPointsOrProgressAndWaitsForItsIcon)
{
    startWith();
    auto notices = HCNotification::sharedInstance();
    // Unlocked, with the game's own icon for achievement 7: at once, no download.
    notices->showAchievementNotice(HCAchievementNoticeInfo{"7", "First Blood", 25, server.url("/icon.png"), nullptr},
                                   100.0);
    auto banner = std::dynamic_pointer_cast<HCAchievementNotificationView>(onlyBanner());
    ASSERT_TRUE(banner);
    EXPECT_EQ(BannerWindow::textOf(banner), "'First Blood' | 25");
    EXPECT_EQ(banner->statusIndicator->image()->name(), "HCHalcyonPointsWhite.png");
    EXPECT_EQ(banner->notificationImage->image()->name(), "AchievementIcon_7.jpg");
    EXPECT_EQ(server.requestCount("/icon.png"), 0);
    wait(4.2);
    EXPECT_TRUE(onScreen(banner));
    wait(0.8);
    EXPECT_FALSE(onScreen(banner)) << "0.25 + 4.0 + 0.5 s";

    // Progress below 100: the truncated percentage and the lock; the icon is
    // downloaded first, and the banner waits for it.
    window->shown.clear();
    notices->showAchievementNotice(HCAchievementNoticeInfo{"8", "Marathon", 50, server.url("/held.png"), nullptr},
                                   99.9);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return server.requestCount("/held.png") == 1; }));
    testsupport::drainMain();
    EXPECT_TRUE(window->shown.empty()) << "waiting for the icon";
    server.releaseHeldReplies();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !window->shown.empty(); }));
    banner = std::dynamic_pointer_cast<HCAchievementNotificationView>(window->shown.back());
    EXPECT_EQ(BannerWindow::textOf(banner), "'Marathon' | 99%");
    EXPECT_EQ(banner->statusIndicator->image()->name(), "HalcyonPercentLockWhite.png");
    EXPECT_EQ(banner->notificationImage->image(), HCImageCache::sharedInstance()->fetch(server.url("/held.png")));

    // A failed icon download still shows the banner; below 0 no value, no status icon.
    window->shown.clear();
    notices->showAchievementNotice(HCAchievementNoticeInfo{"9", "Lost", 5, server.url("/nothing.png"), nullptr}, -1);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !window->shown.empty(); }));
    banner = std::dynamic_pointer_cast<HCAchievementNotificationView>(window->shown.back());
    EXPECT_EQ(BannerWindow::textOf(banner), "'Lost'");
    EXPECT_EQ(banner->statusIndicator->image(), nullptr);
}

TEST_F(BannersTest, AChallengeBannerNamesTheChallengerAndAnEmptyIconAddressDoesNotHoldItBack)
{
    startWith();
    auto ann = HCResource::initWithId<HCUser>(std::string("1001"));
    ann->setName(std::string("Ann"));
    HCNotification::sharedInstance()->showChallengeNotice(HCChallengeNoticeInfo{ann, std::string(), nullptr});
    auto banner = std::dynamic_pointer_cast<HCChallengeNotificationView>(onlyBanner());
    ASSERT_TRUE(banner);
    EXPECT_EQ(BannerWindow::textOf(banner), "New Challenge! | Ann has challenged you!");
    EXPECT_TRUE(banner->challengerProfileImage->usesSharpCorners());

    // With an icon: only once it has arrived (from the cache the second time).
    for (int round = 0; round < 2; ++round) {
        window->shown.clear();
        HCNotification::sharedInstance()->showChallengeNotice(
            HCChallengeNoticeInfo{ann, server.url("/icon.png"), nullptr});
        ASSERT_TRUE(testsupport::runMainUntil([&] { return !window->shown.empty(); })) << round;
        banner = std::dynamic_pointer_cast<HCChallengeNotificationView>(window->shown.back());
        ASSERT_TRUE(banner->challengeIcon->image());
        EXPECT_EQ(banner->challengeIcon->image()->pixelWidth(), 8);
    }
    EXPECT_EQ(server.requestCount("/icon.png"), 1);
}

TEST_F(BannersTest, AServerBannerShowsOneOrTwoLinesAndAScoreOnceEveryImageHasArrived)
{
    startWith();
    auto notices = HCNotification::sharedInstance();
    auto one = std::make_shared<HCServerNotification>();
    one->setText(std::string("Only this"));
    one->setScore(std::string());
    notices->showServerNotification(one);
    auto banner = std::dynamic_pointer_cast<HCServerNotificationView>(onlyBanner());
    ASSERT_TRUE(banner);
    EXPECT_EQ(BannerWindow::textOf(banner), "Only this");
    EXPECT_TRUE(banner->smallHalcyonIconForNumber->isHidden()) << "an empty score shows no number";
    EXPECT_TRUE(banner->backgroundImage->isHidden()) << "no background named or sent";

    // The banner made for it, caught through the view loader.
    window->shown.clear();
    std::shared_ptr<HCServerNotificationView> made;
    HCNotificationHooks hooks;
    hooks.loadView = [&made](const std::string& name) -> platform::ui::ViewPtr {
        auto objects = platform::ui::NibRegistry::loadNibNamed(name, nullptr);
        made = std::dynamic_pointer_cast<HCServerNotificationView>(objects->items().at(0));
        return made;
    };
    HCNotificationHooks::install(hooks);
    auto rich = std::make_shared<HCServerNotification>();
    rich->setText(std::string("Ann beat you"));
    rich->setDetail(std::string("by 20 points"));
    rich->setScore(std::string("120"));
    rich->setBackgroundImage(server.url("/icon.png"));
    rich->setStatusImage(server.url("/nothing.png"));
    rich->setIconImage(server.url("/held.png"));
    notices->showServerNotification(rich);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return server.requestCount("/held.png") == 1; }));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return made && made->downloadsDone() == 2; }));
    HCNotificationHooks::install({});
    EXPECT_TRUE(window->shown.empty()) << "the third image is still on its way";
    server.releaseHeldReplies();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !window->shown.empty(); }));
    banner = std::dynamic_pointer_cast<HCServerNotificationView>(window->shown.back());
    EXPECT_EQ(BannerWindow::textOf(banner), "Ann beat you | by 20 points | 120");
    EXPECT_EQ(banner->downloadsNeeded(), 3);
}

TEST_F(BannersTest, BannersAskedForFromAnotherThreadAreMadeOnTheMainThreadOnceEach)
{
    startWith();
    auto notices = HCNotification::sharedInstance();
    std::thread replyThread([notices] {
        for (int i = 0; i < 20; ++i) {
            notices->setDefaultBackgroundNotice(HCNotificationData::dataWithText("Reply " + std::to_string(i), 4, 4),
                                                HCNotificationStatusSuccess);
            notices->showDefaultNotice();
        }
    });
    // Meanwhile the main thread reads the armed notice and runs what was posted.
    for (int i = 0; i < 200; ++i) {
        (void)notices->defaultBackgroundNotice();
        (void)notices->defaultStatus();
        platform::Thread::mainThread()->runLoop()->runOnce();
    }
    replyThread.join();
    testsupport::drainMain();
    // Every banner the other thread's notices produced was built here, and
    // the game was asked here; none came twice.
    ASSERT_FALSE(window->shown.empty());
    std::set<std::string> texts;
    for (const auto& heard : game.heard) {
        EXPECT_EQ(heard.rfind("shows Reply ", 0), 0u) << heard;
        EXPECT_TRUE(texts.insert(heard).second) << heard;
    }
    EXPECT_EQ(game.heard.size(), window->shown.size());
}

TEST_F(BannersTest, TheDashboardStripCentresItsTextWithTheArrow)
{
    startWith();
    writeBundleImage("HalcyonNotificationDisclosureArrow.png", 10);
    auto strip = HCDashboardNotificationView::notificationWithText("Inbox");
    EXPECT_EQ(strip->frame(), Rect(0, 0, 320, HCDashboardNotificationView::kHeight));
    const double textWidth = platform::ui::sizeWithFont("Inbox", *strip->label->font(), {320, 21}).width;
    const double used = textWidth + 10 + 2;
    const double left = std::floor((320 - used) / 2);
    EXPECT_EQ(strip->label->frame().origin, platform::ui::Point(left, 2));
    EXPECT_EQ(strip->arrow->frame(), Rect(used - 10 + left, 7.5, 10, 10));
}

}  // namespace

namespace {

TEST_F(BannersTest, AGameLayoutFoundByTheControllerLoaderReplacesTheClientsOwn)
{
    startWith();
    // The game ships its own generic banner: 40 points high, a text and nothing else.
    platform::ui::NibRegistry::registerNib("NotificationViewHc", [](const platform::ObjectPtr&) {
        auto banner = std::make_shared<HCNotificationView>(Rect(0, 0, 320, 40));
        banner->notice = std::make_shared<platform::ui::Label>(Rect(10, 0, 300, 40));
        banner->addSubview(banner->notice);
        return std::vector<platform::ObjectPtr>{banner};
    });
    HCNotification::sharedInstance()->showBackgroundNotice(HCNotificationData::dataWithText("Game's own", 1),
                                                           std::string(HCNotificationStatusFailure));
    auto banner = onlyBanner();
    platform::ui::NibRegistry::unregisterNib("NotificationViewHc");
    ASSERT_TRUE(banner);
    EXPECT_EQ(banner->frame(), Rect(0, 20, 320, 40));
    EXPECT_EQ(BannerWindow::textOf(banner), "Game's own");
    EXPECT_EQ(banner->backgroundImage, nullptr);
    wait(3);
    EXPECT_FALSE(onScreen(banner));
}

}  // namespace
