#pragma once
// The device's accelerometer. While it has a delegate, it hands the delegate
// one reading every updateInterval seconds on platform::Clock, through a
// timer on the main run loop. The readings come from the hardware's queue:
// feed() lines samples up, one per delivery; with none waiting the device
// lies still (0, 0, -1: gravity straight down through its back), and that
// reading is delivered again.
//
// Thread: main thread only.
#include <deque>
#include <memory>

#include "platform/runtime/Object.h"
#include "platform/runtime/RunLoop.h"

namespace platform::ui {

class Accelerometer;

// In units of gravity along the device's axes; the time is the clock's.
struct Acceleration {
    double x = 0;
    double y = 0;
    double z = 0;
    double timestamp = 0;
};

class AccelerometerDelegate {
public:
    virtual ~AccelerometerDelegate() = default;
    virtual void accelerometerDidAccelerate(Accelerometer& accelerometer, const Acceleration& acceleration) = 0;
};

class Accelerometer final : public Object {
public:
    static constexpr double kMinimumUpdateInterval = 0.01;
    static constexpr double kDefaultUpdateInterval = 0.1;

    static std::shared_ptr<Accelerometer> sharedAccelerometer();
    // A fresh accelerometer for the next test: no delegate, nothing queued.
    static void resetShared();
    ~Accelerometer() override;

    double updateInterval() const { return interval_; }
    // Kept at kMinimumUpdateInterval or more; a running delivery restarts at the new pace.
    void setUpdateInterval(double seconds);
    // Held weakly; nullptr stops the deliveries.
    std::shared_ptr<AccelerometerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<AccelerometerDelegate>& delegate);

    // The hardware measures these next, one per delivery.
    void feed(double x, double y, double z);
    size_t queuedSamples() const { return queue_.size(); }

private:
    void restart();
    void deliver();

    double interval_ = kDefaultUpdateInterval;
    std::weak_ptr<AccelerometerDelegate> delegate_;
    std::shared_ptr<Timer> timer_;
    std::deque<Acceleration> queue_;
    Acceleration resting_{0, 0, -1, 0};
};

}  // namespace platform::ui
