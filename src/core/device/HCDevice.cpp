#include "core/device/HCDevice.h"

#include "platform/foundation/Format.h"

namespace {

const HCJsonCodingRegistration<HCDevice> sDeviceCoding("HCDevice");

}  // namespace

bool HCDevice::parentalControlsEnabled(const std::shared_ptr<HCDevice>& device)
{
    return device && device->parentalControls_ && device->parentalControls_->enabled();
}

void HCDevice::registerJsonValueTypesForDecoding(HCJsonValueMap& map)
{
    map["parental_control"] =
        HCJsonObjectValue::valueWithKnownClass("HCParentalControls", &HCDevice::setParentalControls);
    map["users"] = HCJsonObjectValue::valueWithSelector(&HCDevice::setUsers);
}

void HCDevice::encodeWithJsonCoder(HCJsonCoder& coder) const
{
    coder.encodeObject(parentalControls_, "parental_control");
    coder.encodeObject(users_, "users");
}

std::string HCDevice::description() const
{
    return platform::format("<HCDevice: %p, Users: %@, Parental Controls: %@>", static_cast<const void*>(this),
                            users_, parentalControls_);
}
