#pragma once
// The client started on a manual clock with this build's hooks, a key
// window, a bundle whose tab list names the test's own pages, a recording
// log-in chain and no log-in screens (a test may add the accounts layer's).
// goOnline() finishes the start-up log-in as a player with an account.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "client/HCClientHooks.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "platform/ui/Driver.h"
#include "platform/ui/Window.h"
#include "support/TestSupport.h"
#include "uiframework/HCViewController.h"
#include "uiframework/table/HCTableControllerHelper.h"

namespace dashtest {

class RecordingLoginChain final : public HCLoginChain {
public:
    void login(const std::optional<std::string>& userId, bool) override { logins.push_back(userId.value_or("")); }
    std::vector<std::string> logins;
};

// The game's delegate, recording the dashboard's appearance calls.
class GameDelegate final : public HalcyonDelegate {
public:
    void dashboardWillAppear() override { calls.push_back("willAppear"); }
    void dashboardDidAppear() override { calls.push_back("didAppear"); }
    void dashboardWillDisappear() override { calls.push_back("willDisappear"); }
    void dashboardDidDisappear() override { calls.push_back("didDisappear"); }
    std::vector<std::string> calls;
};

// A page of the tests, registered under "HCTestPageController" and named by its title.
class TestPage : public HCViewController {
public:
    std::string kindName() const override { return "TestPage"; }
};

// A table page of the tests ("HCTestTablePageController") that counts its loads.
class TestTablePage : public HCTableControllerHelper {
public:
    void doIndexActionOnSuccess(const HCDelegate&, const HCDelegate&) override { ++loads; }
    bool autoLoadData() override { return false; }
    std::string kindName() const override { return "TestTablePage"; }
    int loads = 0;
};

class DashboardTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the client; `approved` makes the player one who approved the service.
    void start(bool approved = true, std::shared_ptr<platform::Dictionary> settings = nullptr);
    // The start-up log-in succeeds as player 1001 ("Ann"), reachable.
    void goOnline();
    void setReachable(bool reachable);
    // Runs what is due and ends every animation and transition.
    void settle();

    testsupport::TempDir sandbox;
    testsupport::TempDir bundle;
    std::unique_ptr<testsupport::ScopedManualClock> clock;
    std::unique_ptr<platform::ui::Driver> driver;
    std::shared_ptr<platform::ui::Window> window;
    std::shared_ptr<RecordingLoginChain> chain = std::make_shared<RecordingLoginChain>();
    std::shared_ptr<HCLoginScreens> loginScreens;
    GameDelegate game;
    bool largeScreen = false;
};

}  // namespace dashtest
