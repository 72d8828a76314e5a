#pragma once
// The banner the server composes: one line of text, or two (text and
// detail), an optional number beside a small points icon, and background,
// status and icon images that are either shipped resource images or
// downloaded. It slides in, for 4.0 s, once every download it started has
// settled (downloaded or failed).
//
// Thread: main thread only.
#include "core/banners/HCNotificationView.h"
#include "platform/ui/ImageView.h"

class HCServerNotification;

class HCServerNotificationView final : public HCNotificationView {
public:
    static constexpr double kShownSeconds = 4.0;

    using HCNotificationView::HCNotificationView;

    static std::string notificationViewName() { return "ServerNotificationView"; }
    // Nil does nothing. The banner service has already taken the default
    // notice this banner replaces.
    static void showServerNotification(const std::shared_ptr<HCServerNotification>& notification,
                                       const platform::ui::ViewPtr& inView);

    std::string kindName() const override { return "HCServerNotificationView"; }
    void configureServerNotification(const std::shared_ptr<HCServerNotification>& notification,
                                     const platform::ui::ViewPtr& inView);

    // Outlets.
    HCImageViewPtr icon;
    std::shared_ptr<platform::ui::Label> twoLineTopLabel;
    std::shared_ptr<platform::ui::Label> twoLineBottomLabel;
    std::shared_ptr<platform::ui::Label> numberLabel;
    std::shared_ptr<platform::ui::ImageView> smallHalcyonIconForNumber;

    int downloadsNeeded() const { return miDownloadsNeeded_; }
    int downloadsDone() const { return miDownloadsDone_; }

private:
    void _loadImagesWithNotification(const HCServerNotification& notification);
    void _setImageViewImage(const HCImageViewPtr& view, const std::string& backupImageName,
                            const std::optional<std::string>& defaultImageName,
                            const std::optional<std::string>& url);
    void _updateText(const HCServerNotification& notification);
    void _updateNumber(const HCServerNotification& notification);
    void _imageFinishedDownloading(std::shared_ptr<platform::Object> image);

    bool settingUpView_ = false;
    int miDownloadsNeeded_ = 0;
    int miDownloadsDone_ = 0;
};
