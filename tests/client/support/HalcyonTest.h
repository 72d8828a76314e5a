#pragma once
// A sandbox and a manual clock per test, the service root on a closed
// loopback port (so reachability finds nothing until a test says otherwise),
// and every process-wide slot restored afterwards. start() brings the client
// up with this build's assembly plus a recording log-in chain and no
// log-in screens.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client/HCClientHooks.h"
#include "core/halcyon/Halcyon.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "localserver/Server.h"
#include "platform/foundation/Values.h"
#include "support/TestSupport.h"

// Remembers each log-in it is asked for; the test decides how it ends.
class RecordingLoginChain final : public HCLoginChain {
public:
    void login(const std::optional<std::string>& userId, bool newUser) override
    {
        logins.push_back(userId.value_or("(nil)") + (newUser ? " new" : ""));
    }
    std::vector<std::string> logins;
};

// Screens that only say what they were asked to show.
class RecordingScreens final : public HCLoginScreens {
public:
    bool isIntroFlowActive() override { return false; }
    void presentApproval(const HCDelegate&, const HCDelegate&) override { shown.push_back("approval"); }
    void presentConfirmAccount(const HCDelegate&, bool) override { shown.push_back("confirm"); }
    void presentLinkSocialNetworks() override { shown.push_back("link"); }
    bool hasSessionSeenLinkSocialNetworksScreen() override { return false; }
    void invalidateSessionSeenLinkSocialNetworksScreen() override { shown.push_back("invalidate"); }
    void presentIntroFlow() override { shown.push_back("intro"); }
    void dismissRootControllerOrItsModal(const platform::ui::ViewControllerPtr&) override { shown.push_back("dismiss"); }
    void displayErrorMessage(const std::string& text) override { shown.push_back("error " + text); }
    std::vector<std::string> shown;
};

class HalcyonTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the client with the given settings (nil allowed).
    void start(std::shared_ptr<platform::Dictionary> settings = nullptr);
    void start(HCClientAssembly assembly, std::shared_ptr<platform::Dictionary> settings = nullptr);
    // This build's assembly with the recording chain and no screens.
    HCClientAssembly assembly();
    // Shuts down and drops the in-memory user defaults, as a process exit would.
    void restartProcess();
    void setReachable(bool reachable);

    testsupport::TempDir sandbox;
    std::unique_ptr<testsupport::ScopedManualClock> clock;
    std::shared_ptr<RecordingLoginChain> chain = std::make_shared<RecordingLoginChain>();
    // When set, start() lets a player who was never asked count as one who
    // approved the service, so the start-up log-in reaches the chain.
    bool approvedPlayer = false;
    // Handed to start-up; nil unless a test sets one.
    std::shared_ptr<HCDelegatesContainer> delegates;
};

// The same with the local server (every route) running and the client's
// settings pointing at it.
class HalcyonServerTest : public HalcyonTest {
protected:
    void SetUp() override;
    void TearDown() override;

    localserver::Server server;
};

std::shared_ptr<platform::Dictionary> settingsWith(
    std::initializer_list<std::pair<const char*, platform::ObjectPtr>> entries);
platform::ObjectPtr yes();
platform::ObjectPtr no();
