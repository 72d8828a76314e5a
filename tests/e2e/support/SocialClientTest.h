#pragma once
// The whole client started as a game starts it, logged in against a local
// server as its first player, on a manual clock: for the social services
// that lean on the running client (the activity poller, the log-in's
// follow-ups, the user options).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/halcyon/HalcyonDelegate.h"
#include "core/replies/HCPaginatedSeries.h"
#include "kernel/callbacks/HCDelegate.h"
#include "localserver/Server.h"
#include "platform/foundation/NotificationCenter.h"
#include "support/TestSupport.h"

class SocialClientGame final : public HalcyonDelegate {
public:
    void userLoggedIn(const std::string& userId) override { calls.push_back("online " + userId); }
    void offlineUserLoggedIn(const std::string& userId) override { calls.push_back("offline " + userId); }
    std::vector<std::string> calls;
};

// What reached a pair of callbacks: the object and whether it failed.
struct Reached {
    platform::ObjectPtr object;
    bool failed = false;
    int calls = 0;
    HCDelegate success();
    HCDelegate failure();
    std::shared_ptr<HCPaginatedSeries> series() const { return platform::as<HCPaginatedSeries>(object); }
    // The series' objects of class T, in order.
    template <class T>
    std::vector<std::shared_ptr<T>> objects() const
    {
        std::vector<std::shared_ptr<T>> out;
        if (auto all = series())
            for (const auto& item : all->objects())
                if (auto typed = platform::as<T>(item)) out.push_back(typed);
        return out;
    }
};

class SocialClientTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the client and waits until the log-in has ended and settled.
    void start();
    bool waitUntil(const std::function<bool()>& done) { return testsupport::runMainUntil(done); }
    bool waitFor(const Reached& reached) { return waitUntil([&] { return reached.calls > 0; }); }
    // Every request sent has been answered and its outcome delivered.
    void settle();
    // How many requests reached the path so far.
    size_t requestsTo(const std::string& path) const;
    // Notifications of that name posted on the main thread since SetUp.
    void observe(const std::string& name);
    std::vector<platform::Notification> posted;

    testsupport::TempDir sandbox;
    std::unique_ptr<testsupport::ScopedManualClock> clock;
    std::unique_ptr<localserver::Server> server;
    SocialClientGame game;
};
