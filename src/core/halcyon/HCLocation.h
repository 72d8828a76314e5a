#pragma once
// Takes one position fix from the device's location service and tells the
// service where the player is.
//
// Location is used only while the client allows location services (the
// game's setting and the device's parental controls) and the player's
// distance unit is not "off": a fix that arrives, or an upload that comes due,
// when either says no is dropped. The unit turns "off" only when the player
// refuses the device access; a failed upload keeps sharing as it was and is
// tried again later.
//
// Life: looking for a fix from make() until the first fix, an error, or
// kFixTimeout seconds on platform::Clock; then the upload, made on the next
// main run loop turn. While the client is offline, or after an upload that
// failed, it is tried again every kRetryInterval seconds, at most
// kMaxRetries times per process, counted over every HCLocation. Delayed
// calls hold the object weakly: once the client drops it, nothing more is
// sent.
//
// Thread: main thread.
#include <memory>

#include "core/halcyon/HCLocationSource.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "platform/ui/LocationManager.h"

// The player's distance-unit option: also the unit in which score pages
// show distances (miles for 2, kilometres for any value but 1).
enum HCDistanceUnit : long {
    HCDistanceUnitSharingWithoutFix = 0,
    HCDistanceUnitSharingOff = 1,
    HCDistanceUnitSharingOn = 2,
};

class HCLocation final : public HCLocationSource,
                         public platform::ui::LocationManagerDelegate,
                         public HCCallbackable {
public:
    static constexpr double kFixTimeout = 60;
    static constexpr double kRetryInterval = 10;
    static constexpr int kMaxRetries = 10;

    // Starts looking for a fix with the best accuracy, unless location
    // services are not allowed (then it never asks the device).
    static std::shared_ptr<HCLocation> make();
    HCLocation() = default;
    ~HCLocation() override;

    bool isLocationUpdating() const override { return manager_ != nullptr; }
    void stopUpdatingLocation() override;
    // The fix as a platform::ui::Location; nil before one.
    platform::ObjectPtr userLocation() const override { return userLocation_; }
    // The player turned sharing on (unit 0) and this fix confirmed it.
    bool userAllowed() const { return userAllowed_; }

    // Sends the fix when location may be used: online now, else later.
    void updateUserLocation();
    void _onSetLocationFailed(std::shared_ptr<platform::Object> failure);

    void didUpdateToLocation(platform::ui::LocationManager& manager, const platform::ui::LocationPtr& newLocation,
                             const platform::ui::LocationPtr& oldLocation) override;
    void didFailWithError(platform::ui::LocationManager& manager, const platform::ui::LocationError& error) override;

    bool canReceiveCallbacksNow() const override { return true; }

    // The process-wide retry count back to 0, as in a new process.
    static void _resetRetriesForTesting();

private:
    static bool mayUseLocation();
    void start();
    // Calls updateUserLocation after `delay` seconds, if this object still lives.
    void updateLater(double delay);
    // One more try after kRetryInterval while the process has tries left.
    void retryLater();

    std::shared_ptr<platform::ui::LocationManager> manager_;
    platform::ui::LocationPtr userLocation_;
    bool userAllowed_ = false;
};
