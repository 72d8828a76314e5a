#pragma once
// The invite flow's table headers and the start page's receiver-kind row:
// the offer header of the start page (icon and incentive text), the compose
// header (title and the editable message, which falls back to the
// definition's suggested message when left empty or unchanged), and the row
// of one receiver kind with its count.
//
// Thread: main thread.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/images/HCImageView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewController.h"
#include "uiframework/table/HCTableCellHelper.h"
#include "uiframework/table/HCTableControllerHeader.h"

// The framed invite icon shared by the start page's header and the confirmation.
struct HCInviteIconViews {
    HCInviteIconViews();
    std::shared_ptr<HCImageView> inviteIcon;
    std::shared_ptr<platform::ui::ImageView> inviteIconFrame;
};

class HCSelectInviteTypeHeaderController : public platform::ui::ViewController, public HCTableControllerHeader {
public:
    void loadView() override;
    void resizeView(const platform::ui::ViewPtr& pageView) override;
    const std::shared_ptr<platform::ui::Label>& enticeLabel() const { return enticeLabel_; }
    const std::shared_ptr<HCImageView>& inviteIcon() const { return icon_.inviteIcon; }
    std::string kindName() const override { return "HCSelectInviteTypeHeaderController"; }

private:
    HCInviteIconViews icon_;
    std::shared_ptr<platform::ui::Label> enticeLabel_ = platform::ui::Label::make(platform::ui::Rect(90, 10, 220, 60));
};

class HCInviteFriendsHeaderController : public platform::ui::ViewController,
                                        public HCTableControllerHeader,
                                        public platform::ui::TextViewDelegate {
public:
    void loadView() override;
    void resizeView(const platform::ui::ViewPtr& pageView) override;
    const std::shared_ptr<platform::ui::Label>& titleLabel() const { return titleLabel_; }
    const std::shared_ptr<platform::ui::TextView>& inviteText() const { return inviteText_; }
    // The definition's message the text falls back to.
    void setSuggestedMessage(std::string message);
    bool inviteTextHasDefaultText() const { return hasDefaultText_; }
    void textViewDidBeginEditing(platform::ui::TextView& view) override;
    void textViewDidEndEditing(platform::ui::TextView& view) override;
    // A touch on the header around the message takes the keyboard away.
    void touchesEnded(const platform::ui::TouchSet& touches, const platform::ui::Event& event) override;
    std::string kindName() const override { return "HCInviteFriendsHeaderController"; }

private:
    std::shared_ptr<platform::ui::Label> titleLabel_ = platform::ui::Label::make(platform::ui::Rect(10, 5, 300, 20));
    std::shared_ptr<platform::ui::TextView> inviteText_ =
        platform::ui::TextView::make(platform::ui::Rect(10, 30, 300, 80));
    std::string suggested_;
    bool hasDefaultText_ = true;
};

class HCSelectInviteTypeCell : public HCTableCellHelper {
public:
    HCSelectInviteTypeCell();
    bool hasConstantHeight() const override { return true; }
    const std::shared_ptr<platform::ui::ImageView>& iconView() const { return iconView_; }
    const std::shared_ptr<platform::ui::Label>& titleLabel() const { return titleLabel_; }
    const std::shared_ptr<platform::ui::Label>& amountSelectedLabel() const { return amountSelectedLabel_; }
    // Title, icon (none for nil) and what a tap on the row does; the count starts at 0.
    void setUp(const std::string& title, const std::optional<std::string>& iconName, std::function<void()> onTap);
    // "N Friends Selected", for both kinds.
    void setSelectedCount(size_t count);
    std::function<void()> createControllerSelector;
    std::string kindName() const override { return "HCSelectInviteTypeCell"; }

private:
    std::shared_ptr<platform::ui::ImageView> iconView_;
    std::shared_ptr<platform::ui::Label> titleLabel_, amountSelectedLabel_;
};
