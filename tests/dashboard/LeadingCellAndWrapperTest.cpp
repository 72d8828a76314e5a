// The leading row of a section, found by its loader name, and the frame
// around a page's content.
#include "dashboard/support/DashboardTest.h"

#include "core/users/HCUser.h"
#include "dashboard/HCDefaultLeadingCell.h"
#include "dashboard/HCFramedContentWrapperView.h"
#include "uiframework/HCControllerLoader.h"

namespace dashtest {
namespace {

using platform::ui::Rect;
using LeadingCellTest = DashboardTest;

TEST_F(LeadingCellTest, ShowsItsHeaderBetweenTheLeftIconAndTheComparedPictures)
{
    start();
    goOnline();
    auto owner = std::make_shared<TestPage>();
    auto cell = std::dynamic_pointer_cast<HCDefaultLeadingCell>(HCControllerLoader::loadCell("DefaultLeading", owner));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->owner(), owner);
    cell->headerLabel()->setText("Friends' scores");

    auto placeholder = platform::ui::Image::withPixels(1, 1, {0, 0, 0, 255});
    cell->enableLeftIconViewWithImageUrl(std::string("http://127.0.0.1:1/icon.png"), placeholder);
    auto rival = HCResource::initWithId<HCUser>(std::string("2002"));
    cell->populateRightIconsAsComparison(rival);
    cell->populateRightIconsAsComparison(rival);

    EXPECT_EQ(cell->leftIconView()->frame(), Rect(6, 6, 32, 32));
    EXPECT_EQ(cell->leftIconView()->defaultImage(), placeholder);
    EXPECT_EQ(cell->leftIconView()->imageUrl(), std::string("http://127.0.0.1:1/icon.png"));
    EXPECT_EQ(cell->localPlayerIconView()->frame(), Rect(244, 6, 32, 32));
    EXPECT_EQ(cell->comparedPlayerIconView()->frame(), Rect(282, 6, 32, 32));
    // Two comparisons made one pair of pictures, and the header sits between.
    EXPECT_EQ(cell->contentView()->subviews().size(), 4u);
    EXPECT_EQ(cell->headerLabel()->frame(), Rect(44, 0, 194, 44));
}

TEST(FramedContentWrapperViewTest, HoldsTheContentInsetAndFollowsItsSize)
{
    auto content = platform::ui::View::make(Rect(10, 20, 300, 400));
    auto wrapper = HCFramedContentWrapperView::wrap(content);
    EXPECT_EQ(wrapper->frame(), Rect(10, 20, 300, 400));
    EXPECT_EQ(wrapper->wrappedView(), content);
    EXPECT_EQ(content->frame(), Rect(4, 4, 292, 392));
    wrapper->setFrame(Rect(0, 0, 320, 480));
    EXPECT_EQ(content->frame(), Rect(4, 4, 312, 472));
    EXPECT_EQ(HCFramedContentWrapperView::wrap(nullptr), nullptr);
}

}  // namespace
}  // namespace dashtest
