#pragma once
// One line of the dashboard's ticker ("ticker"): the message and its date as
// the service wrote it.
//
// Thread: read on the provider's request thread, then used on the main thread.
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCTicker final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "ticker"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_ticker_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    const Text& message() const { return message_; }
    const Text& date() const { return date_; }
    void setMessage(const Text& text) { message_ = text; }
    void setDate(const Text& text) { date_ = text; }

private:
    Text message_;
    Text date_;
};
