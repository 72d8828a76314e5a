#include "core/device/HCParentalControls.h"

#include "platform/foundation/Format.h"

namespace {

const HCJsonCodingRegistration<HCParentalControls> sParentalControlsCoding("HCParentalControls");

}  // namespace

void HCParentalControls::registerJsonValueTypesForDecoding(HCJsonValueMap& map)
{
    map["enabled"] = HCJsonBoolValue::valueWithSelector(&HCParentalControls::setEnabled);
}

void HCParentalControls::encodeWithJsonCoder(HCJsonCoder& coder) const
{
    coder.encodeObject(platform::Number::makeBool(enabled_), "enabled");
}

std::string HCParentalControls::description() const
{
    return platform::format("<HCParentalControls: %p, enabled: %@>", static_cast<const void*>(this),
                            enabled_ ? "YES" : "NO");
}
