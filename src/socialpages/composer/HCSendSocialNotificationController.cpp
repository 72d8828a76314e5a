#include "socialpages/composer/HCSendSocialNotificationController.h"

#include "accounts/HCAccountForms.h"
#include "core/banners/HCNotificationData.h"
#include "core/halcyon/Halcyon.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "core/images/HCImageLoader.h"
#include "core/replies/HCTableSectionDescription.h"
#include "kernel/xml/HCXmlDocument.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "social/socialposts/HCSocialNotificationApi.h"
#include "social/socialposts/HCSocialNotificationService.h"
#include "social/users/HCUsersCredential.h"
#include "social/users/HCUsersCredentialService.h"
#include "socialpages/composer/HCSendSocialNotificationCells.h"
#include "transport/oauth/OAuthAPIRequestLoader.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/HCWritingFailure.h"
#include "uiframework/form/HCFormControllerHelper.h"
#include "uiframework/form/HCTextsInFlight.h"
#include "uiframework/table/HCTableCellBackgroundView.h"

namespace {

constexpr int kNetworkRowsFrom = 1;  // the text row comes first

}  // namespace

platform::ui::ViewControllerPtr HCSendSocialNotificationController::forGameLaunch(
    const std::optional<std::string>& text, const std::optional<std::string>& originalMessage,
    const std::optional<std::string>& imageName, const std::optional<std::string>& linkedUrl)
{
    HC_CHECK_MAIN_THREAD();
    auto page = HCControllerLoader::load<HCSendSocialNotificationController>(kLoaderName);
    if (!page) return nullptr;
    page->setPrepopulatedText(text, originalMessage);
    if (imageName && !imageName->empty()) {
        page->setImageName(*imageName, linkedUrl);
    } else {
        page->setImageType("achievement_definitions", "game_icon", linkedUrl);
        auto game = Halcyon::localGameProfileInfo();
        page->setImageUrl(game ? game->iconUrl() : std::nullopt, nullptr);
    }
    page->setDismissDashboardWhenSent(true);
    return page;
}

void HCSendSocialNotificationController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCTableControllerHelper::viewDidLoad();
    setTitle("Post");
    onlyCheckNetwork_ = -1;
    std::weak_ptr<HCSendSocialNotificationController> weakSelf =
        std::static_pointer_cast<HCSendSocialNotificationController>(platform::self(this));
    sendButton_ = platform::ui::BarButtonItem::withTitle("Send", platform::ui::BarButtonStyle::Plain, [weakSelf](auto&) {
        if (auto page = weakSelf.lock()) page->send();
    });
    sendButton_->setEnabled(false);
    navigationItem()->setRightBarButtonItem(sendButton_);
    submitTextCell_ = std::dynamic_pointer_cast<HCSendSocialNotificationSubmitTextCell>(
        HCControllerLoader::loadCell("SendSocialNotificationSubmitText", platform::self(this)));
    if (!submitTextCell_) return;
    for (bool selected : {false, true}) {
        auto background = HCTableCellBackgroundView::defaultBackgroundView();
        background->setImage(HCImageLoader::loadImage("HCLeadingCellBackground.png"));
        if (selected) {
            submitTextCell_->setSelectedBackgroundView(background);
        } else {
            submitTextCell_->setBackgroundView(background);
        }
    }
    submitTextCell_->setSendSocialNotificationController(
        std::static_pointer_cast<HCSendSocialNotificationController>(platform::self(this)));
}

void HCSendSocialNotificationController::setPrepopulatedText(const std::optional<std::string>& text,
                                                             const std::optional<std::string>& originalMessage)
{
    HC_CHECK_MAIN_THREAD();
    view();
    if (submitTextCell_) submitTextCell_->setPrepopulatedText(text, originalMessage);
}

void HCSendSocialNotificationController::setImageType(const std::string& imageType, const std::string& imageId,
                                                      const std::optional<std::string>& linkedUrl)
{
    notification_ = HCSocialNotification::initWithText(std::string(), imageType, imageId, linkedUrl);
}

void HCSendSocialNotificationController::setImageName(const std::string& imageName,
                                                      const std::optional<std::string>& linkedUrl)
{
    HC_CHECK_MAIN_THREAD();
    notification_ = HCSocialNotification::initWithText(std::string(), imageName, linkedUrl);
    view();
    if (submitTextCell_) submitTextCell_->setSocialNotificationImageName(imageName);
}

void HCSendSocialNotificationController::setImageUrl(const std::optional<std::string>& url,
                                                     const platform::ui::ImagePtr& defaultImage)
{
    HC_CHECK_MAIN_THREAD();
    if (!notification_) return;
    notification_->imageUrl = url;
    view();
    if (!submitTextCell_) return;
    if (defaultImage) submitTextCell_->setDefaultImage(defaultImage);
    if (url) submitTextCell_->setIconUrl(url);
}

void HCSendSocialNotificationController::setUseNetwork(int network)
{
    HC_CHECK_MAIN_THREAD();
    // Loading the view resets the choice; load it first so this one stays.
    view();
    onlyCheckNetwork_ = network;
}

void HCSendSocialNotificationController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCTableControllerHelper::viewWillAppear(animated);
    if (!isViewLoaded()) return;
    if (onlyCheckNetwork_ == -2) {
        for (const auto& row : networkRows()) initChecked_[static_cast<size_t>(row->networkType())] = row->checked();
    } else {
        for (int network : {kFacebook, kTwitter})
            initChecked_[static_cast<size_t>(network)] = onlyCheckNetwork_ == -1 || onlyCheckNetwork_ == network;
    }
    reloadDataFromServer();
}

void HCSendSocialNotificationController::doIndexActionOnSuccess(const HCDelegate& onSuccess,
                                                                const HCDelegate& onFailure)
{
    HCUsersCredentialService::getIndexOnSuccess(onSuccess, onFailure, true);
}

void HCSendSocialNotificationController::_onDataLoaded(const HCPaginatedSeriesPtr& series, bool)
{
    HC_CHECK_MAIN_THREAD();
    std::array<bool, 2> linked{false, false};
    // A reply without sections links nothing: the page then offers the logins.
    auto first = series && series->count() > 0 ? platform::as<HCTableSectionDescription>(series->objects().front())
                                               : nullptr;
    if (first && first->page()) {
        for (const auto& object : first->page()->objects()) {
            auto credential = platform::as<HCUsersCredential>(object);
            if (!credential) continue;
            if (credential->isTwitter()) linked[kTwitter] = true;
            if (credential->isFacebook()) linked[kFacebook] = true;
        }
    }
    std::vector<platform::ui::TableViewCellPtr> cells;
    const auto self = platform::self(this);
    if ((linked[kTwitter] || linked[kFacebook]) && submitTextCell_) {
        cells.push_back(submitTextCell_);
    } else if (auto notConnected = std::dynamic_pointer_cast<HCTableCellHelper>(
                   HCControllerLoader::loadCell("NotConnectedToSocialNetwork", self))) {
        notConnected->setResource(nullptr);
        cells.push_back(notConnected);
    }
    for (int network : {kTwitter, kFacebook}) {
        auto row = std::dynamic_pointer_cast<HCSendSocialNotificationCell>(
            HCControllerLoader::loadCell("SendSocialNotification", self));
        if (!row) continue;
        row->setNetworkType(network);
        row->setChecked(initChecked_[static_cast<size_t>(network)]);
        row->setConnectedToNetwork(linked[static_cast<size_t>(network)]);
        cells.push_back(row);
    }
    HCTableControllerHelper::_onDataLoaded(
        HCPaginatedSeries::paginatedSeriesFromArray(
            {HCTableSectionDescription::sectionWithTitleAndStaticCells(std::string(), std::move(cells))}),
        false);
    activateSendButton();
    const int asked = onlyCheckNetwork_;
    onlyCheckNetwork_ = -2;
    if ((asked == kTwitter || asked == kFacebook) && !linked[static_cast<size_t>(asked)]) openLoginFlow(asked);
}

std::vector<std::shared_ptr<HCSendSocialNotificationCell>> HCSendSocialNotificationController::networkRows() const
{
    std::vector<std::shared_ptr<HCSendSocialNotificationCell>> rows;
    if (sections().empty()) return rows;
    for (const auto& cell : sections().front()->staticCells())
        if (auto row = std::dynamic_pointer_cast<HCSendSocialNotificationCell>(cell)) rows.push_back(row);
    return rows;
}

void HCSendSocialNotificationController::onCellWasClicked(const platform::ObjectPtr&, const IndexPath& indexPath)
{
    HC_CHECK_MAIN_THREAD();
    if (sections().empty() || indexPath.section != 0 || indexPath.row < 0) return;
    const auto& cells = sections().front()->staticCells();
    if (static_cast<size_t>(indexPath.row) >= cells.size()) return;
    if (indexPath.row >= kNetworkRowsFrom) {
        if (auto row = std::dynamic_pointer_cast<HCSendSocialNotificationCell>(cells[static_cast<size_t>(indexPath.row)])) {
            if (row->connectedToNetwork()) {
                row->setChecked(!row->checked());
                tableView()->deselectRowAtIndexPath(indexPath, true);
            } else {
                openLoginFlow(row->networkType());
            }
        }
    }
    activateSendButton();
}

void HCSendSocialNotificationController::activateSendButton()
{
    if (!sendButton_) return;
    bool any = false;
    for (const auto& row : networkRows()) any = any || (row->checked() && row->connectedToNetwork());
    sendButton_->setEnabled(any);
}

void HCSendSocialNotificationController::openLoginFlow(int network)
{
    HC_CHECK_MAIN_THREAD();
    auto form = HCControllerLoader::load<HCAccountSetupBaseController>(network == kTwitter ? "TwitterAccountLogin"
                                                                                           : "FacebookAccountLogin");
    auto navigation = navigationController();
    if (!form || !navigation) return;
    form->setAddingAdditionalCredential(true);
    form->setControllerToPopTo(platform::self(this));
    if (auto facebook = std::dynamic_pointer_cast<HCFacebookAccountLoginController>(form))
        facebook->setGetPostingPermission(true);
    navigation->pushViewController(form, true);
}

void HCSendSocialNotificationController::send()
{
    HC_CHECK_MAIN_THREAD();
    if (!sendButton_ || !sendButton_->isEnabled()) {
        if (submitTextCell_) submitTextCell_->message()->resignFirstResponder();
        return;
    }
    sendButton_->setEnabled(false);
    const std::string text = (submitTextCell_ ? submitTextCell_->prePopulatedText()->text() : std::string()) + "  " +
                             (submitTextCell_ ? submitTextCell_->message()->text() : std::string());
    if (notification_) {
        notification_->clearSendToNetworks();
        notification_->text = text;
    } else {
        notification_ = HCSocialNotification::initWithText(text);
    }
    for (const auto& row : networkRows())
        if (row->checked() && row->connectedToNetwork()) notification_->addSendToNetwork(row->networkType());
    // A post the provider drops unanswered ends like a failed one: the
    // loading screen comes down. While the page is on its stack its field
    // keeps the message and it says nothing; once the player went back from
    // it, or closed the dashboard (its page may still be on its way out), the
    // message went with the page, and a post refused or dropped is told
    // wherever he is.
    const std::string message = submitTextCell_ ? submitTextCell_->message()->text() : std::string();
    auto [sent, failed] = pageRequestDelegates<HCSendSocialNotificationController>(
        std::static_pointer_cast<HCSendSocialNotificationController>(platform::self(this)),
        [](auto& page, const auto& reply) { page._sendSuccess(reply); },
        [](auto& page, const auto& failure) { page._sendFailure(failure); },
        [message](auto& page, const auto& failure) {
            if (page.isOnNavigationStack() && Halcyon::isShowingFullScreen()) return;
            tellWritingFailure({HCFormControllerHelper::kFailureAlertTitle,
                                notSentBecause(HCTextsInFlight::notSentMessageFor(message),
                                               HCFormControllerHelper::serverMessageOf(failure)),
                                HCFormControllerHelper::kFailureAlertButton, HCNotificationCategorySocialNotification});
        },
        HCDroppedRequest::Told, HCFailureTold::WhereverThePlayerIs);
    auto handle = HCSocialNotificationService::sendSocialNotification(notification_, sent, failed);
    // A service that is not running answers nothing: the player may try again.
    if (!handle) {
        activateSendButton();
        return;
    }
    postOnItsWay_ = true;
    showLoadingScreen();
}

void HCSendSocialNotificationController::_sendSuccess(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    postOnItsWay_ = false;
    hideLoadingScreen();
    HCSocialNotificationApi::sendSuccess();
    dismiss();
}

void HCSendSocialNotificationController::_sendFailure(std::shared_ptr<platform::Object> failure)
{
    HC_CHECK_MAIN_THREAD();
    postOnItsWay_ = false;
    hideLoadingScreen();
    auto loader = platform::as<OAuthAPIRequestLoader>(failure);
    if (loader && loader->statusCode() == 430) {
        std::string body;
        if (auto data = loader->data()) body.assign(data->bytes().begin(), data->bytes().end());
        auto document = HCXmlDocument::xmlDocumentWithData(body);
        if (document) {
            needCredentialsForNetwork_[kFacebook] =
                document->getElementValueAtPath("errors.FbconnectCredential") == "extended_credentials";
            needCredentialsForNetwork_[kTwitter] =
                document->getElementValueAtPath("errors.TwitterCredential") == "extended_credentials";
        }
        // Every such answer is a new round: ask again from the first network.
        currentGettingCredentialForNetwork_ = 0;
        _getNextCredential();
    }
    // Any other failure leaves Send off until the player taps a row.
}

bool HCSendSocialNotificationController::_getNextCredential()
{
    HC_CHECK_MAIN_THREAD();
    while (currentGettingCredentialForNetwork_ <= kTwitter &&
           !needCredentialsForNetwork_[static_cast<size_t>(currentGettingCredentialForNetwork_)])
        ++currentGettingCredentialForNetwork_;
    if (currentGettingCredentialForNetwork_ > kTwitter) return true;
    auto screen = HCControllerLoader::load(currentGettingCredentialForNetwork_ == kFacebook
                                               ? "FacebookExtendedCredential"
                                               : "TwitterExtendedCredential");
    auto* asker = dynamic_cast<HCExtendedCredentialController*>(screen.get());
    auto navigation = navigationController();
    if (!asker || !navigation) return true;
    currentExtendedCredentialsController_ = screen;
    auto self = std::static_pointer_cast<HCSendSocialNotificationController>(platform::self(this));
    asker->getExtendedCredentials(HCDelegate(self, &HCSendSocialNotificationController::_extendedCredentialsSuccess),
                                  HCDelegate(self, &HCSendSocialNotificationController::_extendedCredentialsFailure),
                                  HCDelegate(self, &HCSendSocialNotificationController::_extendedCredentialsCancel));
    navigation->pushViewController(screen, true);
    return false;
}

void HCSendSocialNotificationController::_extendedCredentialsSuccess(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    currentExtendedCredentialsController_ = nullptr;
    needCredentialsForNetwork_[static_cast<size_t>(currentGettingCredentialForNetwork_)] = false;
    if (!_getNextCredential()) return;
    activateSendButton();
    send();
}

void HCSendSocialNotificationController::_extendedCredentialsFailure(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    currentExtendedCredentialsController_ = nullptr;
    needCredentialsForNetwork_ = {false, false};
    currentGettingCredentialForNetwork_ = 0;
    activateSendButton();
}

void HCSendSocialNotificationController::_extendedCredentialsCancel(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    currentExtendedCredentialsController_ = nullptr;
    dismiss();
}

bool HCSendSocialNotificationController::canReceiveCallbacksNow() const
{
    return postOnItsWay_ || HCTableControllerHelper::canReceiveCallbacksNow();
}

void HCSendSocialNotificationController::dismiss()
{
    HC_CHECK_MAIN_THREAD();
    // A post answered after the player went back closes nothing he went on to.
    if (!isOnNavigationStack()) return;
    if (dismissDashboardWhenSent_) {
        Halcyon::dismissDashboard();
    } else if (auto navigation = navigationController()) {
        navigation->popViewController(true);
    }
}
