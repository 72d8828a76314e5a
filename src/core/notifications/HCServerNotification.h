#pragma once
// A banner composed by the server, sent as a "server_notification" element
// inside any reply. The reply reader hands it to the banner layer instead of
// returning it with the reply's resources. Every field is the element's text,
// nil when the element is absent or empty.
//
// Thread: built on the thread that reads the reply, then read by the banner
// layer; one thread at a time.
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCServerNotification final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "server_notification"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_server_notification_received"; }
    const HCResourceDataMap& getDataMap() const override;

    // Stored; the client does not act on it.
    const Text& showDefaultNotification() const { return showDefaultNotification_; }
    // The banner's text (its first line when a detail is present).
    const Text& text() const { return text_; }
    // The second line.
    const Text& detail() const { return detail_; }
    // Resource image names ("...DefaultImage") and URLs of images to download.
    const Text& backgroundDefaultImage() const { return backgroundDefaultImage_; }
    const Text& backgroundImage() const { return backgroundImage_; }
    const Text& iconDefaultImage() const { return iconDefaultImage_; }
    const Text& iconImage() const { return iconImage_; }
    const Text& statusDefaultImage() const { return statusDefaultImage_; }
    const Text& statusImage() const { return statusImage_; }
    // A number shown beside a small points icon.
    const Text& score() const { return score_; }
    // Stored; the client does not act on them.
    const Text& inputTab() const { return inputTab_; }
    const Text& inputControllerName() const { return inputControllerName_; }

    void setShowDefaultNotification(const Text& value) { showDefaultNotification_ = value; }
    void setText(const Text& value) { text_ = value; }
    void setDetail(const Text& value) { detail_ = value; }
    void setBackgroundDefaultImage(const Text& value) { backgroundDefaultImage_ = value; }
    void setBackgroundImage(const Text& value) { backgroundImage_ = value; }
    void setIconDefaultImage(const Text& value) { iconDefaultImage_ = value; }
    void setIconImage(const Text& value) { iconImage_ = value; }
    void setStatusDefaultImage(const Text& value) { statusDefaultImage_ = value; }
    void setStatusImage(const Text& value) { statusImage_ = value; }
    void setScore(const Text& value) { score_ = value; }
    void setInputTab(const Text& value) { inputTab_ = value; }
    void setInputControllerName(const Text& value) { inputControllerName_ = value; }

private:
    Text showDefaultNotification_;
    Text text_;
    Text detail_;
    Text backgroundDefaultImage_;
    Text backgroundImage_;
    Text iconDefaultImage_;
    Text iconImage_;
    Text statusDefaultImage_;
    Text statusImage_;
    Text score_;
    Text inputTab_;
    Text inputControllerName_;
};
