#include "accounts/HCUseNewOrOldAccountController.h"

#include "core/halcyon/Halcyon.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AlertView.h"
#include "uiframework/HCPageRequestDelegates.h"

HCUseNewOrOldAccountController::HCUseNewOrOldAccountController()
{
    setTitle("Switch User");
    setContinueAction([this] { startNewAccount(); });
}

void HCUseNewOrOldAccountController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCShowMessageAndReturnController::viewDidLoad();
    messageTitleLabel()->setText("Switch User");
    continueButton()->setTitle(std::string(kNewAccountTitle), platform::ui::ControlStateNormal);
}

void HCUseNewOrOldAccountController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCShowMessageAndReturnController::viewWillAppear(animated);
    showPlayer();
}

void HCUseNewOrOldAccountController::showPlayer()
{
    const auto name = Halcyon::lastLoggedInUserName();
    messageLabel()->setText("You are playing as " + name.value_or("a player without a name") +
                            ". A new account starts over on this device as another player.");
}

void HCUseNewOrOldAccountController::startNewAccount()
{
    HC_CHECK_MAIN_THREAD();
    // Either would drop the log-in's callbacks and leave the loading screen up.
    if (Halcyon::isBootstrapInProgress() || !Halcyon::hasUserApprovedHalcyon()) {
        newAccountFailed();
        return;
    }
    showLoadingScreen();
    std::weak_ptr<HCUseNewOrOldAccountController> weakSelf =
        std::static_pointer_cast<HCUseNewOrOldAccountController>(platform::self(this));
    Halcyon::doBootstrapAsNewUserOnSuccess(HCDelegate::withFunction([weakSelf](const platform::ObjectPtr&) {
                                               if (auto page = weakSelf.lock()) {
                                                   page->hideLoadingScreen();
                                                   page->showPlayer();
                                               }
                                           }),
                                           HCDelegate::withFunction([weakSelf](const platform::ObjectPtr&) {
                                               if (auto page = weakSelf.lock()) page->newAccountFailed();
                                           }));
}

void HCUseNewOrOldAccountController::newAccountFailed()
{
    hideLoadingScreen();
    // Told only here: back on this page, the player finds it still naming him.
    if (pageIsShown(*this)) platform::ui::AlertView::make("", kFailureMessage, {}, std::string("OK"))->show();
}
