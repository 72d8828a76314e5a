#include "platform/ui/Device.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

namespace {

std::shared_ptr<Device>& instanceInDevice()
{
    static std::shared_ptr<Device> device;
    return device;
}

}  // namespace

std::shared_ptr<Device> Device::current()
{
    auto& device = instanceInDevice();
    if (!device) device = std::make_shared<Device>();
    return device;
}

void Device::resetCurrent()
{
    instanceInDevice() = std::make_shared<Device>();
}

void Device::setOrientation(DeviceOrientation orientation)
{
    HC_CHECK_MAIN_THREAD();
    if (orientation == orientation_) return;
    orientation_ = orientation;
    if (generating_ > 0) NotificationCenter::defaultCenter().post(DeviceOrientationDidChangeNotification, shared_from_this());
}

void Device::endGeneratingDeviceOrientationNotifications()
{
    if (generating_ > 0) --generating_;
}

}  // namespace platform::ui
