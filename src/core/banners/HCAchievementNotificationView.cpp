#include "core/banners/HCAchievementNotificationView.h"

#include "core/images/HCImageLoader.h"
#include "platform/runtime/ThreadChecker.h"

void HCAchievementNotificationView::showAchievementNotice(const std::shared_ptr<HCUnlockedAchievementNotificationData>& notice, const platform::ui::ViewPtr& inView)
{
    showConfigured<HCAchievementNotificationView>(notice, inView);
}

void HCAchievementNotificationView::configureWithNotificationData(
    const std::shared_ptr<HCUnlockedAchievementNotificationData>& data, const platform::ui::ViewPtr& inView)
{
    HC_CHECK_MAIN_THREAD();
    _setPresentationView(inView);
    if (notice) notice->setText(data->notificationText);
    setupDefaultImages();
    if (notificationImage) {
        notificationImage->setDefaultImage(HCImageLoader::loadImage("HCUnlockedAchievementIcon.png"));
        notificationImage->setUnframed(true);
    }
    HCDelegate iconSettled(platform::self(this), &HCAchievementNotificationView::_iconFinishedDownloading);
    if (!data->unlockedAchievement) {
        if (statusIndicator) statusIndicator->setHidden(true);
        if (achievementValueText) achievementValueText->setHidden(true);
        iconSettled.invoke();
        return;
    }
    achievement_ = data->unlockedAchievement;
    if (notice) notice->setText("'" + achievement_->title + "'");
    const double percent = data->percentComplete;
    std::optional<std::string> statusImage;
    if (percent == 100.0) {
        if (achievementValueText) achievementValueText->setText(std::to_string(achievement_->gamerscore));
        statusImage = "HCHalcyonPointsWhite.png";
    } else if (percent >= 0) {
        if (achievementValueText) achievementValueText->setText(std::to_string(static_cast<int>(percent)) + "%");
        statusImage = "HalcyonPercentLockWhite.png";
    } else if (achievementValueText) {
        achievementValueText->setHidden(true);
    }
    if (statusIndicator) {
        statusIndicator->setDefaultImage(statusImage ? HCImageLoader::loadImage(*statusImage) : nullptr);
        statusIndicator->setUnframed(true);
    }
    if (auto shipped = HCImageLoader::loadImage("AchievementIcon_" + achievement_->resourceId + ".jpg")) {
        if (notificationImage) notificationImage->setDefaultImage(shipped);
        iconSettled.invoke();
    } else if (!achievement_->iconUrl || achievement_->iconUrl->empty() || !notificationImage) {
        iconSettled.invoke();
    } else {
        notificationImage->setImageDownloadFinishedDelegate(iconSettled);
        notificationImage->setImageUrl(achievement_->iconUrl);
    }
}

void HCAchievementNotificationView::_iconFinishedDownloading(std::shared_ptr<platform::Object>)
{
    _presentForDuration(kShownSeconds);
    if (notificationImage) notificationImage->setImageDownloadFinishedDelegate(HCDelegate());
}
