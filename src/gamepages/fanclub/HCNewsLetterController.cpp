#include "gamepages/fanclub/HCNewsLetterController.h"

#include "accounts/HCAccountSetupBaseController.h"
#include "core/halcyon/Halcyon.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "social/settings/HCUserSettingService.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCPageRequestDelegates.h"

namespace {
using platform::ui::Rect;
}  // namespace

std::optional<std::string> HCNewsLetterController::gameId() const
{
    auto game = getPageContextGame();
    return (game ? game : Halcyon::localGameProfileInfo())->resourceId();
}

void HCNewsLetterController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidLoad();
    summaryLabel_ = platform::ui::Label::make(Rect(10, 10, 300, 30));
    descriptionLabel_ = platform::ui::Label::make(Rect(10, 40, 300, 80));
    subscriptionSwitch_ = platform::ui::Switch::make(Rect(200, 130, 94, 27));
    view()->addSubview(summaryLabel_);
    view()->addSubview(descriptionLabel_);
    view()->addSubview(subscriptionSwitch_);
    std::weak_ptr<HCNewsLetterController> weakSelf =
        std::static_pointer_cast<HCNewsLetterController>(platform::self(this));
    subscriptionSwitch_->addTarget(this, [weakSelf](platform::ui::Control&) {
        if (auto page = weakSelf.lock()) page->subscriptionChanged();
    }, platform::ui::ControlEventValueChanged);
}

void HCNewsLetterController::viewWillAppear(bool animated)
{
    HCViewController::viewWillAppear(animated);
    if (!Halcyon::isInLandscapeMode()) summaryLabel_->setText("Subscribe to new updates!");
    descriptionLabel_->setText("Subscribe to email updates from the developer of " + Halcyon::applicationDisplayName() +
                               ".  Don't worry, your email address is stored securely and won't be shared with any "
                               "third parties.");
}

void HCNewsLetterController::viewDidAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidAppear(animated);
    if (securingAccount_) {
        if (Halcyon::loggedInUserHasHttpBasicCredential()) setSubscriptionState(true);
    } else {
        showLoadingScreen();
        doServerAction();
    }
    securingAccount_ = false;
}

std::shared_ptr<HCNewsLetterController> HCNewsLetterController::me()
{
    return std::static_pointer_cast<HCNewsLetterController>(platform::self(this));
}

void HCNewsLetterController::doServerAction()
{
    auto [retrieved, failed] = pageRequestDelegates<HCNewsLetterController>(
        me(), [](auto& page, const auto& reply) { page.onRetrievedSetting(platform::as<HCPaginatedSeries>(reply)); },
        [](auto& page, const auto& failure) { page.onRequestDone(failure); });
    HCUserSettingService::getSubscribingToDeveloperNewsLetter(gameId(), retrieved, failed);
}

void HCNewsLetterController::onRetrievedSetting(std::shared_ptr<HCPaginatedSeries> reply)
{
    subscriptionSwitch_->setOn(reply && reply->count() > 0);
    hideLoadingScreen();
}

void HCNewsLetterController::onRequestDone(std::shared_ptr<platform::Object>)
{
    hideLoadingScreen();
}

void HCNewsLetterController::subscriptionChanged()
{
    HC_CHECK_MAIN_THREAD();
    if (subscriptionSwitch_->isOn() && !Halcyon::loggedInUserHasHttpBasicCredential()) {
        subscriptionSwitch_->setOn(false);
        auto sheet = platform::ui::ActionSheet::make(
            kCredentialNeeded, std::dynamic_pointer_cast<platform::ui::ActionSheetDelegate>(platform::self(this)),
            std::string("Cancel"), std::string(kEnableRetrieval));
        sheet->showInView(view());
        return;
    }
    setSubscriptionState(subscriptionSwitch_->isOn());
}

void HCNewsLetterController::actionSheetClickedButtonAtIndex(platform::ui::ActionSheet& actionSheet, int buttonIndex)
{
    HC_CHECK_MAIN_THREAD();
    securingAccount_ = false;
    if (buttonIndex != actionSheet.destructiveButtonIndex()) return;
    // The loader logs a page it cannot make; the player then stays here.
    auto credentials = HCControllerLoader::load<HCAccountSetupBaseController>("HttpCredentialsCreate");
    auto navigation = navigationController();
    if (!credentials || !navigation) return;
    // The login joins the player's account; the form logs no one in.
    credentials->setAddingAdditionalCredential(true);
    securingAccount_ = true;
    navigation->pushViewController(credentials, true);
}

void HCNewsLetterController::setSubscriptionState(bool subscribe)
{
    HC_CHECK_MAIN_THREAD();
    showLoadingScreen();
    subscriptionSwitch_->setOn(subscribe);
    // A change the provider drops unanswered is put back like a refused one.
    auto [changed, failed] = pageRequestDelegates<HCNewsLetterController>(
        me(), [](auto& page, const auto& reply) { page.onRequestDone(reply); },
        [](auto& page, const auto& failure) { page.onChangeFailed(failure); });
    HCUserSettingService::setSubscribeToDeveloperNewsLetter(subscribe, gameId(), changed, failed);
}

void HCNewsLetterController::onChangeFailed(std::shared_ptr<platform::Object>)
{
    hideLoadingScreen();
    subscriptionSwitch_->setOn(!subscriptionSwitch_->isOn());
}
