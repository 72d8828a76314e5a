#include "platform/ui/Keyboard.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"

namespace platform::ui {

namespace {

bool& visible()
{
    static bool shown = false;
    return shown;
}

void post(const char* willName, const char* didName)
{
    auto info = Dictionary::make();
    info->setObject(KeyboardFrameEndUserInfoKey, RectValue::make(Keyboard::frame()));
    auto& center = NotificationCenter::defaultCenter();
    center.post(willName, nullptr, info);
    center.post(didName, nullptr, info);
}

}  // namespace

std::string RectValue::description() const { return toString(value_); }

bool Keyboard::isVisible() { return visible(); }

Rect Keyboard::frame()
{
    const auto screen = Screen::mainScreen();
    const bool landscape = isLandscape(Application::shared()->statusBarOrientation());
    Size size = screen->bounds().size;
    if (landscape) size = Size(size.height, size.width);
    double height;
    if (screen->isLarge()) {
        height = landscape ? 352 : 264;
    } else {
        height = landscape ? 162 : 216;
    }
    return Rect(0, size.height - height, size.width, height);
}

void Keyboard::reset() { visible() = false; }

void Keyboard::show()
{
    visible() = true;
    post(KeyboardWillShowNotification, KeyboardDidShowNotification);
}

void Keyboard::hide()
{
    visible() = false;
    post(KeyboardWillHideNotification, KeyboardDidHideNotification);
}

}  // namespace platform::ui
