#include "platform/ui/Application.h"

#include <algorithm>

#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

namespace {

std::shared_ptr<Application>& instance()
{
    static std::shared_ptr<Application> app;
    return app;
}

}  // namespace

std::shared_ptr<Application> Application::shared()
{
    HC_CHECK_MAIN_THREAD();
    auto& app = instance();
    if (!app) app.reset(new Application);
    return app;
}

void Application::resetShared()
{
    instance().reset(new Application);
}

std::vector<std::shared_ptr<Window>> Application::windows() const
{
    std::vector<std::shared_ptr<Window>> living;
    for (const auto& w : windows_) {
        if (auto window = w.lock()) living.push_back(window);
    }
    return living;
}

void Application::addWindow(const std::shared_ptr<Window>& window)
{
    std::erase_if(windows_, [](const std::weak_ptr<Window>& w) { return w.expired(); });
    for (const auto& w : windows_) {
        if (w.lock() == window) return;
    }
    windows_.push_back(window);
}

void Application::setKeyWindow(const std::shared_ptr<Window>& window)
{
    HC_CHECK_MAIN_THREAD();
    addWindow(window);
    keyWindow_ = window;
}

void Application::setStatusBarHidden(bool hidden, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    statusBarHidden_ = hidden;
    statusBarChanges_.push_back({StatusBarChange::What::Hidden, hidden ? 1 : 0, animated});
}

void Application::setStatusBarOrientation(InterfaceOrientation orientation, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    statusBarOrientation_ = orientation;
    statusBarChanges_.push_back({StatusBarChange::What::Orientation, static_cast<int>(orientation), animated});
}

void Application::setStatusBarStyle(StatusBarStyle style, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    statusBarStyle_ = style;
    statusBarChanges_.push_back({StatusBarChange::What::Style, static_cast<int>(style), animated});
}

Rect Application::statusBarFrame() const
{
    if (statusBarHidden_) return Rect();
    Rect screen = Screen::mainScreen()->bounds();
    const double w = screen.size.width, h = screen.size.height, bar = kStatusBarHeight;
    switch (statusBarOrientation_) {
    case InterfaceOrientation::Portrait: return Rect(0, 0, w, bar);
    case InterfaceOrientation::PortraitUpsideDown: return Rect(0, h - bar, w, bar);
    // The interface's top edge is the screen's right edge in landscape right,
    // its left edge in landscape left.
    case InterfaceOrientation::LandscapeRight: return Rect(w - bar, 0, bar, h);
    case InterfaceOrientation::LandscapeLeft: return Rect(0, 0, bar, h);
    }
    return Rect(0, 0, w, bar);
}

bool Application::canOpenURL(const std::string& url) const
{
    return canOpenURLs_ && !url.empty();
}

bool Application::openURL(const std::string& url)
{
    if (!canOpenURL(url)) return false;
    openedURLs_.push_back(url);
    return true;
}

void Application::registerForRemoteNotificationTypes(unsigned types)
{
    remoteTypes_ = types;
    ++remoteRegistrations_;
}

void Application::unregisterForRemoteNotifications()
{
    remoteTypes_ = 0;
}

// The life cycle only moves between neighbouring states, so a host that
// skips a step (background straight from active) still produces every
// notification an observer expects, in the platform's order.
void Application::resignActive()
{
    if (state_ != ApplicationState::Active) return;
    state_ = ApplicationState::Inactive;
    NotificationCenter::defaultCenter().post(ApplicationWillResignActiveNotification, shared_from_this());
}

void Application::enterBackground()
{
    if (state_ == ApplicationState::Background) return;
    resignActive();
    state_ = ApplicationState::Background;
    NotificationCenter::defaultCenter().post(ApplicationDidEnterBackgroundNotification, shared_from_this());
}

void Application::enterForeground()
{
    if (state_ != ApplicationState::Background) return;
    state_ = ApplicationState::Inactive;
    NotificationCenter::defaultCenter().post(ApplicationWillEnterForegroundNotification, shared_from_this());
}

void Application::becomeActive()
{
    if (state_ == ApplicationState::Active) return;
    enterForeground();
    state_ = ApplicationState::Active;
    NotificationCenter::defaultCenter().post(ApplicationDidBecomeActiveNotification, shared_from_this());
}

}  // namespace platform::ui
