#include "core/halcyon/Halcyon.h"

#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

constexpr const char* kRotateAnimationName = "HCInterfaceOrientationRotate";
constexpr double kQuarterTurnSeconds = 0.4;
constexpr double kLargeScreenMinX = 768.0;

// The numbers are the platform's interface orientations; only 3 and 4 are
// landscape, whatever each is called.
bool isLandscapeNumber(int orientation)
{
    return orientation == 3 || orientation == 4;
}

bool isPortraitNumber(int orientation)
{
    return orientation == 1 || orientation == 2;
}

}  // namespace

bool Halcyon::isLargeScreen()
{
    return platform::ui::Screen::mainScreen()->bounds().maxX() >= kLargeScreenMinX;
}

bool Halcyon::isInLandscapeMode()
{
    return isLargeScreen() || isLandscapeNumber(getDashboardOrientation());
}

bool Halcyon::isInLandscapeModeOniPad()
{
    return isLandscapeNumber(getDashboardOrientation());
}

platform::ui::Rect Halcyon::getDashboardBounds()
{
    if (isLargeScreen()) {
        return {3.0, 3.0, 640.0, 480.0};
    }
    platform::ui::Rect bounds = platform::ui::Screen::mainScreen()->bounds();
    if (isInLandscapeMode()) {
        std::swap(bounds.size.width, bounds.size.height);
    }
    return bounds;
}

void Halcyon::transformView(const platform::ui::ViewPtr& view, int orientation)
{
    HC_CHECK_MAIN_THREAD();
    if (!view) {
        return;
    }
    using platform::ui::AffineTransform;
    const platform::ui::Rect screen = platform::ui::Screen::mainScreen()->bounds();
    AffineTransform transform;
    platform::ui::Rect bounds = screen;
    switch (orientation) {
    case 2:
        transform = {-1, 0, 0, -1, 0, 0};
        break;
    case 3:
        transform = {0, 1, -1, 0, 0, 0};
        bounds = {0, 0, screen.height(), screen.width()};
        break;
    case 4:
        transform = {0, -1, 1, 0, 0, 0};
        bounds = {0, 0, screen.height(), screen.width()};
        break;
    default:
        break;
    }
    view->setTransform(transform);
    view->setBounds(bounds);
    view->setCenter(screen.center());
}

void Halcyon::transformViewToDashboardOrientation(const platform::ui::ViewPtr& view)
{
    transformView(view, getDashboardOrientation());
}

void Halcyon::setDashboardOrientation(int orientation)
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    if (!instance || orientation == instance->dashboardOrientation_) {
        return;
    }
    const bool fullScreen = isShowingFullScreen();
    if (fullScreen && !isLargeScreen()) {
        // A small screen's dashboard keeps the orientation it opened in.
        return;
    }
    const int previous = instance->dashboardOrientation_;
    if (fullScreen) {
        platform::ui::Application::shared()->setStatusBarOrientation(
            static_cast<platform::ui::InterfaceOrientation>(orientation), true);
        instance->dashboardOrientation_ = orientation;
        instance->_rotateDashboardFromOrientation(previous, orientation);
        return;
    }
    instance->dashboardOrientation_ = orientation;
}

void Halcyon::_rotateDashboardFromOrientation(int from, int to)
{
    HC_CHECK_MAIN_THREAD();
    if (!isLargeScreen()) {
        return;
    }
    double duration = snapDashboardRotation() ? 0.0 : kQuarterTurnSeconds;
    if ((isLandscapeNumber(from) && isLandscapeNumber(to)) || (isPortraitNumber(from) && isPortraitNumber(to))) {
        duration *= 2;
    }
    const auto& rootView = dashboardHooks().rootView;
    platform::ui::ViewPtr view = rootView ? rootView() : nullptr;
    if (!view) {
        return;
    }
    platform::ui::View::beginAnimations(kRotateAnimationName);
    platform::ui::View::setAnimationDuration(duration);
    transformView(view, to);
    postDashboardOrientationChangedTo(to, from);
    platform::ui::View::commitAnimations();
}

bool Halcyon::shouldAutorotateToInterfaceOrientation(int orientation, const int* supported, size_t count)
{
    HC_CHECK_MAIN_THREAD();
    if (isShowingFullScreen() && !isLargeScreen()) {
        return false;
    }
    for (size_t i = 0; i < count && supported; ++i) {
        if (supported[i] == orientation) {
            return true;
        }
    }
    return false;
}
