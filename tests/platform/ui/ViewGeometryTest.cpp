#include <gtest/gtest.h>

#include "ViewTestFixture.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Window.h"

using namespace platform::ui;

namespace {

using ViewGeometryTest = uitest::ViewTest;

// The dashboard's way of turning a view to landscape inside a portrait window.
void turnToLandscape(const ViewPtr& v)
{
    v->setTransform(AffineTransform::quarterTurns(1));
    v->setBounds(Rect(0, 0, 480, 320));
    v->setCenter(Point(160, 240));
}

TEST_F(ViewGeometryTest, FrameFollowsCenterBoundsAndTransform)
{
    auto v = View::make(Rect(10, 20, 100, 50));
    EXPECT_EQ(v->center(), Point(60, 45));
    EXPECT_EQ(v->bounds(), Rect(0, 0, 100, 50));
    EXPECT_EQ(v->layer()->position(), v->center());

    turnToLandscape(v);
    EXPECT_EQ(v->frame(), Rect(0, 0, 320, 480));
    // Scrolling the bounds origin moves the content, not the frame.
    v->setBounds(Rect(0, 30, 480, 320));
    EXPECT_EQ(v->frame(), Rect(0, 0, 320, 480));

    // Setting the frame of a quarter-turned view keeps the turn and swaps the size into the bounds.
    v->setFrame(Rect(0, 0, 100, 200));
    EXPECT_EQ(v->transform(), AffineTransform::quarterTurns(1));
    EXPECT_EQ(v->bounds().size, Size(200, 100));
    EXPECT_EQ(v->center(), Point(50, 100));

    // The anchor point decides where the position sits in the frame.
    auto anchored = View::make(Rect(0, 0, 100, 100));
    anchored->layer()->setAnchorPoint(Point(0, 0));
    anchored->setFrame(Rect(10, 10, 40, 40));
    EXPECT_EQ(anchored->center(), Point(10, 10));
    EXPECT_EQ(anchored->frame(), Rect(10, 10, 40, 40));

    // The layer is the view's state: opacity is alpha, and its bounds resize the subviews.
    anchored->layer()->setOpacity(0.25);
    EXPECT_EQ(anchored->alpha(), 0.25);
    auto child = View::make(Rect(0, 0, 10, 10));
    child->setAutoresizingMask(AutoresizingFlexibleWidth);
    anchored->addSubview(child);
    anchored->layer()->setBounds(Rect(0, 0, 50, 40));
    EXPECT_EQ(child->frame().size.width, 20);
}

TEST_F(ViewGeometryTest, AutoresizingKeepsRelationsWhenPortraitTurnsLandscape)
{
    auto super = View::make(Rect(0, 0, 320, 480));
    auto fill = View::make(Rect(10, 10, 300, 460));
    fill->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
    auto pinnedRight = View::make(Rect(260, 10, 50, 30));
    pinnedRight->setAutoresizingMask(AutoresizingFlexibleLeftMargin | AutoresizingFlexibleBottomMargin);
    auto centred = View::make(Rect(110, 0, 100, 44));
    centred->setAutoresizingMask(AutoresizingFlexibleLeftMargin | AutoresizingFlexibleRightMargin);
    auto proportional = View::make(Rect(20, 0, 60, 10));
    proportional->setAutoresizingMask(AutoresizingFlexibleLeftMargin | AutoresizingFlexibleWidth);
    auto fixed = View::make(Rect(5, 5, 10, 10));
    auto inner = View::make(Rect(0, 0, 300, 20));
    inner->setAutoresizingMask(AutoresizingFlexibleWidth);
    for (const auto& v : {fill, pinnedRight, centred, proportional, fixed}) super->addSubview(v);
    fill->addSubview(inner);

    super->setBounds(Rect(0, 0, 480, 320));

    EXPECT_EQ(fill->frame(), Rect(10, 10, 460, 300));
    EXPECT_EQ(pinnedRight->frame(), Rect(420, 10, 50, 30));  // still 10 from the right edge
    EXPECT_EQ(centred->frame(), Rect(190, 0, 100, 44));      // still centred
    // The change is shared in proportion to the flexible parts (margin 20, width 60).
    EXPECT_EQ(proportional->frame(), Rect(60, 0, 180, 10));
    EXPECT_EQ(fixed->frame(), Rect(5, 5, 10, 10));
    // The resize reaches the grandchildren through the resized child.
    EXPECT_EQ(inner->frame(), Rect(0, 0, 460, 20));

    // And back again.
    super->setFrame(Rect(0, 0, 320, 480));
    EXPECT_EQ(fill->frame(), Rect(10, 10, 300, 460));
    EXPECT_EQ(pinnedRight->frame(), Rect(260, 10, 50, 30));
    EXPECT_EQ(centred->frame(), Rect(110, 0, 100, 44));
    EXPECT_EQ(inner->frame(), Rect(0, 0, 300, 20));
}

TEST_F(ViewGeometryTest, AutoresizingEdgeCases)
{
    auto super = View::make(Rect(0, 0, 320, 480));
    auto child = View::make(Rect(0, 0, 0, 44));
    child->setAutoresizingMask(AutoresizingFlexibleLeftMargin | AutoresizingFlexibleWidth);
    auto shrinking = View::make(Rect(0, 0, 100, 10));
    shrinking->setAutoresizingMask(AutoresizingFlexibleWidth);
    super->addSubview(child);
    super->addSubview(shrinking);

    // Flexible parts that add up to nothing share the change evenly.
    super->setBounds(Rect(0, 0, 420, 480));
    EXPECT_EQ(child->frame(), Rect(50, 0, 50, 44));

    // A width never goes below zero.
    super->setBounds(Rect(0, 0, 100, 480));
    EXPECT_EQ(shrinking->frame().size.width, 0);

    // With autoresizesSubviews off, nothing moves.
    super->setAutoresizesSubviews(false);
    Rect before = child->frame();
    super->setBounds(Rect(0, 0, 640, 480));
    EXPECT_EQ(child->frame(), before);
}

TEST_F(ViewGeometryTest, ConvertAndHitTestThroughATransformedAncestor)
{
    auto window = Window::make(Rect(0, 0, 320, 480));
    auto root = View::make();
    window->addSubview(root);
    turnToLandscape(root);
    auto child = View::make(Rect(10, 20, 100, 50));
    root->addSubview(child);
    auto leaf = View::make(Rect(5, 5, 10, 10));
    child->addSubview(leaf);

    // In the window, landscape x runs down the screen and landscape y runs right to left.
    EXPECT_EQ(child->convertRectTo(child->bounds(), nullptr), Rect(250, 10, 50, 100));
    EXPECT_EQ(child->convertRectTo(child->bounds(), window), Rect(250, 10, 50, 100));
    EXPECT_EQ(child->convertPointTo(Point(0, 0), window), Point(300, 10));
    EXPECT_EQ(leaf->convertPointTo(Point(0, 0), window), Point(295, 15));
    EXPECT_EQ(window->convertPointTo(Point(295, 15), leaf), Point(0, 0));
    EXPECT_EQ(leaf->convertPointFrom(Point(295, 15), window), Point(0, 0));
    EXPECT_EQ(child->convertRectFrom(Rect(250, 10, 50, 100), nullptr), Rect(0, 0, 100, 50));

    // Between branches of the same tree.
    auto sibling = View::make(Rect(200, 100, 50, 50));
    window->addSubview(sibling);
    EXPECT_EQ(child->convertPointTo(Point(0, 0), sibling), Point(100, -90));
    EXPECT_EQ(sibling->convertPointTo(Point(100, -90), child), Point(0, 0));

    // Between windows: through the screen, where their frames are.
    auto other = Window::make(Rect(100, 50, 200, 200));
    EXPECT_EQ(other->convertPointTo(Point(0, 0), window), Point(100, 50));
    EXPECT_EQ(window->convertPointTo(Point(300, 10), other), Point(200, -40));

    // Hit testing follows the same transform.
    window->makeKeyAndVisible();
    EXPECT_EQ(window->hitTest(Point(260, 100)), child);
    EXPECT_EQ(window->hitTest(Point(260, 115)), root);

    // A scrolled bounds origin shifts what its subviews map to.
    root->setBounds(Rect(0, 30, 480, 320));
    EXPECT_EQ(child->convertPointTo(Point(0, 0), window), Point(330, 10));
}

TEST_F(ViewGeometryTest, HitTestPicksTheFrontMostReachableView)
{
    auto window = Window::make(Rect(0, 0, 320, 480));
    window->makeKeyAndVisible();
    auto back = View::make(Rect(0, 0, 320, 480));
    auto front = View::make(Rect(0, 0, 100, 100));
    auto overlap = View::make(Rect(50, 50, 100, 100));
    auto outside = View::make(Rect(200, 200, 20, 20));  // beyond front's bounds
    window->addSubview(back);
    window->addSubview(front);
    window->addSubview(overlap);
    front->addSubview(outside);

    EXPECT_EQ(window->hitTest(Point(75, 75)), overlap);
    EXPECT_EQ(window->hitTest(Point(25, 25)), front);
    // A subview outside its superview's bounds cannot be reached.
    EXPECT_EQ(window->hitTest(Point(205, 205)), back);
    EXPECT_EQ(window->hitTest(Point(320, 10)), nullptr);

    overlap->setHidden(true);
    EXPECT_EQ(window->hitTest(Point(75, 75)), front);
    front->setAlpha(0.005);
    EXPECT_EQ(window->hitTest(Point(75, 75)), back);
    front->setAlpha(0.01);
    EXPECT_EQ(window->hitTest(Point(75, 75)), front);
    front->setUserInteractionEnabled(false);
    EXPECT_EQ(window->hitTest(Point(75, 75)), back);
    back->setUserInteractionEnabled(false);
    // Nothing under the point takes touches: the window itself does.
    EXPECT_EQ(window->hitTest(Point(75, 75)), window);

    window->setHidden(true);
    EXPECT_EQ(window->hitTest(Point(75, 75)), nullptr);
}

}  // namespace
