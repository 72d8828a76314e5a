// The service base: its name map, its overridables, what each action builder
// hands to the core builder, and the reply handlers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/banners/HCNotification.h"
#include "platform/foundation/Sandbox.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/services/HCService.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/foundation/ProgrammingError.h"
#include "core/support/CoreTestResources.h"
#include "support/TestSupport.h"
#include "transport/oauth/OAuthAPIRequestLoader.h"

// Outside the anonymous namespace so that reports name it plainly.
class ForgetfulService final : public HCService {};

namespace {

// Records how often and with what map populateKnownResources ran.
class CountingService : public HCService {
public:
    void populateKnownResources(HCResourceNameMap& map) override
    {
        ++populateCalls;
        mapWasEmpty = !map.getTypeNamed("player").has_value();
        HCAddKnownResource<TestPlayer>(map);
    }
    int populateCalls = 0;
    bool mapWasEmpty = false;
};

// Stops at the core builder and records what reached it:
// "METHOD action params=<count or nil> type=<n> auth=<0|1>".
class RecordingService final : public CountingService {
public:
    using HCService::_performAction;
    std::shared_ptr<HCRequestHandle> _performAction(const std::string& action,
                                                    const HCHttpNestedQueryStringWriter* parameters,
                                                    const std::string& httpMethod, const HCDelegate&,
                                                    const HCDelegate&, int requestType, const platform::ObjectPtr&,
                                                    bool requiringAuthentication) override
    {
        calls.push_back(httpMethod + " " + action + " params=" +
                        (parameters ? std::to_string(parameters->getQueryParametersAsURLRequestParameters().size())
                                    : std::string("nil")) +
                        " type=" + std::to_string(requestType) + " auth=" + (requiringAuthentication ? "1" : "0"));
        return nullptr;
    }

    std::vector<std::string> calls;
};

TEST(ServiceTest, PopulatesItsFreshMapOnceHoweverTheServiceWasMade)
{
    auto created = HCService::create<CountingService>();
    EXPECT_EQ(created->populateCalls, 1);
    EXPECT_TRUE(created->mapWasEmpty);
    // Made without create(): the map is filled at the first ask, not left nil.
    auto made = std::make_shared<CountingService>();
    ASSERT_NE(made->getKnownResources(), nullptr);
    EXPECT_EQ(made->getKnownResources()->getTypeNamed("player"), "TestPlayer");
    EXPECT_EQ(made->populateCalls, 1);
}

TEST(ServiceTest, OverridablesThatWereLeftOutAreReported)
{
    std::vector<std::string> reports;
    platform::setProgrammingErrorHandler([&](const std::string& text) { reports.push_back(text); });
    auto service = HCService::create<ForgetfulService>();
    service->registerPolledResources(nullptr);
    EXPECT_EQ(service->getIndexOnSuccess(HCDelegate(), HCDelegate()), nullptr);
    EXPECT_EQ(service->getShowWithId("1", HCDelegate(), HCDelegate()), nullptr);
    EXPECT_EQ(HCService::sharedInstance(), nullptr);
    platform::setProgrammingErrorHandler(nullptr);

    const std::string prefix = "HCService+Overridables: Controller '";
    EXPECT_EQ(reports, (std::vector<std::string>{
                           prefix + "ForgetfulService' forgot to override 'populateKnownResources'",
                           prefix + "ForgetfulService' forgot to override 'getIndexOnSuccess'",
                           prefix + "ForgetfulService' forgot to override 'getShowWithId'",
                           prefix + "HCService' forgot to override 'sharedInstance'",
                       }));
}

TEST(ServiceTest, BuildersPassMethodAuthenticationAndParameters)
{
    auto service = HCService::create<RecordingService>();
    HCHttpNestedQueryStringWriter writer;
    writer.io("a", 1);
    service->getAction("g.xml", nullptr, {}, {}, 0, nullptr);
    service->getAction("g2.xml", &writer, {}, {}, 1, nullptr, false);
    service->postAction("p.xml", nullptr, {}, {}, 2, nullptr);
    service->putAction("u.xml", nullptr, {}, {}, 3, nullptr);
    service->deleteAction("d.xml", nullptr, {}, {}, 0, nullptr);
    service->deleteAction("d2.xml", &writer, {}, {}, 0, nullptr);
    service->_performAction("x.xml", nullptr, "PATCH", {}, {}, 0, nullptr);
    // PUT and DELETE without parameters still send a list: an empty one.
    EXPECT_EQ(service->calls, (std::vector<std::string>{
                                  "GET g.xml params=nil type=0 auth=1", "GET g2.xml params=1 type=1 auth=0",
                                  "POST p.xml params=nil type=2 auth=1", "PUT u.xml params=0 type=3 auth=1",
                                  "DELETE d.xml params=0 type=0 auth=1", "DELETE d2.xml params=1 type=0 auth=1",
                                  "PATCH x.xml params=nil type=0 auth=1"}));
}

TEST(ServiceTest, WithoutAProviderNothingStartsAndNothingCallsBack)
{
    HCService::setProvider(nullptr);
    auto service = HCService::create<CountingService>();
    int calls = 0;
    auto count = HCDelegate::withFunction([&](const platform::ObjectPtr&) { ++calls; });
    EXPECT_EQ(service->getAction("g.xml", nullptr, count, count, 0, nullptr), nullptr);
    EXPECT_EQ(service->putAction("u.xml", nullptr, count, count, 0, nullptr), nullptr);
    testsupport::drainMain();
    EXPECT_EQ(calls, 0);
}

class ReplyHandlerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::Sandbox::configure(sandbox.str());  // the banner gate reads the user options
        // Armed as a caller would before its call; no window, so nothing shows.
        HCNotification::sharedInstance()->setDefaultBackgroundNotice(
            HCNotificationData::dataWithText("Saving", HCNotificationCategoryHighScore), std::nullopt);
        service = HCService::create<CountingService>();
    }
    void TearDown() override
    {
        HCNotification::sharedInstance()->clearDefaultNotice();
        platform::Sandbox::reset();
    }
    static bool noticeArmed() { return HCNotification::sharedInstance()->defaultBackgroundNotice() != nullptr; }

    // A loader that never ran: no body and no HTTP response.
    static std::shared_ptr<OAuthAPIRequestLoader> idleLoader()
    {
        auto request = std::make_shared<OAuthURLRequest>("http://127.0.0.1:9/x", OAuthConsumer{"k", "s"}, std::nullopt);
        return std::make_shared<OAuthAPIRequestLoader>(request, HCDelegate(), HCDelegate());
    }

    std::shared_ptr<HCDelegateChained> recorder()
    {
        return HCDelegateChained::make(HCDelegate::withFunction([this](const platform::ObjectPtr& object) {
            events.push_back(platform::Thread::isMainThread() ? "callback on main" : "callback elsewhere");
            received = object;
        }));
    }

    testsupport::TempDir sandbox;
    std::shared_ptr<CountingService> service;
    std::vector<std::string> events;
    platform::ObjectPtr received;
};

TEST_F(ReplyHandlerTest, ReplyWithoutHttpResponseGivesAnEmptySeriesWithStatusMinusOne)
{
    service->_onActionSucceeded(idleLoader(), recorder(), recorder());
    EXPECT_FALSE(noticeArmed()) << "the default notice is shown before the caller hears";
    EXPECT_TRUE(events.empty());
    ASSERT_TRUE(testsupport::runMainUntil([&] { return events.size() == 1; }));
    EXPECT_EQ(events, (std::vector<std::string>{"callback on main"}));
    auto series = platform::as<HCPaginatedSeries>(received);
    ASSERT_TRUE(series);
    EXPECT_EQ(series->count(), 0u);
    EXPECT_EQ(series->httpResponseStatusCode(), -1);

    received = nullptr;
    service->_onActionSucceeded(nullptr, recorder(), recorder());
    ASSERT_TRUE(testsupport::runMainUntil([&] { return received != nullptr; }));
    EXPECT_EQ(platform::as<HCPaginatedSeries>(received)->count(), 0u);
}

TEST_F(ReplyHandlerTest, FailureIsHandedOnUnchanged)
{
    auto loader = idleLoader();
    service->_onActionFailed(loader, recorder());
    ASSERT_TRUE(testsupport::runMainUntil([&] { return received != nullptr; }));
    EXPECT_EQ(received, loader);
    EXPECT_EQ(events, std::vector<std::string>{"callback on main"});
    EXPECT_TRUE(noticeArmed()) << "a failed call shows no default notice";
}

}  // namespace
