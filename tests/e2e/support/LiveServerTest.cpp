#include "e2e/support/LiveServerTest.h"

#include <mutex>

#include "client/HCClientHooks.h"
#include "core/resources/HCResourceClass.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Fixtures.h"
#include "platform/foundation/Sandbox.h"
#include "support/TestSupport.h"

namespace {

// Hooks run on the request thread while the test reads on the main thread.

}  // namespace

const HCResourceDataMap& ProbeStamp::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("seconds_since_epoch", &ProbeStamp::setSeconds);
        return m;
    }();
    return *map;
}

void ProbeStamp::setSeconds(const std::string& text)
{
    seconds_ = text;
    filledOn_ = platform::Thread::current();
}

const HCResourceDataMap& ProbePlayer::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("name", &ProbePlayer::setName);
        return m;
    }();
    return *map;
}

void ProbeService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<ProbeStamp>(map);
    HCAddKnownResource<ProbePlayer>(map);
}

HCDelegate Outcome::success()
{
    return HCDelegate::withFunction([this](const platform::ObjectPtr& reply) {
        series = platform::as<HCPaginatedSeries>(reply);
        onMainThread = onMainThread && platform::Thread::isMainThread();
        ++calls;
    });
}

HCDelegate Outcome::failed()
{
    return HCDelegate::withFunction([this](const platform::ObjectPtr& reply) {
        failure = platform::as<OAuthAPIRequestLoader>(reply);
        onMainThread = onMainThread && platform::Thread::isMainThread();
        ++calls;
    });
}

void LiveServerTest::SetUp()
{
    platform::Sandbox::configure(sandbox.str());
    server = std::make_unique<localserver::Server>();
    localserver::registerServiceRoutes(*server);
    server->addRoute("GET", "e2e_fence", localserver::Access::Open, [](const localserver::Request&) {
        return localserver::Reply::xml(localserver::writeFlatReply({}));
    });
    ASSERT_TRUE(server->start()) << server->error();
    HCSettings::setDefaultOverride("server-url", server->serviceRootUrl());
    HCSettings::Initialize();
    HCProvider::setHooks({});

    platform::ui::Application::resetShared();
    window = testsupport::BannerWindow::show();

    useProvider(localserver::defaults::kProductSecret, localserver::defaults::kUserToken,
                localserver::defaults::kUserTokenSecret);
    probe = HCService::create<ProbeService>();
}

void LiveServerTest::TearDown()
{
    HCService::setProvider(nullptr);
    if (provider) provider->cleanupRequestThread();
    provider = nullptr;
    server->stop();
    // Whatever the request thread posted before it stopped.
    testsupport::drainMain();
    HCClientHooks::resetForTesting();
}

void LiveServerTest::useProvider(const std::string& secret, const std::string& token, const std::string& tokenSecret)
{
    if (provider) provider->cleanupRequestThread();
    // No token: a player who is not logged in, whatever an earlier provider stored.
    if (token.empty()) OAuthCredentialStore::removeAll();
    provider = HCProvider::providerWithProductKey(localserver::defaults::kProductKey, secret);
    if (!token.empty()) provider->setAccessToken(token, tokenSecret);
    HCService::setProvider(provider);
}

void LiveServerTest::armNotice(const std::string& text)
{
    HCNotification::sharedInstance()->setDefaultBackgroundNotice(HCNotificationData::dataWithText(text, 0),
                                                                 HCNotificationStatusSuccess);
}

bool LiveServerTest::waitFor(const Outcome& outcome)
{
    return testsupport::runMainUntil([&] { return outcome.done(); });
}

void LiveServerTest::fence(bool waitForIdle)
{
    if (waitForIdle) {
        ASSERT_TRUE(provider->waitUntilIdle(10.0));
        // The request thread finishes the step it is in (and queues what it
        // hands on) before it takes this one.
        bool passed = false;
        provider->requestThread()->runLoop()->post([&passed] { platform::performOnMain([&passed] { passed = true; }); });
        ASSERT_TRUE(testsupport::runMainUntil([&] { return passed; }));
    }
    Outcome outcome;
    // An open route, without the approval check: answered whatever the
    // credentials and the provider's hooks say.
    auto handle = probe->getAction("e2e_fence", nullptr, outcome.success(), outcome.failed(), 0, nullptr, false);
    ASSERT_TRUE(handle);
    ASSERT_TRUE(waitFor(outcome));
}
