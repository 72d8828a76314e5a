#pragma once
// The rows of the inbox lists: a subscription (a followed discussion or a
// conversation, with its unread count and, for a conversation, the button
// that shows its actions below it), and that action row.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "core/images/HCImageView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"
#include "uiframework/table/HCTableCellHelperActionCell.h"
#include "uiframework/widgets/HCBadgeView.h"

class HCInboxCell : public HCTableCellHelper {
public:
    static constexpr double kMinimumHeight = 54.0;

    HCInboxCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    void layoutSubviews() override;
    // Shows or hides the action row below this one; at most one row of the
    // table stays expanded, so another is collapsed first.
    void toggleExpansion();
    void fixupExpandIcon();

    const std::shared_ptr<platform::ui::Button>& expandButton() const { return expandButton_; }
    const std::shared_ptr<HCBadgeView>& unreadBadge() const { return unreadBadge_; }
    const std::shared_ptr<platform::ui::ImageView>& iconView() const { return iconView_; }
    std::string kindName() const override { return "HCInboxCell"; }

private:
    bool isExpanded() const;
    // A label's height for its text, within its width and `maxHeight`.
    static double fittedHeight(const platform::ui::Label& label, double maxHeight);

    std::shared_ptr<platform::ui::Label> typeLabel_, titleLabel_, bodyPreviewLabel_;
    std::shared_ptr<platform::ui::ImageView> iconView_;
    std::shared_ptr<HCImageView> profilePictureView_;
    std::shared_ptr<platform::ui::Button> expandButton_;
    std::shared_ptr<HCBadgeView> unreadBadge_;
    double cachedTitleMaxHeight_ = 0;
    double cachedBodyMaxHeight_ = 0;
};

// The actions of a conversation, below its row: Delete (tag 1).
class HCInboxIMActionCell : public HCTableCellHelperActionCell {
public:
    static constexpr int kDeleteTag = 1;

    HCInboxIMActionCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    const std::shared_ptr<platform::ui::View>& inlayView() const { return inlayView_; }
    const std::shared_ptr<platform::ui::Button>& deleteButton() const { return deleteButton_; }
    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCInboxIMActionCell"; }

private:
    std::shared_ptr<platform::ui::View> inlayView_;
    std::shared_ptr<platform::ui::Button> deleteButton_;
};
