#include <gtest/gtest.h>

#include "ViewTestFixture.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"

using namespace platform::ui;

namespace {

using LabelTest = uitest::ViewTest;

class ScrollRecorder : public ScrollViewDelegate {
public:
    std::vector<Point> offsets;
    void scrollViewDidScroll(ScrollView& view) override { offsets.push_back(view.contentOffset()); }
};

}  // namespace

TEST_F(LabelTest, SizeToFitWrapsMultiLineLabelsAtTheirWidth)
{
    auto label = Label::make(Rect(5, 5, 50, 10));
    label->setFont(Font::systemFontOfSize(10));
    label->setText("aaaa aaaa aaaa");
    label->sizeToFit();  // one line: as wide as the text
    EXPECT_EQ(label->frame(), Rect(5, 5, 72, label->font()->lineHeight()));

    label->setFrame(Rect(5, 5, 50, 10));
    label->setNumberOfLines(0);
    label->sizeToFit();
    EXPECT_EQ(label->frame(), Rect(5, 5, 47, 2 * label->font()->lineHeight()));

    label->setText("two\n\"lines\"");
    EXPECT_EQ(label->describe(), "\"two\\n\\\"lines\\\"\"");  // the dump stays one line per view
}

TEST_F(LabelTest, OneLineLabelShrinksToItsWidthButNotBelowTheMinimum)
{
    auto label = Label::make(Rect(0, 0, 110, 30));
    label->setFont(Font::systemFontOfSize(20));
    label->setText("aaaaaaaaaaaaaaaaaaaa");  // 220 points at 20
    EXPECT_EQ(label->displayedFontSize(), 20);
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumFontSize(12);
    EXPECT_EQ(label->displayedFontSize(), 12);  // 10 would fit; 12 is the floor
    EXPECT_TRUE(label->displayedLayout().truncated);
    label->setMinimumFontSize(8);
    EXPECT_EQ(label->displayedFontSize(), 10);
    EXPECT_FALSE(label->displayedLayout().truncated);
    label->setNumberOfLines(2);  // only one-line labels shrink
    EXPECT_EQ(label->displayedFontSize(), 20);
}

TEST_F(LabelTest, ScrollRectToVisibleMovesAsLittleAsNeededWithinTheContent)
{
    auto scroll = std::make_shared<ScrollView>(Rect(0, 0, 100, 100));
    scroll->setContentSize(Size(100, 500));
    auto recorder = std::make_shared<ScrollRecorder>();
    scroll->setDelegate(recorder);

    scroll->scrollRectToVisible(Rect(0, 150, 10, 20), true);
    EXPECT_EQ(scroll->contentOffset(), Point(0, 70));
    EXPECT_TRUE(scroll->wasLastScrollAnimated());
    scroll->scrollRectToVisible(Rect(0, 80, 10, 10), false);  // already visible
    EXPECT_EQ(scroll->contentOffset(), Point(0, 70));
    scroll->scrollRectToVisible(Rect(0, 480, 10, 100), false);  // past the end: clamped
    EXPECT_EQ(scroll->contentOffset(), Point(0, 400));
    scroll->setContentInset(EdgeInsets(10, 0, 0, 0));
    scroll->scrollRectToVisible(Rect(0, -50, 10, 10), false);
    EXPECT_EQ(scroll->contentOffset(), Point(0, -10));
    EXPECT_EQ(recorder->offsets, (std::vector<Point>{Point(0, 70), Point(0, 400), Point(0, -10)}));

    // Subviews sit in content coordinates: scrolling moves them on screen.
    auto page = View::make(Rect(0, 0, 320, 480));
    page->addSubview(scroll);
    auto child = View::make(Rect(0, 100, 10, 10));
    scroll->addSubview(child);
    EXPECT_EQ(child->convertPointTo(Point(), page), Point(0, 110));
    EXPECT_EQ(scroll->describe(), "content=(100x500) offset=(0,-10)");
}
