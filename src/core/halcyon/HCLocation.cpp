#include "core/halcyon/HCLocation.h"

#include <string>

#include "core/halcyon/Halcyon.h"
#include "core/users/HCUserService.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

// Never reset in a process: a player offline for a long time is not asked
// for the position again and again.
int sRetries = 0;

platform::RunLoop& mainLoop()
{
    return *platform::Thread::mainThread()->runLoop();
}

}  // namespace

std::shared_ptr<HCLocation> HCLocation::make()
{
    HC_CHECK_MAIN_THREAD();
    auto location = std::make_shared<HCLocation>();
    location->start();
    return location;
}

HCLocation::~HCLocation()
{
    mainLoop().cancelDelayed(this);
    if (manager_) {
        manager_->stopUpdatingLocation();
        manager_->setDelegate(nullptr);
    }
}

bool HCLocation::mayUseLocation()
{
    return Halcyon::allowLocationServices() && Halcyon::userDistanceUnit() != HCDistanceUnitSharingOff;
}

void HCLocation::start()
{
    if (!Halcyon::allowLocationServices()) return;
    manager_ = platform::ui::LocationManager::make();
    manager_->setDelegate(std::static_pointer_cast<HCLocation>(shared_from_this()));
    manager_->setDesiredAccuracy(platform::ui::kLocationAccuracyBest);
    manager_->startUpdatingLocation();
    std::weak_ptr<platform::Object> weak = weak_from_this();
    mainLoop().postAfter(
        kFixTimeout,
        [weak] {
            if (auto me = std::static_pointer_cast<HCLocation>(weak.lock())) me->stopUpdatingLocation();
        },
        this);
}

void HCLocation::stopUpdatingLocation()
{
    HC_CHECK_MAIN_THREAD();
    if (!manager_) return;
    manager_->stopUpdatingLocation();
    manager_->setDelegate(nullptr);
    manager_ = nullptr;
}

void HCLocation::didUpdateToLocation(platform::ui::LocationManager&, const platform::ui::LocationPtr& newLocation,
                                     const platform::ui::LocationPtr&)
{
    HC_CHECK_MAIN_THREAD();
    stopUpdatingLocation();
    if (!newLocation || !Halcyon::allowLocationServices()) return;
    userLocation_ = newLocation;
    if (Halcyon::userDistanceUnit() == HCDistanceUnitSharingWithoutFix) {
        userAllowed_ = true;
        Halcyon::setUserDistanceUnit(HCDistanceUnitSharingOn);
    }
    updateLater(0);
}

void HCLocation::didFailWithError(platform::ui::LocationManager&, const platform::ui::LocationError& error)
{
    HC_CHECK_MAIN_THREAD();
    if (error.code == static_cast<int>(platform::ui::LocationErrorCode::Denied)) {
        Halcyon::setUserDistanceUnit(HCDistanceUnitSharingOff);
    }
    stopUpdatingLocation();
}

void HCLocation::updateUserLocation()
{
    HC_CHECK_MAIN_THREAD();
    // Sharing turned off (or location closed) since the fix: the position stays on the device.
    if (!userLocation_ || !mayUseLocation()) return;
    if (Halcyon::isOnline()) {
        auto self = std::static_pointer_cast<HCLocation>(shared_from_this());
        HCUserService::setUserLocation(std::nullopt, userLocation_, userAllowed_, HCDelegate(),
                                       HCDelegate(self, &HCLocation::_onSetLocationFailed));
        return;
    }
    retryLater();
}

void HCLocation::_onSetLocationFailed(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    // Not the player's answer: sharing stays as the player left it.
    platform::log(platform::LogLevel::Info, "The position did not reach the service; it is tried again later.");
    retryLater();
}

void HCLocation::retryLater()
{
    if (sRetries < kMaxRetries) {
        ++sRetries;
        updateLater(kRetryInterval);
    }
}

void HCLocation::updateLater(double delay)
{
    std::weak_ptr<platform::Object> weak = weak_from_this();
    mainLoop().postAfter(
        delay,
        [weak] {
            if (auto me = std::static_pointer_cast<HCLocation>(weak.lock())) me->updateUserLocation();
        },
        this);
}

void HCLocation::_resetRetriesForTesting()
{
    sRetries = 0;
}
