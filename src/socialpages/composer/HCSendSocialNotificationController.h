#pragma once
// The social post composer ("SendSocialNotification"): a lead text the
// opener sets, the player's message, and a row per network (Twitter, then
// Facebook) to tick. "Send" is on exactly while a linked network is ticked;
// tapping an unlinked network opens its login form, which comes back here.
// The post goes to the ticked linked networks in row order.
//
// When the service answers that a network needs more leave (430 with
// "extended_credentials"), the page runs that network's extended-credential
// screen, Facebook's first, and sends again once every one succeeded; a
// failed screen turns "Send" back on, a cancelled one closes the page. Each
// such answer starts a new round from the first network. Any other failed
// send leaves "Send" off until the player taps a row; the page says nothing
// of its own while it is on its stack, where its field keeps the message. A
// post refused or dropped after the player went back from the page is told
// wherever he is (quoting the message's head, beside the service's text;
// a social post's error banner once the dashboard closed, HCWritingFailure):
// nothing else would say it was lost. The page hears its post's answer
// while it is on its way.
//
// A sent post closes the whole dashboard when this page was told so (the
// game's launch); otherwise it pops back to the page that pushed it.
//
// Thread: main thread.
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "accounts/HCExtendedCredentialController.h"
#include "gamepages/HCSocialPostComposer.h"
#include "platform/ui/BarButtonItem.h"
#include "social/socialposts/HCSocialNotification.h"
#include "uiframework/table/HCTableControllerHelper.h"

class HCSendSocialNotificationSubmitTextCell;
class HCSendSocialNotificationCell;

class HCSendSocialNotificationController final : public HCTableControllerHelper, public HCSocialPostComposer {
public:
    static constexpr int kFacebook = 0;
    static constexpr int kTwitter = 1;

    // The page as the game's launch opens it: the texts, the named image (the
    // game's icon when none is named), and closing the dashboard once sent.
    static platform::ui::ViewControllerPtr forGameLaunch(const std::optional<std::string>& text,
                                                         const std::optional<std::string>& originalMessage,
                                                         const std::optional<std::string>& imageName,
                                                         const std::optional<std::string>& linkedUrl);

    // --- set-up by the opener, after the view loaded ------------------------------
    void setPrepopulatedText(const std::optional<std::string>& text,
                             const std::optional<std::string>& originalMessage) override;
    void setImageType(const std::string& imageType, const std::string& imageId,
                      const std::optional<std::string>& linkedUrl) override;
    void setImageName(const std::string& imageName, const std::optional<std::string>& linkedUrl);
    void setImageUrl(const std::optional<std::string>& url, const platform::ui::ImagePtr& defaultImage) override;
    void setDismissDashboardWhenSent(bool dismiss) { dismissDashboardWhenSent_ = dismiss; }
    // -1 ticks every network, 0 or 1 only that one (opening its login form
    // when it is not linked).
    void setUseNetwork(int network);

    void send();
    const std::shared_ptr<platform::ui::BarButtonItem>& sendButton() const { return sendButton_; }
    const std::shared_ptr<HCSendSocialNotificationSubmitTextCell>& submitTextCell() const { return submitTextCell_; }

    // --- hooks ----------------------------------------------------------------------
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    bool autoLoadData() override { return false; }
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    void _onDataLoaded(const HCPaginatedSeriesPtr& series, bool isIncremental) override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    std::string kindName() const override { return "HCSendSocialNotificationController"; }
    bool canReceiveCallbacksNow() const override;

    void _sendSuccess(std::shared_ptr<platform::Object> reply);
    void _sendFailure(std::shared_ptr<platform::Object> failure);
    void _extendedCredentialsSuccess(std::shared_ptr<platform::Object>);
    void _extendedCredentialsFailure(std::shared_ptr<platform::Object>);
    void _extendedCredentialsCancel(std::shared_ptr<platform::Object>);

private:
    std::vector<std::shared_ptr<HCSendSocialNotificationCell>> networkRows() const;
    void activateSendButton();
    void openLoginFlow(int network);
    // YES when no network is left to ask for more leave.
    bool _getNextCredential();
    void dismiss();

    std::shared_ptr<platform::ui::BarButtonItem> sendButton_;
    std::shared_ptr<HCSendSocialNotificationSubmitTextCell> submitTextCell_;
    HCSocialNotificationPtr notification_;
    std::array<bool, 2> initChecked_{true, true};
    int onlyCheckNetwork_ = -1;
    std::array<bool, 2> needCredentialsForNetwork_{false, false};
    int currentGettingCredentialForNetwork_ = 0;
    platform::ui::ViewControllerPtr currentExtendedCredentialsController_;
    bool dismissDashboardWhenSent_ = false;
    bool postOnItsWay_ = false;
};
