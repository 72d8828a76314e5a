#include "socialpages/picture/HCSelectProfilePictureController.h"

#include "accounts/HCAccountSetupBaseController.h"
#include "accounts/HCUsersCredentialCell.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/users/HCUser.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/OptionalText.h"
#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "social/users/HCUsersCredential.h"
#include "social/users/HCUsersCredentialService.h"
#include "socialpages/picture/HCCustomImagePickerController.h"
#include "socialpages/picture/HCProfilePictureCell.h"
#include "socialpages/picture/HCProfilePictureDrawing.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/table/HCResourceControllerMap.h"

namespace {

constexpr int kTakePhoto = 0;


// Whether the awaited row's picture differs in the new list's row.
bool changed(const std::shared_ptr<HCUsersCredential>& awaited, const HCUsersCredential& row)
{
    return awaited->profilePictureUpdatedAt() != row.profilePictureUpdatedAt();
}

}  // namespace

std::shared_ptr<HCSelectProfilePictureController> HCSelectProfilePictureController::me()
{
    return std::static_pointer_cast<HCSelectProfilePictureController>(platform::self(this));
}

HCSelectProfilePictureController::~HCSelectProfilePictureController()
{
    platform::NotificationCenter::defaultCenter().removeObserver(this);
    platform::Thread::mainThread()->runLoop()->cancelDelayed(this);
    if (imagePickerPopoverController_) imagePickerPopoverController_->setDelegate({});
}

std::shared_ptr<HCService> HCSelectProfilePictureController::getService()
{
    return HCUsersCredentialService::sharedInstance();
}

void HCSelectProfilePictureController::doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HCUsersCredentialService::getProfilePictureCredentialsForLocalUser(onSuccess, onFailure);
}

void HCSelectProfilePictureController::onBeforeResourcesProcessed(const HCPaginatedSeriesPtr& series)
{
    if (!series) return;
    auto objects = series->objects();
    objects.push_back(std::make_shared<HCUsersCredential>());
    series->setObjects(std::move(objects));
}

void HCSelectProfilePictureController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCUsersCredential>("ProfilePicture");
}

void HCSelectProfilePictureController::onTableHeaderCreated(const platform::ObjectPtr& header)
{
    auto view = platform::as<platform::ui::View>(header);
    auto content = pageContentView();
    if (!view || !content) return;
    auto frame = view->frame();
    frame.size.width = content->frame().size.width;
    view->setFrame(frame);
}

void HCSelectProfilePictureController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    setTitle(kTitle);
    HCTableSequenceControllerHelper::viewDidLoad();
    std::weak_ptr<HCSelectProfilePictureController> weakSelf = me();
    platform::NotificationCenter::defaultCenter().addObserver(
        this, HCNSNotificationDashboardOrientationChanged, [weakSelf](const platform::Notification& notification) {
            if (auto page = weakSelf.lock()) page->orientationDidChange(notification);
        });
    refreshButton_ = platform::ui::BarButtonItem::withSystemItem(platform::ui::SystemItem::Refresh, [weakSelf](auto&) {
        if (auto page = weakSelf.lock()) page->_clickedRefresh();
    });
    navigationItem()->setRightBarButtonItem(refreshButton_);
}

void HCSelectProfilePictureController::viewDidAppear(bool animated)
{
    HCTableSequenceControllerHelper::viewDidAppear(animated);
    if (!redownloadOnNextAppear_) return;
    redownloadOnNextAppear_ = false;
    refreshOnNextRedownload_ = true;
    _redownloadCredentials();
}

void HCSelectProfilePictureController::onCellWasClicked(const platform::ObjectPtr& resource,
                                                        const IndexPath& indexPathInTable)
{
    HC_CHECK_MAIN_THREAD();
    auto row = platform::as<HCUsersCredential>(resource);
    if (!row) return;
    if (!row->isLinked() && (row->isFacebook() || row->isTwitter())) {
        auto name = HCUsersCredentialCell::getCredentialControllerName(row->credentialType());
        auto form = name ? HCControllerLoader::load(*name) : nullptr;
        auto navigation = navigationController();
        if (!form || !navigation) return;
        if (auto setup = std::dynamic_pointer_cast<HCAccountSetupBaseController>(form))
            setup->setAddingAdditionalCredential(true);
        redownloadOnNextAppear_ = true;
        navigation->pushViewController(form, true);
        return;
    }
    if (platform::hasText(row->credentialType())) {
        if (row->isHttpBasic()) {
            _presentCustomImageActionSheet();
        } else {
            showLoadingScreen();
            auto [selected, failed] = requestDelegates(
                [row](auto& page, const auto& reply) { page._selectSourceSuccessWithIgnored(reply, row); },
                &HCSelectProfilePictureController::_selectSourceFailure);
            const auto& type = row->credentialType();
            unlessSent(HCUsersCredentialService::selectProfilePictureSourceForLocalUser(type, selected, failed));
        }
    } else {
        showLoadingScreen();
        auto [uploaded, failed] = uploadDelegates();
        unlessSent(HCUsersCredentialService::uploadProfilePictureLocalUser(nullptr, uploaded, failed));
    }
    tableView()->deselectRowAtIndexPath(indexPathInTable, true);
}

void HCSelectProfilePictureController::_selectSourceSuccessWithIgnored(std::shared_ptr<platform::Object>,
                                                                       std::shared_ptr<HCUsersCredential> credential)
{
    HC_CHECK_MAIN_THREAD();
    if (auto player = Halcyon::localUser(); player && credential) {
        player->changeProfilePictureUrl(credential->credentialProfilePictureUrl(), credential->isFacebook(),
                                        credential->isTwitter(), credential->isHttpBasic());
        Halcyon::setLocalUser(player);
    }
    // The check mark moves: every row looks at the player again.
    for (const auto& cell : tableView()->visibleCells())
        if (auto row = std::dynamic_pointer_cast<HCTableCellHelper>(cell)) row->setResource(row->resource());
    tableView()->reloadData();
    hideLoadingScreen();
}

void HCSelectProfilePictureController::_selectSourceFailure(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    showFailure(kSaveFailedMessage);
}

void HCSelectProfilePictureController::_uploadSuccessWithIgnored(std::shared_ptr<platform::Object>)
{
    _refreshProfilePictures(kOwnPicture);
}

void HCSelectProfilePictureController::unlessSent(const HCRequestHandlePtr& handle)
{
    if (handle) return;
    hideLoadingScreen();
    refreshButton_->setEnabled(true);
}

std::pair<HCDelegate, HCDelegate> HCSelectProfilePictureController::requestDelegates(
    std::function<void(HCSelectProfilePictureController&, const platform::ObjectPtr&)> onSuccess,
    void (HCSelectProfilePictureController::*onFailure)(std::shared_ptr<platform::Object>))
{
    return pageRequestDelegates<HCSelectProfilePictureController>(
        me(), std::move(onSuccess), [onFailure](auto& page, const auto& failure) { (page.*onFailure)(failure); });
}

std::pair<HCDelegate, HCDelegate> HCSelectProfilePictureController::uploadDelegates()
{
    return requestDelegates([](auto& page, const auto& reply) { page._uploadSuccessWithIgnored(reply); },
                            &HCSelectProfilePictureController::_selectSourceFailure);
}

void HCSelectProfilePictureController::showFailure(const char* message)
{
    hideLoadingScreen();
    // A request that fails after the player left the page tells nobody.
    if (pageIsShown(*this)) showRequestFailureAlert(kAlertTitle, message, "Ok");
}

void HCSelectProfilePictureController::_clickedRefresh()
{
    _refreshProfilePictures(kAll);
}

void HCSelectProfilePictureController::_refreshProfilePictures(unsigned mask)
{
    HC_CHECK_MAIN_THREAD();
    refreshCount_ = 0;
    refreshButton_->setEnabled(false);
    facebookCredentialWaitingForUpdate_ = nullptr;
    twitterCredentialWaitingForUpdate_ = nullptr;
    httpBasicCredentialWaitingForUpdate_ = nullptr;
    if (!sections().empty() && sections().front()->page()) {
        for (const auto& object : sections().front()->page()->objects()) {
            auto row = platform::as<HCUsersCredential>(object);
            if (!row) continue;
            if (row->isFacebook() && row->isLinked()) facebookCredentialWaitingForUpdate_ = row;
            if (row->isTwitter() && row->isLinked()) twitterCredentialWaitingForUpdate_ = row;
            if (row->isHttpBasic()) httpBasicCredentialWaitingForUpdate_ = row;
        }
    }
    if (!(mask & kFacebook)) facebookCredentialWaitingForUpdate_ = nullptr;
    if (!(mask & kTwitter)) twitterCredentialWaitingForUpdate_ = nullptr;
    if (!(mask & kOwnPicture)) httpBasicCredentialWaitingForUpdate_ = nullptr;
    showLoadingScreen();
    auto [requested, failed] = requestDelegates([](auto& page, const auto&) { page._redownloadCredentials(); },
                                                &HCSelectProfilePictureController::_refreshFailure);
    unlessSent(HCUsersCredentialService::requestProfilePictureUpdateForLocalUser(requested, failed));
}

void HCSelectProfilePictureController::_redownloadCredentials()
{
    HC_CHECK_MAIN_THREAD();
    ++refreshCount_;
    auto [loaded, failed] = requestDelegates(
        [](auto& page, const auto& reply) { page._refreshSuccess(platform::as<HCPaginatedSeries>(reply)); },
        &HCSelectProfilePictureController::_refreshFailure);
    unlessSent(HCUsersCredentialService::getProfilePictureCredentialsForLocalUser(loaded, failed));
}

void HCSelectProfilePictureController::showList(const HCPaginatedSeriesPtr& series)
{
    onBeforeResourcesProcessed(series);
    _onDataLoaded(series, false);
}

void HCSelectProfilePictureController::_refreshSuccess(std::shared_ptr<HCPaginatedSeries> series)
{
    HC_CHECK_MAIN_THREAD();
    if (!series) return _refreshFailure(nullptr);
    if (refreshOnNextRedownload_) {
        showList(series);
        refreshOnNextRedownload_ = false;
        _clickedRefresh();
        return;
    }
    bool facebookChanged = false, twitterChanged = false, ownChanged = false;
    for (const auto& object : series->objects()) {
        auto row = platform::as<HCUsersCredential>(object);
        if (!row) continue;
        if (row->isFacebook() && facebookCredentialWaitingForUpdate_)
            facebookChanged = changed(facebookCredentialWaitingForUpdate_, *row);
        if (row->isTwitter() && twitterCredentialWaitingForUpdate_)
            twitterChanged = changed(twitterCredentialWaitingForUpdate_, *row);
        if (row->isHttpBasic() && httpBasicCredentialWaitingForUpdate_) {
            ownChanged = changed(httpBasicCredentialWaitingForUpdate_, *row);
            auto player = Halcyon::localUser();
            if (player && !facebookCredentialWaitingForUpdate_ && !twitterCredentialWaitingForUpdate_) {
                player->changeProfilePictureUrl(row->credentialProfilePictureUrl(), false, false, true);
                Halcyon::setLocalUser(player);
            }
        }
    }
    if (facebookChanged) facebookCredentialWaitingForUpdate_ = nullptr;
    if (twitterChanged) twitterCredentialWaitingForUpdate_ = nullptr;
    if (ownChanged) httpBasicCredentialWaitingForUpdate_ = nullptr;

    if (!facebookCredentialWaitingForUpdate_ && !twitterCredentialWaitingForUpdate_ &&
        !httpBasicCredentialWaitingForUpdate_) {
        hideLoadingScreen();
        refreshButton_->setEnabled(true);
        showList(series);
        return;
    }
    if (refreshCount_ < kMaxDownloads) {
        std::weak_ptr<HCSelectProfilePictureController> weakSelf = me();
        platform::Thread::mainThread()->runLoop()->postAfter(
            kRedownloadDelay,
            [weakSelf] {
                if (auto page = weakSelf.lock()) page->_redownloadCredentials();
            },
            this);
        return;
    }
    showList(series);
    _refreshFailure(nullptr);
}

void HCSelectProfilePictureController::_refreshFailure(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    refreshButton_->setEnabled(true);
    showFailure(kRefreshFailedMessage);
}

void HCSelectProfilePictureController::_presentCustomImageActionSheet()
{
    HC_CHECK_MAIN_THREAD();
    if (!platform::ui::ImagePickerController::isSourceTypeAvailable(
            platform::ui::ImagePickerController::SourceType::Camera)) {
        openPicker(platform::ui::ImagePickerController::SourceType::PhotoLibrary);
        return;
    }
    if (sourceSheet_) sourceSheet_->setDelegate({});
    sourceSheet_ = platform::ui::ActionSheet::make("", me(), std::string("Cancel"), std::nullopt,
                                                   {"Take Photo With Camera", "Choose From Library"});
    sourceSheet_->setActionSheetStyle(platform::ui::ActionSheetStyle::BlackOpaque);
    const auto& rootView = Halcyon::dashboardHooks().rootView;
    platform::ui::ViewPtr top = rootView ? rootView() : nullptr;
    sourceSheet_->showInView(top ? top : view());
}

void HCSelectProfilePictureController::actionSheetClickedButtonAtIndex(platform::ui::ActionSheet& sheet, int buttonIndex)
{
    HC_CHECK_MAIN_THREAD();
    if (&sheet == sourceSheet_.get()) sourceSheet_ = nullptr;
    if (buttonIndex == sheet.cancelButtonIndex()) return;
    openPicker(buttonIndex == kTakePhoto ? platform::ui::ImagePickerController::SourceType::Camera
                                         : platform::ui::ImagePickerController::SourceType::PhotoLibrary);
}

void HCSelectProfilePictureController::openPicker(platform::ui::ImagePickerController::SourceType source)
{
    auto picker = HCCustomImagePickerController::make();
    picker->setSourceType(source);
    picker->setAllowsEditing(true);
    picker->setDelegate(me());
    _showImagePicker(picker, Halcyon::isLargeScreen());
}

void HCSelectProfilePictureController::_showImagePicker(const std::shared_ptr<platform::ui::ImagePickerController>& picker,
                                                        bool usingPopover)
{
    HC_CHECK_MAIN_THREAD();
    if (!usingPopover) {
        if (auto custom = std::dynamic_pointer_cast<HCCustomImagePickerController>(picker)) custom->show();
        return;
    }
    imagePickerPopoverController_ = platform::ui::PopoverController::withContentViewController(picker);
    imagePickerPopoverController_->setDelegate(me());
    auto selected = tableView()->indexPathForSelectedRow();
    auto cell = selected ? std::dynamic_pointer_cast<HCProfilePictureCell>(tableView()->cellForRowAtIndexPath(*selected))
                         : nullptr;
    if (cell)
        imagePickerPopoverController_->presentFromRect(cell->credentialImageView()->frame(), cell,
                                                       platform::ui::PopoverArrowDirectionAny, true);
    else
        imagePickerPopoverController_->presentFromRect(view()->bounds(), view(), platform::ui::PopoverArrowDirectionAny,
                                                       true);
}

void HCSelectProfilePictureController::hidePicker(platform::ui::ImagePickerController& picker)
{
    if (imagePickerPopoverController_) {
        imagePickerPopoverController_->dismissPopover(true);
        imagePickerPopoverController_ = nullptr;
    } else if (auto custom = dynamic_cast<HCCustomImagePickerController*>(&picker)) {
        custom->hide();
    }
}

void HCSelectProfilePictureController::imagePickerControllerDidFinishPickingMediaWithInfo(
    platform::ui::ImagePickerController& picker, const std::shared_ptr<platform::Dictionary>& info)
{
    HC_CHECK_MAIN_THREAD();
    hidePicker(picker);
    platform::ui::ImagePtr image;
    if (info) {
        image = info->get<platform::ui::Image>(platform::ui::ImagePickerControllerEditedImage);
        if (!image) image = info->get<platform::ui::Image>(platform::ui::ImagePickerControllerOriginalImage);
    }
    _imageSelected(image);
}

void HCSelectProfilePictureController::imagePickerControllerDidFinishPickingImage(
    platform::ui::ImagePickerController& picker, const platform::ui::ImagePtr& image,
    const std::shared_ptr<platform::Dictionary>&)
{
    HC_CHECK_MAIN_THREAD();
    hidePicker(picker);
    _imageSelected(image);
}

void HCSelectProfilePictureController::imagePickerControllerDidCancel(platform::ui::ImagePickerController& picker)
{
    HC_CHECK_MAIN_THREAD();
    hidePicker(picker);
}

void HCSelectProfilePictureController::popoverControllerDidDismissPopover(platform::ui::PopoverController& popover)
{
    if (&popover == imagePickerPopoverController_.get()) imagePickerPopoverController_ = nullptr;
}

void HCSelectProfilePictureController::orientationDidChange(const platform::Notification& notification)
{
    if (!imagePickerPopoverController_ || !notification.userInfo) return;
    auto now = notification.userInfo->get<platform::Number>(HCNSNotificationInfoNewOrientation);
    auto before = notification.userInfo->get<platform::Number>(HCNSNotificationInfoOldOrientation);
    if (!now || !before || now->intValue() == before->intValue()) return;
    imagePickerPopoverController_->dismissPopover(true);
    imagePickerPopoverController_ = nullptr;
}

void HCSelectProfilePictureController::_imageSelected(const platform::ui::ImagePtr& image)
{
    HC_CHECK_MAIN_THREAD();
    // Up before the call, which may fail before it returns.
    showLoadingScreen();
    auto picture = HCProfilePictureDrawing::profilePictureFrom(image);
    if (!picture) return _selectSourceFailure(nullptr);
    auto [uploaded, failed] = uploadDelegates();
    unlessSent(HCUsersCredentialService::uploadProfilePictureLocalUser(picture, uploaded, failed));
}
