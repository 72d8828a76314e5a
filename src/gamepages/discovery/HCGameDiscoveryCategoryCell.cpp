#include "gamepages/discovery/HCGameDiscoveryCategoryCell.h"

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "gamepages/discovery/HCGameDiscoveryLook.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/discovery/HCGameDiscoveryCategory.h"
#include "uiframework/table/HCTableCellBackgroundView.h"

using platform::ui::Rect;

namespace {

constexpr double kIconInset = 7;
constexpr double kPortraitFrameWidth = 118;
constexpr double kLandscapeFrameWidth = 164;
// Between the icon's frame and the text.
constexpr double kTextGap = 19;
constexpr double kPortraitTextWidth = 143;
// The disclosure sign's left edge, from the cell's right edge.
constexpr double kDisclosureInset = 22;
constexpr double kDisclosureWidth = 10;
constexpr double kDisclosureHeight = 14;

}  // namespace

HCGameDiscoveryCategoryCell::HCGameDiscoveryCategoryCell()
    : iconView_(HCImageView::make(Rect(kIconInset, kIconInset, kPortraitFrameWidth - 2 * kIconInset, kHeight - 2 * kIconInset))),
      iconFrame_(HCGameDiscoveryLook::iconFrame(Rect(0, 0, kPortraitFrameWidth, kHeight))),
      disclosureView_(platform::ui::ImageView::make(Rect(0, (kHeight - kDisclosureHeight) / 2, kDisclosureWidth,
                                                         kDisclosureHeight))),
      textContentView_(platform::ui::View::make(Rect(kPortraitFrameWidth + kTextGap, 0, kPortraitTextWidth, kHeight))),
      topDividerView_(HCGameDiscoveryLook::strip(HCGameDiscoveryLook::kDividerTop,
                                                 Rect(0, 0, 320, HCGameDiscoveryLook::kDividerHeight))),
      bottomDividerView_(HCGameDiscoveryLook::strip(
          HCGameDiscoveryLook::kDividerBottom,
          Rect(0, kHeight - HCGameDiscoveryLook::kDividerHeight, 320, HCGameDiscoveryLook::kDividerHeight))),
      nameLabel_(platform::ui::Label::make(Rect(0, 6, kPortraitTextWidth, 24))),
      subtextLabel_(platform::ui::Label::make(Rect(0, 30, kPortraitTextWidth, 20))),
      secondaryTextLabel_(platform::ui::Label::make(Rect(0, 52, kPortraitTextWidth, 20)))
{
    setFrame(Rect(0, 0, 320, kHeight));
    for (const auto& label : {nameLabel_, subtextLabel_, secondaryTextLabel_})
        label->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth);
    bottomDividerView_->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth |
                                            platform::ui::AutoresizingFlexibleTopMargin);
}

void HCGameDiscoveryCategoryCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    if (!nameLabel_->superview()) {
        for (const platform::ui::ViewPtr& view : {platform::ui::ViewPtr(topDividerView_), platform::ui::ViewPtr(bottomDividerView_),
                                                  platform::ui::ViewPtr(iconFrame_), platform::ui::ViewPtr(iconView_),
                                                  textContentView_, platform::ui::ViewPtr(disclosureView_)})
            contentView()->addSubview(view);
        for (const auto& label : {nameLabel_, subtextLabel_, secondaryTextLabel_}) textContentView_->addSubview(label);
    }
    auto category = platform::as<HCGameDiscoveryCategory>(resource);
    iconView_->setUnframed(true);
    iconView_->setShouldScaleImageToFillRect(false);
    iconView_->setImageUrl(category ? category->iconUrl() : std::nullopt);
    nameLabel_->setText(category ? category->name().value_or("") : "");
    subtextLabel_->setText(category ? category->subtext().value_or("") : "");
    secondaryTextLabel_->setText(category ? category->secondaryText().value_or("") : "");
}

void HCGameDiscoveryCategoryCell::layoutSubviews()
{
    HCTableCellHelper::layoutSubviews();
    const auto box = bounds();
    const bool landscape = Halcyon::isInLandscapeMode();
    const double frameWidth = landscape ? kLandscapeFrameWidth : kPortraitFrameWidth;
    auto frame = iconFrame_->frame();
    frame.size.width = frameWidth;
    iconFrame_->setFrame(frame);
    auto icon = iconView_->frame();
    icon.size.width = frameWidth - 2 * kIconInset;
    iconView_->setFrame(icon);
    const double disclosureX = box.maxX() - kDisclosureInset;
    // In landscape the text takes the room the wider icon leaves it.
    const double textX = frameWidth + kTextGap;
    const double textWidth = landscape ? std::max(0.0, disclosureX - kIconInset - textX) : kPortraitTextWidth;
    textContentView_->setFrame(Rect(textX, 0, textWidth, box.height()));
    auto disclosure = disclosureView_->frame();
    disclosure.origin.x = disclosureX;
    disclosureView_->setFrame(disclosure);
    disclosureView_->setImage(HCImageLoader::loadImage(Halcyon::isLargeScreen() ? kLargeScreenDisclosureImageName
                                                                                : kDisclosureImageName));
    showBands();
}

void HCGameDiscoveryCategoryCell::showBands()
{
    // Once: a cell whose backgrounds are already the table's own keeps them.
    if (!std::dynamic_pointer_cast<HCTableCellBackgroundView>(backgroundView()) ||
        !std::dynamic_pointer_cast<HCTableCellBackgroundView>(selectedBackgroundView())) {
        setBackgroundView(HCTableCellBackgroundView::defaultBackgroundView());
        setSelectedBackgroundView(HCTableCellBackgroundView::defaultBackgroundView());
    }
    std::static_pointer_cast<HCTableCellBackgroundView>(backgroundView())
        ->setImage(HCImageLoader::loadImage(HCGameDiscoveryLook::kGreyBackground));
    std::static_pointer_cast<HCTableCellBackgroundView>(selectedBackgroundView())
        ->setImage(HCImageLoader::loadImage(HCGameDiscoveryLook::kGreyBackgroundSelected));
}
