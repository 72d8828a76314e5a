#pragma once
// A fixture for tests of views, windows and animations: a manual clock, a
// fresh application, device and small screen, and a tear-down that lets every
// pending animation report while the fixture's members are still alive.
#include <gtest/gtest.h>

#include "platform/foundation/DeviceFacts.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/View.h"
#include "support/TestSupport.h"

namespace uitest {

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ui::Application::resetShared();
        platform::ui::Device::resetCurrent();
        platform::DeviceFacts::setLargeScreen(false);
        platform::ui::View::setAnimationsEnabled(true);
        testsupport::drainMain();
    }

    void TearDown() override
    {
        // Completions may point at members of the fixture: run them now.
        clock.advance(3600);
        testsupport::drainMain();
        platform::ui::View::setAnimationsEnabled(true);
        platform::DeviceFacts::setLargeScreen(false);
        platform::ui::Application::resetShared();
    }

    testsupport::ScopedManualClock clock;
};

}  // namespace uitest
