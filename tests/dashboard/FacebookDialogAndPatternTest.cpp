// The Facebook dialog's place on a large screen, with the keyboard and a
// rotation in between, and images drawn as tiled patterns.
#include "dashboard/support/DashboardTest.h"

#include "dashboard/HCFacebookDialog.h"
#include "dashboard/UIImage+MemoryLeakWorkaround.h"
#include "platform/ui/GraphicsContext.h"

namespace dashtest {
namespace {

using platform::ui::Rect;

class LargeScreenDialogTest : public DashboardTest {
protected:
    LargeScreenDialogTest() { largeScreen = true; }
};

TEST_F(LargeScreenDialogTest, NarrowsInLandscapeAndSlidesBackAlongTheAxisItMovedOn)
{
    start();
    Halcyon::setDashboardOrientation(3);
    auto dialog = std::make_shared<HCFacebookDialog>(Rect(100, 200, 600, 300));
    dialog->showInView(nullptr);
    EXPECT_EQ(dialog->frame(), Rect(150, 200, 400, 300));

    auto other = std::make_shared<HCFacebookDialog>(Rect(100, 200, 600, 300));
    Halcyon::setDashboardOrientation(4);
    other->showInView(nullptr);
    EXPECT_EQ(other->frame(), Rect(100, 200, 400, 300));

    // Two shows move once; the dashboard turns while it is up; the hide
    // puts it back where it was.
    Halcyon::setDashboardOrientation(3);
    dialog->keyboardWillShow();
    dialog->keyboardWillShow();
    EXPECT_EQ(dialog->frame(), Rect(300, 200, 400, 300));
    Halcyon::setDashboardOrientation(1);
    dialog->keyboardWillHide();
    EXPECT_EQ(dialog->frame(), Rect(150, 200, 400, 300));
    dialog->keyboardWillHide();
    EXPECT_EQ(dialog->frame(), Rect(150, 200, 400, 300));

    dialog->keyboardWillShow();
    EXPECT_EQ(dialog->frame(), Rect(150, 50, 400, 300));
}

using SmallScreenDialogTest = DashboardTest;

TEST_F(SmallScreenDialogTest, KeyboardLeavesItAlone)
{
    start();
    auto dialog = std::make_shared<HCFacebookDialog>(Rect(10, 20, 300, 400));
    dialog->showInView(nullptr);
    dialog->keyboardWillShow();
    EXPECT_FALSE(dialog->isSlidUp());
    EXPECT_EQ(dialog->frame(), Rect(10, 20, 300, 400));
}

TEST(PatternDrawingTest, FillsTheClipWithUprightTilesFromTheOrigin)
{
    // A 2x2 tile: red on its top row, blue below.
    std::vector<uint8_t> pixels = {255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 255, 255, 0, 0, 255, 255};
    auto tile = platform::ui::Image::withPixels(2, 2, pixels);
    ASSERT_NE(tile, nullptr);
    platform::ui::beginImageContext({6, 5});
    platform::ui::currentContext()->clipToRect(Rect(0, 0, 5, 5));
    drawAsPatternInRectNoMemLeak(*tile, Rect(0, 0, 1, 1));
    auto drawn = platform::ui::imageFromCurrentImageContext();
    platform::ui::endImageContext();
    ASSERT_NE(drawn, nullptr);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            auto pixel = drawn->pixelAt(x, y);
            if (x == 5) {
                EXPECT_EQ(pixel.a, 0) << x << "," << y;
            } else if (y % 2 == 0) {
                EXPECT_EQ(pixel.r, 255) << x << "," << y;
            } else {
                EXPECT_EQ(pixel.b, 255) << x << "," << y;
            }
        }
    }
    // Without a context nothing happens.
    drawAsPatternInRectNoMemLeak(*tile, Rect(0, 0, 1, 1));
}

}  // namespace
}  // namespace dashtest
