// Touches delivered by hit testing, and the windows that taps and finders see.
#include "ControllerTestFixture.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/SegmentedControl.h"

using namespace platform::ui;
using uitest::Log;

namespace {

class TouchTest : public uitest::ControllerTest {};

// A plain view that handles touches itself, as a header picture does.
class TouchView : public View {
public:
    TouchView(const Rect& frame, Log& log) : View(frame), log_(log) {}
    void touchesBegan(const TouchSet& touches, const Event&) override { record("began", touches); }
    void touchesEnded(const TouchSet& touches, const Event&) override { record("ended", touches); }

private:
    void record(const char* what, const TouchSet& touches)
    {
        const Point p = touches.front()->locationInView(platform::self(this));
        log_.push_back(std::string(what) + " " + toString(p));
    }
    Log& log_;
};

class TouchController : public ViewController {
public:
    explicit TouchController(Log& log) : log_(log) {}
    void touchesEnded(const TouchSet&, const Event&) override { log_.push_back("controller ended"); }

private:
    Log& log_;
};

TEST_F(TouchTest, ATapReachesTheViewUnderTheFingerAndPassesUpTheChain)
{
    auto page = std::make_shared<TouchController>(log);
    show(page);
    auto picture = std::make_shared<TouchView>(Rect(10, 40, 100, 100), log);
    auto badge = View::make(Rect(50, 50, 20, 20));  // plain: passes touches up
    picture->addSubview(badge);
    auto cover = std::make_shared<TouchView>(Rect(0, 40, 200, 100), log);  // hidden, on top
    cover->setHidden(true);
    auto image = ImageView::make(Rect(200, 200, 50, 50));  // takes no touches
    page->view()->addSubview(picture);
    page->view()->addSubview(cover);
    page->view()->addSubview(image);

    EXPECT_TRUE(driver.tapView(badge));
    // The application frame starts below the status bar.
    EXPECT_EQ(take(), (Log{"began (60,60)", "ended (60,60)"}));
    EXPECT_EQ(driver.tapAt(Point(20, 70)), picture);
    EXPECT_EQ(take(), (Log{"began (10,10)", "ended (10,10)"}));

    EXPECT_FALSE(driver.tapView(cover)) << "a hidden view is passed over";
    EXPECT_FALSE(driver.tapView(image)) << "an image view lets the touch through to the page";
    EXPECT_EQ(take(), (Log{"began (90,50)", "ended (90,50)", "controller ended"}));

    cover->setHidden(false);
    EXPECT_TRUE(driver.tapView(cover));
    EXPECT_FALSE(driver.tapView(badge)) << "covered now";
    EXPECT_EQ(take().size(), 4u);
    EXPECT_EQ(driver.tapAt(Point(-5, 600)), nullptr);
}

TEST_F(TouchTest, ControlsRowsAndSegmentsTakeTheirTouches)
{
    auto page = make("Page");
    show(page);
    int taps = 0;
    auto button = Button::buttonWithType(ButtonType::RoundedRect);
    button->setFrame(Rect(0, 0, 100, 40));
    button->addTarget(this, [&taps](Control&) { ++taps; }, ControlEventTouchUpInside);
    auto segments = SegmentedControl::make({std::string("Reply"), std::string("Close")});
    segments->setFrame(Rect(0, 300, 200, 30));
    page->view()->addSubview(button);
    page->view()->addSubview(segments);

    EXPECT_TRUE(driver.tapView(button));
    EXPECT_EQ(taps, 1);
    button->setEnabled(false);
    EXPECT_TRUE(driver.tapView(button)) << "a disabled control still takes the touch";
    EXPECT_EQ(taps, 1) << "but does not act on it";
    EXPECT_EQ(driver.tapAt(Point(150, 330)), segments);
    EXPECT_EQ(segments->selectedSegmentIndex(), 1);
}

TEST_F(TouchTest, FindersAndTapsSeeEveryShownWindow)
{
    auto page = make("Page");
    show(page);
    auto pickerWindow = Window::make(Rect(0, 0, 320, 480));
    auto label = Label::make(Rect(0, 100, 100, 20));
    label->setText("Choose Photo");
    pickerWindow->addSubview(label);
    EXPECT_EQ(Driver::findByText("Choose Photo"), nullptr) << "a window starts hidden";

    pickerWindow->setHidden(false);
    EXPECT_EQ(Driver::findByText("Choose Photo"), label) << "shown, though not the key window";
    EXPECT_EQ(driver.tapAt(Point(10, 110)), page->view()) << "the key window is in front";
    pickerWindow->makeKeyWindow();
    EXPECT_EQ(driver.tapAt(Point(10, 110)), label);
    EXPECT_EQ(Driver::shownWindows(), (std::vector<std::shared_ptr<Window>>{pickerWindow, window}));
}

}  // namespace
