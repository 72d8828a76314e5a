#pragma once
// Where a banner sits and where it slides to, from the window it is shown
// in, its own height, the game's banner position (0 top-left, 1
// bottom-left, 2 top-right, 3 bottom-right) and dashboard orientation (1
// portrait, 2 upside down, 3 landscape right, 4 landscape left).
//
// A window that still has portrait coordinates while the dashboard is
// landscape ("rotated internally") gets a banner turned a quarter turn and
// centred on the edge it belongs to; otherwise the banner is a strip along
// the top or bottom edge, turned over when the game is upside down. A small
// screen has no room for the right-hand positions: they fall back to the
// left-hand ones. A banner is never longer than 480 points. A top banner
// clears the status bar by its thickness, whichever way the bar lies.
//
// Thread: any thread (pure arithmetic).
#include "platform/ui/Geometry.h"

struct HCNotificationPlacementInput {
    platform::ui::Size presentationSize;  // the window's bounds
    double bannerHeight = 0;
    int position = 0;
    int orientation = 1;
    platform::ui::Size statusBar;  // its frame in screen coordinates; zero while hidden
    bool largeScreen = false;
    platform::ui::Size mainScreen;  // the screen's portrait bounds
};

struct HCNotificationPlacement {
    bool rotatedInternally = false;
    platform::ui::Size size;  // the banner's bounds size (length by height)
    platform::ui::Point center;
    platform::ui::AffineTransform transform;
    // How far the content group moves away from the screen edge.
    platform::ui::Point contentNudge;
};

HCNotificationPlacement HCPlaceNotification(const HCNotificationPlacementInput& input);

// The point a banner at layer position `p` and of height `h` slides in from
// and out to: always beyond the edge it sits at.
platform::ui::Point HCNotificationOffScreenPosition(platform::ui::Point p, double h, bool rotatedInternally,
                                                   int orientation, bool invertNotifications);
