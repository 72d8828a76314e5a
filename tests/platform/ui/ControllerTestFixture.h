#pragma once
// A fixture for tests of controllers, tables, alerts and the driver: a manual
// clock with a driver on it, a fresh application and a key window on the
// small screen, programming errors recorded instead of logged, and a
// tear-down that takes every alert, sheet and popover off the screen and
// ends every transition while the fixture's members are still alive.
//
// LoggingController writes its view and appearance calls to a shared log as
// "<name> <call>", so tests compare whole sequences.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/ProgrammingError.h"
#include "platform/ui/AlertPanel.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/Driver.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Transitions.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "support/TestSupport.h"

namespace uitest {

using Log = std::vector<std::string>;

class LoggingController : public platform::ui::ViewController {
public:
    LoggingController(std::string name, Log& log) : name_(std::move(name)), log_(log) { setTitle(name_); }

    void viewDidLoad() override { log_.push_back(name_ + " didLoad"); }
    void viewDidUnload() override { log_.push_back(name_ + " didUnload"); }
    void viewWillAppear(bool) override { log_.push_back(name_ + " willAppear"); }
    void viewDidAppear(bool) override { log_.push_back(name_ + " didAppear"); }
    void viewWillDisappear(bool) override { log_.push_back(name_ + " willDisappear"); }
    void viewDidDisappear(bool) override { log_.push_back(name_ + " didDisappear"); }

    bool shouldAutorotateToInterfaceOrientation(platform::ui::InterfaceOrientation o) override
    {
        return allowed.count(o) != 0;
    }
    void willRotateToInterfaceOrientation(platform::ui::InterfaceOrientation, double) override
    {
        log_.push_back(name_ + " willRotate");
    }
    void didRotateFromInterfaceOrientation(platform::ui::InterfaceOrientation) override
    {
        log_.push_back(name_ + " didRotate");
    }

    std::set<platform::ui::InterfaceOrientation> allowed{platform::ui::InterfaceOrientation::Portrait};

private:
    std::string name_;
    Log& log_;
};

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ui::Application::resetShared();
        platform::ui::Device::resetCurrent();
        platform::DeviceFacts::setLargeScreen(false);
        platform::ui::Keyboard::reset();
        platform::setProgrammingErrorHandler([this](const std::string& text) { errors.push_back(text); });
        testsupport::drainMain();
        window = platform::ui::Window::make(platform::ui::Screen::mainScreen()->bounds());
        window->makeKeyAndVisible();
    }

    void TearDown() override
    {
        for (const auto& panel : platform::ui::AlertPanel::shownPanels()) panel->dismissWithClickedButtonIndex(-1, false);
        for (const auto& popover : platform::ui::PopoverController::visiblePopovers()) popover->dismissPopover(false);
        platform::ui::Transitions::finishAll();
        clock.advance(3600);
        testsupport::drainMain();
        platform::setProgrammingErrorHandler(nullptr);
        platform::ui::Application::resetShared();
    }

    std::shared_ptr<LoggingController> make(const std::string& name)
    {
        return std::make_shared<LoggingController>(name, log);
    }

    // Makes the controller the window's root, on screen, without animation.
    void show(const platform::ui::ViewControllerPtr& controller)
    {
        window->setRootViewController(controller);
        controller->view()->setFrame(platform::ui::Screen::mainScreen()->applicationFrame());
        window->addSubview(controller->view());
        controller->beginAppearanceTransition(true, false);
        controller->endAppearanceTransition();
    }

    // What was logged since the last call.
    Log take() { return std::exchange(log, {}); }

    testsupport::ScopedManualClock clock;
    platform::ui::Driver driver{&clock.clock()};
    std::shared_ptr<platform::ui::Window> window;
    Log log;
    std::vector<std::string> errors;
};

}  // namespace uitest
