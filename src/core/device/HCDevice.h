#pragma once
// The device record the service keeps for this handset, as the device
// registration answers it: the users who played on it and its parental
// controls. The session holds the last one as its current device.
//
// Thread: decoded on the transport's thread, then read on the main thread.
#include <memory>
#include <string>

#include "core/device/HCParentalControls.h"
#include "kernel/json/HCJsonCoder.h"
#include "platform/foundation/Values.h"

class HCDevice final : public platform::Object, public HCJsonCoding {
public:
    // The "users" value as decoded (a list as the service sends it).
    const platform::ObjectPtr& users() const { return users_; }
    void setUsers(const platform::ObjectPtr& users) { users_ = users; }
    const std::shared_ptr<HCParentalControls>& parentalControls() const { return parentalControls_; }
    void setParentalControls(std::shared_ptr<HCParentalControls> controls) { parentalControls_ = std::move(controls); }

    // A missing device or missing parental controls read as not enabled.
    static bool parentalControlsEnabled(const std::shared_ptr<HCDevice>& device);

    static std::string classNameForJsonCoding() { return "device"; }
    static void registerJsonValueTypesForDecoding(HCJsonValueMap& map);
    void encodeWithJsonCoder(HCJsonCoder& coder) const override;
    std::string jsonCodingName() const override { return classNameForJsonCoding(); }
    std::string description() const override;

private:
    platform::ObjectPtr users_;
    std::shared_ptr<HCParentalControls> parentalControls_;
};
