#include "gamepages/discovery/HCGameDiscoveryNewsItemCell.h"

#include "gamepages/discovery/HCGameDiscoveryLook.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/discovery/HCGameDiscoveryNewsItem.h"

using platform::ui::Rect;

HCGameDiscoveryNewsItemCell::HCGameDiscoveryNewsItemCell()
    : iconFrame_(HCGameDiscoveryLook::iconFrame(Rect(2, 2, 56, 56))),
      iconView_(HCImageView::make(Rect(6, 6, 48, 48))),
      titleLabel_(platform::ui::Label::make(Rect(62, 6, 230, 24))),
      subtitleLabel_(platform::ui::Label::make(Rect(62, 32, 230, 20)))
{
    setFrame(Rect(0, 0, 320, kHeight));
}

void HCGameDiscoveryNewsItemCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    if (!titleLabel_->superview()) {
        contentView()->addSubview(iconFrame_);
        contentView()->addSubview(iconView_);
        contentView()->addSubview(titleLabel_);
        contentView()->addSubview(subtitleLabel_);
    }
    auto item = platform::as<HCGameDiscoveryNewsItem>(resource);
    iconView_->setImageUrl(item ? item->iconUrl() : std::nullopt);
    titleLabel_->setText(item ? item->title().value_or("") : "");
    subtitleLabel_->setText(item ? item->subtitle().value_or("") : "");
}
