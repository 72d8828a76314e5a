#pragma once
// The on-screen keyboard, as far as a headless screen has one: whether it is
// shown and where it would be. It shows when a text input becomes first
// responder while no other holds the focus, and hides when the focus is given
// up.
//
// Each change slides the keyboard in or out for kKeyboardAnimationDuration on
// platform::Clock: the "will" notification is posted when the slide starts,
// the "did" notification (with the same user info) from the main run loop
// when it ends; Driver::settle() lets it end. A change that starts while
// another is still sliding first ends that one (its "did" is posted), so
// "will" and "did" always alternate. Both go through the default
// NotificationCenter with, in the user info, the frames before and after the
// slide (RectValue), the slide's duration and its animation curve (Number).
//
// Frames are in screen coordinates, which do not turn with the interface:
// along the edge that is the interface's bottom, full length, 216 points deep
// in portrait and 162 in landscape on the small screen, 264 and 352 on the
// large one; off screen beyond that edge while hidden. keyboardSize() turns
// the end frame of a notification into the size the interface sees.
//
// Thread: main thread only.
#include <memory>

#include "platform/foundation/Values.h"
#include "platform/runtime/Object.h"
#include "platform/ui/Geometry.h"

namespace platform::ui {

inline constexpr const char* KeyboardWillShowNotification = "KeyboardWillShowNotification";
inline constexpr const char* KeyboardDidShowNotification = "KeyboardDidShowNotification";
inline constexpr const char* KeyboardWillHideNotification = "KeyboardWillHideNotification";
inline constexpr const char* KeyboardDidHideNotification = "KeyboardDidHideNotification";
inline constexpr const char* KeyboardFrameBeginUserInfoKey = "KeyboardFrameBeginUserInfoKey";
inline constexpr const char* KeyboardFrameEndUserInfoKey = "KeyboardFrameEndUserInfoKey";
inline constexpr const char* KeyboardAnimationDurationUserInfoKey = "KeyboardAnimationDurationUserInfoKey";
inline constexpr const char* KeyboardAnimationCurveUserInfoKey = "KeyboardAnimationCurveUserInfoKey";

inline constexpr double kKeyboardAnimationDuration = 0.25;

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
    // Where the shown keyboard is (or would be) for the current screen and
    // interface orientation, in screen coordinates.
    static Rect frame();
    // Forgets a keyboard left shown (or sliding) by an earlier test, without notifications.
    static void reset();

private:
    friend class Responder;
    static void show();
    static void hide();
};

// The keyboard's size as the interface is turned now (width along the
// interface's bottom edge), from a keyboard notification's user info; an
// empty size when the info holds no end frame.
Size keyboardSize(const Dictionary& userInfo);

}  // namespace platform::ui
