#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/ui/Geometry.h"

using namespace platform::ui;

namespace {

TEST(GeometryTest, QuarterAndHalfTurnsAreExact)
{
    const double pi = std::numbers::pi;
    EXPECT_EQ(AffineTransform::rotation(pi / 2), AffineTransform(0, 1, -1, 0, 0, 0));
    EXPECT_EQ(AffineTransform::rotation(-pi / 2), AffineTransform(0, -1, 1, 0, 0, 0));
    EXPECT_EQ(AffineTransform::rotation(pi), AffineTransform(-1, 0, 0, -1, 0, 0));
    EXPECT_EQ(AffineTransform::rotation(2 * pi), AffineTransform::identity());
    EXPECT_EQ(AffineTransform::quarterTurns(-1), AffineTransform::quarterTurns(3));
    // A quarter turn moves +x onto +y (clockwise on a y-down screen).
    EXPECT_EQ(AffineTransform::quarterTurns(1).apply(Point(1, 0)), Point(0, 1));
    // Other angles are the plain trigonometric matrix.
    AffineTransform t = AffineTransform::rotation(pi / 6);
    EXPECT_NEAR(t.a, std::sqrt(3.0) / 2, 1e-12);
    EXPECT_NEAR(t.b, 0.5, 1e-12);
    EXPECT_NEAR(t.c, -0.5, 1e-12);
}

TEST(GeometryTest, ConcatAppliesTheLeftTransformFirst)
{
    AffineTransform scaleThenMove = AffineTransform::scale(2, 3).concat(AffineTransform::translation(10, 20));
    EXPECT_EQ(scaleThenMove.apply(Point(1, 1)), Point(12, 23));
    AffineTransform moveThenScale = AffineTransform::translation(10, 20).concat(AffineTransform::scale(2, 3));
    EXPECT_EQ(moveThenScale.apply(Point(1, 1)), Point(22, 63));
    // The platform's "translate the transform" prepends the new step.
    EXPECT_EQ(AffineTransform::scale(2, 3).translated(10, 20).apply(Point(1, 1)), Point(22, 63));
}

TEST(GeometryTest, InverseUndoesAndSingularStaysPut)
{
    AffineTransform t = AffineTransform::rotation(0.3).concat(AffineTransform::scale(2, 0.5)).translated(7, -4);
    Point p = t.inverted().apply(t.apply(Point(13, -8)));
    EXPECT_NEAR(p.x, 13, 1e-9);
    EXPECT_NEAR(p.y, -8, 1e-9);
    AffineTransform singular = AffineTransform::scale(0, 1);
    EXPECT_FALSE(singular.isInvertible());
    EXPECT_EQ(singular.inverted(), singular);
}

TEST(GeometryTest, TransformedRectIsTheBoundingBoxOfItsCorners)
{
    EXPECT_EQ(AffineTransform::quarterTurns(1).apply(Rect(0, 0, 100, 50)), Rect(-50, 0, 50, 100));
    Rect r = AffineTransform::rotation(std::numbers::pi / 4).apply(Rect(-1, -1, 2, 2));
    EXPECT_NEAR(r.size.width, 2 * std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(r.origin.x, -std::sqrt(2.0), 1e-12);
}

TEST(GeometryTest, RectHelpers)
{
    Rect r(10, 20, 100, 50);
    EXPECT_EQ(r.maxX(), 110);
    EXPECT_EQ(r.midY(), 45);
    // Negative sizes count from the other edge.
    EXPECT_EQ(Rect(110, 70, -100, -50).standardized(), r);
    // Half-open: the far edges are outside.
    EXPECT_TRUE(r.contains(Point(10, 20)));
    EXPECT_FALSE(r.contains(Point(110, 30)));
    EXPECT_FALSE(r.contains(Point(50, 70)));
    EXPECT_EQ(r.intersection(Rect(100, 60, 50, 50)), Rect(100, 60, 10, 10));
    // Touching edges do not overlap.
    EXPECT_FALSE(r.intersects(Rect(110, 20, 10, 10)));
    EXPECT_TRUE(r.intersection(Rect(200, 200, 5, 5)).isEmpty());
    EXPECT_EQ(r.unionWith(Rect(0, 0, 1, 1)), Rect(0, 0, 110, 70));
    EXPECT_EQ(r.unionWith(Rect()), r);
    EXPECT_EQ(r.insetBy(5, 10), Rect(15, 30, 90, 30));
    // Insetting past the middle leaves an empty rectangle, never a negative one.
    EXPECT_EQ(r.insetBy(60, 0), Rect(60, 45, 0, 0));
    EXPECT_EQ(Rect(0.5, 1.2, 2, 2).integral(), Rect(0, 1, 3, 3));
    EXPECT_EQ(insetRect(r, EdgeInsets(1, 2, 3, 4)), Rect(12, 21, 94, 46));
}

TEST(GeometryTest, TextsAreStable)
{
    EXPECT_EQ(toString(Rect(10, 20.5, 100, 1.0 / 3.0)), "(10,20.5,100,0.33)");
    EXPECT_EQ(formatNumber(-0.001), "0");
    EXPECT_EQ(formatNumber(-2.5), "-2.5");
    EXPECT_EQ(toString(AffineTransform::quarterTurns(1)), "(0,1,-1,0,0,0)");
}

}  // namespace
