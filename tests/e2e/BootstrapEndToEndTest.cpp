// The bootstrap exchange against the local server: what the request
// carries, the reply applied on the request thread in its order, the host's
// user check on the main thread, the offline block, and the replies that
// cannot be applied.
#include <gtest/gtest.h>

#include <mutex>

#include "core/bootstrap/HCBootstrap.h"
#include "core/bootstrap/HCBootstrapService.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "core/resources/HCResourceClass.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "core/users/HCUser.h"
#include "e2e/support/LoginFixture.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "platform/foundation/DeviceFacts.h"

namespace defaults = localserver::defaults;

// The offline block as this test reads it.
class ProbeOffline final : public HCResource {
public:
    std::string getResourceName() const override { return "offline"; }
    std::string getResourceDiscoveredNotification() const override { return "probe_offline_discovered"; }
    const HCResourceDataMap& getDataMap() const override
    {
        static const HCResourceDataMap map;
        return map;
    }
};

namespace {

// Every call, with the thread it came on ("@main" or "@request").
class RecordingClient final : public HCBootstrapClient {
public:
    explicit RecordingClient(platform::ThreadPtr requestThread) : requestThread_(std::move(requestThread)) {}

    void getUserStatsParams(HCHttpNestedQueryStringWriter& writer) override
    {
        writer.io("number_of_sessions", 3);
        note("stats-params");
    }
    void postBootstrapBegan(const Text& userId) override { note("began:" + userId.value_or("nil")); }
    void postBootstrapSucceeded() override { note("succeeded"); }
    void postBootstrapFailed() override { note("failed"); }
    bool takeForceUserCheckOnBootstrap() override
    {
        note("take-check");
        return checkUser;
    }
    std::optional<bool> userAttemptingToLogin(const std::shared_ptr<HCUser>& user) override
    {
        note("user-check:" + (user ? user->userId().value_or("?") : "nil"));
        return allowUser;
    }
    void abortBootstrap() override { note("abort"); }
    void storePollingFrequencies(uint32_t defaultSeconds, uint32_t chatSeconds) override
    {
        note("polling:" + std::to_string(defaultSeconds) + "," + std::to_string(chatSeconds));
    }
    void applyUserOptions(const HCBootstrap& bootstrap, int distanceUnit) override
    {
        note("user-options:" + std::to_string(distanceUnit) +
             (bootstrap.loggedInUserHasNonDeviceCredential() ? ":non-device" : ""));
    }
    void applyPresence(const Text& queue, bool pipeHttp, bool connect) override
    {
        note("presence:" + queue.value_or("nil") + (pipeHttp ? ":pipe" : "") + (connect ? ":connect" : ""));
    }
    void notifyAddOnsUserLoggedIn() override { note("add-ons"); }
    void resetUserStatsAndCountOnlineSession() override { note("stats-reset"); }

    std::vector<std::string> events() const
    {
        std::lock_guard lock(mutex_);
        return events_;
    }

    bool checkUser = false;
    std::optional<bool> allowUser;

private:
    void note(const std::string& event)
    {
        const std::string where = platform::Thread::isMainThread()              ? "@main"
                                  : requestThread_ && requestThread_->isCurrent() ? "@request"
                                                                                  : "@other";
        std::lock_guard lock(mutex_);
        events_.push_back(event + where);
    }

    platform::ThreadPtr requestThread_;
    mutable std::mutex mutex_;
    std::vector<std::string> events_;
};

class RecordingOfflineSync final : public HCBootstrapOfflineSync {
public:
    void getBootstrapCallParams(HCHttpNestedQueryStringWriter& writer, const std::optional<std::string>& userId) override
    {
        writer.io("achievements_sync_date", std::string("1970-01-01 00:00:00"));
        askedFor = userId;
    }
    void syncOfflineData(const platform::ObjectPtr& offlineData, const std::shared_ptr<HCBootstrap>& bootstrap) override
    {
        std::lock_guard lock(mutex);
        synced = offlineData;
        syncedWith = bootstrap;
        syncedOnMain = platform::Thread::isMainThread();
    }
    void shareKnownResources(HCResourceNameMap& map) override { HCAddKnownResource<ProbeOffline>(map); }

    std::optional<std::string> askedFor;
    std::mutex mutex;
    platform::ObjectPtr synced;
    std::shared_ptr<HCBootstrap> syncedWith;
    bool syncedOnMain = true;
};

class BootstrapEndToEndTest : public LoginFixture {
protected:
    void SetUp() override
    {
        LoginFixture::SetUp();
        client = std::make_shared<RecordingClient>(provider->requestThread());
        HCBootstrapService::setClient(client);
        offline = std::make_shared<RecordingOfflineSync>();
        HCBootstrapService::setOfflineSync(offline);
    }

    struct Result {
        std::shared_ptr<HCPaginatedSeries> series;
        platform::ObjectPtr failure;
        int successes = 0;
        int failures = 0;
        bool done() const { return successes + failures > 0; }
    };

    void start(bool newAccount, const std::optional<std::string>& userId, Result& result)
    {
        HCBootstrapService::doBootstrapWithNewAccount(
            newAccount, userId, HCDelegate::withFunction([&result](const platform::ObjectPtr& series) {
                result.series = platform::as<HCPaginatedSeries>(series);
                ++result.successes;
            }),
            HCDelegate::withFunction([&result](const platform::ObjectPtr& failure) {
                result.failure = failure;
                ++result.failures;
            }));
    }

    bool finish(Result& result) { return waitUntil([&] { return result.done(); }); }

    // The bootstrap request's parameter names in the order they arrived.
    std::vector<std::string> bootstrapParamNames() const
    {
        std::vector<std::string> names;
        for (const auto& entry : server->log().entries())
            if (entry.request.path == "bootstrap.xml")
                for (const auto& [name, value] : entry.request.params) names.push_back(name);
        return names;
    }

    std::shared_ptr<RecordingClient> client;
    std::shared_ptr<RecordingOfflineSync> offline;
};

TEST_F(BootstrapEndToEndTest, FullReplyIsAppliedOnTheRequestThreadInOrderAndCompletesOnMain)
{
    server->login().setOfflineBlockSource(nullptr);
    client->checkUser = true;
    client->allowUser = true;
    Result result;
    start(false, std::string(defaults::kUserId), result);
    EXPECT_TRUE(HCBootstrapService::bootstrapInProgress());
    ASSERT_TRUE(finish(result));
    ASSERT_EQ(result.successes, 1);
    EXPECT_FALSE(HCBootstrapService::bootstrapInProgress());
    EXPECT_EQ(client->events(),
              (std::vector<std::string>{"stats-params@main", "began:1001@main", "take-check@main", "user-check:1001@main",
                                        "polling:60,5@request", "user-options:1:non-device@request",
                                        "presence:/queue/presence.1001@request", "add-ons@request", "stats-reset@request",
                                        "succeeded@main"}));
    EXPECT_EQ(bootstrapParamNames(),
              (std::vector<std::string>{"udid", "user_id", "device_hardware_version", "device_os_version",
                                        "achievements_sync_date", "number_of_sessions"}));
    EXPECT_EQ(offline->askedFor, std::optional<std::string>(defaults::kUserId));

    // The whole series reaches the caller, with every field of the reply read
    // (the polling rates show in the events above; the counts and the name
    // flag are checked where they reach the Halcyon class, below).
    ASSERT_TRUE(result.series);
    ASSERT_EQ(result.series->count(), 1u);
    auto bootstrap = platform::as<HCBootstrap>(result.series->objects().front());
    ASSERT_TRUE(bootstrap);
    ASSERT_TRUE(bootstrap->user());
    EXPECT_EQ(bootstrap->user()->name(), std::optional<std::string>(defaults::kUserName));
    ASSERT_TRUE(bootstrap->gameProfilePageInfo());
    EXPECT_EQ(bootstrap->gameProfilePageInfo()->name(), std::optional<std::string>(defaults::kGameName));
    EXPECT_TRUE(bootstrap->loggedInUserHadFriendsOnBootup());
    EXPECT_FALSE(bootstrap->loggedInUserIsNewUser());
    EXPECT_TRUE(bootstrap->loggedInUserHasHttpBasicCredential());
    EXPECT_FALSE(bootstrap->loggedInUserHasFbconnectCredential());
    EXPECT_EQ(bootstrap->clientApplicationId(), std::optional<std::string>(defaults::kGameId));
    EXPECT_EQ(bootstrap->unfulfilledInvitesCount(), 6u);
    EXPECT_EQ(bootstrap->suggestionsForumId(), std::optional<std::string>(defaults::kSuggestionsTopicId));
    EXPECT_EQ(bootstrap->initialDashboardScreen(), std::optional<std::string>("home"));
    EXPECT_EQ(bootstrap->presenceQueue(), std::optional<std::string>("/queue/presence.1001"));
    EXPECT_FALSE(bootstrap->initializePresenceService());
    ASSERT_TRUE(bootstrap->accessToken());

    // The provider signs with the new token from now on.
    fence();
    EXPECT_EQ(localserver::firstValue(server->log().entries().back().request.oauth, "oauth_token"),
              bootstrap->accessToken());
    // No offline block: nothing synchronised.
    std::lock_guard lock(offline->mutex);
    EXPECT_EQ(offline->synced, nullptr);
}

TEST_F(BootstrapEndToEndTest, OfflineBlockIsSynchronisedOnTheRequestThreadAndTheSeriesKeepsBoth)
{
    server->login().setOfflineBlock(localserver::XmlNode::parent("offline"));
    Result result;
    start(true, std::nullopt, result);
    ASSERT_TRUE(finish(result));
    ASSERT_EQ(result.successes, 1);
    ASSERT_EQ(result.series->count(), 2u);
    {
        std::lock_guard lock(offline->mutex);
        EXPECT_NE(platform::as<ProbeOffline>(offline->synced), nullptr);
        EXPECT_EQ(offline->syncedWith, result.series->objects().front());
        EXPECT_FALSE(offline->syncedOnMain);
    }
    // A new account sends no user id; the reply names the new player.
    EXPECT_EQ(bootstrapParamNames(), (std::vector<std::string>{"udid", "create_new_account", "device_hardware_version",
                                                              "device_os_version", "achievements_sync_date",
                                                              "number_of_sessions"}));
    auto bootstrap = platform::as<HCBootstrap>(result.series->objects().front());
    EXPECT_TRUE(bootstrap->loggedInUserIsNewUser());
    EXPECT_FALSE(bootstrap->loggedInUserHasSetName());
    EXPECT_EQ(client->events().at(1), "began:nil@main");
}

TEST_F(BootstrapEndToEndTest, RefusedUserAppliesNothingAndTheLogInIsAbortedBeforeTheFailure)
{
    client->checkUser = true;
    client->allowUser = false;
    Result result;
    start(false, std::string(defaults::kUserId), result);
    ASSERT_TRUE(finish(result));
    EXPECT_EQ(result.failures, 1);
    EXPECT_EQ(result.failure, nullptr);
    EXPECT_FALSE(HCBootstrapService::bootstrapInProgress());
    EXPECT_EQ(client->events(), (std::vector<std::string>{"stats-params@main", "began:1001@main", "take-check@main",
                                                          "user-check:1001@main", "abort@main", "failed@main"}));
    // The provider still signs with the token it had.
    fence();
    EXPECT_EQ(localserver::firstValue(server->log().entries().back().request.oauth, "oauth_token"),
              defaults::kUserToken);
}

TEST_F(BootstrapEndToEndTest, EmptyBrokenCutAndMisplacedRepliesFailWithoutApplyingAnything)
{
    const std::vector<std::string> replies = {
        "<?xml version=\"1.0\"?><resources></resources>",
        "<?xml version=\"1.0\"?><resources><boots",
        "not xml at all",
        // Cut short after a whole bootstrap, inside the offline block: nothing
        // of it is applied, not even its leading part.
        "<?xml version=\"1.0\"?><resources><bootstrap><access_token>t</access_token><user><id>1001</id></user>"
        "</bootstrap><offline><leaderboards><leaderboard><id>10</id><name>Points</name>",
        // The offline block first: the bootstrap is not where the server puts it.
        "<?xml version=\"1.0\"?><resources><offline></offline><bootstrap><access_token>t</access_token>"
        "</bootstrap></resources>",
    };
    for (const auto& body : replies) {
        SCOPED_TRACE(body);
        server->faults().injectFor("POST", "bootstrap.xml", localserver::Fault::reply(200, body, "application/xml"));
        Result result;
        start(false, std::string(defaults::kUserId), result);
        ASSERT_TRUE(finish(result));
        EXPECT_EQ(result.failures, 1);
        // A reply that began as XML and does not read to its end fails like
        // a refused request, with the loader; a whole one, or a body with no
        // XML at all (an empty reply), holds no usable bootstrap and fails
        // with nothing.
        const bool readWhole = body.ends_with("</resources>") || body.front() != '<';
        if (readWhole) {
            EXPECT_EQ(result.failure, nullptr);
        } else {
            auto loader = platform::as<OAuthAPIRequestLoader>(result.failure);
            ASSERT_TRUE(loader);
            EXPECT_EQ(loader->statusCode(), 200);
        }
        const auto events = client->events();
        EXPECT_EQ(events.back(), "failed@main");
        for (const auto& event : events) EXPECT_EQ(event.find("@request"), std::string::npos) << event;
    }
    // A refused request hands the provider's loader on.
    server->faults().injectFor("POST", "bootstrap.xml", localserver::Fault::reply(500, "down"));
    Result failed;
    start(false, std::string(defaults::kUserId), failed);
    ASSERT_TRUE(finish(failed));
    auto loader = platform::as<OAuthAPIRequestLoader>(failed.failure);
    ASSERT_TRUE(loader);
    EXPECT_EQ(loader->statusCode(), 500);
}

TEST_F(BootstrapEndToEndTest, OneExchangeAtATimeAndUserIdsAsSent)
{
    Result first;
    Result second;
    start(false, std::string("0"), first);
    start(false, std::string(defaults::kUserId), second);
    // The second is refused at once and leaves the first alone.
    ASSERT_TRUE(waitUntil([&] { return second.done(); }));
    EXPECT_EQ(second.failures, 1);
    ASSERT_TRUE(finish(first));
    EXPECT_EQ(first.successes, 1);
    // "0" is no user: no user_id went, and the device's player came back.
    auto names = bootstrapParamNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "user_id"), 0);

    Result both;
    start(true, std::string(defaults::kUserId), both);
    ASSERT_TRUE(finish(both));
    const auto log = server->log().entries();
    EXPECT_EQ(log.back().request.param("user_id"), defaults::kUserId);
    EXPECT_EQ(log.back().request.param("create_new_account"), "1");
    // An empty id is not "0": it goes, empty.
    Result empty;
    start(false, std::string(), empty);
    ASSERT_TRUE(finish(empty));
    EXPECT_NE(server->log().entries().back().request.body.find("&user_id=&"), std::string::npos);

    // While the provider discards actions nothing is sent.
    HCProviderHooks hooks;
    hooks.willSilentlyDiscardAction = [] { return true; };
    HCProvider::setHooks(hooks);
    const size_t sent = server->log().size();
    Result discarded;
    start(false, std::string(defaults::kUserId), discarded);
    ASSERT_TRUE(finish(discarded));
    EXPECT_EQ(discarded.failures, 1);
    EXPECT_EQ(server->log().size(), sent);
    HCProvider::setHooks({});

    // Without the service the caller still hears the failure.
    HCBootstrapService::shutdownService();
    Result none;
    start(false, std::string(defaults::kUserId), none);
    ASSERT_TRUE(finish(none));
    EXPECT_EQ(none.failures, 1);
}

TEST_F(BootstrapEndToEndTest, WithoutAClientOfItsOwnTheReplyReachesTheHalcyonClass)
{
    HCBootstrapService::setClient(nullptr);
    platform::UserDefaults::resetStandardUserDefaults();
    std::vector<std::string> notices;
    bool allOnMain = true;
    auto& center = platform::NotificationCenter::defaultCenter();
    for (const char* name : {HCNSNotificationBootstrapBegan, HCNSNotificationBootstrapSucceeded,
                             HCNSNotificationBootstrapCompleted, HCNSNotificationUserChanged}) {
        center.addObserver(this, name, [&notices, &allOnMain](const platform::Notification& notice) {
            notices.push_back(notice.name);
            allOnMain = allOnMain && platform::Thread::isMainThread();
        });
    }
    Halcyon::setTotalDashboardDuration(75);
    Halcyon::setNumberOfDashboardLaunches(3);
    Halcyon::setTotalGameSessionsDuration(640);
    Halcyon::setNumberOfGameSessions(4);
    Halcyon::setNumberOfOnlineGameSessions(2);
    Result result;
    start(false, std::string(defaults::kUserId), result);
    ASSERT_TRUE(finish(result));
    ASSERT_EQ(result.successes, 1);
    testsupport::drainMain();
    center.removeObserver(this);

    // The statistics follow the synchronisation dates in the signed body,
    // under the names the service reads, and the server read every counter.
    const auto log = server->log().entries();
    const auto sent = std::find_if(log.begin(), log.end(), [](const auto& e) { return e.request.path == "bootstrap.xml"; });
    ASSERT_NE(sent, log.end());
    EXPECT_NE(sent->request.body.find(
        "achievements_sync_date=1970-01-01%2000%3A00%3A00&%5Buser_stats%5Dtotal_dashboard_duration=75&%5Buser_stats%5Dtotal_dashboard_launches=3"
        "&%5Buser_stats%5Dtotal_game_session_duration=640&%5Buser_stats%5Dtotal_game_sessions=4"
        "&%5Buser_stats%5Dtotal_online_game_sessions=2&%5Buser_stats%5Dversion=2&"),
              std::string::npos)
        << sent->request.body;
    const auto reported = server->login().reportedUserStats();
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].version, "2");
    EXPECT_EQ(reported[0].counters, (std::map<std::string, long long>{{"total_dashboard_duration", 75},
                                                                      {"total_dashboard_launches", 3},
                                                                      {"total_game_session_duration", 640},
                                                                      {"total_game_sessions", 4},
                                                                      {"total_online_game_sessions", 2}}));

    EXPECT_EQ(notices, (std::vector<std::string>{HCNSNotificationBootstrapBegan, HCNSNotificationUserChanged,
                                                 HCNSNotificationBootstrapSucceeded,
                                                 HCNSNotificationBootstrapCompleted}));
    EXPECT_TRUE(allOnMain);
    EXPECT_TRUE(Halcyon::lastLoggedInUserHasSetName());
    EXPECT_EQ(Halcyon::unviewedChallengesCount(), 2);
    EXPECT_EQ(Halcyon::pendingFriendsCount(), 1);
    EXPECT_EQ(Halcyon::unreadIMCount(), 3);
    EXPECT_EQ(Halcyon::unreadPostCount(), 4);
    EXPECT_EQ(Halcyon::unreadInviteCount(), 5);
    EXPECT_EQ(Halcyon::getPollingFrequencyDefault(), 60);
    EXPECT_EQ(Halcyon::getPollingFrequencyInChat(), 5);
    EXPECT_EQ(Halcyon::userDistanceUnit(), 1);
    EXPECT_EQ(Halcyon::numberOfOnlineGameSessions(), 1);
    platform::UserDefaults::resetStandardUserDefaults();
}

}  // namespace
