#pragma once
// The composer's rows. The text row ("SendSocialNotificationSubmitText"):
// the game's icon, the lead text and the player's message, which may hold
// 120 characters less the lead's. A network row ("SendSocialNotification"):
// its "Post to …" face with a check box while the network is linked, its
// "Connect to …" face while it is not. "NotConnectedToSocialNetwork" stands
// in for the text row while no network is linked.
//
// Thread: main thread.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "core/images/HCImageView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCPaginatedSeries;
class HCSendSocialNotificationController;

class HCSendSocialNotificationSubmitTextCell final : public HCTableCellHelper,
                                                     public platform::ui::TextFieldDelegate {
public:
    static constexpr size_t kMaxTotalCharacters = 120;
    static constexpr size_t kMaxLeadCharacters = 100;

    HCSendSocialNotificationSubmitTextCell();

    void setSendSocialNotificationController(const std::shared_ptr<HCSendSocialNotificationController>& page);
    // The lead is cut to 100 characters; the message then to what is left of
    // 120, also when only the lead changed.
    void setPrepopulatedText(const std::optional<std::string>& lead, const std::optional<std::string>& message);
    // Asks the service where the named image lives; the game's icon when it
    // does not say.
    void setSocialNotificationImageName(const std::optional<std::string>& name);
    void setDefaultImageName(const std::string& name);
    void setIconUrl(const std::optional<std::string>& url);
    void setDefaultImage(const platform::ui::ImagePtr& image) { gameIcon_->setDefaultImage(image); }

    size_t maxMessageCharacters() const { return maxMessageCharacters_; }
    const std::shared_ptr<platform::ui::Label>& prePopulatedText() const { return prePopulatedText_; }
    const std::shared_ptr<platform::ui::TextField>& message() const { return message_; }
    const std::shared_ptr<HCImageView>& gameIcon() const { return gameIcon_; }

    std::optional<bool> textFieldShouldChangeCharactersInRange(platform::ui::TextField& field,
                                                               platform::ui::TextRange range,
                                                               const std::string& replacement) override;
    std::optional<bool> textFieldShouldReturn(platform::ui::TextField& field) override;
    bool wantsToConfigureSelf() const override { return true; }
    std::string kindName() const override { return "HCSendSocialNotificationSubmitTextCell"; }

    void _imageUrlFound(std::shared_ptr<HCPaginatedSeries> reply);

private:
    void showGameIcon();

    std::shared_ptr<HCImageView> gameIcon_;
    std::shared_ptr<platform::ui::Label> prePopulatedText_;
    std::shared_ptr<platform::ui::TextField> message_;
    size_t maxMessageCharacters_ = 20;
    std::weak_ptr<HCSendSocialNotificationController> page_;
};

class HCSendSocialNotificationCell final : public HCTableCellHelper {
public:
    HCSendSocialNotificationCell();

    // Fills the row for network 0 (Facebook) or 1 (Twitter).
    void setNetworkType(int type);
    int networkType() const { return networkType_; }
    bool checked() const { return checked_; }
    void setChecked(bool checked);
    bool connectedToNetwork() const { return connectedToNetwork_; }
    void setConnectedToNetwork(bool connected);
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    std::string kindName() const override { return "HCSendSocialNotificationCell"; }

private:
    void refresh();

    int networkType_ = 0;
    bool checked_ = false;
    bool connectedToNetwork_ = false;
    platform::ui::ViewPtr connetedView_;
    platform::ui::ViewPtr notConnetedView_;
    std::shared_ptr<platform::ui::Label> connectToNeworkLabel_;
    std::shared_ptr<platform::ui::ImageView> connectToNetworkImage_;
    std::shared_ptr<platform::ui::Label> postToNetworkLabel_;
    std::shared_ptr<platform::ui::ImageView> connectedNetworkIcon_;
    std::shared_ptr<platform::ui::ImageView> sendToNetworkCheckBoxView_;
};

class HCNotConnectedToSocialNetworkCell final : public HCTableCellHelper {
public:
    HCNotConnectedToSocialNetworkCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    std::string kindName() const override { return "HCNotConnectedToSocialNetworkCell"; }

private:
    std::shared_ptr<platform::ui::Label> label_;
};
