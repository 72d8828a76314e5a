#include "socialpages/profile/HCPlayerBanner.h"

#include "platform/runtime/ThreadChecker.h"

using platform::ui::Rect;

HCPlayerBanner::HCPlayerBanner(double width)
    : platform::ui::View(Rect(0, 0, width, kHeight)),
      picture_(HCImageView::make(Rect(8, 4, 48, 48))),
      name_(platform::ui::Label::make(Rect(64, 16, width - 72, 24))),
      touchArea_(platform::ui::Button::buttonWithType(platform::ui::ButtonType::Custom))
{
    touchArea_->setFrame(Rect(0, 0, width, kHeight));
}

std::shared_ptr<HCPlayerBanner> HCPlayerBanner::make(double width)
{
    auto banner = std::make_shared<HCPlayerBanner>(width);
    banner->addSubview(banner->picture_);
    banner->addSubview(banner->name_);
    banner->addSubview(banner->touchArea_);
    std::weak_ptr<HCPlayerBanner> weak = banner;
    banner->touchArea_->addTarget(banner.get(), [weak](platform::ui::Control&) {
        auto self = weak.lock();
        if (self && self->touched_) self->touched_();
    }, platform::ui::ControlEventTouchUpInside);
    return banner;
}

void HCPlayerBanner::showUser(const std::shared_ptr<HCUser>& user)
{
    HC_CHECK_MAIN_THREAD();
    name_->setText(user ? user->name().value_or("") : std::string());
    picture_->useProfilePictureFromUser(user);
}
