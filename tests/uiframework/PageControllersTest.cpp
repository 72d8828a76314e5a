// The base page, the dashboard's navigation and tab bar controllers: the
// loading screen, tab badges, the page context and the callback rule.
#include "core/users/HCUser.h"
#include "kernel/callbacks/HCDelegate.h"
#include "platform/ui/ControllerTestFixture.h"
#include "platform/ui/Describe.h"
#include "uiframework/HCNavigationController.h"
#include "uiframework/HCPageContextSource.h"
#include "uiframework/HCTabBarController.h"
#include "uiframework/HCUIKitCategories.h"
#include "uiframework/HCViewController.h"

using namespace platform::ui;

namespace {

class Page : public HCViewController {
public:
    void close() { ++closes; }
    void heard(std::shared_ptr<platform::Object>) { ++replies; }
    int closes = 0;
    int replies = 0;
};

// A navigation controller that keeps a context, as the dashboard's framed one does.
class ContextNavigation : public HCNavigationController, public HCPageContextSource {
public:
    std::shared_ptr<HCUser> pageContextUser(const ViewController& page) const override
    {
        return &page == viewControllers().back().get() ? topUser : nullptr;
    }
    std::shared_ptr<HCUser> pageComparisonUser(const ViewController&) const override { return compared; }
    std::shared_ptr<HCGameProfilePageInfo> pageContextGame(const ViewController&) const override { return nullptr; }
    std::shared_ptr<HCUser> topUser;
    std::shared_ptr<HCUser> compared;
};

class PageControllersTest : public uitest::ControllerTest {};

TEST_F(PageControllersTest, LoadingScreenCoversThePageOnceAndGoes)
{
    auto page = std::make_shared<Page>();
    show(HCNavigationController::withRootViewController(page));
    page->showLoadingScreen();
    page->showLoadingScreen();
    auto covers = Driver::findAll<HCLoadingView>();
    ASSERT_EQ(covers.size(), 1u);
    EXPECT_EQ(covers[0]->superview(), page->view());
    EXPECT_EQ(covers[0]->frame(), page->view()->bounds());
    EXPECT_TRUE(covers[0]->activityIndicator()->isAnimating());
    EXPECT_TRUE(Driver::findByText(HCLoadingView::kText));
    // A tap on the page lands on the cover, not on what lies below it.
    auto below = Button::buttonWithType(ButtonType::RoundedRect);
    below->setFrame(Rect(10, 10, 100, 40));
    below->setTitle("Below", ControlStateNormal);
    page->view()->insertSubview(below, 0);
    EXPECT_FALSE(driver.tapView(below));

    page->hideLoadingScreen();
    EXPECT_TRUE(Driver::findAll<HCLoadingView>().empty());
    EXPECT_FALSE(page->isShowingLoadingScreen());
    page->hideLoadingScreen();
    EXPECT_TRUE(driver.tapView(below));
}

TEST_F(PageControllersTest, CallbacksReachAPageOnlyWhileItIsOnANavigationStack)
{
    auto root = std::make_shared<Page>();
    auto navigation = HCNavigationController::withRootViewController(root);
    show(navigation);
    auto page = std::make_shared<Page>();
    EXPECT_FALSE(page->canReceiveCallbacksNow()) << "not pushed yet";
    navigation->pushViewController(page, false);
    EXPECT_TRUE(page->canReceiveCallbacksNow());

    HCDelegate(page, &Page::heard).invoke();
    driver.settle();
    EXPECT_EQ(page->replies, 1);

    // A reply on its way when the page is popped is dropped.
    HCDelegate(page, &Page::heard).invoke();
    navigation->popViewController(true);
    driver.settle();
    EXPECT_EQ(page->replies, 1);
    EXPECT_FALSE(page->canReceiveCallbacksNow());
    // A page in a tab without a navigation controller is on no stack either.
    auto tabs = std::make_shared<HCTabBarController>();
    auto bare = std::make_shared<Page>();
    tabs->setTabBarItems({HCTabBarItem::make("Bare", bare)});
    EXPECT_FALSE(bare->canReceiveCallbacksNow());
}

TEST_F(PageControllersTest, TabsByNameRootPagesKnowTheirTabAndSetItsBadge)
{
    auto profile = std::make_shared<Page>();
    auto profileNav = HCNavigationController::withRootViewController(profile);
    auto inbox = std::make_shared<Page>();
    auto inboxNav = HCNavigationController::withRootViewController(inbox);
    auto tabs = std::make_shared<HCTabBarController>();
    tabs->setTabBarItems({HCTabBarItem::make("GameProfile", profileNav), HCTabBarItem::make("Inbox", inboxNav),
                          HCTabBarItem::make("Inbox", std::make_shared<Page>())});
    EXPECT_EQ(errors.size(), 1u) << "a second tab of one name is refused";
    errors.clear();
    ASSERT_EQ(tabs->tabBarItems().size(), 2u);
    EXPECT_EQ(tabs->viewControllers().size(), 2u);
    show(tabs);
    EXPECT_EQ(inbox->owningTabBarItem(), tabs->tabBarItemNamed("Inbox"));

    inboxNav->pushViewController(std::make_shared<Page>(), false);
    inboxNav->pushViewController(std::make_shared<Page>(), false);
    EXPECT_EQ(tabs->showTabViewControllerNamed("Inbox"), inboxNav);
    EXPECT_EQ(tabs->selectedViewController(), inboxNav);
    EXPECT_EQ(inboxNav->viewControllers().size(), 3u) << "plain show keeps the pages";
    tabs->showTabViewControllerNamed("GameProfile");
    EXPECT_EQ(tabs->showTabViewControllerNamed("Inbox", true), inboxNav);
    EXPECT_EQ(inboxNav->viewControllers().size(), 1u);
    EXPECT_FALSE(inboxNav->history().back().animated);
    EXPECT_FALSE(tabs->showTabViewControllerNamed("Nowhere"));
    EXPECT_EQ(tabs->selectedViewController(), inboxNav);

    // The root page sets its tab's badge; a pushed page reaches it through its navigation controller.
    inbox->setBadgeValue("3");
    EXPECT_EQ(inboxNav->tabBarItem()->badgeValue(), "3");
    auto pushed = std::make_shared<Page>();
    inboxNav->pushViewController(pushed, false);
    pushed->setBadgeValue(std::nullopt);
    EXPECT_FALSE(inboxNav->tabBarItem()->badgeValue());
}

TEST_F(PageControllersTest, PageContextComesFromTheNavigationControllerThatKeepsOne)
{
    auto root = std::make_shared<Page>();
    auto plain = HCNavigationController::withRootViewController(root);
    EXPECT_FALSE(root->getPageContextUser());
    EXPECT_FALSE(std::make_shared<Page>()->getPageComparisonUser());

    auto framed = std::make_shared<ContextNavigation>();
    auto profile = std::make_shared<Page>();
    framed->initWithRootViewController(profile);
    framed->topUser = HCUser::initWithId<HCUser>("42");
    framed->compared = HCUser::initWithId<HCUser>("7");
    ASSERT_TRUE(profile->getPageContextUser());
    EXPECT_EQ(profile->getPageContextUser()->resourceId(), "42");
    EXPECT_EQ(profile->getPageComparisonUser()->resourceId(), "7");
    EXPECT_FALSE(profile->getPageContextGame());
}

TEST_F(PageControllersTest, CloseButtonBackgroundAndThePreviousPage)
{
    auto page = std::make_shared<Page>();
    auto navigation = HCNavigationController::withRootViewController(page);
    HCNavigationController::addCloseButtonToViewController(page, page, &Page::close);
    show(navigation);
    ASSERT_TRUE(navigation->backgroundView());
    EXPECT_FALSE(navigation->backgroundView()->isHidden());
    EXPECT_EQ(navigation->view()->subviews().front(), navigation->backgroundView()) << "behind the pages";
    EXPECT_TRUE(driver.tapBarButton(HCNavigationController::kCloseButtonTitle));
    EXPECT_EQ(page->closes, 1);
    navigation->hideBackground();
    EXPECT_TRUE(navigation->backgroundView()->isHidden());

    // Asked before the view exists, it holds once the view loads.
    auto intro = HCNavigationController::withRootViewController(std::make_shared<Page>());
    intro->hideBackground();
    EXPECT_TRUE(intro->view() && intro->backgroundView()->isHidden());

    // The close button holds its target weakly: no cycle through the page's own bar.
    auto lone = std::make_shared<Page>();
    HCNavigationController::addCloseButtonToViewController(lone, lone, &Page::close);
    std::weak_ptr<Page> weakLone = lone;
    lone.reset();
    EXPECT_TRUE(weakLone.expired());

    auto second = std::make_shared<Page>();
    navigation->pushViewController(second, false);
    EXPECT_EQ(previousViewController(navigation, second), navigation->viewControllers().front());
    EXPECT_FALSE(previousViewController(navigation, navigation->viewControllers().front()));
    EXPECT_FALSE(previousViewController(nullptr, second));
}

}  // namespace
