#include "socialpages/invitations/HCInvitationsController.h"

#include <algorithm>

#include "core/halcyon/Halcyon.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "social/invitations/HCInvite.h"
#include "social/invitations/HCInviteService.h"
#include "socialpages/HCCellSubviews.h"
#include "socialpages/invitations/HCViewInviteController.h"
#include "uiframework/HCPageRequestDelegates.h"

namespace {

using platform::ui::Rect;

bool isUnviewed(const platform::ObjectPtr& object)
{
    auto invite = platform::as<HCInvite>(object);
    return invite && invite->state() == std::optional<std::string>("unviewed");
}

}  // namespace

void HCInvitationsController::notifyInviteIgnored(const std::optional<std::string>&)
{
    reloadOnWillAppear_ = true;
}

std::shared_ptr<HCService> HCInvitationsController::getService()
{
    return HCInviteService::sharedInstance();
}

void HCInvitationsController::doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HCInviteService::getInvitesForUser(Halcyon::localUser(), page, onSuccess, onFailure);
}

void HCInvitationsController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCInvite>("Invite");
}

void HCInvitationsController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCTableSequenceControllerHelper::viewDidLoad();
    // Edit waits for an invitation to edit.
    navigationItem()->setRightBarButtonItem(nullptr);
    setTitle("Invitations");
}

void HCInvitationsController::viewWillAppear(bool animated)
{
    if (reloadOnWillAppear_) reloadDataFromServer();
    HCTableSequenceControllerHelper::viewWillAppear(animated);
}

void HCInvitationsController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    HC_CHECK_MAIN_THREAD();
    auto invite = platform::as<HCInvite>(resource);
    auto navigation = navigationController();
    if (!invite || !navigation) return;
    if (auto page = HCViewInviteController::viewInviteControllerWithInviteId(invite->resourceId()))
        navigation->pushViewController(page, true);
}

void HCInvitationsController::onResourceWasDeleted(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    auto invite = platform::as<HCInvite>(resource);
    if (!invite) return;
    // The row is already gone: a failed ignore shows the service's list again.
    auto [ignored, failed] = pageRequestDelegates<HCInvitationsController>(
        std::static_pointer_cast<HCInvitationsController>(platform::self(this)), {},
        [](auto& page, const auto&) { page.reloadDataFromServer(); });
    HCInviteService::ignoreInvite(invite->resourceId(), ignored, failed);
}

void HCInvitationsController::onResourcesDownloaded(const HCPaginatedSeriesPtr& series)
{
    HC_CHECK_MAIN_THREAD();
    HCTableSequenceControllerHelper::onResourcesDownloaded(series);
    if (!series) return;
    const auto& objects = series->objects();
    const long unviewed = std::count_if(objects.begin(), objects.end(), isUnviewed);
    Halcyon::setUnreadInviteCount(std::max(0L, Halcyon::unreadInviteCount() - unviewed));
    if (!objects.empty()) _updateEditButtonState();
}

void HCInvitationsController::_updateEditButtonState()
{
    std::weak_ptr<HCInvitationsController> weakSelf =
        std::static_pointer_cast<HCInvitationsController>(platform::self(this));
    navigationItem()->setRightBarButtonItem(platform::ui::BarButtonItem::withSystemItem(
        tableView()->isEditing() ? platform::ui::SystemItem::Done : platform::ui::SystemItem::Edit, [weakSelf](auto&) {
            if (auto page = weakSelf.lock()) page->_toggleEditing();
        }));
}

void HCInvitationsController::_toggleEditing()
{
    tableView()->setEditing(!tableView()->isEditing(), true);
    _updateEditButtonState();
}

HCInviteCell::HCInviteCell()
    : inviteIcon_(HCImageView::make(Rect(5, 5, 44, 44))),
      gameTitle_(platform::ui::Label::make(Rect(56, 2, 230, 18))),
      invitedBy_(platform::ui::Label::make(Rect(56, 20, 230, 16))),
      userMessage_(platform::ui::Label::make(Rect(56, 36, 230, 16))),
      freshnessIndicator_(platform::ui::View::make(Rect(296, 22, 12, 12)))
{
    setFrame(Rect(0, 0, 320, 56));
}

void HCInviteCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    adoptCellSubviews(*this, {gameTitle_, inviteIcon_, invitedBy_, userMessage_, freshnessIndicator_});
    auto invite = platform::as<HCInvite>(resource);
    if (!invite) return;
    inviteIcon_->useProfilePictureFromUser(invite->senderUser());
    gameTitle_->setText(invite->clientApplicationName().value_or(""));
    invitedBy_->setText("Invited by " +
                        (invite->senderUser() ? invite->senderUser()->name().value_or("") : std::string()));
    userMessage_->setText(invite->userMessage().value_or(""));
    freshnessIndicator_->setHidden(!isUnviewed(invite));
}
