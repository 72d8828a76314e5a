// Achievements as a game meets them: the client started with this build's
// assembly and a real offline database against the local server, progress
// written on the device first and reported at once, unlocks posted, pending
// progress uploaded after the next log-in and confirmed, the class delegate
// told, Game Center (a recording stand-in) told what it should be.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <future>

#include "client/HCClientHooks.h"
#include "core/banners/HCNotificationData.h"
#include "core/banners/HCNotificationDelegate.h"
#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageCache.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/users/HCUser.h"
#include "kernel/reachability/HCReachability.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Faults.h"
#include "localserver/Fixtures.h"
#include "localserver/Server.h"
#include "localserver/routes/AchievementRoutes.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/UserDefaults.h"
#include "scores/achievements/HCAchievement.h"
#include "scores/achievements/HCAchievementDelegate.h"
#include "scores/achievements/HCAchievementGameCenter.h"
#include "scores/achievements/HCAchievementService.h"
#include "scores/achievements/HCGameCenterAchievement.h"
#include "scores/offline/HCOfflineDatabase.h"
#include "scores/offline/HCOfflineService.h"
#include "scores/support/SqlPeek.h"
#include "support/BannerWindow.h"
#include "support/TestSupport.h"
#include "transport/handles/HCRequestHandlesForModule.h"
#include "transport/provider/HCProvider.h"

namespace defaults = localserver::defaults;

namespace {

class Game final : public HalcyonDelegate {
public:
    void userLoggedIn(const std::string& userId) override { calls.push_back("online " + userId); }
    void offlineUserLoggedIn(const std::string& userId) override { calls.push_back("offline " + userId); }
    std::vector<std::string> calls;
};

// Records each banner the client shows: its text, and for the achievement
// banner the achievement and the percentage.
class RecordingNotices final : public HCNotificationDelegate {
public:
    explicit RecordingNotices(std::vector<std::string>& banners) : banners_(banners) {}
    void notificationWillShow(const HCNotificationDataPtr& notice) override
    {
        auto unlocked = std::dynamic_pointer_cast<HCUnlockedAchievementNotificationData>(notice);
        if (unlocked && unlocked->unlockedAchievement) {
            banners_.push_back(notice->notificationText + " " + unlocked->unlockedAchievement->resourceId + " " +
                               std::to_string(static_cast<int>(unlocked->percentComplete)));
        } else {
            banners_.push_back(notice->notificationText);
        }
    }

private:
    std::vector<std::string>& banners_;
};

class RecordingAchievementDelegate final : public HCAchievementDelegate {
public:
    void didUpdateProgressionCompleteHCAchievement(const std::shared_ptr<HCAchievement>& a) override
    {
        calls.push_back("updated " + a->resourceId().value_or("?"));
    }
    void didFailUpdateProgressionCompleteHCAchievement(const std::shared_ptr<HCAchievement>& a) override
    {
        calls.push_back("failed " + a->resourceId().value_or("?"));
    }
    void didSubmitDeferredAchievements() override { calls.push_back("deferred sent"); }
    void didFailSubmittingDeferredAchievements() override { calls.push_back("deferred failed"); }
    void didForceSyncGameCenterAchievements() override { calls.push_back("game center synced"); }
    void didGetIcon(const platform::ui::ImagePtr& image, const std::shared_ptr<HCAchievement>& a) override
    {
        calls.push_back("icon " + a->resourceId().value_or("?") + " " + std::to_string(static_cast<int>(image->size().width)));
    }
    void didFailGetIconHCAchievement(const std::shared_ptr<HCAchievement>& a) override
    {
        calls.push_back("no icon " + a->resourceId().value_or("?"));
    }
    void didFailForceSyncGameCenterAchievements() override { calls.push_back("game center sync failed"); }
    std::vector<std::string> calls;
};

// Implements nothing: no callback may reach it.
class SilentAchievementDelegate final : public HCAchievementDelegate {};

// Game Center as the bridge would report it; every report succeeds unless told.
struct FakeGameCenter {
    bool loggedIn = true;
    bool failReports = false;
    std::vector<std::string> reports;  // "gc.<id>=<percent>"

    void install()
    {
        HCAchievementGameCenter gameCenter;
        gameCenter.isLoggedIn = [this] { return loggedIn; };
        gameCenter.gameCenterAchievementId = [](const std::string& id) -> std::optional<std::string> {
            if (id == "4") return std::nullopt;  // the secret one has no counterpart there
            return "gc." + id;
        };
        gameCenter.report = [this](const std::string& id, double percent, std::function<void(bool)> done) {
            reports.push_back(id + "=" + std::to_string(static_cast<int>(percent)));
            done(!failReports);
        };
        HCAchievementGameCenter::install(gameCenter);
    }
};

class AchievementsEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HCClientHooks::resetForTesting();
        platform::Sandbox::configure(sandbox.str());
        clock = std::make_unique<testsupport::ScopedManualClock>();
        server = std::make_unique<localserver::Server>();
        localserver::registerServiceRoutes(*server);
        store = localserver::registerAchievementRoutes(*server);
        // The bootstrap's offline block carries this store's achievements.
        server->login().setOfflineBlockSource([store = store](const std::string& userId) {
            return std::optional<localserver::XmlNode>(
                localserver::XmlNode::parent("offline", {store->offlineAchievementsNode(userId)}));
        });
        ASSERT_TRUE(server->start()) << server->error();
        HCSettings::setDefaultOverride("server-url", server->serviceRootUrl());
        // Version 1.2: the built-in achievement that ended with 0.9 is retired.
        HCSettings::setDefaultOverride(HCSettings::kBundleVersionKey, "1.2");
        Halcyon::setUserApprovedHalcyon();
        Halcyon::setDoneWithGetTheMost(true);
    }

    void TearDown() override
    {
        HCAchievement::setDelegate(nullptr);
        HCAchievementGameCenter::install({});
        HCClientHooks::resetForTesting();
        testsupport::drainMain();
        server->stop();
    }

    // Starts the client as the game would, as the server's first player
    // unless told otherwise, and waits for the log-in's end.
    void start(bool reachable = true, bool firstPlayer = true)
    {
        auto settings = platform::Dictionary::make();
        if (firstPlayer) settings->setString(HalcyonSettingInitialUserId, defaults::kUserId);
        // The game's own window, where banners show.
        settings->setObject(HalcyonSettingPresentationWindow, bannerWindow);
        Halcyon::initializeWithProductKey(
            defaults::kProductKey, defaults::kProductSecret, defaults::kGameName, settings,
            HCDelegatesContainer::containerWithHalcyonDelegate(&game, nullptr, &notices));
        HCReachability::Instance()->setOverride(reachable ? HCReachability::ReachableViaWiFi
                                                          : HCReachability::NotReachable);
        ASSERT_TRUE(waitUntil([&] { return !game.calls.empty(); }));
        settle();
        banners.clear();
    }

    void restartProcess()
    {
        Halcyon::shutdown();
        testsupport::drainMain();
        platform::UserDefaults::resetStandardUserDefaults();
        game.calls.clear();
        banners.clear();
        server->log().clear();
    }

    // The network goes away (the client counts as offline) or comes back (the
    // client logs in again and sends what is pending).
    void goOffline() { HCReachability::Instance()->setOverride(HCReachability::NotReachable); }
    void comeBackOnline()
    {
        const size_t before = game.calls.size();
        HCReachability::Instance()->setOverride(HCReachability::ReachableViaWiFi);
        ASSERT_TRUE(waitUntil([&] { return game.calls.size() > before; }));
        settle();
    }

    bool waitUntil(const std::function<bool()>& done) { return testsupport::runMainUntil(done); }
    // Waits until every request the client sent has been answered and its
    // outcome delivered on the main thread, including requests those
    // outcomes started.
    void settle()
    {
        auto provider = Halcyon::provider();
        ASSERT_TRUE(provider);
        for (int round = 0; round < 3; ++round) {
            ASSERT_TRUE(waitUntil(
                [&] { return provider->queuedActionCount() == 0 && provider->runningLoaderCount() == 0; }));
            bool passed = false;
            provider->requestThread()->runLoop()->post(
                [&passed] { platform::performOnMain([&passed] { passed = true; }); });
            ASSERT_TRUE(waitUntil([&] { return passed; }));
            testsupport::drainMain();
        }
    }

    std::vector<std::string> unlockPosts() const
    {
        std::vector<std::string> posts;
        for (const auto& entry : server->log().entries()) {
            if (entry.request.path != "users/@me/unlocked_achievements.xml") continue;
            std::string form;
            for (const auto& [name, value] : entry.request.params) form += (form.empty() ? "" : "&") + name + "=" + value;
            posts.push_back(form);
        }
        return posts;
    }

    // "percent|pending" of the local row, "none" without one.
    std::string localRow(const char* achievement, const char* user = defaults::kUserId)
    {
        std::string result = "none";
        auto database = HCOfflineDatabase::current();
        if (!database) return "no database";
        const std::string sql = std::string("SELECT percent_complete, server_sync_at IS NULL FROM unlocked_achievements "
                                            "WHERE achievement_definition_id = ") +
                                achievement + " AND user_id = " + user;
        sqlite3_exec(
            database->mainConnection().handle(), sql.c_str(),
            [](void* out, int, char** values, char**) {
                *static_cast<std::string*>(out) =
                    std::string(values[0]) + (std::string(values[1]) == "1" ? "|pending" : "|confirmed");
                return 0;
            },
            &result, nullptr);
        return result;
    }

    double serverPercent(const char* achievement, const char* user = defaults::kUserId) const
    {
        auto progress = store->progress(user, achievement);
        return progress ? progress->percentComplete : -1.0;
    }

    testsupport::TempDir sandbox;
    std::unique_ptr<testsupport::ScopedManualClock> clock;
    std::unique_ptr<localserver::Server> server;
    std::shared_ptr<localserver::AchievementStore> store;
    Game game;
    std::vector<std::string> banners;
    RecordingNotices notices{banners};
    std::shared_ptr<testsupport::BannerWindow> bannerWindow = testsupport::BannerWindow::showAside();
    RecordingAchievementDelegate delegate;
};

}  // namespace

TEST_F(AchievementsEndToEndTest, OfflineProgressIsStoredAtOnceAndConfirmedByTheServerAfterTheNextLogIn)
{
    start();
    HCAchievement::setDelegate(&delegate);
    const uint32_t gamerscoreBefore = Halcyon::localUser()->gamerScore();
    server->log().clear();
    goOffline();
    // Offline, the unlocks' posts do not get through.
    server->faults().injectFor("POST", "users/@me/unlocked_achievements.xml", localserver::Fault::dropConnection(), 2);

    EXPECT_EQ(HCAchievement::achievement("2")->updateProgressionComplete(40.0, true), nullptr);
    EXPECT_TRUE(HCAchievement::achievement("3")->updateProgressionComplete(150.0, false)) << "an unlock is posted at once";
    EXPECT_TRUE(HCAchievement::achievement("1")->unlock());
    settle();
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"updated 2", "updated 3", "updated 1"}));
    EXPECT_EQ(banners, std::vector<std::string>{"Achievement Unlocked! 2 40"});
    EXPECT_EQ(localRow("2"), "40.0|pending");
    EXPECT_EQ(localRow("3"), "100.0|pending");
    EXPECT_EQ(localRow("1"), "100.0|pending");
    EXPECT_EQ(unlockPosts().size(), 2u);
    server->log().clear();
    // Both unlocks count once for the player.
    EXPECT_EQ(Halcyon::localUser()->gamerScore(), gamerscoreBefore + 10 + 50);
    EXPECT_TRUE(HCAchievement::achievement("1")->isUnlocked());
    EXPECT_TRUE(HCAchievement::achievement("1")->unlockDate());
    EXPECT_EQ(HCAchievement::achievement("2")->unlockDate(), nullptr) << "40 % is no unlock";

    // The same value again, and less, are refused and change nothing.
    HCAchievement::achievement("1")->unlock();
    HCAchievement::achievement("2")->updateProgressionComplete(-5.0, true);
    testsupport::drainMain();
    EXPECT_EQ(delegate.calls.back(), "failed 2");
    EXPECT_EQ(delegate.calls[delegate.calls.size() - 2], "failed 1");
    EXPECT_EQ(banners.size(), 1u);
    EXPECT_EQ(Halcyon::localUser()->gamerScore(), gamerscoreBefore + 60);

    comeBackOnline();
    const auto posts = unlockPosts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0],
              "achievement_list[][achievement_definition_id]=2&achievement_list[][percent_complete]=40.000000&"
              "achievement_list[][achievement_definition_id]=3&achievement_list[][percent_complete]=100.000000&"
              "achievement_list[][achievement_definition_id]=1&achievement_list[][percent_complete]=100.000000");
    EXPECT_EQ(serverPercent("2"), 40.0);
    EXPECT_EQ(serverPercent("3"), 100.0);
    EXPECT_EQ(serverPercent("1"), 100.0);
    EXPECT_EQ(localRow("2"), "40.0|confirmed");
    EXPECT_EQ(localRow("1"), "100.0|confirmed");
    // The upload after log-in is a sync: no banner for it.
    EXPECT_EQ(std::count(banners.begin(), banners.end(), "Submitted Achievements To Server"), 0);

    // Nothing is pending any more: the next log-in posts nothing.
    restartProcess();
    start();
    EXPECT_TRUE(unlockPosts().empty());
}

TEST_F(AchievementsEndToEndTest, OnlineUnlockIsPostedAtOnceAndProgressBelowHundredWaitsForTheNextUpload)
{
    start();
    HCAchievement::setDelegate(&delegate);
    server->log().clear();
    auto handle = HCAchievement::achievement("1")->unlock();
    ASSERT_TRUE(handle);
    EXPECT_TRUE(HCAchievement::achievement("2")->updateProgressionComplete(std::nan(""), false))
        << "no number counts as 100: posted at once too";
    EXPECT_EQ(HCAchievement::achievement("3")->updateProgressionComplete(33.3, false), nullptr);
    settle();
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"updated 1", "updated 2", "updated 3"}));
    EXPECT_EQ(unlockPosts().size(), 2u);
    EXPECT_EQ(localRow("1"), "100.0|confirmed");
    EXPECT_EQ(localRow("2"), "100.0|confirmed");
    EXPECT_EQ(localRow("3"), "33.3|pending");
    EXPECT_EQ(serverPercent("3"), -1.0);
    // Each reply held one entry: no "Submitted Achievements To Server".
    EXPECT_TRUE(banners.empty());

    // 33.3 once more is no raise (it is read back as the same double).
    HCAchievement::achievement("3")->updateProgressionComplete(33.3, false);
    testsupport::drainMain();
    EXPECT_EQ(delegate.calls.back(), "failed 3");

    server->log().clear();
    restartProcess();
    start();
    ASSERT_EQ(unlockPosts().size(), 1u);
    EXPECT_EQ(unlockPosts()[0],
              "achievement_list[][achievement_definition_id]=3&achievement_list[][percent_complete]=33.300000");
    EXPECT_EQ(localRow("3"), "33.3|confirmed");
}

TEST_F(AchievementsEndToEndTest, ProgressBeforeAnyLogInIsKeptForNobodyAndUploadedForThePlayerWhoLogsIn)
{
    // No one ever logged in on this device: the game knows its achievements
    // from the file it ships, the progress is kept as user "0" and the game
    // is told it was stored.
    std::filesystem::create_directories(platform::Sandbox::bundlePath());
    std::ofstream(platform::Sandbox::bundlePath() + "/halcyon_offline_config.xml")
        << "<resources><offline><achievements>"
           "<achievement><id>1</id><title>First Light</title><gamerscore>10</gamerscore>"
           "<start_version>0000.00.00</start_version><end_version>9999.99.99</end_version></achievement>"
           "<achievement><id>2</id><title>Stone Breaker</title><gamerscore>20</gamerscore>"
           "<start_version>0000.00.00</start_version><end_version>9999.99.99</end_version></achievement>"
           "<achievement><id>3</id><title>Three Stars</title><gamerscore>50</gamerscore>"
           "<start_version>0000.00.00</start_version><end_version>9999.99.99</end_version></achievement>"
           "</achievements></offline></resources>";
    // Refused until the first player logs in: the client comes up on the
    // machine's own network before the test takes it offline, and a second
    // log-in the network's change may start must not find the service.
    server->faults().injectFor("POST", "xp/devices", localserver::Fault::reply(503, "down for a moment"),
                               localserver::Faults::kUntilCleared);
    start(false, false);
    ASSERT_EQ(game.calls, std::vector<std::string>{"offline 0"});
    HCAchievement::setDelegate(&delegate);
    EXPECT_EQ(HCAchievement::achievement("1")->unlock(), nullptr);
    EXPECT_EQ(HCAchievement::achievement("2")->updateProgressionComplete(40.0, true), nullptr);
    HCAchievement::achievement("3")->deferUpdateProgressionComplete(70.0, false);
    HCAchievement::achievement("2")->updateProgressionComplete(30.0, false);
    testsupport::drainMain();
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"updated 1", "updated 2", "failed 2"}));
    EXPECT_EQ(banners, std::vector<std::string>{"Achievement Unlocked! 2 40"});
    EXPECT_EQ(localRow("1", "0"), "100.0|pending");
    EXPECT_EQ(localRow("2", "0"), "40.0|pending");
    EXPECT_EQ(localRow("3", "0"), "70.0|pending");
    EXPECT_TRUE(HCAchievement::achievement("1")->isUnlocked());

    // Game Center alone hears of the unlock (there is no player to post it
    // for): it succeeds, and the row stays pending for the service.
    FakeGameCenter gameCenter;
    gameCenter.install();
    std::vector<std::string> outcomes;
    std::make_shared<HCGameCenterAchievement>("0", std::vector<std::string>{"1"}, std::vector<double>{100}, false, false)
        ->submitOnSuccess(HCDelegate::withFunction([&](const platform::ObjectPtr&) { outcomes.push_back("success"); }),
                          HCDelegate::withFunction([&](const platform::ObjectPtr&) { outcomes.push_back("failure"); }));
    testsupport::drainMain();
    EXPECT_EQ(gameCenter.reports, std::vector<std::string>{"gc.1=100"});
    EXPECT_EQ(outcomes, std::vector<std::string>{"success"});
    EXPECT_EQ(localRow("1", "0"), "100.0|pending");
    HCAchievementGameCenter::install({});

    // The first player to log in takes them over, uploads them and has them confirmed.
    server->faults().clear();
    restartProcess();
    start();
    ASSERT_EQ(unlockPosts().size(), 1u);
    EXPECT_EQ(serverPercent("1"), 100.0);
    EXPECT_EQ(serverPercent("2"), 40.0);
    EXPECT_EQ(serverPercent("3"), 70.0);
    EXPECT_EQ(localRow("1"), "100.0|confirmed");
    EXPECT_EQ(localRow("2"), "40.0|confirmed");
    EXPECT_EQ(localRow("3"), "70.0|confirmed");
    EXPECT_EQ(localRow("1", "0"), "none");
}

TEST_F(AchievementsEndToEndTest, RefusedUpdatesStoreNothingAndSayWhy)
{
    start();
    HCAchievement::setDelegate(&delegate);
    // An id the store does not know gives a stub that cannot be unlocked.
    auto stub = HCAchievement::achievement("77");
    EXPECT_EQ(stub->title(), std::nullopt);
    EXPECT_EQ(stub->unlock(), nullptr);
    testsupport::drainMain();
    EXPECT_EQ(delegate.calls, std::vector<std::string>{"failed 77"});
    EXPECT_EQ(localRow("77"), "none");
    settle();
    EXPECT_TRUE(unlockPosts().empty());

    // A local write that fails is reported as a failure.
    sqlite3_exec(HCOfflineDatabase::current()->mainConnection().handle(),
                 "CREATE TRIGGER refuse BEFORE INSERT ON unlocked_achievements BEGIN SELECT RAISE(ABORT, 'full'); END",
                 nullptr, nullptr, nullptr);
    HCAchievement::achievement("2")->updateProgressionComplete(50.0, true);
    testsupport::drainMain();
    EXPECT_EQ(delegate.calls.back(), "failed 2");
    EXPECT_TRUE(banners.empty() || banners.back() != "Achievement Unlocked! 2 50");
}

TEST_F(AchievementsEndToEndTest, ClassDelegateHearsOnlyWhatItImplementsAndClearingItCancels)
{
    start();
    SilentAchievementDelegate silent;
    HCAchievement::setDelegate(&silent);
    HCAchievement::achievement("1")->unlock();
    HCAchievement::achievement("1")->unlock();
    settle();  // neither outcome reaches a delegate that implements nothing

    HCAchievement::setDelegate(&delegate);
    server->faults().injectFor("POST", "users/@me/unlocked_achievements.xml",
                               localserver::Fault::heldBack());
    auto handle = HCAchievement::achievement("2")->unlock();
    ASSERT_TRUE(handle);
    // The stored update is known before the call returns, so it is answered inside it.
    EXPECT_EQ(delegate.calls, std::vector<std::string>{"updated 2"});
    auto registered = [] {
        auto registry = HCRequestHandlesForModule::snapshot();
        size_t count = 0;
        if (registry)
            for (const auto& [module, handles] : *registry)
                if (module == HCAchievement::kModule) count += handles.size();
        return count;
    };
    EXPECT_EQ(registered(), 1u);
    HCAchievement::setDelegate(nullptr);
    EXPECT_EQ(registered(), 0u);
    // The cancelled post is answered to nobody and leaves the unlock pending
    // for the next upload.
    HCAchievement::setDelegate(&delegate);
    settle();
    EXPECT_EQ(delegate.calls, std::vector<std::string>{"updated 2"});
    EXPECT_EQ(localRow("2"), "100.0|pending");
}

TEST_F(AchievementsEndToEndTest, DeferredProgressOnlyRisesAndGoesOutWithTheSubmission)
{
    start();
    HCAchievement::setDelegate(&delegate);
    server->log().clear();
    HCAchievement::achievement("2")->deferUpdateProgressionComplete(50.0, true);
    HCAchievement::achievement("2")->deferUpdateProgressionComplete(30.0, true);
    HCAchievement::achievement("3")->unlockAndDefer();
    testsupport::drainMain();
    EXPECT_EQ(localRow("2"), "50.0|pending");
    EXPECT_EQ(localRow("3"), "100.0|pending");
    EXPECT_EQ(banners, std::vector<std::string>{"Achievement Unlocked! 2 50"});
    EXPECT_TRUE(unlockPosts().empty());

    ASSERT_TRUE(HCAchievement::submitDeferredAchievements());
    settle();
    EXPECT_EQ(delegate.calls, std::vector<std::string>{"deferred sent"});
    EXPECT_EQ(unlockPosts().size(), 1u);
    EXPECT_EQ(serverPercent("2"), 50.0);
    EXPECT_EQ(localRow("3"), "100.0|confirmed");
    // A submission of two entries that is no sync shows its banner.
    EXPECT_EQ(banners.back(), "Submitted Achievements To Server");

    // Nothing pending: nothing sent, no callback.
    EXPECT_EQ(HCAchievement::submitDeferredAchievements(), nullptr);
    settle();
    EXPECT_EQ(delegate.calls.size(), 1u);
}

TEST_F(AchievementsEndToEndTest, UnlockReplyIsWrittenForThePlayerItWasSentFor)
{
    start();
    std::promise<void> release;
    auto released = release.get_future().share();
    server->addRoute("POST", "users/@me/unlocked_achievements.xml", localserver::Access::User,
                     [released](const localserver::Request&) {
                         released.wait();
                         return localserver::Reply::xml(
                             "<resources><unlocked_achievement><achievement_definition><id>1</id><gamerscore>10"
                             "</gamerscore></achievement_definition><result>unlocked</result><percent_complete>"
                             "100.000000</percent_complete></unlocked_achievement></resources>");
                     });
    ASSERT_TRUE(HCAchievement::achievement("1")->unlock());
    // Another player takes the device while the reply is on its way.
    auto other = HCResource::initWithId<HCUser>(defaults::kOtherUserId);
    Halcyon::setLocalUser(other);
    release.set_value();
    settle();
    EXPECT_EQ(localRow("1", defaults::kUserId), "100.0|confirmed");
    EXPECT_EQ(localRow("1", defaults::kOtherUserId), "none");
}

TEST_F(AchievementsEndToEndTest, ListComesFromTheServerOnlineAndFromTheStoreOffline)
{
    start();
    store->record(defaults::kOtherUserId, "1", 100.0, 1767225600);
    HCPaginatedSeriesPtr online;
    HCAchievementService::getAchievementsForApplication(
        std::string("@me"), std::string(defaults::kOtherUserId), 1,
        HCDelegate::withFunction([&](const platform::ObjectPtr& page) { online = platform::as<HCPaginatedSeries>(page); }),
        HCDelegate());
    ASSERT_TRUE(waitUntil([&] { return online != nullptr; }));
    ASSERT_EQ(online->count(), 5u);
    auto first = platform::as<HCAchievement>(online->objectAtIndex(0));
    EXPECT_TRUE(first->isUnlockedByComparedToUser());
    EXPECT_EQ(first->comparedToUserId(), defaults::kOtherUserId);
    const auto query = server->log().entries().back().request.params;
    EXPECT_EQ(localserver::firstValue(query, "per_page"), "25");
    EXPECT_EQ(localserver::firstValue(query, "get_unlocked_info"), "1");
    EXPECT_FALSE(localserver::firstValue(query, "by_app")) << "\"@me\" is not sent";

    goOffline();
    HCAchievement::achievement("3")->updateProgressionComplete(10.0, false);
    HCPaginatedSeriesPtr offline;
    HCAchievementService::getAchievementsForApplication(
        std::nullopt, std::nullopt, 1,
        HCDelegate::withFunction([&](const platform::ObjectPtr& page) { offline = platform::as<HCPaginatedSeries>(page); }),
        HCDelegate());
    ASSERT_TRUE(waitUntil([&] { return offline != nullptr; }));
    // The retired achievement is not offered; the one with progress comes first.
    ASSERT_EQ(offline->count(), 4u);
    EXPECT_EQ(platform::as<HCAchievement>(offline->objectAtIndex(0))->resourceId(), "3");
    EXPECT_EQ(platform::as<HCAchievement>(offline->objectAtIndex(0))->percentComplete(), 10.0);
    EXPECT_EQ(HCAchievement::achievements().size(), 4u);
    EXPECT_TRUE(HCAchievementService::hasAchievements());
}

TEST_F(AchievementsEndToEndTest, GameCenterGetsEveryLocalAchievementOnceThenProgressBelowHundred)
{
    FakeGameCenter gameCenter;
    gameCenter.install();
    start();
    // The first log-in signed in to Game Center sends every local
    // achievement, 0 % included, to the service, and those above 0 % that
    // map to Game Center there.
    ASSERT_EQ(unlockPosts().size(), 1u);
    EXPECT_NE(unlockPosts()[0].find("achievement_definition_id]=4"), std::string::npos);
    EXPECT_TRUE(gameCenter.reports.empty()) << "every achievement is at 0 %";
    EXPECT_TRUE(Halcyon::isSynchedWithGameCenterAchievements());

    HCAchievement::setDelegate(&delegate);
    // Nothing above 0 %: the re-send has nothing to report, says it is done
    // and marks the player in step.
    Halcyon::setSynchWithGameCenterAchievements(false);
    HCAchievement::forceSyncGameCenterAchievements();
    testsupport::drainMain();
    EXPECT_EQ(delegate.calls, std::vector<std::string>{"game center synced"});
    EXPECT_TRUE(gameCenter.reports.empty());
    EXPECT_TRUE(Halcyon::isSynchedWithGameCenterAchievements());

    server->log().clear();
    HCAchievement::achievement("2")->updateProgressionComplete(40.0, false);
    settle();
    EXPECT_EQ(gameCenter.reports, std::vector<std::string>{"gc.2=40"});
    EXPECT_TRUE(unlockPosts().empty());

    HCAchievement::forceSyncGameCenterAchievements();
    settle();
    EXPECT_EQ(gameCenter.reports.back(), "gc.2=40");
    EXPECT_EQ(delegate.calls.back(), "game center synced");

    gameCenter.loggedIn = false;
    HCAchievement::forceSyncGameCenterAchievements();
    testsupport::drainMain();
    EXPECT_EQ(delegate.calls.back(), "game center sync failed");

    // A player who declined the service reaches Game Center only, and the
    // queue keeps progress for Game Center alone.
    gameCenter.loggedIn = true;
    Halcyon::setUserDeniedHalcyon();
    gameCenter.reports.clear();
    HCAchievement::achievement("3")->deferUpdateProgressionComplete(70.0, false);
    HCAchievement::achievement("4")->deferUpdateProgressionComplete(70.0, false);
    EXPECT_EQ(localRow("3"), "0.0|confirmed") << "the first pass's reply; the queue keeps Game Center's own";
    EXPECT_EQ(HCAchievement::submitDeferredAchievements(), nullptr);
    settle();
    EXPECT_EQ(gameCenter.reports, std::vector<std::string>{"gc.3=70"});
    EXPECT_EQ(delegate.calls.back(), "deferred failed") << "achievement 4 has no Game Center counterpart";
    EXPECT_TRUE(unlockPosts().empty());
}

TEST_F(AchievementsEndToEndTest, AnOfflineUnlockReachesGameCenterAtOnceAndTheServerAfterTheNextLogIn)
{
    FakeGameCenter gameCenter;
    gameCenter.install();
    start();
    goOffline();
    server->faults().injectFor("POST", "users/@me/unlocked_achievements.xml", localserver::Fault::dropConnection());
    EXPECT_TRUE(HCAchievement::achievement("1")->unlock());
    settle();
    EXPECT_EQ(gameCenter.reports, std::vector<std::string>{"gc.1=100"});
    EXPECT_EQ(localRow("1"), "100.0|pending");

    comeBackOnline();
    EXPECT_EQ(serverPercent("1"), 100.0);
    EXPECT_EQ(localRow("1"), "100.0|confirmed");
}

TEST_F(AchievementsEndToEndTest, LogInKeepsHigherOfflineProgressThatTheServerHasNotSeen)
{
    store->record(defaults::kUserId, "2", 20.0, 1767225600);
    start();
    EXPECT_EQ(localRow("2"), "20.0|confirmed") << "the bootstrap brought the server's progress";
    goOffline();
    HCAchievement::achievement("2")->updateProgressionComplete(60.0, false);
    EXPECT_EQ(localRow("2"), "60.0|pending");

    // The log-in's bootstrap (the server still says 20) runs before the upload.
    comeBackOnline();
    EXPECT_EQ(serverPercent("2"), 60.0);
    EXPECT_EQ(localRow("2"), "60.0|confirmed");
}

TEST_F(AchievementsEndToEndTest, IconComesFromTheCacheBeforeTheCallReturnsAndBytesThatAreNoImageFail)
{
    start();
    HCAchievement::setDelegate(&delegate);
    auto first = HCAchievement::achievement("1");
    ASSERT_TRUE(first->iconUrl());
    HCImageCache::sharedInstance()->store(platform::ui::Image::withPixels(4, 4, std::vector<uint8_t>(64, 255)),
                                          *first->iconUrl());
    EXPECT_EQ(first->getIcon(), nullptr);
    EXPECT_EQ(delegate.calls, std::vector<std::string>{"icon 1 4"});

    // The local server answers the icon's path with no image.
    server->addRoute("GET", "images/achievements/stone_breaker.png", localserver::Access::Open,
                     [](const localserver::Request&) { return localserver::Reply::text(200, "not a picture"); });
    auto second = HCAchievement::achievement("2");
    ASSERT_TRUE(second->getIcon());
    ASSERT_TRUE(waitUntil([&] { return delegate.calls.size() == 2; }));
    EXPECT_EQ(delegate.calls.back(), "no icon 2");
}

TEST_F(AchievementsEndToEndTest, ProgressIsKeptAtThePrecisionItTravelsSoTheServersAnswerConfirmsIt)
{
    start();
    HCAchievement::setDelegate(&delegate);
    server->log().clear();
    HCAchievement::achievement("2")->updateProgressionComplete(200.0 / 9.0, false);  // 22.222222222222221
    // The same value as it travels is no raise.
    HCAchievement::achievement("2")->updateProgressionComplete(22.2222224, false);
    testsupport::drainMain();
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"updated 2", "failed 2"}));

    restartProcess();
    start();
    ASSERT_EQ(unlockPosts(), std::vector<std::string>{"achievement_list[][achievement_definition_id]=2&"
                                                      "achievement_list[][percent_complete]=22.222222"});
    EXPECT_EQ(localRow("2"), "22.222222|confirmed");
    // Confirmed: the next log-in has nothing to send.
    restartProcess();
    start();
    EXPECT_TRUE(unlockPosts().empty());
}

TEST_F(AchievementsEndToEndTest, UnlockReplyIsAppliedOnlyToTheAchievementsThatWereSent)
{
    start();
    server->addRoute("POST", "users/@me/unlocked_achievements.xml", localserver::Access::User,
                     [](const localserver::Request&) {
                         std::string reply = "<resources>";
                         for (const char* id : {"-1", "2147483648", "NaN", "2026-01-01 00:00:00", "2", "1"}) {
                             reply += std::string("<unlocked_achievement><achievement_definition><id>") + id +
                                      "</id><gamerscore>10</gamerscore></achievement_definition><result>unlocked"
                                      "</result><percent_complete>100.000000</percent_complete></unlocked_achievement>";
                         }
                         return localserver::Reply::xml(reply + "</resources>");
                     });
    ASSERT_TRUE(HCAchievement::achievement("1")->unlock());
    settle();
    const std::string sql = std::string("SELECT achievement_definition_id, percent_complete, server_sync_at IS NULL "
                                        "FROM unlocked_achievements WHERE user_id = ") +
                            defaults::kUserId;
    EXPECT_EQ(testsupport::sqlRows(HCOfflineDatabase::current()->mainConnection().handle(), sql),
              std::vector<std::string>{"1|100.0|0"});
}

TEST_F(AchievementsEndToEndTest, AFailedUploadLetsGoOfItsReply)
{
    start();
    const char* path = "users/@me/unlocked_achievements.xml";
    for (const auto& fault : {localserver::Fault::reply(503, "down for a moment"), localserver::Fault::reply(500),
                              localserver::Fault::dropConnection()}) {
        server->faults().injectFor("POST", path, fault);
        std::weak_ptr<platform::Object> reply;
        bool failed = false;
        auto submission = std::make_shared<HCGameCenterAchievement>(defaults::kUserId, std::vector<std::string>{"1"},
                                                                    std::vector<double>{100.0}, false, false);
        std::weak_ptr<HCGameCenterAchievement> weakSubmission = submission;
        ASSERT_TRUE(submission->submitOnSuccess(HCDelegate(), HCDelegate::withFunction([&](const platform::ObjectPtr& f) {
            reply = f;
            failed = true;
        })));
        submission = nullptr;
        settle();
        ASSERT_TRUE(failed) << "status " << fault.status;
        EXPECT_TRUE(reply.expired()) << "status " << fault.status;
        EXPECT_TRUE(weakSubmission.expired()) << "status " << fault.status;
    }
    EXPECT_EQ(localRow("1"), "none");
}

TEST_F(AchievementsEndToEndTest, TheDefinitionsHookAnswersWhetherEveryRowWasWritten)
{
    start();
    auto synch = HCOfflineService::hooks().synchAchievementsList;
    ASSERT_TRUE(synch);
    auto definitions = [](const char* id) {
        auto list = platform::Array::make();
        auto achievement = HCResource::initWithId<HCAchievement>(id);
        achievement->setTitle(std::string("From the file"));
        list->add(achievement);
        return list;
    };
    EXPECT_TRUE(synch(definitions("8"), std::nullopt));
    sqlite3* db = HCOfflineDatabase::current()->mainConnection().handle();
    EXPECT_EQ(testsupport::sqlValue(db, "SELECT title FROM achievement_definitions WHERE id = 8"), "From the file");

    ASSERT_TRUE(testsupport::sqlExec(db, "CREATE TRIGGER refuse BEFORE INSERT ON achievement_definitions BEGIN "
                                         "SELECT RAISE(ABORT, 'full'); END"));
    EXPECT_FALSE(synch(definitions("9"), std::nullopt));
    EXPECT_EQ(testsupport::sqlValue(db, "SELECT COUNT(*) FROM achievement_definitions WHERE id = 9"), "0");
}
