#include "socialpages/invitations/HCInviteFriendsController.h"

#include "core/banners/HCNotificationData.h"
#include "core/halcyon/Halcyon.h"
#include "kernel/reachability/HCReachability.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "social/friends/HCFriendsService.h"
#include "social/invitations/HCDeviceContact.h"
#include "social/invitations/HCInviteService.h"
#include "socialpages/friends/HCFullScreenImportFriendsMessage.h"
#include "socialpages/invitations/HCInviteCompleteController.h"
#include "socialpages/invitations/HCInviteHeaderViews.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCUIKitCategories.h"
#include "uiframework/HCWritingFailure.h"

namespace {

void alert(const std::string& title, const std::string& message)
{
    platform::ui::AlertView::make(title, message, {}, std::string("OK"))->show();
}

}  // namespace

void HCInviteFriendsController::showNoFriendsSelectedMessage()
{
    alert("No Friends Selected", "You must select at least one friend to invite.");
}

void HCInviteFriendsController::showNoConnectionMessage()
{
    alert("No internet connection", "You must have an internet connection to invite friends.");
}

void HCInviteFriendsController::showSubmitFailedMessage()
{
    // An invitation goes out to friends as a social post does: told among social posts over the game.
    tellWritingFailure({"An error occurred", "Your invite was not submitted. Please try again.", "OK",
                        HCNotificationCategorySocialNotification});
}

void HCInviteFriendsController::cancel()
{
    HC_CHECK_MAIN_THREAD();
    if (closeAction_) closeAction_();
}

std::string HCInviteFriendsController::getUserMessage(const platform::ui::TextField& field)
{
    return field.text().empty() ? field.placeholder() : field.text();
}

std::shared_ptr<HCService> HCInviteFriendsController::getService()
{
    return HCFriendsService::sharedInstance();
}

void HCInviteFriendsController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCUser>("User");
    map.addResourceClass<HCDeviceContact>("Contact");
}

void HCInviteFriendsController::doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate&)
{
    auto receivers = HCPaginatedSeries::paginatedSeriesFromArray(selectedUsers_);
    auto section = HCTableSectionDescription::sectionWithTitle(std::string("Selected Friends"), receivers);
    onSuccess.invoke(HCPaginatedSeries::paginatedSeriesWithObject(section));
}

std::string HCInviteFriendsController::getNoDataFoundMessage()
{
    return "All of your friends have " + Halcyon::applicationDisplayName() + ".  Make some more!";
}

platform::ui::ViewControllerPtr HCInviteFriendsController::getNoDataFoundViewController()
{
    auto message = HCControllerLoader::load<HCFullScreenImportFriendsMessage>("FullscreenImportFriendsMessage");
    if (message) message->setOwner(platform::self(this));
    return message;
}

void HCInviteFriendsController::onTableHeaderCreated(const platform::ObjectPtr& header)
{
    auto typed = std::dynamic_pointer_cast<HCInviteFriendsHeaderController>(header);
    header_ = typed;
    if (!typed) return;
    typed->setSuggestedMessage(definition_ ? definition_->suggestedSenderMessage().value_or("") : std::string());
    typed->titleLabel()->setText("Invite Friends to play " + Halcyon::applicationDisplayName());
}

void HCInviteFriendsController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCTableSequenceControllerHelper::viewDidLoad();
    std::weak_ptr<HCInviteFriendsController> weakSelf =
        std::static_pointer_cast<HCInviteFriendsController>(platform::self(this));
    navigationItem()->setRightBarButtonItem(
        platform::ui::BarButtonItem::withTitle("Send", platform::ui::BarButtonStyle::Plain, [weakSelf](auto&) {
            if (auto page = weakSelf.lock()) page->inviteFriends();
        }));
    setTitle("Compose Invite");
}

void HCInviteFriendsController::setSendEnabled(bool enabled)
{
    if (auto send = navigationItem()->rightBarButtonItem()) send->setEnabled(enabled);
}

void HCInviteFriendsController::inviteFriends()
{
    HC_CHECK_MAIN_THREAD();
    if (selectedUsers_.empty()) {
        showNoFriendsSelectedMessage();
        return;
    }
    auto reachability = HCReachability::Instance();
    if (!reachability || !reachability->isGameServerReachable()) {
        showNoConnectionMessage();
        return;
    }
    setSendEnabled(false);
    showLoadingScreen();
    auto header = header_.lock();
    auto self = std::static_pointer_cast<HCInviteFriendsController>(platform::self(this));
    auto [sent, failed] = pageRequestDelegates<HCInviteFriendsController>(
        self, [](auto& page, const auto& reply) { page.inviteSuccess(reply); },
        [](auto& page, const auto& failure) { page.inviteFailure(failure); },
        [](auto& page, const auto&) { page.showSubmitFailedMessage(); }, HCDroppedRequest::Told,
        HCFailureTold::WhereverThePlayerIs);
    HCInviteService::sendInvite(definition_, header ? std::optional(header->inviteText()->text()) : std::nullopt,
                                selectedUsers_, sent, failed);
}

void HCInviteFriendsController::inviteSuccess(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    hideLoadingScreen();
    auto complete = HCControllerLoader::load<HCInviteCompleteController>("InviteComplete");
    auto navigation = navigationController();
    if (!complete || !navigation) return;
    complete->view();
    if (definition_) complete->inviteIcon()->setImageUrl(definition_->inviteIconURL());
    const bool several = selectedUsers_.size() >= 2;
    complete->messageLabel()->setText(several ? "Your invitations were sent!" : "Your invitation was sent!");
    complete->messageTitleLabel()->setText(several ? "Invitations Sent" : "Invitation Sent");
    complete->setTitle("Sending Invite");
    setTitleForAllStates(*complete->continueButton(), "OK");
    complete->setContinueAction(closeAction_);
    navigation->pushViewController(complete, true);
}

void HCInviteFriendsController::inviteFailure(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    setSendEnabled(true);
    hideLoadingScreen();
}
