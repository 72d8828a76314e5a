#include "uiframework/widgets/HCBadgeButton.h"

#include "platform/runtime/ThreadChecker.h"

HCBadgeButton::HCBadgeButton(const platform::ui::Rect& frame) : platform::ui::Button(platform::ui::ButtonType::Custom, frame)
{
}

std::shared_ptr<HCBadgeButton> HCBadgeButton::make(const platform::ui::Rect& frame)
{
    HC_CHECK_MAIN_THREAD();
    auto button = std::make_shared<HCBadgeButton>(frame);
    button->addSubview(button->badge_);
    button->layoutSubviews();
    return button;
}

void HCBadgeButton::setBadgeNumber(unsigned number)
{
    HC_CHECK_MAIN_THREAD();
    badgeNumber_ = number;
    badge_->setValueText(std::to_string(number));
    setNeedsLayout();
}

void HCBadgeButton::layoutSubviews()
{
    platform::ui::Button::layoutSubviews();
    // The bubble's centre sits on the top right corner, inset a little.
    const auto b = bounds();
    badge_->setCenter(platform::ui::Point(b.width() - HCBadgeView::kHeight / 2, HCBadgeView::kHeight / 2));
}
