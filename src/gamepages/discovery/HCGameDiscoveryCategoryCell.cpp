#include "gamepages/discovery/HCGameDiscoveryCategoryCell.h"

#include "platform/runtime/ThreadChecker.h"
#include "social/discovery/HCGameDiscoveryCategory.h"

using platform::ui::Rect;

HCGameDiscoveryCategoryCell::HCGameDiscoveryCategoryCell()
    : iconView_(HCImageView::make(Rect(7, 7, 104, 66))),
      nameLabel_(platform::ui::Label::make(Rect(137, 6, 143, 24))),
      subtextLabel_(platform::ui::Label::make(Rect(137, 30, 143, 20))),
      secondaryTextLabel_(platform::ui::Label::make(Rect(137, 52, 143, 20)))
{
    setFrame(Rect(0, 0, 320, kHeight));
    setAccessoryType(platform::ui::TableViewCellAccessoryType::DisclosureIndicator);
}

void HCGameDiscoveryCategoryCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    if (!nameLabel_->superview()) {
        for (const auto& view : {platform::ui::ViewPtr(iconView_), platform::ui::ViewPtr(nameLabel_),
                                 platform::ui::ViewPtr(subtextLabel_), platform::ui::ViewPtr(secondaryTextLabel_)})
            contentView()->addSubview(view);
    }
    auto category = platform::as<HCGameDiscoveryCategory>(resource);
    iconView_->setUnframed(true);
    iconView_->setShouldScaleImageToFillRect(false);
    iconView_->setImageUrl(category ? category->iconUrl() : std::nullopt);
    nameLabel_->setText(category ? category->name().value_or("") : "");
    subtextLabel_->setText(category ? category->subtext().value_or("") : "");
    secondaryTextLabel_->setText(category ? category->secondaryText().value_or("") : "");
}
