#pragma once
// What the Halcyon class needs of the dashboard shell, which lives in a
// layer above the core: the game opens and closes the dashboard through
// Halcyon, the log-in switches its tabs between online and offline content,
// and the rotation turns its root view. The dashboard layer installs these
// at start-up (client/HCClientHooks); every hook is optional, and an absent
// one means no dashboard: nothing opens, nothing is full screen.
//
// Thread: main thread.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Values.h"
#include "platform/ui/View.h"

class HalcyonDelegate;

struct HCDashboardHooks {
    // Opens the dashboard on a tab (nil: the default one) with controllers
    // pushed on it, each a controller name (platform::String) or a
    // controller. The delegate hears this launch's appearance calls.
    std::function<void(HalcyonDelegate*, const std::optional<std::string>& tab,
                       const std::vector<platform::ObjectPtr>& controllers)>
        launchDashboard;
    std::function<void()> dismissDashboard;
    // The dashboard's frame is up and not fading out, with content in it;
    // the hub is open when that content is the tabbed dashboard.
    std::function<bool()> isShowingFullScreen;
    std::function<bool()> isDashboardHubOpen;
    // The root view that the rotation turns; nil while there is no dashboard.
    std::function<platform::ui::ViewPtr()> rootView;
    // The log-in switched the dashboard to online or offline content.
    std::function<void()> switchToOnlineMode;
    std::function<void()> switchToOfflineMode;
};
