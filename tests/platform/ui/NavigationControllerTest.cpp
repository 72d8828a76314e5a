#include "platform/ui/NavigationController.h"

#include "ControllerTestFixture.h"
#include "platform/ui/TabBarController.h"

using namespace platform::ui;
using uitest::Log;

namespace {

class RecordingNavigationDelegate : public NavigationControllerDelegate {
public:
    explicit RecordingNavigationDelegate(Log& log) : log_(log) {}
    void willShowViewController(NavigationController&, const ViewControllerPtr& vc, bool) override
    {
        log_.push_back("delegate willShow " + vc->title());
    }
    void didShowViewController(NavigationController&, const ViewControllerPtr& vc, bool) override
    {
        log_.push_back("delegate didShow " + vc->title());
    }

private:
    Log& log_;
};

class NavigationTest : public uitest::ControllerTest {
protected:
    // A navigation controller on screen with A at its root.
    std::shared_ptr<NavigationController> shownStack()
    {
        a = make("A");
        auto nav = NavigationController::withRootViewController(a);
        show(nav);
        take();
        return nav;
    }

    std::shared_ptr<uitest::LoggingController> a;
};

TEST_F(NavigationTest, AnimatedPushRunsTheAppearanceCallsInOrderAndEndsOnlyWhenTheClockPassesTheDuration)
{
    auto nav = shownStack();
    auto delegate = std::make_shared<RecordingNavigationDelegate>(log);
    nav->setDelegate(delegate);
    auto b = make("B");

    nav->pushViewController(b, true);
    EXPECT_EQ(take(), (Log{"B didLoad", "A willDisappear", "B willAppear", "delegate willShow B"}));
    EXPECT_EQ(nav->topViewController(), b);
    EXPECT_EQ(b->navigationController(), nav);
    EXPECT_EQ(b->appearanceState(), AppearanceState::Appearing);

    clock.advance(kTransitionDuration - 0.01);
    testsupport::drainMain();
    EXPECT_TRUE(take().empty()) << "the push must not end before its duration";

    clock.advance(0.01);
    testsupport::drainMain();
    EXPECT_EQ(take(), (Log{"A didDisappear", "B didAppear", "delegate didShow B"}));
    EXPECT_EQ(b->viewIfLoaded()->superview(), nav->viewIfLoaded());
    EXPECT_EQ(a->viewIfLoaded()->superview(), nullptr) << "the covered page leaves the screen";
    ASSERT_EQ(nav->history().size(), 2u);
    EXPECT_EQ(nav->history().back().kind, NavigationController::Change::Kind::Push);
    EXPECT_TRUE(nav->history().back().animated);
}

TEST_F(NavigationTest, PopAndTheBackButtonReverseThePush)
{
    auto nav = shownStack();
    auto b = make("B");
    nav->pushViewController(b, false);
    take();
    EXPECT_EQ(nav->navigationBar()->backButtonTitle(), "A");

    EXPECT_EQ(nav->popViewController(false), b);
    EXPECT_EQ(take(), (Log{"B willDisappear", "A willAppear", "B didDisappear", "A didAppear"}));
    EXPECT_EQ(b->parentViewController(), nullptr);
    EXPECT_EQ(nav->popViewController(false), nullptr) << "the root is never popped";

    nav->pushViewController(b, false);
    take();
    EXPECT_TRUE(driver.tapBack());
    EXPECT_EQ(take(), (Log{"B willDisappear", "A willAppear"}));
    driver.settle();
    EXPECT_EQ(take(), (Log{"B didDisappear", "A didAppear"}));
    EXPECT_EQ(nav->viewControllers(), (std::vector<ViewControllerPtr>{a}));
    EXPECT_FALSE(driver.tapBack()) << "no back button on the root";

    b->navigationItem()->setHidesBackButton(true);
    nav->pushViewController(b, false);
    EXPECT_FALSE(driver.tapBack()) << "a hidden back button cannot be tapped";
    EXPECT_EQ(nav->topViewController(), b);
}

TEST_F(NavigationTest, PopToRootTellsOnlyTheTopAndTheRoot)
{
    auto nav = shownStack();
    auto b = make("B");
    auto c = make("C");
    nav->pushViewController(b, false);
    nav->pushViewController(c, false);
    take();

    auto popped = nav->popToRootViewController(true);
    EXPECT_EQ(popped, (std::vector<ViewControllerPtr>{b, c}));
    driver.settle();
    EXPECT_EQ(take(), (Log{"C willDisappear", "A willAppear", "C didDisappear", "A didAppear"}));
    EXPECT_TRUE(nav->popToRootViewController(false).empty());
}

TEST_F(NavigationTest, PopToAStrangerOrPushingAControllerHeldElsewhereChangesNothing)
{
    auto nav = shownStack();
    auto b = make("B");
    nav->pushViewController(b, false);
    EXPECT_TRUE(nav->popToViewController(make("X"), false).empty());
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(nav->topViewController(), b);
    EXPECT_EQ(nav->popToViewController(a, false), (std::vector<ViewControllerPtr>{b}));
    EXPECT_EQ(nav->previousViewController(b), nullptr);

    // Pushing a controller twice, or one held by another stack, is refused.
    take();
    nav->pushViewController(a, false);
    auto other = NavigationController::withRootViewController(make("X"));
    nav->pushViewController(other->topViewController(), false);
    EXPECT_EQ(errors.size(), 3u);
    EXPECT_EQ(nav->viewControllers().size(), 1u);
    EXPECT_TRUE(take().empty());
}

TEST_F(NavigationTest, SecondPushWhileTheFirstStillSlidesFinishesTheFirstAtOnce)
{
    auto nav = shownStack();
    auto b = make("B");
    auto c = make("C");
    nav->pushViewController(b, true);
    nav->pushViewController(c, true);
    EXPECT_EQ(take(), (Log{"B didLoad", "A willDisappear", "B willAppear", "A didDisappear", "B didAppear", "C didLoad",
                           "B willDisappear", "C willAppear"}));
    driver.settle();
    EXPECT_EQ(take(), (Log{"B didDisappear", "C didAppear"}));
    EXPECT_EQ(nav->previousViewController(c), b);
}

TEST_F(NavigationTest, OffScreenStackChangesAtOnceAndTheTopAppearsWithTheNavigationController)
{
    auto root = make("A");
    auto nav = NavigationController::withRootViewController(root);
    auto b = make("B");
    nav->pushViewController(b, true);
    EXPECT_TRUE(take().empty()) << "nothing is on screen yet";
    EXPECT_EQ(platform::ui::Transitions::pendingCount(), 0u);

    show(nav);
    EXPECT_EQ(take(), (Log{"B didLoad", "B willAppear", "B didAppear"}));
    EXPECT_FALSE(root->isViewLoaded()) << "a page below the top is not loaded until it shows";
}

TEST_F(NavigationTest, ModalOverAStackCoversItAndDismissalFromInsideTheModalUncoversIt)
{
    auto nav = shownStack();
    auto m = make("M");
    auto modalNav = NavigationController::withRootViewController(m);
    a->presentModalViewController(modalNav, true);
    EXPECT_EQ(nav->modalViewController(), modalNav) << "a page presents through its outermost container";
    EXPECT_EQ(modalNav->presentingViewController(), nav);
    EXPECT_EQ(nav->visibleViewController(), modalNav);
    EXPECT_EQ(take(), (Log{"M didLoad", "A willDisappear", "M willAppear"}));
    driver.settle();
    EXPECT_EQ(take(), (Log{"A didDisappear", "M didAppear"}));
    EXPECT_EQ(nav->viewIfLoaded()->superview(), nullptr) << "the covered stack leaves the window";
    EXPECT_EQ(modalNav->viewIfLoaded()->window(), window);

    // Pushing inside the modal works as in any stack on screen.
    auto n = make("N");
    modalNav->pushViewController(n, false);
    EXPECT_EQ(take(), (Log{"N didLoad", "M willDisappear", "N willAppear", "M didDisappear", "N didAppear"}));

    n->dismissModalViewController(true);
    EXPECT_EQ(take(), (Log{"N willDisappear", "A willAppear"}));
    EXPECT_EQ(nav->modalViewController(), nullptr);
    EXPECT_EQ(nav->viewIfLoaded()->superview(), window);
    driver.settle();
    EXPECT_EQ(take(), (Log{"N didDisappear", "A didAppear"}));
    EXPECT_EQ(modalNav->viewIfLoaded()->superview(), nullptr);
}

TEST_F(NavigationTest, DismissingAChainOfModalsFromTheBottomTellsOnlyTheTopAndThePresenter)
{
    auto nav = shownStack();
    auto m1 = make("M1");
    auto m2 = make("M2");
    a->presentModalViewController(m1, false);
    m1->presentModalViewController(m2, false);
    take();
    nav->dismissModalViewController(false);
    EXPECT_EQ(take(), (Log{"M2 willDisappear", "A willAppear", "M2 didDisappear", "A didAppear"}));
    EXPECT_EQ(m1->presentingViewController(), nullptr);
    EXPECT_EQ(m2->presentingViewController(), nullptr);
    EXPECT_EQ(m1->viewIfLoaded()->superview(), nullptr);
    EXPECT_EQ(m2->viewIfLoaded()->superview(), nullptr);
}

TEST_F(NavigationTest, TabSwitchTellsBothTabsAtOnceAndPushesInAHiddenTabStaySilent)
{
    auto a1 = make("A1");
    auto b1 = make("B1");
    auto navA = NavigationController::withRootViewController(a1);
    auto navB = NavigationController::withRootViewController(b1);
    navB->setTitle("Friends");
    auto tabs = std::make_shared<TabBarController>();
    tabs->setViewControllers({navA, navB});
    show(tabs);
    EXPECT_EQ(take(), (Log{"A1 didLoad", "A1 willAppear", "A1 didAppear"}));
    EXPECT_TRUE(b1->isInHiddenTab());
    EXPECT_FALSE(a1->isInHiddenTab());

    auto b2 = make("B2");
    navB->pushViewController(b2, true);
    EXPECT_TRUE(take().empty());

    EXPECT_TRUE(driver.tapTab(tabs, 1));
    EXPECT_EQ(take(), (Log{"B2 didLoad", "A1 willDisappear", "B2 willAppear", "A1 didDisappear", "B2 didAppear"}));
    EXPECT_EQ(tabs->selectedIndex(), 1);
    EXPECT_TRUE(a1->isInHiddenTab());

    // Tapping the selected tab again pops its stack to the root.
    EXPECT_TRUE(driver.tapTab("Friends"));
    driver.settle();
    EXPECT_EQ(navB->topViewController(), b1);
}

TEST_F(NavigationTest, TabDelegateCanRefuseATab)
{
    class Refusing : public TabBarControllerDelegate {
    public:
        bool shouldSelectViewController(TabBarController&, const ViewControllerPtr&) override { return false; }
        void didSelectViewController(TabBarController&, const ViewControllerPtr&) override { ++selected; }
        int selected = 0;
    };
    auto tabs = std::make_shared<TabBarController>();
    tabs->setViewControllers({make("A"), make("B")});
    auto delegate = std::make_shared<Refusing>();
    tabs->setDelegate(delegate);
    show(tabs);
    EXPECT_FALSE(driver.tapTab(tabs, 1));
    EXPECT_EQ(tabs->selectedIndex(), 0);
    tabs->setSelectedIndex(1);
    EXPECT_EQ(tabs->selectedIndex(), 1) << "selecting in code asks nobody";
    EXPECT_EQ(delegate->selected, 0);
}

TEST_F(NavigationTest, PageThatHidesTheBottomBarHidesTheTabBarWhilePushed)
{
    auto nav = NavigationController::withRootViewController(make("A"));
    auto tabs = std::make_shared<TabBarController>();
    tabs->setViewControllers({nav});
    show(tabs);
    auto b = make("B");
    b->setHidesBottomBarWhenPushed(true);
    nav->pushViewController(b, false);
    EXPECT_TRUE(tabs->tabBar()->isHidden());
    EXPECT_EQ(nav->viewIfLoaded()->frame().height(), tabs->viewIfLoaded()->bounds().height());
    nav->popViewController(false);
    EXPECT_FALSE(tabs->tabBar()->isHidden());
}

TEST_F(NavigationTest, MemoryWarningUnloadsOnlyViewsOffScreenAndTheyLoadAgainWhenShown)
{
    auto nav = shownStack();
    auto b = make("B");
    nav->pushViewController(b, false);
    take();
    driver.memoryWarning();
    EXPECT_EQ(take(), (Log{"A didUnload"}));
    EXPECT_FALSE(a->isViewLoaded());
    EXPECT_TRUE(b->isViewLoaded());

    nav->popViewController(false);
    EXPECT_EQ(take(), (Log{"A didLoad", "B willDisappear", "A willAppear", "B didDisappear", "A didAppear"}));
}

TEST_F(NavigationTest, PageUnloadedUnderAModalComesBackInItsPlaceWhenTheModalGoes)
{
    auto page = make("A");
    show(page);
    const Rect place(0, 64, 320, 416);
    page->viewIfLoaded()->setFrame(place);
    auto m = make("M");
    page->presentModalViewController(m, false);
    take();

    driver.memoryWarning();
    EXPECT_EQ(take(), (Log{"A didUnload"})) << "the covered page's view is in no window";

    m->dismissModalViewController(false);
    EXPECT_EQ(take(), (Log{"A didLoad", "M willDisappear", "A willAppear", "M didDisappear", "A didAppear"}));
    ASSERT_TRUE(page->isViewLoaded());
    EXPECT_EQ(page->viewIfLoaded()->superview(), window);
    EXPECT_EQ(page->viewIfLoaded()->frame(), place);
    EXPECT_EQ(m->viewIfLoaded()->superview(), nullptr);
}

TEST_F(NavigationTest, RotationAsksTheRootControllerAndTurnsTheRootView)
{
    auto nav = shownStack();
    EXPECT_FALSE(driver.rotate(InterfaceOrientation::LandscapeRight)) << "the page allows portrait only";
    EXPECT_EQ(Application::shared()->statusBarOrientation(), InterfaceOrientation::Portrait);
    EXPECT_TRUE(take().empty());

    a->allowed.insert(InterfaceOrientation::LandscapeRight);
    EXPECT_TRUE(driver.rotate(InterfaceOrientation::LandscapeRight));
    EXPECT_EQ(take(), (Log{"A willRotate"}));
    EXPECT_EQ(Application::shared()->statusBarOrientation(), InterfaceOrientation::LandscapeRight);
    EXPECT_EQ(a->interfaceOrientation(), InterfaceOrientation::LandscapeRight);
    EXPECT_EQ(nav->viewIfLoaded()->bounds().size, Size(480, 300));
    EXPECT_EQ(nav->viewIfLoaded()->transform(), AffineTransform::quarterTurns(1));
    EXPECT_EQ(a->viewIfLoaded()->frame().size, Size(480, 300 - NavigationBar::kHeight))
        << "the page follows by autoresizing";
    driver.settle();
    EXPECT_EQ(take(), (Log{"A didRotate"}));
}

}  // namespace
