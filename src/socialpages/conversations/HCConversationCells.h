#pragma once
// The rows of a conversation: a message as a speech bubble (green on the
// right for the local player, grey on the left for the other, the bubble as
// tall as its text), and the line that reports the other player going on-
// or offline. A tap on a message's picture opens its author's profile.
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "core/users/HCUser.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "social/forums/HCOnlineStatus.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCConversationCell : public HCTableCellHelper {
public:
    static constexpr double kMinimumHeight = 64.0;

    HCConversationCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool wantsToConfigureSelf() const override { return true; }
    const HCUserPtr& author() const { return author_; }
    // The button over the author's picture: the author's profile.
    const std::shared_ptr<platform::ui::Button>& authorButton() const { return authorButton_; }
    void clickedAuthorProfileView();
    // The bubble in use: the green one for the local player's messages.
    const std::shared_ptr<platform::ui::ImageView>& bubbleView() const { return bubbleView_; }
    const std::shared_ptr<platform::ui::ImageView>& greenBubbleView() const { return greenBubbleView_; }
    std::string kindName() const override { return "HCConversationCell"; }

private:
    std::shared_ptr<HCImageView> authorPictureView_;
    std::shared_ptr<platform::ui::Label> authorLabel_, bodyLabel_, dateLabel_;
    std::shared_ptr<platform::ui::ImageView> greenBubbleView_, greyBubbleView_, arrowView_, bubbleView_;
    std::shared_ptr<platform::ui::Button> authorButton_;
    HCUserPtr author_;
};

class HCOnlineStatusCell : public HCTableCellHelper {
public:
    HCOnlineStatusCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    bool wantsToConfigureSelf() const override { return true; }
    const std::shared_ptr<HCOnlineStatus>& status() const { return status_; }
    std::string kindName() const override { return "HCOnlineStatusCell"; }

private:
    std::shared_ptr<HCOnlineStatus> status_;
    std::shared_ptr<platform::ui::Label> textLabel_;
};
