#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"

#include "ControllerTestFixture.h"

using namespace platform::ui;
using uitest::Log;

namespace {

class Recorder : public AlertViewDelegate, public ActionSheetDelegate {
public:
    explicit Recorder(Log& log) : log_(log) {}

    void alertViewClickedButtonAtIndex(AlertView&, int i) override { log_.push_back("clicked " + std::to_string(i)); }
    void alertViewWillDismissWithButtonIndex(AlertView&, int i) override { log_.push_back("will " + std::to_string(i)); }
    void alertViewDidDismissWithButtonIndex(AlertView&, int i) override { log_.push_back("did " + std::to_string(i)); }
    bool alertViewCancel(AlertView&) override
    {
        log_.push_back("cancel");
        return handlesCancel;
    }

    void actionSheetClickedButtonAtIndex(ActionSheet&, int i) override
    {
        log_.push_back("sheet clicked " + std::to_string(i));
    }
    void actionSheetWillDismissWithButtonIndex(ActionSheet&, int i) override
    {
        log_.push_back("sheet will " + std::to_string(i));
    }
    void actionSheetDidDismissWithButtonIndex(ActionSheet&, int i) override
    {
        log_.push_back("sheet did " + std::to_string(i));
    }

    bool handlesCancel = false;

private:
    Log& log_;
};

class AlertTest : public uitest::ControllerTest {
protected:
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>(log);
};

TEST_F(AlertTest, AlertButtonIndexesPutTheCancelButtonFirst)
{
    auto alert = AlertView::make("Error", "Please try again.", recorder, "OK", {"Retry", "Help"});
    EXPECT_EQ(alert->numberOfButtons(), 3);
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_EQ(alert->firstOtherButtonIndex(), 1);
    EXPECT_EQ(alert->buttonTitleAtIndex(2), "Help");
    EXPECT_EQ(alert->buttonTitleAtIndex(3), "");
    EXPECT_EQ(alert->addButtonWithTitle("More"), 3);

    auto bare = AlertView::make("", "No cancel", {}, std::nullopt, {"Yes"});
    EXPECT_EQ(bare->cancelButtonIndex(), -1);
    EXPECT_EQ(bare->firstOtherButtonIndex(), 0);
    auto lonely = AlertView::make("Room Full!", "Sorry", {}, "OK");
    EXPECT_EQ(lonely->firstOtherButtonIndex(), -1);
}

TEST_F(AlertTest, PersonsClickTellsClickedThenWillAndDidOnceTheAlertHasGone)
{
    std::weak_ptr<AlertView> weak;
    {
        auto alert = AlertView::make("One Shot Challenge", "You only have one attempt", recorder, "OK");
        alert->setTag(7);
        alert->show();
        weak = alert;
    }
    ASSERT_FALSE(weak.expired()) << "a shown alert lives on after its maker let go";
    EXPECT_EQ(AlertView::visibleAlerts().size(), 1u);
    EXPECT_NE(driver.describeScreen().find("\"One Shot Challenge\" [\"OK\"*]"), std::string::npos);

    EXPECT_TRUE(driver.answerAlert("OK"));
    EXPECT_EQ(take(), (Log{"clicked 0", "will 0"}));
    EXPECT_TRUE(AlertView::visibleAlerts().empty());
    driver.settle();
    EXPECT_EQ(take(), (Log{"did 0"}));
    EXPECT_TRUE(weak.expired());
    EXPECT_FALSE(driver.answerAlert(0)) << "nothing left to answer";
}

TEST_F(AlertTest, DismissalInCodeMakesNoClickedCallAndAGoneDelegateKeepsNoAlertUp)
{
    auto alert = AlertView::make("Title", "Message", recorder, "Cancel", {"Go"});
    alert->show();
    alert->dismissWithClickedButtonIndex(1, false);
    EXPECT_EQ(take(), (Log{"will 1", "did 1"}));
    alert->dismissWithClickedButtonIndex(1, false);
    EXPECT_TRUE(take().empty()) << "a dismissed alert is not dismissed twice";
    EXPECT_FALSE(alert->clickButton(0));

    // An alert whose delegate is gone still goes away.
    alert->show();
    recorder.reset();
    EXPECT_TRUE(driver.answerAlert(0));
    driver.settle();
    EXPECT_TRUE(AlertView::visibleAlerts().empty());
    EXPECT_TRUE(log.empty());
}

TEST_F(AlertTest, SystemCancelClicksTheCancelButtonUnlessTheDelegateHandlesIt)
{
    auto alert = AlertView::make("Title", "Message", recorder, "Cancel", {"Go"});
    alert->show();
    alert->cancel();
    EXPECT_EQ(take(), (Log{"cancel", "clicked 0", "will 0", "did 0"}));

    recorder->handlesCancel = true;
    alert->show();
    alert->cancel();
    EXPECT_EQ(take(), (Log{"cancel"}));
    EXPECT_FALSE(alert->isVisible());
}

TEST_F(AlertTest, SheetPutsTheDestructiveButtonFirstAndTheCancelButtonLast)
{
    auto sheet = ActionSheet::make("Deleting IM", recorder, "Cancel", "Delete", {"Archive"});
    EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
    EXPECT_EQ(sheet->buttonTitleAtIndex(1), "Archive");
    EXPECT_EQ(sheet->cancelButtonIndex(), 2);
    EXPECT_EQ(sheet->firstOtherButtonIndex(), 1);

    auto picture = ActionSheet::make("", recorder, "Cancel", std::nullopt,
                                     {"Take Photo With Camera", "Choose From Library"});
    EXPECT_EQ(picture->destructiveButtonIndex(), -1);
    EXPECT_EQ(picture->cancelButtonIndex(), 2);
    EXPECT_EQ(picture->firstOtherButtonIndex(), 0);

    auto view = View::make(Rect(0, 0, 320, 480));
    sheet->showInView(view);
    EXPECT_EQ(sheet->origin(), ActionSheet::Origin::View);
    EXPECT_EQ(sheet->originView(), view);
    EXPECT_TRUE(driver.answerSheet("Delete"));
    driver.settle();
    EXPECT_EQ(take(), (Log{"sheet clicked 0", "sheet will 0", "sheet did 0"}));
}

TEST_F(AlertTest, SheetDismissedInCodeTellsWillAndDidButNoClick)
{
    auto sheet = ActionSheet::make("Logging out", recorder, "Cancel", "Logout");
    sheet->showFromBarButtonItem(BarButtonItem::withTitle("Out", BarButtonStyle::Plain, nullptr), true);
    EXPECT_EQ(ActionSheet::visibleSheets().size(), 1u);
    EXPECT_TRUE(AlertView::visibleAlerts().empty()) << "sheets are not alerts";
    sheet->dismissWithClickedButtonIndex(sheet->cancelButtonIndex(), true);
    EXPECT_EQ(take(), (Log{"sheet will 1"}));
    clock.advance(kAlertDismissDuration);
    testsupport::drainMain();
    EXPECT_EQ(take(), (Log{"sheet did 1"}));

    // A delegate that dismisses in its click handler is not told twice.
    class Reentrant : public ActionSheetDelegate {
    public:
        void actionSheetClickedButtonAtIndex(ActionSheet& s, int i) override { s.dismissWithClickedButtonIndex(i, false); }
        void actionSheetWillDismissWithButtonIndex(ActionSheet&, int) override { ++wills; }
        int wills = 0;
    };
    auto reentrant = std::make_shared<Reentrant>();
    auto other = ActionSheet::make("", reentrant, "Cancel", std::nullopt, {"A"});
    other->showInView(nullptr);
    EXPECT_TRUE(driver.answerSheet(0));
    EXPECT_EQ(reentrant->wills, 1);
}

TEST_F(AlertTest, AlertShownAgainAsItGoesAwayIsOnScreenAgain)
{
    // A form that finds the answer wanting asks again as the alert goes.
    struct AskAgain : AlertViewDelegate {
        void alertViewWillDismissWithButtonIndex(AlertView& alert, int) override
        {
            if (askAgain--) alert.show();
        }
        int askAgain = 1;
    };
    auto asker = std::make_shared<AskAgain>();
    auto alert = AlertView::make("Password", "Too short", asker, "OK");
    alert->show();

    EXPECT_TRUE(driver.answerAlert(0));
    EXPECT_TRUE(alert->isVisible());
    EXPECT_EQ(AlertView::visibleAlerts(), (std::vector<AlertViewPtr>{alert}));
    EXPECT_TRUE(driver.answerAlert(0));
    EXPECT_TRUE(AlertView::visibleAlerts().empty());
}

}  // namespace
