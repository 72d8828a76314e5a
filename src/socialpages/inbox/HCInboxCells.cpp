#include "socialpages/inbox/HCInboxCells.h"

#include <algorithm>

#include "core/images/HCImageLoader.h"
#include "platform/runtime/ThreadChecker.h"
#include "socialpages/HCCellSubviews.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextMetrics.h"
#include "social/conversations/HCSubscription.h"
#include "uiframework/table/HCTableControllerHelper.h"

namespace {

using platform::ui::Rect;

constexpr double kInboxCellsCellWidth = 320.0;

}  // namespace

HCInboxCell::HCInboxCell()
    : typeLabel_(platform::ui::Label::make(Rect(75, 4, 180, 14))),
      titleLabel_(platform::ui::Label::make(Rect(75, 18, 180, 20))),
      bodyPreviewLabel_(platform::ui::Label::make(Rect(75, 38, 200, 32))),
      iconView_(platform::ui::ImageView::make(Rect(8, 4, 65, 46))),
      profilePictureView_(HCImageView::make(Rect(14, 8, 38, 38))),
      expandButton_(platform::ui::Button::buttonWithType(platform::ui::ButtonType::Custom)),
      unreadBadge_(HCBadgeView::redBadge())
{
    setFrame(Rect(0, 0, kInboxCellsCellWidth, kMinimumHeight));
    expandButton_->setFrame(Rect(280, 12, 32, 32));
    unreadBadge_->setFrame(Rect(255, 4, 24, HCBadgeView::kHeight));
    titleLabel_->setNumberOfLines(1);
    bodyPreviewLabel_->setNumberOfLines(2);
    // The most each label may take: its height per line times its lines.
    cachedTitleMaxHeight_ = titleLabel_->frame().height() * std::max(1, titleLabel_->numberOfLines());
    cachedBodyMaxHeight_ = bodyPreviewLabel_->frame().height() * std::max(1, bodyPreviewLabel_->numberOfLines());
}

double HCInboxCell::fittedHeight(const platform::ui::Label& label, double maxHeight)
{
    const auto size = platform::ui::sizeWithFont(label.text(), *label.font(),
                                                 platform::ui::Size(label.frame().width(), maxHeight),
                                                 platform::ui::LineBreakMode::WordWrap);
    return std::min(size.height, maxHeight);
}

void HCInboxCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    if (!expandButton_->superview()) {
        adoptCellSubviews(*this, {iconView_, profilePictureView_, typeLabel_, titleLabel_, bodyPreviewLabel_,
                                  unreadBadge_, expandButton_});
        std::weak_ptr<HCInboxCell> weakSelf = std::static_pointer_cast<HCInboxCell>(platform::self(this));
        expandButton_->addTarget(
            this,
            [weakSelf](auto&) {
                if (auto cell = weakSelf.lock()) cell->toggleExpansion();
            },
            platform::ui::ControlEventTouchUpInside);
    }
    auto subscription = platform::as<HCSubscription>(resource);
    if (!subscription) return;
    auto icon = iconView_->frame();
    if (subscription->isConversation()) {
        iconView_->setImage(HCImageLoader::loadImage("HCPlayerFrameIM.png"));
        icon.size.width = 65.0;
        typeLabel_->setText("IM Conversation");
        const auto& other = subscription->otherUser();
        titleLabel_->setText(other ? other->name().value_or("") : std::string());
        profilePictureView_->setHidden(false);
        profilePictureView_->setUnframed(true);
        profilePictureView_->useProfilePictureFromUser(other);
        expandButton_->setHidden(false);
    } else {
        const auto& thread = subscription->discussion();
        const bool locked = thread ? thread->isLocked() : subscription->locked();
        iconView_->setImage(
            HCImageLoader::loadImage(locked ? "HCForumThreadLockedIcon.png" : "HCForumThreadNormalIcon.png"));
        icon.size.width = 48.0;
        typeLabel_->setText("Forum Posting");
        titleLabel_->setText(subscription->title().value_or(""));
        profilePictureView_->setHidden(true);
        expandButton_->setHidden(true);
    }
    iconView_->setFrame(icon);
    auto title = titleLabel_->frame();
    title.size.height = fittedHeight(*titleLabel_, cachedTitleMaxHeight_);
    titleLabel_->setFrame(title);
    bodyPreviewLabel_->setText(subscription->summary().value_or(""));
    auto body = bodyPreviewLabel_->frame();
    body.origin.y = title.origin.y + title.size.height;
    body.size.height = fittedHeight(*bodyPreviewLabel_, cachedBodyMaxHeight_);
    bodyPreviewLabel_->setFrame(body);
    unreadBadge_->setValue(subscription->unreadCount());
    auto frame = this->frame();
    frame.size.height = std::max(kMinimumHeight, body.origin.y + body.size.height + 5.0);
    setFrame(frame);
    fixupExpandIcon();
}

void HCInboxCell::layoutSubviews()
{
    HCTableCellHelper::layoutSubviews();
    fixupExpandIcon();
}

bool HCInboxCell::isExpanded() const
{
    auto page = std::dynamic_pointer_cast<HCTableControllerHelper>(owner());
    if (!page || !resource()) return false;
    auto indexPath = page->getFirstIndexPathForResource(resource());
    return indexPath && page->isExpandedAtIndexPath(*indexPath);
}

void HCInboxCell::fixupExpandIcon()
{
    expandButton_->setImage(HCImageLoader::loadImage(isExpanded() ? "HCButtonArrowUp.png" : "HCButtonArrowDown.png"),
                            platform::ui::ControlStateNormal);
}

void HCInboxCell::toggleExpansion()
{
    HC_CHECK_MAIN_THREAD();
    auto page = std::dynamic_pointer_cast<HCTableControllerHelper>(owner());
    if (!page || !resource()) return;
    const auto table = page->tableView();
    for (const auto& cell : table->visibleCells()) {
        auto other = std::dynamic_pointer_cast<HCInboxCell>(cell);
        if (!other || other.get() == this || !other->isExpanded()) continue;
        if (auto path = page->getFirstIndexPathForResource(other->resource())) page->toggleExpansionAtIndexPath(*path);
        other->fixupExpandIcon();
    }
    // Collapsing a row above moves this one up.
    if (auto path = page->getFirstIndexPathForResource(resource())) page->toggleExpansionAtIndexPath(*path);
    fixupExpandIcon();
}

HCInboxIMActionCell::HCInboxIMActionCell()
    : inlayView_(platform::ui::ImageView::make(Rect(0, 0, kInboxCellsCellWidth, 44))),
      deleteButton_(platform::ui::Button::buttonWithType(platform::ui::ButtonType::RoundedRect))
{
    setFrame(Rect(0, 0, kInboxCellsCellWidth, 44));
    auto inlay = std::static_pointer_cast<platform::ui::ImageView>(inlayView_);
    if (auto image = HCImageLoader::loadImage("HCIMActionInlay.png")) inlay->setImage(image->stretchableImage(15, 35));
    inlayView_->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth | platform::ui::AutoresizingFlexibleHeight);
    deleteButton_->setFrame(Rect(230, 7, 80, 30));
    deleteButton_->setTitle("Delete", platform::ui::ControlStateNormal);
    deleteButton_->setTag(kDeleteTag);
}

void HCInboxIMActionCell::onResourceChanged(const platform::ObjectPtr&)
{
    HC_CHECK_MAIN_THREAD();
    if (inlayView_->superview()) return;
    // The inlay stays at the back, framed to the cell.
    inlayView_->setFrame(contentView()->bounds());
    contentView()->insertSubview(inlayView_, 0);
    contentView()->addSubview(deleteButton_);
    std::weak_ptr<HCInboxIMActionCell> weakSelf = std::static_pointer_cast<HCInboxIMActionCell>(platform::self(this));
    deleteButton_->addTarget(
        this,
        [weakSelf](platform::ui::Control& sender) {
            if (auto cell = weakSelf.lock()) cell->buttonPressed(sender);
        },
        platform::ui::ControlEventTouchUpInside);
}
