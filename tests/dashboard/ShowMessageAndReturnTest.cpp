// The message page's continue button: back to the page set to pop to, else
// its own action, else out of a modal, else to the first page.
#include "dashboard/support/DashboardTest.h"

#include "dashboard/HCShowMessageAndReturnController.h"
#include "platform/ui/NavigationController.h"
#include "uiframework/HCControllerLoader.h"

namespace dashtest {
namespace {

using ShowMessageAndReturnTest = DashboardTest;

TEST_F(ShowMessageAndReturnTest, ContinueGoesBackWhereItWasToldOrOutOfTheWay)
{
    start();
    auto first = std::make_shared<TestPage>();
    auto navigation = platform::ui::NavigationController::withRootViewController(first);
    window->setRootViewController(navigation);
    window->addSubview(navigation->view());
    navigation->beginAppearanceTransition(true, false);
    navigation->endAppearanceTransition();

    auto middle = std::make_shared<TestPage>();
    navigation->pushViewController(middle, false);
    navigation->pushViewController(std::make_shared<TestPage>(), false);
    auto message = std::dynamic_pointer_cast<HCShowMessageAndReturnController>(
        HCControllerLoader::load("ShowMessageAndReturn"));
    ASSERT_NE(message, nullptr);
    message->messageTitleLabel()->setText("Sent");
    message->messageLabel()->setText("Your challenge is on its way.");
    message->setControllerToPopTo(middle);
    navigation->pushViewController(message, false);
    ASSERT_TRUE(driver->tapButton(HCShowMessageAndReturnController::kContinueTitle));
    settle();
    EXPECT_EQ(navigation->topViewController(), middle);

    message = std::make_shared<HCShowMessageAndReturnController>();
    int continued = 0;
    message->setContinueAction([&] { ++continued; });
    navigation->pushViewController(message, false);
    message->continuePressed();
    EXPECT_EQ(continued, 1);
    EXPECT_EQ(navigation->topViewController(), message);

    message = std::make_shared<HCShowMessageAndReturnController>();
    navigation->pushViewController(message, false);
    message->continuePressed();
    settle();
    EXPECT_EQ(navigation->viewControllers().size(), 1u);

    message = std::make_shared<HCShowMessageAndReturnController>();
    navigation->presentModalViewController(message, false);
    message->continuePressed();
    settle();
    EXPECT_EQ(navigation->modalViewController(), nullptr);
}

}  // namespace
}  // namespace dashtest
