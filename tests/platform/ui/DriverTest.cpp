#include "platform/ui/Driver.h"

#include "ControllerTestFixture.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

using namespace platform::ui;
using uitest::Log;

namespace {

class DriverTest : public uitest::ControllerTest {};

TEST_F(DriverTest, FindersSeeOnlyWhatIsShown)
{
    auto page = make("Inbox");
    show(page);
    auto shown = Label::make(Rect(0, 0, 100, 20));
    shown->setText("Invitations");
    shown->setTag(3);
    auto hiddenGroup = View::make(Rect(0, 30, 100, 100));
    hiddenGroup->setHidden(true);
    auto hiddenLabel = Label::make(Rect(0, 0, 100, 20));
    hiddenLabel->setText("Secret");
    hiddenLabel->setTag(4);
    hiddenGroup->addSubview(hiddenLabel);
    page->view()->addSubview(shown);
    page->view()->addSubview(hiddenGroup);

    EXPECT_EQ(Driver::findByText("Invitations"), shown);
    EXPECT_EQ(Driver::findByText("Secret"), nullptr);
    EXPECT_EQ(Driver::findByTag(window, 3), shown);
    EXPECT_EQ(Driver::findByTag(window, 4), nullptr);
    EXPECT_EQ(Driver::findAll<Label>(), (std::vector<std::shared_ptr<Label>>{shown}));

    hiddenGroup->setHidden(false);
    EXPECT_EQ(Driver::findFirst<Label>(hiddenGroup), hiddenLabel);
}

TEST_F(DriverTest, ScreenDumpListsEachContainerBeforeTheControllersItHoldsWhateverTheOrderOfMaking)
{
    auto controllersOnScreen = [] {
        const std::string screen = Driver::describeScreen();
        const auto start = screen.find("Controllers:\n");
        return start == std::string::npos ? screen : screen.substr(start);
    };
    // Pages are made before the navigation controllers that hold them, as
    // a tabbed dashboard makes them.
    auto inbox = make("Inbox");
    auto friends = make("Friends");
    auto inboxNav = NavigationController::withRootViewController(inbox);
    auto friendsNav = NavigationController::withRootViewController(friends);
    inboxNav->setTitle("Mail");
    auto tabs = std::make_shared<TabBarController>();
    tabs->setViewControllers({inboxNav, friendsNav});
    show(tabs);
    EXPECT_EQ(controllersOnScreen(),
              "Controllers:\n"
              "  TabBarController\n"
              "    NavigationController \"Mail\"\n"
              "      ViewController \"Inbox\"\n");

    // A modal starts a tree of its own.
    auto compose = make("Compose");
    auto composeNav = NavigationController::withRootViewController(compose);
    tabs->presentModalViewController(composeNav, false);
    driver.settle();
    EXPECT_EQ(controllersOnScreen(),
              "Controllers:\n"
              "  NavigationController modal\n"
              "    ViewController \"Compose\"\n");
}

TEST_F(DriverTest, BarButtonsAreTappedByTheirWordsAndDisabledOnesRefuse)
{
    auto page = make("Invite");
    auto nav = NavigationController::withRootViewController(page);
    int invited = 0;
    auto invite = BarButtonItem::withTitle("Invite", BarButtonStyle::Plain, [&invited](BarButtonItem&) { ++invited; });
    page->navigationItem()->setRightBarButtonItem(invite);
    page->navigationItem()->setLeftBarButtonItem(BarButtonItem::withSystemItem(SystemItem::Cancel, nullptr));
    show(nav);

    EXPECT_TRUE(driver.tapBarButton("Invite"));
    EXPECT_EQ(invited, 1);
    EXPECT_TRUE(driver.tapBarButton("Cancel")) << "a system item is found by the words it shows";
    invite->setEnabled(false);
    EXPECT_FALSE(driver.tapBarButton("Invite"));
    invite->sendAction();
    EXPECT_EQ(invited, 2) << "code may still send the action";
    EXPECT_FALSE(driver.tapBarButton("Send"));

    // A custom view that is a control is what gets tapped.
    auto button = std::make_shared<Button>(ButtonType::Custom, Rect(0, 0, 40, 30));
    int taps = 0;
    button->addTarget(this, [&taps](Control&) { ++taps; }, ControlEventTouchUpInside);
    EXPECT_TRUE(driver.tap(BarButtonItem::withCustomView(button)));
    EXPECT_EQ(taps, 1);
}

}  // namespace
