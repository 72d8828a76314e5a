#pragma once
// The achievement banner: "'<title>'" with the achievement's icon, and its
// points at 100 % or its progress below (a lock icon), shown 4.0 s. The icon
// is the game's "AchievementIcon_<id>.jpg" when it ships one, else the
// achievement's icon URL; the banner slides in once the icon is settled
// (downloaded, cached or failed).
//
// Thread: main thread only.
#include "core/banners/HCNotificationData.h"
#include "core/banners/HCNotificationView.h"

class HCAchievementNotificationView final : public HCNotificationView {
public:
    static constexpr double kShownSeconds = 4.0;

    using HCNotificationView::HCNotificationView;

    static std::string notificationViewName() { return "AchievementNotificationView"; }
    static void showAchievementNotice(const std::shared_ptr<HCUnlockedAchievementNotificationData>& notice,
                                      const platform::ui::ViewPtr& inView);

    std::string kindName() const override { return "HCAchievementNotificationView"; }
    void configureWithNotificationData(const std::shared_ptr<HCUnlockedAchievementNotificationData>& notice,
                                       const platform::ui::ViewPtr& inView);

    // Outlet.
    std::shared_ptr<platform::ui::Label> achievementValueText;
    const std::optional<HCAchievementNoticeInfo>& achievement() const { return achievement_; }

private:
    void _iconFinishedDownloading(std::shared_ptr<platform::Object> image);

    std::optional<HCAchievementNoticeInfo> achievement_;
};
