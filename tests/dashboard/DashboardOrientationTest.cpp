// The dashboard's own rotation: the root view's transform, bounds and
// centre per orientation number, the status bar kept in step, the
// animation's length on a large screen, and the autorotation answer.
#include "dashboard/support/DashboardTest.h"

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Layer.h"

namespace dashtest {
namespace {

using platform::ui::AffineTransform;
using platform::ui::Application;
using platform::ui::Rect;

platform::ui::ViewPtr rootView()
{
    auto root = HalcyonDashboard::getRootController();
    return root ? root->view() : nullptr;
}

double rotationSeconds()
{
    auto animation = rootView()->layer()->animationForKey("transform");
    return animation ? animation->duration() : -1;
}

using SmallScreenOrientationTest = DashboardTest;

TEST_F(SmallScreenOrientationTest, TurnsTheRootViewByNumberAndKeepsItsOrientationWhileOpen)
{
    start();
    goOnline();
    const size_t changesBefore = Application::shared()->statusBarChanges().size();
    Halcyon::setDashboardOrientation(1);
    EXPECT_EQ(Application::shared()->statusBarChanges().size(), changesBefore);

    Halcyon::setDashboardOrientation(3);
    EXPECT_EQ(Halcyon::getDashboardBounds(), Rect(0, 0, 480, 320));
    EXPECT_TRUE(Halcyon::isInLandscapeMode());
    Halcyon::launchDashboard();
    settle();
    // 3 turns a quarter one way, 4 the other: the numbers decide, whatever their names.
    EXPECT_EQ(rootView()->transform(), AffineTransform(0, 1, -1, 0, 0, 0));
    EXPECT_EQ(rootView()->bounds(), Rect(0, 0, 480, 320));
    EXPECT_EQ(rootView()->center(), platform::ui::Point(160, 240));
    EXPECT_EQ(Application::shared()->statusBarOrientation(), platform::ui::InterfaceOrientation(3));

    // While open on a small screen the dashboard keeps its orientation and
    // the game may not turn under it.
    Halcyon::setDashboardOrientation(4);
    EXPECT_EQ(Halcyon::getDashboardOrientation(), 3);
    const int all[] = {1, 2, 3, 4};
    EXPECT_FALSE(Halcyon::shouldAutorotateToInterfaceOrientation(3, all, 4));

    Halcyon::dismissDashboard();
    settle();
    EXPECT_EQ(Application::shared()->statusBarOrientation(), platform::ui::InterfaceOrientation::Portrait);
    Halcyon::setDashboardOrientation(4);
    EXPECT_EQ(Halcyon::getDashboardOrientation(), 4);
    EXPECT_TRUE(Halcyon::shouldAutorotateToInterfaceOrientation(3, all, 4));
    EXPECT_FALSE(Halcyon::shouldAutorotateToInterfaceOrientation(3, all, 2));
    EXPECT_FALSE(Halcyon::shouldAutorotateToInterfaceOrientation(1, all, 0));

    auto view = platform::ui::View::make();
    Halcyon::transformView(view, 4);
    EXPECT_EQ(view->transform(), AffineTransform(0, -1, 1, 0, 0, 0));
    Halcyon::transformView(view, 2);
    EXPECT_EQ(view->transform(), AffineTransform(-1, 0, 0, -1, 0, 0));
    EXPECT_EQ(view->bounds(), Rect(0, 0, 320, 480));
    Halcyon::transformView(view, 7);
    EXPECT_TRUE(view->transform().isIdentity());
}

class LargeScreenOrientationTest : public DashboardTest {
protected:
    LargeScreenOrientationTest() { largeScreen = true; }

    void SetUp() override
    {
        DashboardTest::SetUp();
        // An observer reads the turn from the notice and the dashboard's
        // orientation from the client, which must already be the new one.
        platform::NotificationCenter::defaultCenter().addObserver(
            this, HCNSNotificationDashboardOrientationChanged, [this](const platform::Notification& n) {
                auto to = n.userInfo->get<platform::Number>(HCNSNotificationInfoNewOrientation);
                auto from = n.userInfo->get<platform::Number>(HCNSNotificationInfoOldOrientation);
                turns.push_back(std::to_string(from->intValue()) + "->" + std::to_string(to->intValue()) + ", reads " +
                                std::to_string(Halcyon::getDashboardOrientation()));
            });
    }
    void TearDown() override
    {
        platform::NotificationCenter::defaultCenter().removeObserver(this);
        DashboardTest::TearDown();
    }

    std::vector<std::string> turns;
};

TEST_F(LargeScreenOrientationTest, TurnsWhileOpenWithTheStatusBarTakingHalfTurnsTwiceAsLong)
{
    start();
    goOnline();
    EXPECT_EQ(Halcyon::getDashboardBounds(), Rect(3, 3, 640, 480));
    Halcyon::launchDashboard();
    settle();
    const int all[] = {1, 2, 3, 4};
    EXPECT_TRUE(Halcyon::shouldAutorotateToInterfaceOrientation(2, all, 4));

    Halcyon::setDashboardOrientation(2);
    EXPECT_DOUBLE_EQ(rotationSeconds(), 0.8);
    EXPECT_EQ(rootView()->transform(), AffineTransform(-1, 0, 0, -1, 0, 0));
    const auto& changes = Application::shared()->statusBarChanges();
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(),
              (Application::StatusBarChange{Application::StatusBarChange::What::Orientation, 2, true}));
    settle();

    Halcyon::setDashboardOrientation(3);
    EXPECT_DOUBLE_EQ(rotationSeconds(), 0.4);
    EXPECT_EQ(rootView()->bounds(), Rect(0, 0, 1024, 768));
    settle();
    Halcyon::setDashboardOrientation(4);
    EXPECT_DOUBLE_EQ(rotationSeconds(), 0.8);
    EXPECT_EQ(turns, (std::vector<std::string>{"1->2, reads 2", "2->3, reads 3", "3->4, reads 4"}));
    // Always the same frame on a large screen.
    EXPECT_EQ(Halcyon::getDashboardBounds(), Rect(3, 3, 640, 480));
}

TEST_F(LargeScreenOrientationTest, SnappingTurnsAtOnce)
{
    auto settings = platform::Dictionary::make();
    settings->setObject(HalcyonSettingSnapDashboardRotation, platform::Number::makeBool(true));
    start(true, settings);
    goOnline();
    Halcyon::launchDashboard();
    settle();
    Halcyon::setDashboardOrientation(2);
    EXPECT_EQ(rootView()->transform(), AffineTransform(-1, 0, 0, -1, 0, 0));
    EXPECT_LE(rotationSeconds(), 0.0);
    EXPECT_EQ(turns, std::vector<std::string>{"1->2, reads 2"});
}

}  // namespace
}  // namespace dashtest
