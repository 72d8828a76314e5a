#include "core/banners/HCChallengeNotificationView.h"

#include "core/images/HCImageLoader.h"
#include "core/users/HCUser.h"
#include "platform/runtime/ThreadChecker.h"

void HCChallengeNotificationView::showChallengeNotice(const std::shared_ptr<HCReceivedChallengeNotificationData>& notice, const platform::ui::ViewPtr& inView)
{
    showConfigured<HCChallengeNotificationView>(notice, inView);
}

void HCChallengeNotificationView::configureWithNotificationData(
    const std::shared_ptr<HCReceivedChallengeNotificationData>& data, const platform::ui::ViewPtr& inView)
{
    HC_CHECK_MAIN_THREAD();
    _setPresentationView(inView);
    if (notice) notice->setText(data->notificationText);
    setupDefaultImages();
    if (challengeIcon) challengeIcon->setDefaultImage(HCImageLoader::loadImage("HCDefaultChallengeIcon.png"));
    HCDelegate iconSettled(platform::self(this), &HCChallengeNotificationView::_iconFinishedDownloading);
    if (!data->receivedChallengeToUser) {
        if (statusIndicator) statusIndicator->setHidden(true);
        if (challengerProfileImage) challengerProfileImage->setHidden(true);
        if (challengerText) challengerText->setHidden(true);
        iconSettled.invoke();
        return;
    }
    challenge_ = data->receivedChallengeToUser;
    if (challengerProfileImage) {
        challengerProfileImage->setUseSharpCorners(true);
        challengerProfileImage->useProfilePictureFromUser(challenge_->challenger);
    }
    if (challengerText) {
        const auto name = challenge_->challenger ? challenge_->challenger->name().value_or("") : std::string();
        challengerText->setText(name + " has challenged you!");
    }
    // An empty address is no address: nothing would ever be downloaded.
    const auto& iconUrl = challenge_->definitionIconUrl;
    if (challengeIcon && iconUrl && !iconUrl->empty()) {
        challengeIcon->setImageDownloadFinishedDelegate(iconSettled);
        challengeIcon->setImageUrl(iconUrl);
    } else {
        iconSettled.invoke();
    }
}

void HCChallengeNotificationView::_iconFinishedDownloading(std::shared_ptr<platform::Object>)
{
    _presentForDuration(kShownSeconds);
    if (challengeIcon) challengeIcon->setImageDownloadFinishedDelegate(HCDelegate());
}
