#include "platform/ui/Keyboard.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Transitions.h"
#include "platform/ui/View.h"

namespace platform::ui {

namespace {

struct State {
    bool visible = false;
    // The slide still running, and a count that lets reset() orphan it.
    Transitions::Id sliding = 0;
    unsigned generation = 0;
};

State& state()
{
    static State s;
    return s;
}

// The frame moved off screen across the interface's bottom edge.
Rect offScreen(const Rect& shown)
{
    const double depth = isLandscape(Application::shared()->statusBarOrientation()) ? shown.width() : shown.height();
    switch (Application::shared()->statusBarOrientation()) {
    case InterfaceOrientation::Portrait: return shown.offsetBy(0, depth);
    case InterfaceOrientation::PortraitUpsideDown: return shown.offsetBy(0, -depth);
    case InterfaceOrientation::LandscapeRight: return shown.offsetBy(-depth, 0);
    case InterfaceOrientation::LandscapeLeft: return shown.offsetBy(depth, 0);
    }
    return shown;
}

void slide(bool showing)
{
    auto& s = state();
    if (s.sliding) Transitions::finishNow(s.sliding);
    s.visible = showing;
    const Rect shown = Keyboard::frame();
    auto info = Dictionary::make();
    info->setObject(KeyboardFrameBeginUserInfoKey, RectValue::make(showing ? offScreen(shown) : shown));
    info->setObject(KeyboardFrameEndUserInfoKey, RectValue::make(showing ? shown : offScreen(shown)));
    info->setObject(KeyboardAnimationDurationUserInfoKey, Number::makeDouble(kKeyboardAnimationDuration));
    info->setObject(KeyboardAnimationCurveUserInfoKey, Number::makeInt(static_cast<int>(AnimationCurve::EaseInOut)));
    const char* didName = showing ? KeyboardDidShowNotification : KeyboardDidHideNotification;
    const unsigned generation = s.generation;
    s.sliding = Transitions::schedule(kKeyboardAnimationDuration, [didName, info, generation] {
        if (state().generation != generation) return;
        state().sliding = 0;
        NotificationCenter::defaultCenter().post(didName, nullptr, info);
    });
    NotificationCenter::defaultCenter().post(showing ? KeyboardWillShowNotification : KeyboardWillHideNotification,
                                             nullptr, info);
}

}  // namespace

std::string RectValue::description() const { return toString(value_); }

bool Keyboard::isVisible() { return state().visible; }

Rect Keyboard::frame()
{
    const auto screen = Screen::mainScreen();
    const Size size = screen->bounds().size;
    const bool landscape = isLandscape(Application::shared()->statusBarOrientation());
    const double depth = screen->isLarge() ? (landscape ? 352 : 264) : (landscape ? 162 : 216);
    switch (Application::shared()->statusBarOrientation()) {
    case InterfaceOrientation::Portrait: return Rect(0, size.height - depth, size.width, depth);
    case InterfaceOrientation::PortraitUpsideDown: return Rect(0, 0, size.width, depth);
    // The interface's bottom is the screen's left edge in landscape right,
    // its right edge in landscape left.
    case InterfaceOrientation::LandscapeRight: return Rect(0, 0, depth, size.height);
    case InterfaceOrientation::LandscapeLeft: return Rect(size.width - depth, 0, depth, size.height);
    }
    return Rect(0, size.height - depth, size.width, depth);
}

void Keyboard::reset()
{
    auto& s = state();
    s.visible = false;
    s.sliding = 0;
    ++s.generation;
}

void Keyboard::show() { slide(true); }
void Keyboard::hide() { slide(false); }

Size keyboardSize(const Dictionary& userInfo)
{
    auto end = userInfo.get<RectValue>(KeyboardFrameEndUserInfoKey);
    if (!end) return Size();
    const Size size = end->value().standardized().size;
    if (isLandscape(Application::shared()->statusBarOrientation())) return Size(size.height, size.width);
    return size;
}

}  // namespace platform::ui
