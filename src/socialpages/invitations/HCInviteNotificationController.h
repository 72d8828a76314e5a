#pragma once
// The panel that tells the player of an invitation while the game runs
// ("InviteNotification"): the sender's picture, a header and the text, shown
// as an opaque overlay over the game. Its close control closes what it is
// shown as: the overlay, or, pushed inside the dashboard, only itself.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "core/images/HCImageView.h"
#include "core/users/HCUser.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"

class HCInviteNotificationController : public platform::ui::ViewController {
public:
    static std::shared_ptr<HCInviteNotificationController> showInviteNotification(const std::string& notificationText,
                                                                                  const HCUserPtr& user,
                                                                                  const std::string& headerText);
    // The close control's action.
    void dismiss();

    void loadView() override;
    const std::shared_ptr<platform::ui::Label>& headerText() const { return headerText_; }
    const std::shared_ptr<platform::ui::Label>& notificationText() const { return notificationText_; }
    const std::shared_ptr<HCImageView>& userIcon() const { return userIcon_; }
    std::string kindName() const override { return "HCInviteNotificationController"; }

private:
    std::shared_ptr<platform::ui::Label> headerText_ = platform::ui::Label::make(platform::ui::Rect(70, 10, 230, 20));
    std::shared_ptr<platform::ui::Label> notificationText_ =
        platform::ui::Label::make(platform::ui::Rect(70, 32, 230, 40));
    std::shared_ptr<HCImageView> userIcon_ = HCImageView::make(platform::ui::Rect(10, 10, 50, 50));
    std::shared_ptr<platform::ui::ImageView> bgImage_ = platform::ui::ImageView::make(platform::ui::Rect(0, 0, 320, 120));
};
