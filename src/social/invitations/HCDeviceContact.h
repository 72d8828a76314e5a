#pragma once
// A person from the device's address book whom the player invites by SMS or
// e-mail. Built on the device by the invitation pages, never read from a
// reply: its element name is empty and its data map holds nothing.
//
// Thread: made and used on the main thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "platform/foundation/Values.h"

class HCDeviceContact final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::string getResourceName() const override { return std::string(); }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;

    int32_t recordId = 0;
    Text name;
    Text number;
    Text email;
    std::shared_ptr<platform::Data> imageData;
};

using HCDeviceContactPtr = std::shared_ptr<HCDeviceContact>;
