#include "core/banners/HCNotificationPlacement.h"

#include <algorithm>

using platform::ui::AffineTransform;
using platform::ui::Point;

namespace {

constexpr double kMaxLength = 480;
constexpr double kNudge = 2;

bool atTop(int position) { return position == 0 || position == 2; }

// The status bar's thickness. Its frame is in the screen's portrait
// coordinates, 20 high in portrait but 20 wide in landscape, so its height
// alone would put a top banner a screen's width down a landscape window.
double statusBarThickness(const HCNotificationPlacementInput& in)
{
    return std::min(in.statusBar.width, in.statusBar.height);
}
bool atLeft(int position) { return position == 0 || position == 1; }

// A quarter-turned banner along the long edge of a portrait window.
HCNotificationPlacement rotated(const HCNotificationPlacementInput& in, int position)
{
    const double pw = in.presentationSize.width, ph = in.presentationSize.height, h = in.bannerHeight;
    const double length = std::min(ph, kMaxLength);
    HCNotificationPlacement out;
    out.rotatedInternally = true;
    out.size = {length, h};
    // An impossible position leaves the banner at the origin, unturned.
    out.center = {0, 0};
    const bool left = in.orientation == 4;
    const bool validPosition = in.largeScreen ? position >= 0 && position <= 3 : position == 0 || position == 1;
    if (!validPosition) return out;
    double cx;
    double dx;
    if (atTop(position)) {
        cx = left ? h / 2 + statusBarThickness(in) : pw - h / 2 - statusBarThickness(in);
        dx = left ? kNudge : -kNudge;
    } else {
        cx = left ? pw - h / 2 : h / 2;
        dx = left ? -kNudge : kNudge;
    }
    double cy = ph / 2;
    if (in.largeScreen) {
        const bool nearEnd = atLeft(position) == left;  // the far end of the window's height
        cy = nearEnd ? ph - length / 2 : length / 2;
    }
    out.center = {cx, cy};
    out.transform = AffineTransform::quarterTurns(left ? -1 : 1);
    out.contentNudge = {dx, 0};
    return out;
}

// A strip along the top or bottom edge.
HCNotificationPlacement flat(const HCNotificationPlacementInput& in, int position)
{
    const double pw = in.presentationSize.width, ph = in.presentationSize.height, h = in.bannerHeight;
    const double length = std::min(pw, kMaxLength);
    HCNotificationPlacement out;
    out.size = {length, h};
    const bool upsideDown = in.orientation == 2;
    double x = 0, y = 0, dy = 0;
    if (position >= 0 && position <= 3) {
        if (atTop(position)) {
            y = upsideDown ? ph - h - statusBarThickness(in) : statusBarThickness(in);
            dy = upsideDown ? kNudge : -kNudge;
        } else {
            y = upsideDown ? 0 : ph - h;
            dy = upsideDown ? -kNudge : kNudge;
        }
        if (!in.largeScreen) {
            x = (pw - length) / 2;
        } else {
            const bool alongLeft = atLeft(position) != upsideDown;
            x = alongLeft ? 0 : pw - length;
        }
    }
    out.center = {x + length / 2, y + h / 2};
    if (upsideDown) out.transform = AffineTransform::quarterTurns(2);
    out.contentNudge = {0, dy};
    return out;
}

}  // namespace

HCNotificationPlacement HCPlaceNotification(const HCNotificationPlacementInput& in)
{
    int position = in.position;
    if (!in.largeScreen && (position == 2 || position == 3)) position -= 2;
    const bool landscape = in.orientation == 3 || in.orientation == 4;
    const double half = (in.mainScreen.width + in.mainScreen.height) / 2;
    if (landscape && in.presentationSize.width <= half) return rotated(in, position);
    return flat(in, position);
}

Point HCNotificationOffScreenPosition(Point p, double h, bool rotatedInternally, int orientation,
                                     bool invertNotifications)
{
    if (!rotatedInternally) {
        const bool down = invertNotifications == (orientation == 2);
        return {p.x, down ? p.y + h : p.y - h};
    }
    Point offset;
    switch (orientation) {
    case 1: offset = {0, h}; break;
    case 2: offset = {0, -h}; break;
    case 3: offset = {-h, 0}; break;
    case 4: offset = {h, 0}; break;
    default: break;
    }
    if (invertNotifications) offset = {-offset.x, -offset.y};
    return {p.x + offset.x, p.y + offset.y};
}
