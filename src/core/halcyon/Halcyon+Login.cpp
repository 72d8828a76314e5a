// The log-in chain's two ends and the approval: the log-in decision, what a
// log-in that succeeded, failed or was undone by a log-out does to the
// client, the banners that tell the player, and the approval question.
//
// Thread: main thread throughout (the session reports on the main thread).
#include <atomic>

#include "core/banners/HCNotification.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonInstanceSlot.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "core/users/HCUser.h"
#include "core/xp/HCServerException.h"
#include "kernel/reachability/HCReachability.h"
#include "kernel/system/HCSystemChecks.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"
#include "platform/ui/Application.h"
#include "transport/provider/HCActionRequest.h"
#include "transport/provider/HCProvider.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

constexpr int kLoginCategory = 2;
constexpr int kErrorType = 3;
constexpr int kSuccessType = 4;
constexpr const char* kLogoImageName = "HalcyonLogoNotificationIcon.png";
constexpr double kSSLNotificationDelay = 3.0;
// Badge, sound and alert.
constexpr unsigned kRemoteNotificationTypes = 7;

// Some log-in has completed since launch; cleared by a log-out.
std::atomic<bool> gBootstrapCompleted{false};

void post(const char* name)
{
    platform::NotificationCenter::defaultCenter().post(name, nullptr, nullptr);
}

std::string plural(long count)
{
    return count > 1 ? "s" : "";
}

}  // namespace

// ===== The decision ===========================================================

void Halcyon::doBootstrapAsUserId(const std::optional<std::string>& userId, bool newUser,
                                  const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    if (!instance || instance->bootstrapInProgress_) {
        return;
    }
    instance->gameCenterInitialized_ = false;
    instance->gameSessionCounted_ = false;
    if (!hasUserApprovedHalcyon()) {
        instance->forceUserCheckOnBootstrap_ = false;
        if (!hasUserSetHalcyonAccess()) {
            presentUserHalcyonApprovalModal(HCDelegate(), HCDelegate());
        } else {
            initializeGameCenter();
        }
        return;
    }
    addBootstrapDelegates(onSuccess, onFailure);
    instance->bootstrapInProgress_ = true;
    if (instance->assembly_.loginChain) {
        instance->assembly_.loginChain->login(userId, newUser);
        return;
    }
    platform::log(platform::LogLevel::Info, "No log-in chain in this build: the client stays offline.");
    sessionFailureWithException(nullptr);
}

void Halcyon::addBootstrapDelegates(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    if (auto instance = sharedInstance()) {
        instance->bootstrapSuccessDelegates_.push_back(onSuccess);
        instance->bootstrapFailureDelegates_.push_back(onFailure);
    }
}

void Halcyon::invokeAndClearBootstrapDelegates(bool succeeded)
{
    auto invoked = std::move(succeeded ? bootstrapSuccessDelegates_ : bootstrapFailureDelegates_);
    bootstrapSuccessDelegates_.clear();
    bootstrapFailureDelegates_.clear();
    for (const HCDelegate& delegate : invoked) {
        delegate.invoke(nullptr);
    }
}

void Halcyon::abortBootstrap()
{
    HC_CHECK_MAIN_THREAD();
    // The session hears of the refused bootstrap only after this, when the
    // log-in no longer counts as running and its report is dropped: so the
    // log-in ends here as a failed one, and its waiting callers and the game
    // are still told.
    sessionFailureWithException(nullptr);
}

bool Halcyon::hasBootstrapCompleted()
{
    return gBootstrapCompleted;
}

void Halcyon::invalidateBootstrap()
{
    gBootstrapCompleted = false;
}

// ===== The session's reports ====================================================

void Halcyon::sessionDidLoginUser()
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    if (!instance || !instance->bootstrapInProgress_) {
        return;
    }
    instance->successfullyBootstrapped_ = true;
    gBootstrapCompleted = true;
    instance->invokeAndClearBootstrapDelegates(true);
    switchToOnlineDashboard();
    if (instance->pushNotificationsEnabled_ && is3PointOhSystemVersion()) {
        platform::ui::Application::shared()->registerForRemoteNotificationTypes(kRemoteNotificationTypes);
    }
    HalcyonDelegate* delegate = getDelegate();
    auto screens = loginScreens(instance);
    if (isDisabled() || (delegate && platform::callOptional([&] { delegate->privateIgnoreSocialNetworks(); }))) {
        instance->_invokeLoggedInDelegate();
        if (instance->confirmAccountFlowActive_) {
            dismissRootControllerOrItsModal();
        }
    } else {
        if (screens && !doneWithGetTheMost() && !screens->hasSessionSeenLinkSocialNetworksScreen() &&
            !isShowingFullScreen()) {
            instance->confirmAccountFlowActive_ = true;
            screens->presentLinkSocialNetworks();
        }
        instance->_invokeLoggedInDelegate();
    }
    instance->bootstrapInProgress_ = false;
}

void Halcyon::sessionFailureWithException(const std::shared_ptr<HCServerException>& exception)
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    if (!instance || !instance->bootstrapInProgress_) {
        return;
    }
    loginWasAborted(exception && exception->isSslFailureException());
    instance->invokeAndClearBootstrapDelegates(false);
    instance->_invokeLoggedInDelegate();
    instance->bootstrapInProgress_ = false;
}

void Halcyon::sessionDidLogoutUser()
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    if (!instance) {
        return;
    }
    const std::string previousUserId = lastLoggedInUserId();
    setLocalUser(HCUser::invalidUser());
    if (instance->provider_) {
        instance->provider_->destroyLocalCredentials();
    }
    setUserDeniedHalcyon();
    switchToOfflineDashboard();
    instance->successfullyBootstrapped_ = false;
    invalidateBootstrap();
    setDoneWithGetTheMost(false);
    if (auto screens = loginScreens(instance)) {
        screens->invalidateSessionSeenLinkSocialNetworksScreen();
    }
    // A log-in decided while the log-out ran never reached the session, so
    // nothing would end it: its callers hear the failure and the next
    // decision is free to run.
    if (instance->bootstrapInProgress_) {
        instance->bootstrapInProgress_ = false;
        instance->invokeAndClearBootstrapDelegates(false);
    }
    if (HalcyonDelegate* delegate = getDelegate()) {
        platform::callOptional([&] { delegate->userLoggedOut(previousUserId); });
    }
}

void Halcyon::_invokeLoggedInDelegate()
{
    if (confirmAccountFlowActive_) {
        hasDeferredLoginDelegate_ = true;
        return;
    }
    initializeGameCenter();
    const std::string userId = lastLoggedInUserId();
    HalcyonDelegate* delegate = getDelegate();
    if (isOnline()) {
        if (delegate) {
            platform::callOptional([&] { delegate->userLoggedIn(userId); });
        }
        notifyAddOnsUserLoggedInPostIntro();
    } else {
        if (delegate) {
            platform::callOptional([&] { delegate->offlineUserLoggedIn(userId); });
        }
        notifyAddOnsOfflineUserLoggedInPostIntro();
    }
}

// ===== Game Center and what follows a log-in ======================================

void Halcyon::initializeGameCenter()
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    // Once per log-in: a failed log-in may reach here from both its abort and
    // its logged-in call.
    if (!instance || instance->gameCenterInitialized_) {
        return;
    }
    instance->gameCenterInitialized_ = true;
    startGameCenterBridge();
}

void Halcyon::countGameSession()
{
    if (!gameSessionCounted_) {
        gameSessionCounted_ = true;
        incrementNumberOfGameSessions();
    }
}

void Halcyon::loginGameCenterCheck()
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    if (!instance) {
        return;
    }
    // The online session was counted when the bootstrap reply was applied.
    instance->countGameSession();
    if (!instance->usingGameCenter_ && instance->successfullyBootstrapped_) {
        loginShowNotifications();
    }
    if (instance->assembly_.sendPendingData) {
        instance->assembly_.sendPendingData(lastLoggedInUserId());
    }
    if (instance->assembly_.downloadAnnouncements) {
        instance->assembly_.downloadAnnouncements();
    }
}

void Halcyon::showLoginBanner(const std::string& text, int type, bool success) const
{
    auto notice = HCNotificationData::dataWithText(text, kLoginCategory, type);
    if (success) notice->imageName = kLogoImageName;
    HCNotification::sharedInstance()->showBackgroundNotice(
        notice, success ? HCNotificationStatusSuccess : std::optional<std::string>(HCNotificationStatusFailure));
}

void Halcyon::loginShowNotifications()
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    if (!instance || isShowingFullScreen()) {
        return;
    }
    const std::string name = lastLoggedInUserName().value_or("");
    std::string text;
    if (long n = unviewedChallengesCount(); n > 0) {
        text = "Hi " + name + "! You have " + std::to_string(n) + " new challenge" + plural(n) + ".";
    } else if (long n = unreadInviteCount(); n > 0) {
        text = "Hi " + name + "! You have " + std::to_string(n) + " new invitation" + plural(n) + ".";
    } else if (long n = unreadInboxTotal(); n > 0) {
        text = "Hi " + name + "! You have " + std::to_string(n) + " unread conversation" + plural(n) + ".";
    } else if (long n = pendingFriendsCount(); n > 0) {
        text = "Hi " + name + "! You have " + std::to_string(n) + " pending friend" + plural(n) + ".";
    } else {
        text = "Welcome back, " + name;
    }
    instance->showLoginBanner(text, kSuccessType, true);
}

void Halcyon::loginWasAborted(bool sslFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    if (!instance) {
        return;
    }
    if (sslFailure) {
        platform::Thread::mainThread()->runLoop()->postAfter(kSSLNotificationDelay, [] { showSSLNotification(); });
    }
    instance->countGameSession();
    if (instance->usingGameCenter_) {
        initializeGameCenter();
        return;
    }
    const auto name = lastLoggedInUserName();
    if (lastLoggedInUserId() != "0" && name) {
        instance->showLoginBanner("Welcome back, " + *name + ", you are OFFLINE", kSuccessType, false);
    } else {
        instance->showLoginBanner("Not Logged In To Halcyon", kSuccessType, false);
    }
}

void Halcyon::showSSLNotification()
{
    HC_CHECK_MAIN_THREAD();
    if (auto instance = sharedInstance()) {
        instance->showLoginBanner("Check your date & time settings.", kSuccessType, false);
    }
}

void Halcyon::launchLoginFlowAndShowDashboard(bool showDashboard, const std::shared_ptr<HCActionRequest>& request)
{
    HC_CHECK_MAIN_THREAD();
    const std::string text = "Unable to login to Halcyon. Restart to try again.";
    auto instance = sharedInstance();
    if (instance) {
        auto screens = loginScreens(instance);
        if (isShowingFullScreen()) {
            if (screens) {
                screens->displayErrorMessage(text);
            }
        } else if (!showDashboard && !shouldAutomaticallyPromptLogin() &&
                   !(request && request->failedNotAuthorized())) {
            loginWasAborted(false);
        } else {
            instance->showLoginBanner(text, kErrorType, false);
        }
    }
    if (request) {
        request->abandonInLightOfASeriousError();
    }
}

void Halcyon::launchLoginFlowForRequest(const std::shared_ptr<HCActionRequest>& request)
{
    launchLoginFlowAndShowDashboard(isDashboardHubOpen(), request);
}

// ===== Online and offline dashboard ==============================================

void Halcyon::switchToOnlineDashboard()
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    if (!instance || instance->dashboardInOnlineMode_) {
        return;
    }
    post(HCNSNotificationUserOnline);
    if (const auto& online = dashboardHooks().switchToOnlineMode) {
        online();
    }
    instance->dashboardInOnlineMode_ = true;
}

void Halcyon::switchToOfflineDashboard()
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    if (!instance || !instance->dashboardInOnlineMode_) {
        return;
    }
    post(HCNSNotificationUserOffline);
    setUnviewedChallengesCount(0);
    setUnreadIMCount(0, 0, 0);
    setPendingFriendsCount(0);
    if (instance->assembly_.clearLocalAnnouncements) {
        instance->assembly_.clearLocalAnnouncements();
    }
    if (const auto& offline = dashboardHooks().switchToOfflineMode) {
        offline();
    }
    instance->dashboardInOnlineMode_ = false;
}

bool Halcyon::isHalcyonDashboardInOnlineMode()
{
    auto instance = sharedInstance();
    return instance && instance->dashboardInOnlineMode_;
}

// ===== Approval ====================================================================

void Halcyon::presentUserHalcyonApprovalModal(const HCDelegate& approved, const HCDelegate& denied)
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    auto screens = loginScreens(instance);
    if (screens && screens->isIntroFlowActive()) {
        return;
    }
    if (hasUserApprovedHalcyon()) {
        approved.invoke(nullptr);
        return;
    }
    HalcyonDelegate* delegate = getDelegate();
    bool custom = false;
    if (!isDashboardHubOpen() && delegate) {
        platform::callOptional([&] { custom = delegate->showCustomHalcyonApprovalScreen(); });
    }
    if (custom || !screens) {
        return;
    }
    post(HCNSNotificationFullscreenFrameOff);
    screens->presentApproval(approved, denied);
}

void Halcyon::presentHalcyonIntroFlowWebNavController(const HCDelegate&, const HCDelegate&)
{
    HC_CHECK_MAIN_THREAD();
    auto screens = loginScreens(sharedInstance());
    if (!screens) {
        return;
    }
    post(HCNSNotificationFullscreenFrameOn);
    screens->presentIntroFlow();
}

void Halcyon::userDidApproveHalcyon(bool approved)
{
    userDidApproveHalcyon(approved, HCDelegate());
}

void Halcyon::userDidApproveHalcyon(bool approved, const HCDelegate& accountSetupComplete)
{
    HC_CHECK_MAIN_THREAD();
    if (!approved) {
        initializeGameCenter();
        setUserDeniedHalcyon();
        accountSetupComplete.invoke(nullptr);
        return;
    }
    setUserApprovedHalcyon();
    presentConfirmAccountModal(accountSetupComplete, false);
}

void Halcyon::presentConfirmAccountModal(const HCDelegate& complete, bool useModalInDashboard)
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    auto screens = loginScreens(instance);
    if (!screens) {
        // Nothing can confirm the account: log in directly.
        doBootstrapAsUserId(lastLoggedInUserId(), complete, complete);
        return;
    }
    instance->confirmAccountFlowActive_ = true;
    screens->presentConfirmAccount(complete, useModalInDashboard);
}

void Halcyon::dismissRootControllerOrItsModal(const platform::ui::ViewControllerPtr& endingScreen)
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    if (!instance) {
        return;
    }
    if (auto screens = loginScreens(instance)) {
        screens->dismissRootControllerOrItsModal(endingScreen);
    }
    instance->confirmAccountFlowActive_ = false;
    // The held-back call is made once; a later flow's end does not repeat it.
    if (instance->hasDeferredLoginDelegate_) {
        instance->hasDeferredLoginDelegate_ = false;
        instance->_invokeLoggedInDelegate();
    }
}

bool Halcyon::isConfirmAccountFlowActive()
{
    auto instance = sharedInstance();
    return instance && instance->confirmAccountFlowActive_;
}

std::shared_ptr<HCLoginScreens> Halcyon::loginScreens(const std::shared_ptr<Halcyon>& instance)
{
    return instance ? instance->assembly_.loginScreens : nullptr;
}
