#include "platform/ui/Accelerometer.h"

#include <algorithm>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

namespace {

std::shared_ptr<Accelerometer>& shared()
{
    static std::shared_ptr<Accelerometer> instance;
    return instance;
}

}  // namespace

std::shared_ptr<Accelerometer> Accelerometer::sharedAccelerometer()
{
    HC_CHECK_MAIN_THREAD();
    if (!shared()) shared() = std::make_shared<Accelerometer>();
    return shared();
}

void Accelerometer::resetShared()
{
    shared().reset();
}

Accelerometer::~Accelerometer()
{
    if (timer_) timer_->invalidate();
}

void Accelerometer::setUpdateInterval(double seconds)
{
    HC_CHECK_MAIN_THREAD();
    interval_ = std::max(seconds, kMinimumUpdateInterval);
    restart();
}

void Accelerometer::setDelegate(const std::shared_ptr<AccelerometerDelegate>& delegate)
{
    HC_CHECK_MAIN_THREAD();
    delegate_ = delegate;
    restart();
}

void Accelerometer::feed(double x, double y, double z)
{
    HC_CHECK_MAIN_THREAD();
    queue_.push_back({x, y, z, 0});
}

void Accelerometer::restart()
{
    if (timer_) timer_->invalidate();
    timer_.reset();
    if (delegate_.expired()) return;
    std::weak_ptr<Object> weak = weak_from_this();
    timer_ = Thread::mainThread()->runLoop()->scheduleTimer(interval_, true, [weak](Timer&) {
        if (auto me = std::static_pointer_cast<Accelerometer>(weak.lock())) me->deliver();
    });
}

void Accelerometer::deliver()
{
    auto d = delegate();
    if (!d) {
        restart();  // the delegate went away: stop
        return;
    }
    Acceleration reading = resting_;
    if (!queue_.empty()) {
        reading = queue_.front();
        queue_.pop_front();
    }
    reading.timestamp = Clock::currentTime();
    const auto keepAlive = weak_from_this().lock();
    d->accelerometerDidAccelerate(*this, reading);
}

}  // namespace platform::ui
