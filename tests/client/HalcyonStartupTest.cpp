// Start-up and shut-down: the settings dictionary, the single instance, the
// fixed service orders, the internal settings file, and what shut-down leaves
// running.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>

#include "client/HCServiceOrder.h"
#include "core/images/HCImageCache.h"
#include "core/storage/HCCloudStorageService.h"
#include "core/storage/HCCompressableData.h"
#include "client/support/HalcyonTest.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "kernel/settings/HCSettings.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/ProgrammingError.h"
#include "platform/foundation/Sandbox.h"
#include "platform/runtime/Thread.h"
#include "core/xp/HCSession.h"
#include "core/xp/HCXPRequest.h"
#include "platform/net/URLTransfer.h"
#include "support/LoopbackServer.h"
#include "transport/poller/HCPoller.h"
#include "transport/provider/HCProvider.h"

namespace {

class HalcyonStartupTest : public HalcyonTest {};

TEST_F(HalcyonStartupTest, NilSettingsTakeEveryDefaultAndStillDecideTheLogIn)
{
    approvedPlayer = true;
    EXPECT_EQ(Halcyon::notificationPosition(), 1);  // no instance yet
    EXPECT_EQ(Halcyon::sessionId(), "0");
    start(nullptr);

    EXPECT_EQ(Halcyon::notificationPosition(), 0);
    EXPECT_TRUE(Halcyon::invertNotifications());  // position 0 inverts
    EXPECT_EQ(Halcyon::getDashboardOrientation(), 1);
    EXPECT_EQ(Halcyon::applicationShortDisplayName(), "Tolvarine Ruvuru");
    EXPECT_TRUE(Halcyon::allowUserGeneratedContent());
    EXPECT_TRUE(Halcyon::allowLocationServices());
    EXPECT_EQ(Halcyon::sessionId().size(), 36u);
    EXPECT_EQ(Halcyon::sessionStartDate()->timeIntervalSince1970(), clock->now());
    // An absent PromptUserForLogin counts as YES: the log-in is decided at once.
    EXPECT_TRUE(Halcyon::mForceUserCheckOnBootstrap());
    EXPECT_EQ(chain->logins, std::vector<std::string>{"0"});
    EXPECT_EQ(Halcyon::poller()->getPollingFrequency(), 0) << "the poller idles until a chat page starts it";
}

// The settings whose effect reaches past a stored value: the cloud store's
// switches, the system-version gates, the content gates, the initial log-in.
TEST_F(HalcyonStartupTest, SettingsReachTheServicesTheyConfigure)
{
    approvedPlayer = true;
    start(settingsWith({
        {HalcyonSettingEnablePushNotifications, yes()},
        {HalcyonSettingDisableUserGeneratedContent, yes()},
        {HalcyonSettingNotificationPosition, platform::Number::makeInt(3)},
        {HalcyonSettingDisableCloudStorageCompression, yes()},
        {HalcyonSettingCloudStorageLegacyHeaderlessCompression, yes()},
        {HalcyonSettingGameCenterEnabled, yes()},
        {HalcyonSettingInitialUserId, platform::String::make("1001")},
        {HalcyonSettingPromptUserForLogin, yes()},
    }));

    EXPECT_FALSE(Halcyon::invertNotifications());
    EXPECT_TRUE(Halcyon::pushNotificationsEnabled());
    EXPECT_FALSE(Halcyon::allowUserGeneratedContent());
    EXPECT_TRUE(HCCloudStorageService::sharedInstance()->isUsingLegacyHeaderlessCompression());
    EXPECT_TRUE(HCCompressableData::isCompressionDisabled());
    EXPECT_TRUE(Halcyon::isUsingGameCenter());  // the stand-in system is 4.2
    EXPECT_EQ(chain->logins, std::vector<std::string>{"1001"});
}

TEST_F(HalcyonStartupTest, FeaturesOfNewerSystemsStayOffOnOlderOnes)
{
    platform::DeviceFacts::setSystemVersion("2.2");
    start(settingsWith({{HalcyonSettingEnablePushNotifications, yes()}, {HalcyonSettingGameCenterEnabled, yes()}}));
    EXPECT_FALSE(Halcyon::pushNotificationsEnabled());
    EXPECT_FALSE(Halcyon::isUsingGameCenter());
}

TEST_F(HalcyonStartupTest, PromptForLoginNoWaitsForAPlayerWhoWasNeverAsked)
{
    const auto promptNo =
        settingsWith({{HalcyonSettingPromptUserForLogin, no()}, {HalcyonSettingInitialUserId, platform::String::make("")}});
    // Game Center's start ends in the check that sends what waited.
    int gameCenterChecks = 0;
    HCClientAssembly counting = assembly();
    counting.sendPendingData = [&gameCenterChecks](const std::string&) { ++gameCenterChecks; };
    start(counting, promptNo);
    EXPECT_TRUE(chain->logins.empty());
    EXPECT_FALSE(Halcyon::mForceUserCheckOnBootstrap());
    EXPECT_EQ(gameCenterChecks, 0);
    restartProcess();

    // Asked before, whatever the answer, the start-up decides: a player who
    // declined gets Game Center only, one who approved logs in as the last user.
    Halcyon::setUserDeniedHalcyon();
    start(counting, promptNo);
    EXPECT_TRUE(chain->logins.empty());
    EXPECT_EQ(gameCenterChecks, 1);
    restartProcess();
    Halcyon::setUserApprovedHalcyon();
    start(promptNo);
    EXPECT_EQ(chain->logins, std::vector<std::string>{"0"});
}

TEST_F(HalcyonStartupTest, ASecondInitializeChangesNothing)
{
    approvedPlayer = true;
    start(settingsWith({{HalcyonSettingShortDisplayName, platform::String::make("First")}}));
    auto instance = Halcyon::sharedInstance();
    auto provider = Halcyon::provider();
    const std::string session = Halcyon::sessionId();

    Halcyon::_initialize("other-key", "other-secret", "Other",
                         settingsWith({{HalcyonSettingShortDisplayName, platform::String::make("Second")}}), nullptr,
                         assembly());
    EXPECT_EQ(Halcyon::sharedInstance(), instance);
    EXPECT_EQ(Halcyon::provider(), provider);
    EXPECT_EQ(Halcyon::sessionId(), session);
    EXPECT_EQ(Halcyon::applicationShortDisplayName(), "First");
    EXPECT_EQ(Halcyon::mProductKey(), std::optional<std::string>("product-key"));
    EXPECT_EQ(chain->logins.size(), 1u);
}

TEST_F(HalcyonStartupTest, TheInternalSettingsFileOverridesKeyAndSecretOnlyWhenAskedFor)
{
    std::filesystem::create_directories(platform::Sandbox::bundlePath());
    std::ofstream(platform::Sandbox::bundlePath() + "/HalcyonInternalSettings.xml")
        << "<config><debug-override-key>debug-key</debug-override-key>"
           "<debug-override-secret>debug-secret</debug-override-secret></config>";

    start(nullptr);
    EXPECT_EQ(Halcyon::mProductKey(), std::optional<std::string>("product-key"));
    EXPECT_EQ(Halcyon::provider()->productKey(), "product-key");
    restartProcess();

    start(settingsWith({{HalcyonSettingUseInternalSettingsFile, yes()}}));
    EXPECT_EQ(Halcyon::mProductKey(), std::optional<std::string>("debug-key"));
    EXPECT_EQ(Halcyon::provider()->productKey(), "debug-key");
    EXPECT_EQ(Halcyon::session()->key(), "debug-key");
    EXPECT_EQ(Halcyon::session()->secret(), "debug-secret");
}

// A stand-in service that records when it is brought up and down.
std::vector<std::string> gServiceCalls;

template <int N>
struct RecordingService {
    static void initializeService() { gServiceCalls.push_back("up " + std::to_string(N)); }
    static void shutdownService() { gServiceCalls.push_back("down " + std::to_string(N)); }
};

template <int N>
HCServiceEntry recording(int up, int down)
{
    return HCServiceEntry{"S" + std::to_string(N), &RecordingService<N>::initializeService,
                          &RecordingService<N>::shutdownService, up, down, nullptr};
}

TEST_F(HalcyonStartupTest, ServicesComeUpAndGoDownInTheirOwnFixedOrders)
{
    gServiceCalls.clear();
    HCClientAssembly custom = assembly();
    // Listed out of order on purpose: the places decide.
    custom.services = {recording<3>(3, 1), recording<1>(1, 26), recording<2>(2, 25), recording<30>(30, 30)};
    start(custom);
    EXPECT_EQ(gServiceCalls, (std::vector<std::string>{"up 1", "up 2", "up 3", "up 30"}));

    gServiceCalls.clear();
    Halcyon::shutdown();
    EXPECT_EQ(gServiceCalls, (std::vector<std::string>{"down 3", "down 2", "down 1", "down 30"}));
}

// Each service added to the real table takes a place of its own in both
// orders; two services on one place would come up in whatever order the
// table happens to list them, and the offline store must be there before any
// service that reads it.
TEST(HCServiceOrder, EveryServiceHasItsOwnPlacesAndTheOfflineStoreComesUpFirst)
{
    const auto& services = HCServiceOrder::services();
    ASSERT_FALSE(services.empty());
    std::set<int> startUp, shutDown;
    std::set<std::string> names;
    for (const auto& service : services) {
        SCOPED_TRACE(service.name);
        EXPECT_TRUE(names.insert(service.name).second) << "listed twice";
        EXPECT_TRUE(service.initializeService && service.shutdownService);
        EXPECT_GE(service.startUpPlace, 1);
        EXPECT_GE(service.shutDownPlace, 1);
        EXPECT_TRUE(startUp.insert(service.startUpPlace).second) << "start-up place taken twice";
        EXPECT_TRUE(shutDown.insert(service.shutDownPlace).second) << "shut-down place taken twice";
    }
    const auto first = std::min_element(services.begin(), services.end(), [](const auto& a, const auto& b) {
        return a.startUpPlace < b.startUpPlace;
    });
    EXPECT_EQ(first->name, "HCOfflineService");
}

// The challenge service comes up before the definitions it names and goes
// down after them.
TEST(HCServiceOrder, ChallengesComeUpBeforeTheirDefinitionsAndGoDownAfterThem)
{
    const auto& services = HCServiceOrder::services();
    auto place = [&](const std::string& name) {
        auto found = std::find_if(services.begin(), services.end(), [&](const auto& s) { return s.name == name; });
        EXPECT_NE(found, services.end()) << name;
        return found == services.end() ? std::pair<int, int>{0, 0}
                                       : std::pair<int, int>{found->startUpPlace, found->shutDownPlace};
    };
    const auto challenges = place("HCChallengeService");
    const auto definitions = place("HCChallengeDefinitionService");
    const auto achievements = place("HCAchievementService");
    EXPECT_EQ(challenges.first, achievements.first + 1);
    EXPECT_EQ(definitions.first, challenges.first + 1);
    EXPECT_EQ(challenges.second, definitions.second + 1);
    EXPECT_EQ(achievements.second, challenges.second + 1);
}

TEST_F(HalcyonStartupTest, ShutdownStopsThePollerAndTheRequestThreadAndEndsTheInstance)
{
    start(nullptr);
    auto poller = Halcyon::poller();
    auto provider = Halcyon::provider();
    Halcyon::setPollingFrequency(3);
    ASSERT_EQ(poller->getPollingFrequency(), 3);

    ASSERT_NE(HCImageCache::sharedInstance(), nullptr);

    Halcyon::shutdown();
    EXPECT_EQ(Halcyon::sharedInstance(), nullptr);
    EXPECT_EQ(HCImageCache::sharedInstance(), nullptr);
    EXPECT_EQ(poller->getPollingFrequency(), 0) << "the poller's timer outlived the client";
    EXPECT_TRUE(provider->requestThread()->isFinished());
    EXPECT_EQ(HCSettings::Instance(), nullptr);
    EXPECT_EQ(Halcyon::provider(), nullptr);
    EXPECT_EQ(Halcyon::notificationPosition(), 1);

    // A second shutdown, and one before any start-up, do nothing.
    Halcyon::shutdown();
    EXPECT_EQ(Halcyon::sharedInstance(), nullptr);
}

}  // namespace

namespace {

class CountingText final : public HCXPResponseText {
public:
    void onResponseText(const std::string&, uint32_t) override { ++answers; }
    int answers = 0;
};

TEST_F(HalcyonStartupTest, ShutdownCancelsTheJsonRequestsOnTheWire)
{
    testnet::LoopbackServer server;
    server.route("/xp/slow", [](const testnet::ServerRequest&) {
        auto reply = testnet::ServerReply::text(200, "late");
        reply.hold = true;
        return reply;
    });
    server.route("/fence", [](const testnet::ServerRequest&) { return testnet::ServerReply::text(200, "ok"); });
    HCSettings::setDefaultOverride("server-url", server.url("/"));
    start(settingsWith({{HalcyonSettingPromptUserForLogin, no()}}));

    auto receiver = std::make_shared<CountingText>();
    auto request = HCXPRequest::getRequestWithPath("/xp/slow");
    request->setRequiresSignature(false);
    request->setRequiresDeviceSession(false);
    request->setRequiresUserSession(false);
    request->onRespondText(receiver);
    request->execute();
    auto transport = request->request();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return server.requestCount("/xp/slow") == 1; }));

    Halcyon::shutdown();
    EXPECT_FALSE(transport->isInProgress());
    server.releaseHeldReplies();
    // A later request to the same server has come and gone: the cancelled
    // one's answer, had it been delivered, would have arrived by now.
    bool fenced = false;
    platform::URLRequest fence;
    fence.url = server.url("/fence");
    auto fenceTransfer = platform::URLTransfer::start(fence, platform::Thread::mainThread()->runLoop(),
                                                      [&](const platform::URLResult&) { fenced = true; });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return fenced; }));
    testsupport::drainMain();
    EXPECT_EQ(receiver->answers, 0);
}

}  // namespace

namespace {

TEST_F(HalcyonStartupTest, MainThreadCallsFromAnotherThreadAreReported)
{
    std::mutex mutex;
    std::vector<std::string> errors;
    platform::setProgrammingErrorHandler([&](const std::string& text) {
        std::lock_guard lock(mutex);
        errors.push_back(text);
    });
    start(settingsWith({{HalcyonSettingPromptUserForLogin, no()}}));
    auto other = platform::Thread::start("other");
    other->runLoop()->post([] { Halcyon::gameServerReachabilityChanged(0); });
    ASSERT_TRUE(testsupport::runMainUntil([&] {
        std::lock_guard lock(mutex);
        return !errors.empty();
    }));
    other->cancel();
    EXPECT_NE(errors.front().find("gameServerReachabilityChanged"), std::string::npos) << errors.front();
}

}  // namespace
