#include "platform/ui/LocationManager.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

namespace {

struct Device {
    std::optional<Coordinate> position;
    std::optional<int> errorCode;
    int starts = 0;
    std::vector<std::weak_ptr<LocationManager>> updating;
};

Device& device()
{
    static Device instance;
    return instance;
}

bool deviceHasAnswer()
{
    return device().position || device().errorCode;
}

void forEachUpdating(const std::function<void(LocationManager&)>& fn)
{
    auto& list = device().updating;
    std::erase_if(list, [](const auto& weak) { return weak.expired(); });
    for (const auto& weak : std::vector(list)) {
        if (auto manager = weak.lock()) fn(*manager);
    }
}

const char* describeError(int code)
{
    switch (static_cast<LocationErrorCode>(code)) {
    case LocationErrorCode::LocationUnknown: return "The location is unknown.";
    case LocationErrorCode::Denied: return "Access to the location service was denied.";
    case LocationErrorCode::Network: return "The location service could not reach the network.";
    }
    return "The location service failed.";
}

}  // namespace

LocationManager::~LocationManager()
{
    auto& list = device().updating;
    std::erase_if(list, [this](const auto& weak) { return weak.expired() || weak.lock().get() == this; });
}

void LocationManager::startUpdatingLocation()
{
    HC_CHECK_MAIN_THREAD();
    if (updating_) return;
    updating_ = true;
    ++generation_;
    ++device().starts;
    device().updating.push_back(std::static_pointer_cast<LocationManager>(shared_from_this()));
    if (deviceHasAnswer()) scheduleDelivery();
}

void LocationManager::stopUpdatingLocation()
{
    HC_CHECK_MAIN_THREAD();
    if (!updating_) return;
    updating_ = false;
    ++generation_;
    std::erase_if(device().updating, [this](const auto& weak) { return weak.expired() || weak.lock().get() == this; });
}

void LocationManager::scheduleDelivery()
{
    std::weak_ptr<Object> weak = weak_from_this();
    const unsigned generation = generation_;
    Thread::mainThread()->runLoop()->post([weak, generation] {
        if (auto me = std::static_pointer_cast<LocationManager>(weak.lock())) me->deliver(generation);
    });
}

void LocationManager::deliver(unsigned generation)
{
    if (!updating_ || generation != generation_) return;
    auto d = delegate();
    if (!d) return;
    const auto keepAlive = shared_from_this();
    if (device().errorCode) {
        d->didFailWithError(*this, {*device().errorCode, describeError(*device().errorCode)});
        return;
    }
    if (!device().position) return;
    auto previous = location_;
    location_ = std::make_shared<Location>(*device().position);
    d->didUpdateToLocation(*this, location_, previous);
}

void LocationManager::setDevicePosition(Coordinate coordinate)
{
    HC_CHECK_MAIN_THREAD();
    device().position = coordinate;
    device().errorCode.reset();
    forEachUpdating([](LocationManager& manager) { manager.scheduleDelivery(); });
}

void LocationManager::setDeviceError(int code)
{
    HC_CHECK_MAIN_THREAD();
    device().errorCode = code;
    forEachUpdating([](LocationManager& manager) { manager.scheduleDelivery(); });
}

void LocationManager::resetDevice()
{
    device().position.reset();
    device().errorCode.reset();
    device().starts = 0;
}

int LocationManager::startsSinceReset()
{
    return device().starts;
}

}  // namespace platform::ui
