#pragma once
// What the provider needs from the layers above it, installed by the client
// core at start-up. Every hook is optional; an absent hook means the plain
// behaviour written next to it.
//
// Thread: set on the main thread before requests run; read from the request
// thread and the main thread.
#include <functional>
#include <memory>

#include "platform/foundation/Values.h"
#include "transport/oauth/OAuthAPIRequestLoader.h"

class HCActionRequest;

struct HCProviderHooks {
    // Approval not given or client disabled. Absent: never discard.
    std::function<bool()> willSilentlyDiscardAction;
    // The full-screen dashboard is shown. Absent: it is not.
    std::function<bool()> isDashboardFullScreen;
    // Shows the progress banner for a loader and starts it (main thread).
    // Absent: banner requests start like silent ones.
    std::function<void(const OAuthAPIRequestLoaderPtr&, const platform::ObjectPtr& notice)> showBackgroundNoticeForLoader;
    // 401: asks the player to log in; must end with abandonInLightOfASeriousError()
    // (main thread). Absent: the request is abandoned at once.
    std::function<void(const std::shared_ptr<HCActionRequest>&)> launchLoginFlowForRequest;
    // 426 Upgrade Required, with the reply body (main thread).
    std::function<void(const std::shared_ptr<platform::Data>&)> displayUpgradeRequiredErrorMessage;
    // 450, the service's maintenance notice, with the reply body (main thread).
    std::function<void(const std::shared_ptr<platform::Data>&)> displayServerMaintenanceNotice;
    // The device's parental controls are on (the JSON session's device
    // record). Every action carries "parental_controls_enabled" = "true" or
    // "false" after its own parameters. Absent: not enabled.
    std::function<bool()> parentalControlsEnabled;
    // Local log-out: the Facebook session and the add-ons (the provider
    // disconnects the presence channel itself).
    std::function<void()> didDestroyLocalCredentials;
};
