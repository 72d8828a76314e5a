// The pop-up choice list over the dashboard: the index tapped, -1 beside
// it, one answer only, -1 at once when there is no dashboard, and -1 when
// the dashboard takes the list away.
#include "dashboard/support/DashboardTest.h"

#include "dashboard/HCChoiceList.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HalcyonDashboard.h"

namespace dashtest {
namespace {

struct Answers final : HCChoiceListDelegate {
    void userDidChoiceListWithAnswer(int answer) override { answers.push_back(answer); }
    std::vector<int> answers;
};

std::shared_ptr<HCChoiceListController> shownList()
{
    auto root = HalcyonDashboard::getRootController();
    return root ? std::dynamic_pointer_cast<HCChoiceListController>(root->modalViewController()) : nullptr;
}

using ChoiceListTest = DashboardTest;

TEST_F(ChoiceListTest, AnswersTheTappedIndexOrMinusOneOnceAndMinusOneWithoutADashboard)
{
    start();
    auto answers = std::make_shared<Answers>();
    HCChoiceList::showChoiceListWithDelegate(answers, {10, 50}, {"Red", "Green"});
    EXPECT_EQ(answers->answers, std::vector<int>{-1});

    goOnline();
    Halcyon::launchDashboard();
    settle();
    answers = std::make_shared<Answers>();
    HCChoiceList::showChoiceListWithDelegate(answers, {10, 50}, {"Red", "Green", "Blue"});
    auto list = shownList();
    ASSERT_NE(list, nullptr);
    auto blue = std::dynamic_pointer_cast<HCChoiceButton>(platform::ui::Driver::findByText(list->view(), "Blue"));
    ASSERT_NE(blue, nullptr);
    EXPECT_EQ(blue->frame(), platform::ui::Rect(10, 90, 100, 20));
    EXPECT_TRUE(driver->tapView(blue));
    EXPECT_EQ(answers->answers, std::vector<int>{2});
    EXPECT_EQ(shownList(), nullptr);
    // The button of a dismissed list answers nothing more.
    blue->processButton();
    EXPECT_EQ(answers->answers, std::vector<int>{2});

    // An empty list is only the dimmed backdrop: a tap on it declines.
    answers = std::make_shared<Answers>();
    HCChoiceList::showChoiceListWithDelegate(answers, {10, 50}, {});
    ASSERT_NE(shownList(), nullptr);
    auto backdrop = shownList()->view()->subviews().front();
    EXPECT_DOUBLE_EQ(backdrop->alpha(), HCChoiceListController::kBackdropAlpha);
    EXPECT_TRUE(driver->tapView(backdrop));
    EXPECT_EQ(answers->answers, std::vector<int>{-1});
}

TEST_F(ChoiceListTest, AListTheDashboardTakesAwayAnswersMinusOneOnce)
{
    start();
    goOnline();
    Halcyon::launchDashboard();
    settle();

    // The dashboard closes under the list.
    auto answers = std::make_shared<Answers>();
    HCChoiceList::showChoiceListWithDelegate(answers, {10, 50}, {"Red"});
    ASSERT_NE(shownList(), nullptr);
    Halcyon::dismissDashboard();
    settle();
    EXPECT_EQ(HalcyonDashboard::getRootController(), nullptr);
    EXPECT_EQ(answers->answers, std::vector<int>{-1});

    // The dashboard goes offline under the list.
    Halcyon::launchDashboard();
    settle();
    answers = std::make_shared<Answers>();
    HCChoiceList::showChoiceListWithDelegate(answers, {10, 50}, {"Red"});
    auto list = shownList();
    ASSERT_NE(list, nullptr);
    setReachable(false);
    Halcyon::switchToOfflineDashboard();
    settle();
    EXPECT_EQ(shownList(), nullptr);
    EXPECT_EQ(answers->answers, std::vector<int>{-1});
    // Its buttons, still held here, answer nothing more.
    list->dismissSelf();
    EXPECT_EQ(answers->answers, std::vector<int>{-1});
    list.reset();

    // Covered by another screen when the dashboard closes: it never
    // disappears on screen, and still answers.
    answers = std::make_shared<Answers>();
    HCChoiceList::showChoiceListWithDelegate(answers, {10, 50}, {"Red"});
    auto page = std::make_shared<TestPage>();
    HalcyonDashboard::getRootController()->presentModalViewController(page, false);
    settle();
    EXPECT_TRUE(answers->answers.empty());
    Halcyon::dismissDashboard();
    settle();
    EXPECT_EQ(answers->answers, std::vector<int>{-1});
}

}  // namespace
}  // namespace dashtest
