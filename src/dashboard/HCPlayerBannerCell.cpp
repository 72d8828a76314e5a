#include "dashboard/HCPlayerBannerCell.h"

#include "core/users/HCUser.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Touch.h"

HCPlayerBannerCell::HCPlayerBannerCell()
    : pictureView_(HCImageView::make(platform::ui::Rect(4, 4, 36, 36))),
      nameLabel_(platform::ui::Label::make(platform::ui::Rect(48, 0, 260, kHeight)))
{
    setFrame(platform::ui::Rect(0, 0, 320, kHeight));
}

void HCPlayerBannerCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    if (!nameLabel_->superview()) {
        contentView()->addSubview(pictureView_);
        contentView()->addSubview(nameLabel_);
    }
    auto user = platform::as<HCUser>(resource);
    nameLabel_->setText(user && user->name() ? *user->name() : std::string());
    pictureView_->useProfilePictureFromUser(user);
}

void HCPlayerBannerCell::touchesEnded(const platform::ui::TouchSet& touches, const platform::ui::Event&)
{
    HC_CHECK_MAIN_THREAD();
    auto provider = bannerProvider();
    if (!provider) return;
    bool onPicture = false;
    for (const auto& touch : touches)
        onPicture = onPicture || (touch && pictureView_->bounds().contains(touch->locationInView(pictureView_)));
    if (onPicture && platform::callOptional([&] { provider->bannerProfilePictureTouched(); })) return;
    provider->onBannerClicked();
}
