#pragma once
// The client's small additions to the platform's classes, as free functions
// named after them: the status bar, the keyboard's size, the controller
// below a page, a button's title in every state.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "platform/foundation/Values.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"

// Hides or shows the status bar.
void HChideStatusBar(bool hidden, bool animated);

// The keyboard's size as the interface is turned now, from a keyboard
// notification's user info; an empty size without an end frame.
platform::ui::Size HCgetKeyboardSize(const platform::Dictionary& userInfo);

// The controller just below `controller` on the stack; nil when it is the
// first or not on it (or there is no navigation controller).
platform::ui::ViewControllerPtr previousViewController(
    const std::shared_ptr<platform::ui::NavigationController>& navigationController,
    const platform::ui::ViewControllerPtr& controller);

// The same title for the normal, highlighted, selected and disabled states.
void setTitleForAllStates(platform::ui::Button& button, const std::string& title);
