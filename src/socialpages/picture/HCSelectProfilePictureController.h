#pragma once
// Where the local player's profile picture comes from ("SelectProfilePicture"):
// one row per login the service offers a picture for, plus the default icon.
// A tap on a linked network's row takes its picture; on an unlinked one it
// opens that network's login form (and, back here, lists the logins again
// and refreshes); on the own-picture row it asks for a photo from the camera
// or the library, uploaded upright as 50 x 50; on the default row it drops
// the own picture.
//
// Refresh asks the service to fetch the networks' pictures again, then lists
// the logins until each awaited picture has changed: at most kMaxDownloads
// lists, kRedownloadDelay seconds apart, with the loading screen up and
// Refresh disabled meanwhile; pictures still unchanged after the last list
// end in an alert. The awaited rows are held by the page, so a reload of the
// table meanwhile cannot take them away.
//
// Thread: main thread.
#include <functional>
#include <memory>
#include <utility>

#include "core/replies/HCPaginatedSeries.h"
#include "kernel/callbacks/HCDelegate.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/ImagePickerController.h"
#include "platform/ui/PopoverController.h"
#include "transport/handles/HCRequestHandle.h"
#include "uiframework/HCProfileFrame.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCUsersCredential;

class HCSelectProfilePictureController final : public HCTableSequenceControllerHelper,
                                               public HCProfileFrame,
                                               public platform::ui::ActionSheetDelegate,
                                               public platform::ui::ImagePickerControllerDelegate,
                                               public platform::ui::PopoverControllerDelegate {
public:
    static constexpr const char* kTitle = "Change Profile Picture";
    static constexpr const char* kAlertTitle = "Oops! There was a problem";
    static constexpr const char* kRefreshFailedMessage =
        "Something went wrong and we weren't able to refresh your profile pictures. Please try again later.";
    static constexpr const char* kSaveFailedMessage =
        "Something went wrong and we weren't able to save your change. Please try again later.";
    static constexpr int kMaxDownloads = 3;
    static constexpr double kRedownloadDelay = 3.0;
    // Which awaited pictures a refresh keeps.
    enum RefreshMask : unsigned { kFacebook = 1, kTwitter = 2, kOwnPicture = 4, kAll = 7 };

    ~HCSelectProfilePictureController() override;

    // --- table hooks ------------------------------------------------------------
    std::shared_ptr<HCService> getService() override;
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    void onBeforeResourcesProcessed(const HCPaginatedSeriesPtr& series) override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    std::optional<std::string> getTableHeaderViewName() override { return std::string("SelectProfilePictureHeader"); }
    void onTableHeaderCreated(const platform::ObjectPtr& header) override;
    std::string getNoDataFoundMessage() override { return {}; }
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    bool supportsComparison() override { return false; }
    void profileUsersChanged(const std::shared_ptr<HCUser>&, const std::shared_ptr<HCUser>&) override {}
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // --- page operations ----------------------------------------------------------
    void _clickedRefresh();
    void _refreshProfilePictures(unsigned mask);
    void _redownloadCredentials();
    void _refreshSuccess(std::shared_ptr<HCPaginatedSeries> series);
    void _refreshFailure(std::shared_ptr<platform::Object> failure);
    void _selectSourceSuccessWithIgnored(std::shared_ptr<platform::Object> reply,
                                         std::shared_ptr<HCUsersCredential> credential);
    void _selectSourceFailure(std::shared_ptr<platform::Object> failure);
    void _uploadSuccessWithIgnored(std::shared_ptr<platform::Object> reply);
    void _presentCustomImageActionSheet();
    void _showImagePicker(const std::shared_ptr<platform::ui::ImagePickerController>& picker, bool usingPopover);
    // Uploads the picture drawn upright at 50 x 50.
    void _imageSelected(const platform::ui::ImagePtr& image);

    // --- delegates ------------------------------------------------------------------
    void actionSheetClickedButtonAtIndex(platform::ui::ActionSheet& sheet, int buttonIndex) override;
    void imagePickerControllerDidFinishPickingMediaWithInfo(platform::ui::ImagePickerController& picker,
                                                            const std::shared_ptr<platform::Dictionary>& info) override;
    // The older form, which systems before 3.0 call.
    void imagePickerControllerDidFinishPickingImage(platform::ui::ImagePickerController& picker,
                                                    const platform::ui::ImagePtr& image,
                                                    const std::shared_ptr<platform::Dictionary>& editingInfo) override;
    void imagePickerControllerDidCancel(platform::ui::ImagePickerController& picker) override;
    void popoverControllerDidDismissPopover(platform::ui::PopoverController& popover) override;

    const std::shared_ptr<platform::ui::BarButtonItem>& refreshButton() const { return refreshButton_; }
    const std::shared_ptr<platform::ui::PopoverController>& imagePickerPopoverController() const
    {
        return imagePickerPopoverController_;
    }
    int refreshCount() const { return refreshCount_; }
    std::string kindName() const override { return "HCSelectProfilePictureController"; }

private:
    // The delegates of one request, answered once: a request the provider
    // drops unanswered ends in `onFailure` like a refused one.
    std::pair<HCDelegate, HCDelegate> requestDelegates(
        std::function<void(HCSelectProfilePictureController&, const platform::ObjectPtr&)> onSuccess,
        void (HCSelectProfilePictureController::*onFailure)(std::shared_ptr<platform::Object>));
    std::pair<HCDelegate, HCDelegate> uploadDelegates();
    void orientationDidChange(const platform::Notification& notification);
    void openPicker(platform::ui::ImagePickerController::SourceType source);
    // Takes the picker away: its popover on a large screen, else the picker itself.
    void hidePicker(platform::ui::ImagePickerController& picker);
    // A call not sent (the service stopped, or it refused at once) may never
    // answer: nothing waits for it. A refusal's failure still follows.
    void unlessSent(const HCRequestHandlePtr& handle);
    void showFailure(const char* message);
    // The list shown as the latest, the default row added.
    void showList(const HCPaginatedSeriesPtr& series);
    std::shared_ptr<HCSelectProfilePictureController> me();

    int refreshCount_ = 0;
    std::shared_ptr<platform::ui::BarButtonItem> refreshButton_;
    std::shared_ptr<HCUsersCredential> facebookCredentialWaitingForUpdate_;
    std::shared_ptr<HCUsersCredential> twitterCredentialWaitingForUpdate_;
    std::shared_ptr<HCUsersCredential> httpBasicCredentialWaitingForUpdate_;
    bool redownloadOnNextAppear_ = false;
    bool refreshOnNextRedownload_ = false;
    std::shared_ptr<platform::ui::PopoverController> imagePickerPopoverController_;
    std::shared_ptr<platform::ui::ActionSheet> sourceSheet_;
};
