// Every banner position, dashboard orientation and screen size, with the
// status bar shown and hidden: the banner lies inside its window, along
// an edge, never longer than 480 points, and slides in from and out to the
// far side of that edge.
#include <gtest/gtest.h>

#include <cmath>

#include "core/banners/HCNotificationPlacement.h"

namespace {

using platform::ui::Point;
using platform::ui::Rect;
using platform::ui::Size;

Rect frameOf(const HCNotificationPlacement& placement)
{
    const Size turned = placement.transform.apply(placement.size);
    const double w = std::abs(turned.width), h = std::abs(turned.height);
    return Rect(placement.center.x - w / 2, placement.center.y - h / 2, w, h);
}

TEST(NotificationPlacementTest, EveryPositionSitsOnAnEdgeOfItsWindowAndLeavesOverIt)
{
    constexpr double kHeight = 50;
    for (bool large : {false, true}) {
        const Size screen = large ? Size(768, 1024) : Size(320, 480);
        // Portrait coordinates always; a landscape-sized window too on a tablet.
        std::vector<Size> windows{screen};
        if (large) windows.push_back(Size(screen.height, screen.width));
        for (const Size& window : windows) {
            for (bool statusBar : {true, false}) {
                for (int orientation = 1; orientation <= 4; ++orientation) {
                    for (int position = 0; position <= 3; ++position) {
                        const bool landscape = orientation == 3 || orientation == 4;
                        HCNotificationPlacementInput in;
                        in.presentationSize = window;
                        in.bannerHeight = kHeight;
                        in.position = position;
                        in.orientation = orientation;
                        in.statusBar = !statusBar ? Size() : landscape ? Size(20, screen.height) : Size(screen.width, 20);
                        in.largeScreen = large;
                        in.mainScreen = screen;
                        const auto placed = HCPlaceNotification(in);
                        const std::string where = "large " + std::to_string(large) + " window " +
                                                  std::to_string(int(window.width)) + " status " +
                                                  std::to_string(statusBar) + " O " + std::to_string(orientation) +
                                                  " P " + std::to_string(position);
                        EXPECT_EQ(placed.rotatedInternally, landscape && window.width < window.height) << where;
                        EXPECT_LE(placed.size.width, 480) << where;
                        const Rect frame = frameOf(placed);
                        EXPECT_GE(frame.origin.x, -1e-9) << where;
                        EXPECT_GE(frame.origin.y, -1e-9) << where;
                        EXPECT_LE(frame.origin.x + frame.size.width, window.width + 1e-9) << where;
                        EXPECT_LE(frame.origin.y + frame.size.height, window.height + 1e-9) << where;
                        // Along an edge: within the status bar's reach of one.
                        const double reach = kHeight + 20 + 1e-9;
                        const bool nearEdge = frame.origin.y <= 20 + 1e-9 || frame.origin.x <= 20 + 1e-9 ||
                                              window.height - (frame.origin.y + frame.size.height) <= 20 + 1e-9 ||
                                              window.width - (frame.origin.x + frame.size.width) <= 20 + 1e-9;
                        EXPECT_TRUE(nearEdge && std::min(frame.size.width, frame.size.height) <= reach) << where;
                        // Off screen: one banner height further from the window's middle.
                        const bool invert = position == 0 || position == 2;
                        const Point away = HCNotificationOffScreenPosition(placed.center, kHeight,
                                                                           placed.rotatedInternally, orientation, invert);
                        const Point middle(window.width / 2, window.height / 2);
                        const double before = std::hypot(placed.center.x - middle.x, placed.center.y - middle.y);
                        const double after = std::hypot(away.x - middle.x, away.y - middle.y);
                        EXPECT_NEAR(std::hypot(away.x - placed.center.x, away.y - placed.center.y), kHeight, 1e-9) << where;
                        EXPECT_GT(after, before) << where;
                        // No room on the right of a small screen: the left-hand place.
                        if (!large && position >= 2) {
                            in.position = position - 2;
                            EXPECT_EQ(HCPlaceNotification(in).center, placed.center) << where;
                        }
                    }
                }
            }
        }
    }
}

// Each place of the position tables, on a 50-point banner with a 20-point
// status bar: a wrong sign or a swapped end here puts the banner over the
// game's controls or off the screen.
TEST(NotificationPlacementTest, EachPositionAndOrientationHasItsOwnPlace)
{
    struct Row {
        bool large;
        int position, orientation;
        double x, y, nudge;  // centre for a turned banner, origin for a strip
    };
    const Row turned[] = {
        {false, 0, 4, 45, 240, 2},   {false, 0, 3, 275, 240, -2}, {false, 1, 4, 295, 240, -2},
        {false, 1, 3, 25, 240, 2},   {true, 0, 4, 45, 784, 2},    {true, 0, 3, 723, 240, -2},
        {true, 1, 4, 743, 784, -2},  {true, 1, 3, 25, 240, 2},    {true, 2, 4, 45, 240, 2},
        {true, 2, 3, 723, 784, -2},  {true, 3, 4, 743, 240, -2},  {true, 3, 3, 25, 784, 2},
    };
    const Row strips[] = {
        {false, 0, 1, 0, 20, -2},  {false, 0, 2, 0, 410, 2},  {false, 1, 1, 0, 430, 2},
        {false, 1, 2, 0, 0, -2},   {true, 0, 1, 0, 20, -2},   {true, 0, 2, 288, 954, 2},
        {true, 1, 1, 0, 974, 2},   {true, 1, 2, 288, 0, -2},  {true, 2, 1, 288, 20, -2},
        {true, 2, 2, 0, 954, 2},   {true, 3, 1, 288, 974, 2}, {true, 3, 2, 0, 0, -2},
    };
    auto input = [](const Row& row) {
        HCNotificationPlacementInput in;
        in.largeScreen = row.large;
        in.mainScreen = row.large ? Size(768, 1024) : Size(320, 480);
        in.presentationSize = in.mainScreen;
        in.bannerHeight = 50;
        in.position = row.position;
        in.orientation = row.orientation;
        const bool landscape = row.orientation >= 3;
        in.statusBar = landscape ? Size(20, in.mainScreen.height) : Size(in.mainScreen.width, 20);
        return in;
    };
    for (const Row& row : turned) {
        const auto placed = HCPlaceNotification(input(row));
        const std::string where = "turned large " + std::to_string(row.large) + " P " + std::to_string(row.position) +
                                  " O " + std::to_string(row.orientation);
        EXPECT_TRUE(placed.rotatedInternally) << where;
        EXPECT_EQ(placed.center, Point(row.x, row.y)) << where;
        EXPECT_EQ(placed.contentNudge, Point(row.nudge, 0)) << where;
        EXPECT_EQ(placed.transform, row.orientation == 4 ? platform::ui::AffineTransform(0, -1, 1, 0, 0, 0)
                                                         : platform::ui::AffineTransform(0, 1, -1, 0, 0, 0))
            << where;
    }
    for (const Row& row : strips) {
        const auto placed = HCPlaceNotification(input(row));
        const std::string where = "strip large " + std::to_string(row.large) + " P " + std::to_string(row.position) +
                                  " O " + std::to_string(row.orientation);
        EXPECT_EQ(Point(placed.center.x - placed.size.width / 2, placed.center.y - placed.size.height / 2),
                  Point(row.x, row.y))
            << where;
        EXPECT_EQ(placed.contentNudge, Point(0, row.nudge)) << where;
    }
    // A landscape window on a tablet: the status bar still lies along the
    // screen's portrait height, yet a top strip clears only its thickness.
    HCNotificationPlacementInput wide = input({true, 0, 3, 0, 0, 0});
    wide.presentationSize = Size(1024, 768);
    const auto placed = HCPlaceNotification(wide);
    EXPECT_FALSE(placed.rotatedInternally);
    EXPECT_EQ(placed.center, Point(240, 45));
    // An unknown position: at the window's corner, unmoved.
    wide.position = 7;
    EXPECT_EQ(HCPlaceNotification(wide).center, Point(240, 25));
    EXPECT_EQ(HCPlaceNotification(wide).contentNudge, Point(0, 0));
}

}  // namespace
