// What the player's answer to a notification does: the dashboard opened on
// a tab with a page (made once), a method of an object that may be gone, a
// page pushed or presented on a navigation controller that may be gone.
#include "client/support/HalcyonTest.h"
#include "core/halcyon/HCDashboardHooks.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/ui/NavigationController.h"
#include "uiframework/HCNotificationInputResponse.h"

namespace {

using platform::ui::ViewController;

class HCResponseProbeController final : public ViewController {};

class Target final : public platform::Object {
public:
    void poke() { ++pokes; }
    int pokes = 0;
};

class NotificationInputResponseTest : public HalcyonTest {
protected:
    void SetUp() override
    {
        HalcyonTest::SetUp();
        platform::registerClass<HCResponseProbeController>("HCResponseProbeController");
        start();
        HCDashboardHooks hooks;
        hooks.launchDashboard = [this](HalcyonDelegate*, const std::optional<std::string>& tab,
                                       const std::vector<platform::ObjectPtr>& controllers) {
            launches.push_back({tab, controllers});
        };
        Halcyon::setDashboardHooks(hooks);
    }

    struct Launch {
        std::optional<std::string> tab;
        std::vector<platform::ObjectPtr> controllers;
    };
    std::vector<Launch> launches;
};

TEST_F(NotificationInputResponseTest, OpenDashboardMakesItsPageOnceAndReusesIt)
{
    HCInputResponseOpenDashboard byName(std::string("Friends"), std::optional<std::string>("ResponseProbe"));
    byName.respondToInput();
    byName.respondToInput();
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0].tab, "Friends");
    ASSERT_EQ(launches[0].controllers.size(), 1u);
    EXPECT_TRUE(std::dynamic_pointer_cast<HCResponseProbeController>(launches[0].controllers[0]));
    EXPECT_EQ(launches[1].controllers, launches[0].controllers) << "the same page the second time";

    // Neither a name nor a page: the tab alone. A page given: that page.
    HCInputResponseOpenDashboard(std::string("Inbox"), std::optional<std::string>()).respondToInput();
    EXPECT_EQ(launches[2].tab, "Inbox");
    EXPECT_TRUE(launches[2].controllers.empty());
    auto page = std::make_shared<ViewController>();
    HCInputResponseOpenDashboard(std::nullopt, page).respondToInput();
    EXPECT_EQ(launches[3].controllers, std::vector<platform::ObjectPtr>{page});
}

TEST_F(NotificationInputResponseTest, PerformSelectorDoesNotKeepItsTargetAliveAndSkipsAGoneOne)
{
    auto target = std::make_shared<Target>();
    auto response = HCInputResponsePerformSelector::responseWithSelector(&Target::poke, target);
    response->respondToInput();
    EXPECT_EQ(target->pokes, 1);
    std::weak_ptr<Target> watched = target;
    target.reset();
    EXPECT_TRUE(watched.expired()) << "the response holds its target weakly";
    response->respondToInput();  // nothing to call, and nothing breaks
}

TEST_F(NotificationInputResponseTest, PushControllerPushesOrPresentsAndDoesNothingWithoutAPageOrController)
{
    auto nav = platform::ui::NavigationController::withRootViewController(std::make_shared<ViewController>());
    HCInputResponsePushController::responseWithControllerName("NoSuchPage", nav, false)->respondToInput();
    EXPECT_EQ(nav->viewControllers().size(), 1u);

    HCInputResponsePushController::responseWithControllerName("ResponseProbe", nav, false)->respondToInput();
    ASSERT_EQ(nav->viewControllers().size(), 2u);
    EXPECT_TRUE(std::dynamic_pointer_cast<HCResponseProbeController>(nav->viewControllers().back()));

    HCInputResponsePushController::responseWithControllerName("ResponseProbe", nav, true)->respondToInput();
    EXPECT_TRUE(std::dynamic_pointer_cast<HCResponseProbeController>(nav->modalViewController()));
    EXPECT_EQ(nav->viewControllers().size(), 2u);

    auto orphan = HCInputResponsePushController::responseWithControllerName("ResponseProbe", nav, false);
    nav.reset();
    orphan->respondToInput();  // its navigation controller is gone: nothing
}

}  // namespace
