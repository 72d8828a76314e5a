#pragma once
// The on-screen keyboard, as far as a headless screen has one: whether it is
// shown and where it would be. It shows when a text input becomes first
// responder while no other holds the focus, and hides when the focus is given
// up. Each change posts, synchronously through the default
// NotificationCenter, the "will" and then the "did" notification, with the
// keyboard's frame (a RectValue) under KeyboardFrameEndUserInfoKey.
//
// The frame is in the coordinates of the screen as the interface is turned
// (the status bar's orientation): full width along the bottom edge, 216
// points high in portrait and 162 in landscape on the small screen, 264 and
// 352 on the large one.
//
// Thread: main thread only.
#include <memory>

#include "platform/ui/Geometry.h"
#include "platform/runtime/Object.h"

namespace platform::ui {

inline constexpr const char* KeyboardWillShowNotification = "KeyboardWillShowNotification";
inline constexpr const char* KeyboardDidShowNotification = "KeyboardDidShowNotification";
inline constexpr const char* KeyboardWillHideNotification = "KeyboardWillHideNotification";
inline constexpr const char* KeyboardDidHideNotification = "KeyboardDidHideNotification";
inline constexpr const char* KeyboardFrameEndUserInfoKey = "KeyboardFrameEndUserInfoKey";

// A rectangle boxed for dictionaries and user info.
class RectValue final : public Object {
public:
    explicit RectValue(const Rect& r) : value_(r) {}
    static std::shared_ptr<RectValue> make(const Rect& r) { return std::make_shared<RectValue>(r); }
    const Rect& value() const { return value_; }
    std::string description() const override;

private:
    Rect value_;
};

class Keyboard {
public:
    static bool isVisible();
    // Where the keyboard is (or would be) for the current screen and orientation.
    static Rect frame();
    // Forgets a keyboard left shown by an earlier test, without notifications.
    static void reset();

private:
    friend class Responder;
    static void show();
    static void hide();
};

}  // namespace platform::ui
