#pragma once
// The challenge banner: "New Challenge!", "<name> has challenged you!", the
// challenger's picture and the challenge's icon, shown 4.0 s once the icon
// is settled (a challenge without an icon URL, or with an empty one, slides
// in at once).
//
// Thread: main thread only.
#include "core/banners/HCNotificationData.h"
#include "core/banners/HCNotificationView.h"

class HCChallengeNotificationView final : public HCNotificationView {
public:
    static constexpr double kShownSeconds = 4.0;

    using HCNotificationView::HCNotificationView;

    static std::string notificationViewName() { return "ChallengeNotificationView"; }
    static void showChallengeNotice(const std::shared_ptr<HCReceivedChallengeNotificationData>& notice,
                                    const platform::ui::ViewPtr& inView);

    std::string kindName() const override { return "HCChallengeNotificationView"; }
    void configureWithNotificationData(const std::shared_ptr<HCReceivedChallengeNotificationData>& notice,
                                       const platform::ui::ViewPtr& inView);

    // Outlets.
    HCImageViewPtr challengeIcon;
    HCImageViewPtr challengerProfileImage;
    std::shared_ptr<platform::ui::Label> challengerText;
    const std::optional<HCChallengeNoticeInfo>& challengeToUser() const { return challenge_; }

private:
    void _iconFinishedDownloading(std::shared_ptr<platform::Object> image);

    std::optional<HCChallengeNoticeInfo> challenge_;
};
