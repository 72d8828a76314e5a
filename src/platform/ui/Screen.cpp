#include "platform/ui/Screen.h"

#include "platform/foundation/DeviceFacts.h"
#include "platform/ui/Application.h"

namespace platform::ui {

std::shared_ptr<Screen> Screen::mainScreen()
{
    static const std::shared_ptr<Screen> screen = std::make_shared<Screen>();
    return screen;
}

Rect Screen::bounds() const
{
    return Rect(0, 0, DeviceFacts::screenWidth(), DeviceFacts::screenHeight());
}

bool Screen::isLarge() const
{
    return DeviceFacts::isLargeScreen();
}

Rect Screen::applicationFrame() const
{
    Rect b = bounds();
    auto app = Application::shared();
    if (app->isStatusBarHidden()) return b;
    const double bar = Application::kStatusBarHeight;
    switch (app->statusBarOrientation()) {
    case InterfaceOrientation::Portrait: return Rect(0, bar, b.size.width, b.size.height - bar);
    case InterfaceOrientation::PortraitUpsideDown: return Rect(0, 0, b.size.width, b.size.height - bar);
    case InterfaceOrientation::LandscapeRight: return Rect(0, 0, b.size.width - bar, b.size.height);
    case InterfaceOrientation::LandscapeLeft: return Rect(bar, 0, b.size.width - bar, b.size.height);
    }
    return b;
}

}  // namespace platform::ui
