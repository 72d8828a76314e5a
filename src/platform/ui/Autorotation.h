#pragma once
// Turning the interface with the device, as the platform does for the
// controller that owns a window's content: the window's root view controller,
// else the controller whose view is the window's first subview. Other
// controllers whose views were put into a window by hand do not turn; their
// owners turn them themselves (and hear of the device through
// DeviceOrientationDidChangeNotification).
//
// Thread: main thread only.
#include <memory>

#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace platform::ui {

class Autorotation {
public:
    // A quarter turn; a half turn takes twice as long.
    static constexpr double kQuarterTurnDuration = 0.3;

    // The controller that turns with the device in `window`, or nullptr.
    static ViewControllerPtr rootControllerOf(const std::shared_ptr<Window>& window);

    // Asks the key window's root controller (or the top modal shown over it)
    // whether it may turn. When it may: every controller on screen in that
    // tree hears willRotateToInterfaceOrientation, the status bar turns, the
    // root view and the modal views beside it in the window take the turned
    // transform and the application frame's bounds (their subviews follow by
    // autoresizing), and once the rotation has run (on the clock) each
    // controller hears didRotateFromInterfaceOrientation. Answers whether the
    // interface turned.
    static bool rotateInterface(InterfaceOrientation orientation);
};

}  // namespace platform::ui
