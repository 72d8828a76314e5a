#include "core/banners/HCServerNotificationView.h"

#include "core/images/HCImageLoader.h"
#include "core/notifications/HCServerNotification.h"
#include "platform/foundation/OptionalText.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

// The background's stretchable middle starts this far from its right end.
constexpr int kStretchRightCap = 18;


}  // namespace

void HCServerNotificationView::showServerNotification(const std::shared_ptr<HCServerNotification>& notification,
                                                      const platform::ui::ViewPtr& inView)
{
    if (!notification) return;
    auto banner = loadBanner<HCServerNotificationView>(notificationViewName());
    if (!banner) return;
    scheduleConfigure([banner, notification, inView] { banner->configureServerNotification(notification, inView); });
}

void HCServerNotificationView::configureServerNotification(const std::shared_ptr<HCServerNotification>& notification,
                                                           const platform::ui::ViewPtr& inView)
{
    HC_CHECK_MAIN_THREAD();
    _setPresentationView(inView);
    settingUpView_ = true;
    _loadImagesWithNotification(*notification);
    _updateText(*notification);
    _updateNumber(*notification);
    settingUpView_ = false;
    if (miDownloadsNeeded_ == miDownloadsDone_) _presentForDuration(kShownSeconds);
}

void HCServerNotificationView::_loadImagesWithNotification(const HCServerNotification& notification)
{
    for (const auto& view : {backgroundImage, statusIndicator, icon})
        if (view) view->setUnframed(true);
    _setImageViewImage(backgroundImage, "HCNotificationBackground.png", notification.backgroundDefaultImage(),
                       notification.backgroundImage());
    _setImageViewImage(statusIndicator, "HalcyonStatusIconNotificationFailure.png", notification.statusDefaultImage(),
                       notification.statusImage());
    _setImageViewImage(icon, "HCProfileIconDefaultSelf.png", notification.iconDefaultImage(), notification.iconImage());
}

void HCServerNotificationView::_setImageViewImage(const HCImageViewPtr& view, const std::string& backupImageName,
                                                  const std::optional<std::string>& defaultImageName,
                                                  const std::optional<std::string>& url)
{
    if (!view) return;
    if (!defaultImageName && !url) {
        view->setHidden(true);
        return;
    }
    view->setDefaultImage(HCImageLoader::loadImage(backupImageName));
    if (defaultImageName) {
        if (auto image = HCImageLoader::loadImage(*defaultImageName)) {
            // Every view stretches from the background's width, as the server's layouts expect.
            auto background = backgroundImage ? backgroundImage->image() : nullptr;
            const int leftCap = background ? static_cast<int>(background->size().width) - kStretchRightCap : 0;
            view->setDefaultImage(image->stretchableImage(leftCap, 0));
            view->setContentMode(platform::ui::ContentMode::ScaleToFill);
        }
    }
    if (platform::hasText(url)) {
        ++miDownloadsNeeded_;
        view->setImageDownloadFinishedDelegate(
            HCDelegate(platform::self(this), &HCServerNotificationView::_imageFinishedDownloading));
        view->setImageUrl(url);
    }
}

void HCServerNotificationView::_updateText(const HCServerNotification& notification)
{
    for (const auto& label : {notice, twoLineTopLabel, twoLineBottomLabel})
        if (label) label->setHidden(true);
    if (!notification.text()) return;
    if (!notification.detail()) {
        if (notice) {
            notice->setText(*notification.text());
            notice->setHidden(false);
        }
        return;
    }
    if (twoLineTopLabel) {
        twoLineTopLabel->setText(*notification.text());
        twoLineTopLabel->setHidden(false);
    }
    if (twoLineBottomLabel) {
        twoLineBottomLabel->setText(*notification.detail());
        twoLineBottomLabel->setHidden(false);
    }
}

void HCServerNotificationView::_updateNumber(const HCServerNotification& notification)
{
    if (platform::hasText(notification.score())) {
        if (numberLabel) numberLabel->setText(*notification.score());
        return;
    }
    if (numberLabel) numberLabel->setHidden(true);
    if (smallHalcyonIconForNumber) smallHalcyonIconForNumber->setHidden(true);
}

void HCServerNotificationView::_imageFinishedDownloading(std::shared_ptr<platform::Object>)
{
    ++miDownloadsDone_;
    if (miDownloadsDone_ < miDownloadsNeeded_ || settingUpView_) return;
    _presentForDuration(kShownSeconds);
    for (const auto& view : {backgroundImage, statusIndicator, icon})
        if (view) view->setImageDownloadFinishedDelegate(HCDelegate());
}
