#pragma once
// A started local server per test, a sandbox of its own, the settings
// pointing at the server, and a provider signed in with the server's built-in game and first user. A small
// probe service reads the server's time-stamp replies into ProbeStamp
// resources that note the thread they were filled on.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/banners/HCNotification.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResource.h"
#include "core/services/HCService.h"
#include "localserver/Server.h"
#include "platform/runtime/Thread.h"
#include "support/BannerWindow.h"
#include "support/TestSupport.h"
#include "transport/oauth/OAuthAPIRequestLoader.h"
#include "transport/provider/HCProvider.h"

// The server's time-stamp element, remembering where it was read.
class ProbeStamp final : public HCResource {
public:
    std::string getResourceName() const override { return "server_timestamp"; }
    std::string getResourceDiscoveredNotification() const override { return "probe_stamp_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    void setSeconds(const std::string& text);
    const std::string& seconds() const { return seconds_; }
    const platform::ThreadPtr& filledOn() const { return filledOn_; }

private:
    std::string seconds_;
    platform::ThreadPtr filledOn_;
};

// A polled resource: "player" with a name.
class ProbePlayer final : public HCResource {
public:
    std::string getResourceName() const override { return "player"; }
    std::string getResourceDiscoveredNotification() const override { return "probe_player_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    void setName(const std::string& name) { name_ = name; }
    const std::string& name() const { return name_; }

private:
    std::string name_;
};

class ProbeService final : public HCService {
public:
    void populateKnownResources(HCResourceNameMap& map) override;
};

// What reached one pair of callbacks, and on which thread.
struct Outcome {
    std::shared_ptr<HCPaginatedSeries> series;
    std::shared_ptr<OAuthAPIRequestLoader> failure;
    int calls = 0;
    bool onMainThread = true;

    HCDelegate success();
    HCDelegate failed();
    bool done() const { return calls > 0; }

    // The objects of the delivered series that are of type T, in order.
    template <class T>
    std::vector<std::shared_ptr<T>> objects() const
    {
        std::vector<std::shared_ptr<T>> out;
        if (!series) return out;
        for (const auto& object : series->objects())
            if (auto typed = platform::as<T>(object)) out.push_back(typed);
        return out;
    }
};

class LiveServerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the provider with one for this secret and access token.
    void useProvider(const std::string& secret, const std::string& token, const std::string& tokenSecret);
    // Waits (bounded by wall time) until the outcome has arrived on the main thread.
    bool waitFor(const Outcome& outcome);
    // Waits until the provider has no request running (unless told not to),
    // then sends one request that nothing interferes with and waits for its
    // answer: whatever the finished requests had to deliver on the request
    // thread and the main thread has been delivered by then.
    void fence(bool waitForIdle = true);

    testsupport::TempDir sandbox;
    std::unique_ptr<localserver::Server> server;
    std::shared_ptr<HCProvider> provider;
    std::shared_ptr<ProbeService> probe;
    // Banners the replies showed (the default notice, server banners).
    std::shared_ptr<testsupport::BannerWindow> window;
    // Arms the default notice a caller would arm before its call.
    static void armNotice(const std::string& text);
};
