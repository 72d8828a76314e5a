#pragma once
// Whether the device's owner switched parental controls on: the service
// sends it inside the device record ({"parental_control": {"enabled": true}}).
//
// Thread: decoded on the transport's thread, then read on the main thread.
#include <string>

#include "kernel/json/HCJsonCoder.h"
#include "platform/foundation/Values.h"
#include "platform/runtime/Object.h"

class HCParentalControls final : public platform::Object, public HCJsonCoding {
public:
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    static std::string classNameForJsonCoding() { return "parental_control"; }
    static void registerJsonValueTypesForDecoding(HCJsonValueMap& map);
    void encodeWithJsonCoder(HCJsonCoder& coder) const override;
    std::string jsonCodingName() const override { return classNameForJsonCoding(); }
    std::string description() const override;

private:
    bool enabled_ = false;
};
