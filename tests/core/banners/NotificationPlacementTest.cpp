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

}  // namespace
