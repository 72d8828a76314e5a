#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ViewTestFixture.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

using namespace platform::ui;
using platform::NotificationCenter;

namespace {

class ApplicationTest : public uitest::ViewTest {
protected:
    std::vector<std::string> heard;

    void listen(const char* name)
    {
        NotificationCenter::defaultCenter().addObserver(this, name, [this](const platform::Notification& n) {
            EXPECT_EQ(n.object, Application::shared());
            heard.push_back(n.name);
        });
    }

    void TearDown() override
    {
        NotificationCenter::defaultCenter().removeObserver(this);
        uitest::ViewTest::TearDown();
    }
};

TEST_F(ApplicationTest, LifeCycleNotificationsArriveInPlatformOrder)
{
    for (const char* name : {ApplicationWillResignActiveNotification, ApplicationDidEnterBackgroundNotification,
                             ApplicationWillEnterForegroundNotification, ApplicationDidBecomeActiveNotification})
        listen(name);
    auto app = Application::shared();

    app->resignActive();
    app->enterBackground();
    EXPECT_EQ(app->applicationState(), ApplicationState::Background);
    app->enterForeground();
    EXPECT_EQ(app->applicationState(), ApplicationState::Inactive);
    app->becomeActive();
    EXPECT_EQ(heard, (std::vector<std::string>{"ApplicationWillResignActiveNotification",
                                               "ApplicationDidEnterBackgroundNotification",
                                               "ApplicationWillEnterForegroundNotification",
                                               "ApplicationDidBecomeActiveNotification"}));

    // A host that skips steps still yields every notification, in order; repeats yield none.
    heard.clear();
    app->enterBackground();
    app->enterBackground();
    app->becomeActive();
    app->becomeActive();
    EXPECT_EQ(heard, (std::vector<std::string>{"ApplicationWillResignActiveNotification",
                                               "ApplicationDidEnterBackgroundNotification",
                                               "ApplicationWillEnterForegroundNotification",
                                               "ApplicationDidBecomeActiveNotification"}));
    EXPECT_EQ(app->applicationState(), ApplicationState::Active);

    // An inactive application that becomes active again never went to the background.
    heard.clear();
    app->resignActive();
    app->becomeActive();
    EXPECT_EQ(heard, (std::vector<std::string>{"ApplicationWillResignActiveNotification",
                                               "ApplicationDidBecomeActiveNotification"}));
}

TEST_F(ApplicationTest, StatusBarFrameAndApplicationFrameFollowOrientation)
{
    auto app = Application::shared();
    auto screen = Screen::mainScreen();
    EXPECT_EQ(screen->bounds(), Rect(0, 0, 320, 480));
    EXPECT_EQ(app->statusBarFrame(), Rect(0, 0, 320, 20));
    EXPECT_EQ(screen->applicationFrame(), Rect(0, 20, 320, 460));

    app->setStatusBarOrientation(InterfaceOrientation::PortraitUpsideDown, false);
    EXPECT_EQ(app->statusBarFrame(), Rect(0, 460, 320, 20));
    EXPECT_EQ(screen->applicationFrame(), Rect(0, 0, 320, 460));
    // Landscape right puts the interface's top at the screen's right edge.
    app->setStatusBarOrientation(InterfaceOrientation::LandscapeRight, true);
    EXPECT_EQ(app->statusBarFrame(), Rect(300, 0, 20, 480));
    EXPECT_EQ(screen->applicationFrame(), Rect(0, 0, 300, 480));
    app->setStatusBarOrientation(InterfaceOrientation::LandscapeLeft, true);
    EXPECT_EQ(app->statusBarFrame(), Rect(0, 0, 20, 480));
    EXPECT_EQ(screen->applicationFrame(), Rect(20, 0, 300, 480));

    app->setStatusBarHidden(true, true);
    EXPECT_EQ(app->statusBarFrame(), Rect());
    EXPECT_EQ(screen->applicationFrame(), Rect(0, 0, 320, 480));

    platform::DeviceFacts::setLargeScreen(true);
    EXPECT_EQ(screen->bounds(), Rect(0, 0, 768, 1024));
    EXPECT_TRUE(screen->isLarge());
}

TEST_F(ApplicationTest, WindowsAreHeldWeaklyAndOneIsKey)
{
    auto app = Application::shared();
    auto first = Window::make(Rect(0, 0, 320, 480));
    EXPECT_TRUE(first->isHidden());
    EXPECT_EQ(app->keyWindow(), nullptr);
    {
        auto second = Window::make(Rect(0, 0, 320, 480));
        second->makeKeyAndVisible();
        EXPECT_FALSE(second->isHidden());
        EXPECT_TRUE(second->isKeyWindow());
        EXPECT_EQ(app->windows().size(), 2u);
        first->makeKeyAndVisible();
        EXPECT_FALSE(second->isKeyWindow());
        second->makeKeyWindow();
    }
    // The host owns its windows: a dropped key window is gone from the list.
    EXPECT_EQ(app->keyWindow(), nullptr);
    ASSERT_EQ(app->windows().size(), 1u);
    EXPECT_EQ(app->windows()[0], first);
}

TEST_F(ApplicationTest, DeviceOrientationChangesArePostedWhileGenerating)
{
    auto device = Device::current();
    int posted = 0;
    NotificationCenter::defaultCenter().addObserver(this, DeviceOrientationDidChangeNotification,
                                                    [&](const platform::Notification& n) {
                                                        EXPECT_EQ(n.object, device);
                                                        ++posted;
                                                    });
    device->setOrientation(DeviceOrientation::LandscapeLeft);
    EXPECT_EQ(posted, 0);
    EXPECT_EQ(device->orientation(), DeviceOrientation::LandscapeLeft);

    device->beginGeneratingDeviceOrientationNotifications();
    device->beginGeneratingDeviceOrientationNotifications();
    device->setOrientation(DeviceOrientation::LandscapeRight);
    device->setOrientation(DeviceOrientation::LandscapeRight);  // no change, no post
    EXPECT_EQ(posted, 1);
    device->endGeneratingDeviceOrientationNotifications();
    device->setOrientation(DeviceOrientation::Portrait);
    EXPECT_EQ(posted, 2);  // one begin still open
    device->endGeneratingDeviceOrientationNotifications();
    device->endGeneratingDeviceOrientationNotifications();
    device->setOrientation(DeviceOrientation::FaceUp);
    EXPECT_EQ(posted, 2);
    NotificationCenter::defaultCenter().removeObserver(this);
}

}  // namespace
