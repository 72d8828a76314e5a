// The application's life cycle and the game server's reachability: polling
// pauses while the application is inactive, the presence of a location fix
// and the presence channel follow the foreground, and a client that should
// be logged in tries again.
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonInstanceSlot.h"
#include "kernel/reachability/HCReachability.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Application.h"
#include "transport/poller/HCPoller.h"
#include "transport/presence/HCPresenceService.h"

namespace {

bool gameServerReachable()
{
    auto reachability = HCReachability::Instance();
    return reachability && reachability->isGameServerReachable();
}

}  // namespace

void Halcyon::observeApplication()
{
    auto& center = platform::NotificationCenter::defaultCenter();
    std::weak_ptr<Halcyon> weak = std::static_pointer_cast<Halcyon>(shared_from_this());
    auto forward = [weak](void (Halcyon::*handler)()) {
        return [weak, handler](const platform::Notification&) {
            if (auto self = weak.lock()) {
                ((*self).*handler)();
            }
        };
    };
    center.addObserver(this, platform::ui::ApplicationWillResignActiveNotification,
                       forward(&Halcyon::applicationWillResignActive));
    center.addObserver(this, platform::ui::ApplicationDidBecomeActiveNotification,
                       forward(&Halcyon::applicationDidBecomeActive));
    center.addObserver(this, platform::ui::ApplicationDidEnterBackgroundNotification,
                       forward(&Halcyon::applicationDidEnterBackground));
    center.addObserver(this, platform::ui::ApplicationWillEnterForegroundNotification,
                       forward(&Halcyon::applicationWillEnterForeground));
}

void Halcyon::applicationWillResignActive()
{
    HC_CHECK_MAIN_THREAD();
    pollingFrequencyBeforeResigningActive_ = poller_ ? poller_->getPollingFrequency() : 0;
    if (poller_) {
        poller_->stopPolling();
    }
    platform::UserDefaults::standardUserDefaults()->synchronize();
}

void Halcyon::applicationDidBecomeActive()
{
    HC_CHECK_MAIN_THREAD();
    if (poller_) {
        poller_->changePollingFrequency(pollingFrequencyBeforeResigningActive_);
    }
    // A game that must be online leaves the approval question to the log-in
    // decision: a player never asked is asked, one who declined gets Game
    // Center only.
    if (requireOnlineStatus_ && !successfullyBootstrapped_ && gameServerReachable()) {
        doBootstrapAsUserId(lastLoggedInUserId(), HCDelegate(), HCDelegate());
    }
}

void Halcyon::applicationDidEnterBackground()
{
    HC_CHECK_MAIN_THREAD();
    if (auto presence = HCPresenceService::sharedInstance()) presence->disconnect();
    if (location_ && location_->isLocationUpdating()) {
        location_->stopUpdatingLocation();
        location_ = nullptr;
        appNeedsGetLocationOnForeground_ = true;
    }
}

void Halcyon::applicationWillEnterForeground()
{
    HC_CHECK_MAIN_THREAD();
    // Only a channel the service opened for this player comes back; one it
    // turned off stays off (its host may not exist at all).
    if (auto presence = HCPresenceService::sharedInstance();
        presence && successfullyBootstrapped_ && loggedInUserSharesOnlineStatus()) {
        presence->connect();
    }
    if (!successfullyBootstrapped_ && gameServerReachable() && hasUserApprovedHalcyon()) {
        doBootstrapAsUserId(lastLoggedInUserId(), HCDelegate(), HCDelegate());
    }
    if (appNeedsGetLocationOnForeground_) {
        startLocationManagerIfAllowed();
        appNeedsGetLocationOnForeground_ = false;
    }
}

void Halcyon::gameServerReachabilityChanged(int status)
{
    HC_CHECK_MAIN_THREAD();
    // The notice was posted from the monitor's thread and may be stale here:
    // a server that has gone since starts no log-in (its own notice follows),
    // or the log-in would run, and tell the game, while the client counts as
    // offline.
    if (status != 0 && gameServerReachable() && sharedInstance() && hasUserApprovedHalcyon()) {
        doBootstrapAsUserId(lastLoggedInUserId(), HCDelegate(), HCDelegate());
    }
}
