#pragma once
// The device's positioning service and the manager an application reaches it
// through. Headless: no hardware; the device's answer is what a test or the
// demo sets with the static "device" calls below: a position, an error, or
// nothing at all (no fix, so an updating manager simply waits).
//
// A manager that is updating hears, on a later main run loop turn, the
// device's answer when it starts (if there is one) and every position or
// error set while it runs, one call each. Stopping ends every delivery not
// yet made. The delegate is held weakly.
//
// Thread: main thread only.
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/Object.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Location.h"

namespace platform::ui {

class LocationManager;

// The platform's error numbers.
enum class LocationErrorCode : int { LocationUnknown = 0, Denied = 1, Network = 2 };

struct LocationError {
    int code = 0;
    std::string description;
};

// The accuracy that asks for the best the device offers.
inline constexpr double kLocationAccuracyBest = -1;

class LocationManagerDelegate {
public:
    virtual ~LocationManagerDelegate() = default;
    // `oldLocation`: the manager's previous fix, nullptr before the first.
    virtual void didUpdateToLocation(LocationManager&, const LocationPtr& /*newLocation*/,
                                     const LocationPtr& /*oldLocation*/)
    {
    }
    virtual void didFailWithError(LocationManager&, const LocationError&) {}
};

class LocationManager final : public Object {
public:
    static std::shared_ptr<LocationManager> make() { return std::make_shared<LocationManager>(); }
    ~LocationManager() override;

    std::shared_ptr<LocationManagerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<LocationManagerDelegate>& delegate)
    {
        HC_CHECK_MAIN_THREAD();
        delegate_ = delegate;
    }
    double desiredAccuracy() const { return desiredAccuracy_; }
    void setDesiredAccuracy(double metres) { HC_CHECK_MAIN_THREAD(); desiredAccuracy_ = metres; }

    void startUpdatingLocation();
    void stopUpdatingLocation();
    bool isUpdating() const { return updating_; }
    // The last fix this manager delivered; nullptr before one.
    const LocationPtr& location() const { return location_; }

    // --- The device (tests and the demo) ------------------------------------
    // A fix at this position; it replaces an error.
    static void setDevicePosition(Coordinate coordinate);
    // The service fails with this code (LocationErrorCode) until a position is set.
    static void setDeviceError(int code);
    // No fix and no error: updating managers wait. Also the state at launch.
    static void resetDevice();
    // How many managers have been started since the last resetDevice().
    static int startsSinceReset();

private:
    void deliver(unsigned generation);
    void scheduleDelivery();

    std::weak_ptr<LocationManagerDelegate> delegate_;
    double desiredAccuracy_ = 0;
    bool updating_ = false;
    // Bumped by each start and stop, so a delivery posted for an earlier run is dropped.
    unsigned generation_ = 0;
    LocationPtr location_;
};

using LocationManagerPtr = std::shared_ptr<LocationManager>;

}  // namespace platform::ui
