#pragma once
// One of the player's settings on the service ("user_setting", also sent as
// "setting"): its label, key and value ("1"/"0" for an on/off setting).
//
// Thread: read on the provider's request thread, then used on the main thread.
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCUserSetting final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "user_setting"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_user_setting_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    const Text& name() const { return name_; }
    const Text& value() const { return value_; }
    const Text& valueType() const { return valueType_; }
    const Text& key() const { return key_; }
    void setName(const Text& text) { name_ = text; }
    // The local copy; the service keeps its own until told.
    void setValue(const Text& text) { value_ = text; }
    void setValueType(const Text& text) { valueType_ = text; }
    void setKey(const Text& text) { key_ = text; }

private:
    Text name_, value_, valueType_, key_;
};
