#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/ui/Geometry.h"

using namespace platform::ui;

namespace {

TEST(GeometryTest, TurnsAreExactAndConcatAppliesTheLeftTransformFirst)
{
    const double pi = std::numbers::pi;
    EXPECT_EQ(AffineTransform::rotation(pi / 2), AffineTransform(0, 1, -1, 0, 0, 0));
    EXPECT_EQ(AffineTransform::rotation(pi), AffineTransform(-1, 0, 0, -1, 0, 0));
    EXPECT_EQ(AffineTransform::rotation(2 * pi), AffineTransform::identity());
    EXPECT_EQ(AffineTransform::quarterTurns(-1), AffineTransform::quarterTurns(3));
    // A quarter turn moves +x onto +y (clockwise on a y-down screen).
    EXPECT_EQ(AffineTransform::quarterTurns(1).apply(Point(1, 0)), Point(0, 1));
    EXPECT_EQ(AffineTransform::quarterTurns(1).apply(Rect(0, 0, 100, 50)), Rect(-50, 0, 50, 100));

    EXPECT_EQ(AffineTransform::scale(2, 3).concat(AffineTransform::translation(10, 20)).apply(Point(1, 1)), Point(12, 23));
    // The platform's "translate the transform" prepends the new step.
    EXPECT_EQ(AffineTransform::scale(2, 3).translated(10, 20).apply(Point(1, 1)), Point(22, 63));

    AffineTransform t = AffineTransform::rotation(0.3).concat(AffineTransform::scale(2, 0.5)).translated(7, -4);
    Point p = t.inverted().apply(t.apply(Point(13, -8)));
    EXPECT_NEAR(p.x, 13, 1e-9);
    EXPECT_NEAR(p.y, -8, 1e-9);
    AffineTransform singular = AffineTransform::scale(0, 1);
    EXPECT_FALSE(singular.isInvertible());
    EXPECT_EQ(singular.inverted(), singular);
}

TEST(GeometryTest, RectsAreHalfOpenAndNeverNegative)
{
    Rect r(10, 20, 100, 50);
    EXPECT_EQ(Rect(110, 70, -100, -50).standardized(), r);
    EXPECT_TRUE(r.contains(Point(10, 20)));
    EXPECT_FALSE(r.contains(Point(110, 30)));
    EXPECT_FALSE(r.intersects(Rect(110, 20, 10, 10))) << "touching edges do not overlap";
    EXPECT_EQ(r.unionWith(Rect()), r);
    // Insetting past the middle leaves an empty rectangle, never a negative one.
    EXPECT_EQ(r.insetBy(60, 0), Rect(60, 45, 0, 0));
    EXPECT_EQ(Rect(0.5, 1.2, 2, 2).integral(), Rect(0, 1, 3, 3));
    EXPECT_EQ(formatNumber(-0.001), "0");
}

}  // namespace
