#pragma once
// What the banner layer asks of the layers above it, installed by the
// client at start-up (client/HCClientHooks.cpp). Each hook is optional.
//
// Thread: installed on the main thread; called on the main thread.
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/View.h"

struct HCNotificationHooks {
    // The dashboard's tabbed hub is open full screen: background notices
    // are dropped. Absent: never open.
    std::function<bool()> isDashboardHubOpen;
    // A view from the game's layout for that name, by the controller loader's
    // variant and suffix rules. Absent, or nil: the client's own layout,
    // registered in the nib registry under exactly that name.
    std::function<platform::ui::ViewPtr(const std::string& name)> loadView;

    static void install(HCNotificationHooks hooks);
    static HCNotificationHooks installed();
};
