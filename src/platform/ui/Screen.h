#pragma once
// The main screen: its bounds in portrait points, as platform::DeviceFacts
// gives them (320 x 480 for the small screen, 768 x 1024 for the large one;
// tests pick one with DeviceFacts::setLargeScreen), and the application frame,
// which is the bounds less the 20-point status bar along the edge the status
// bar's orientation puts it at, while the status bar is shown.
//
// Thread: main thread only.
#include <memory>

#include "platform/runtime/Object.h"
#include "platform/ui/Geometry.h"

namespace platform::ui {

class Screen final : public Object {
public:
    static std::shared_ptr<Screen> mainScreen();

    Rect bounds() const;
    Rect applicationFrame() const;
    bool isLarge() const;
};

}  // namespace platform::ui
