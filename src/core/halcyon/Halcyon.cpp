#include "core/halcyon/Halcyon.h"

#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonInstanceSlot.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "core/push/HCPushNotificationService.h"
#include "core/xp/HCSession.h"
#include "kernel/reachability/HCReachability.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/ThreadChecker.h"
#include "transport/poller/HCPoller.h"
#include "transport/provider/HCProvider.h"

platform::Guarded<std::shared_ptr<Halcyon>>& halcyonInstanceSlot()
{
    static platform::Guarded<std::shared_ptr<Halcyon>> slot;
    return slot;
}

std::shared_ptr<Halcyon> Halcyon::sharedInstance()
{
    return halcyonInstanceSlot().get();
}

// ===== Shared objects =======================================================

std::shared_ptr<HCProvider> Halcyon::provider() { return instanceField(&Halcyon::provider_); }

std::shared_ptr<HCPoller> Halcyon::poller() { return instanceField(&Halcyon::poller_); }

HalcyonDelegate* Halcyon::getDelegate()
{
    auto instance = sharedInstance();
    if (!instance) {
        return nullptr;
    }
    return instance->launchDelegate_ ? instance->launchDelegate_ : instance->delegatesContainer_->halcyonDelegate();
}

HCNotificationDelegate* Halcyon::getNotificationDelegate()
{
    auto instance = sharedInstance();
    return instance ? instance->delegatesContainer_->notificationDelegate() : nullptr;
}

HCChallengeDelegate* Halcyon::getChallengeDelegate()
{
    auto instance = sharedInstance();
    return instance ? instance->delegatesContainer_->challengeDelegate() : nullptr;
}

HCBragDelegate* Halcyon::getBragDelegate()
{
    auto instance = sharedInstance();
    return instance ? instance->delegatesContainer_->bragDelegate() : nullptr;
}

std::shared_ptr<HCSession> Halcyon::session() { return instanceField(&Halcyon::session_); }

std::string Halcyon::sessionId() { return instanceField(&Halcyon::sessionId_, "0"); }

platform::DatePtr Halcyon::sessionStartDate()
{
    auto instance = sharedInstance();
    return instance && instance->sessionStartDate_ ? instance->sessionStartDate_ : platform::Date::now();
}

std::optional<std::string> Halcyon::mProductKey() { return instanceField(&Halcyon::productKey_); }

void Halcyon::setMProductKey(const std::optional<std::string>& productKey)
{
    if (auto instance = sharedInstance()) {
        instance->productKey_ = productKey;
    }
}

bool Halcyon::mUseSandboxPushNotificationServer() { return instanceField(&Halcyon::useSandboxPushNotificationServer_); }

bool Halcyon::mForceUserCheckOnBootstrap() { return instanceField(&Halcyon::forceUserCheckOnBootstrap_); }

void Halcyon::setMForceUserCheckOnBootstrap(bool value)
{
    if (auto instance = sharedInstance()) {
        instance->forceUserCheckOnBootstrap_ = value;
    }
}

bool Halcyon::dashboardVisible()
{
    auto instance = sharedInstance();
    return instance && instance->dashboardVisible_.load();
}

void Halcyon::setDashboardVisible(bool visible)
{
    if (auto instance = sharedInstance()) {
        instance->dashboardVisible_ = visible;
    }
}

bool Halcyon::requireOnlineStatus() { return instanceField(&Halcyon::requireOnlineStatus_); }

bool Halcyon::pushNotificationsEnabled() { return instanceField(&Halcyon::pushNotificationsEnabled_); }

bool Halcyon::isUsingGameCenter() { return instanceField(&Halcyon::usingGameCenter_); }

bool Halcyon::snapDashboardRotation() { return instanceField(&Halcyon::snapDashboardRotation_); }

bool Halcyon::allowErrorScreens() { return instanceField(&Halcyon::allowErrorScreens_); }

void Halcyon::setAllowErrorScreens(bool allow)
{
    if (auto instance = sharedInstance()) {
        instance->allowErrorScreens_ = allow;
    }
}

std::shared_ptr<platform::Object> Halcyon::presentationWindow() { return instanceField(&Halcyon::presentationWindow_); }

int Halcyon::getDashboardOrientation() { return instanceField(&Halcyon::dashboardOrientation_, 1); }

std::optional<std::string> Halcyon::overrideAssetFileSuffix()
{
    return instanceField(&Halcyon::overrideAssetFileSuffix_);
}

std::optional<std::string> Halcyon::overrideClassNamePrefix()
{
    return instanceField(&Halcyon::overrideClassNamePrefix_);
}

bool Halcyon::cloudStorageCompressionDisabled() { return instanceField(&Halcyon::cloudStorageCompressionDisabled_); }

bool Halcyon::cloudStorageVerboseCompression() { return instanceField(&Halcyon::cloudStorageVerboseCompression_); }

bool Halcyon::cloudStorageLegacyHeaderlessCompression()
{
    return instanceField(&Halcyon::cloudStorageLegacyHeaderlessCompression_);
}

// ===== Polling ==============================================================

void Halcyon::setPollingFrequency(double seconds)
{
    if (auto poller = Halcyon::poller()) {
        poller->changePollingFrequency(seconds);
    }
}

void Halcyon::setPollingToDefaultFrequency()
{
    if (auto poller = Halcyon::poller()) {
        poller->resetToDefaultPollingFrequency();
    }
}

void Halcyon::stopPolling()
{
    if (auto poller = Halcyon::poller()) {
        poller->stopPolling();
    }
}

void Halcyon::forceImmediatePoll()
{
    if (auto poller = Halcyon::poller()) {
        poller->pollNow();
    }
}

void Halcyon::clearPollingCacheForClassType(const std::string& resourceClassName)
{
    if (auto poller = Halcyon::poller()) {
        poller->clearCacheForResourceClass(resourceClassName);
    }
}

// ===== Facilities ===========================================================

// As the session's current device reports them; no device record, or one
// without parental controls, reads as "not enabled".
bool Halcyon::parentalControlsEnabled() const
{
    return session_ && HCDevice::parentalControlsEnabled(session_->currentDevice());
}

bool Halcyon::allowUserGeneratedContent()
{
    auto instance = sharedInstance();
    return instance && !instance->parentalControlsEnabled() && !instance->developerDisabledUGC_;
}

bool Halcyon::allowLocationServices()
{
    auto instance = sharedInstance();
    return instance && !instance->parentalControlsEnabled() && !instance->developerDisabledLocationServices_;
}

int Halcyon::notificationPosition() { return instanceField(&Halcyon::notificationPosition_, 1); }

bool Halcyon::invertNotifications()
{
    auto instance = sharedInstance();
    return instance && (instance->notificationPosition_ == 0 || instance->notificationPosition_ == 2);
}

platform::ObjectPtr Halcyon::getUserLocation()
{
    auto instance = sharedInstance();
    // A position kept on the device is not handed to anything that sends it
    // once location is closed or the player turned sharing off.
    if (!instance || !instance->location_ || !allowLocationServices() || userDistanceUnit() == 1) return nullptr;
    return instance->location_->userLocation();
}

void Halcyon::setUserLocation(std::shared_ptr<HCLocationSource> location)
{
    if (auto instance = sharedInstance()) {
        instance->location_ = std::move(location);
    }
}

std::shared_ptr<HCLocationSource> Halcyon::locationSource() { return instanceField(&Halcyon::location_); }

void Halcyon::startLocationManagerIfAllowed()
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    if (!instance || !allowLocationServices() || userDistanceUnit() == 1 || !hasUserApprovedHalcyon()) {
        return;
    }
    if (instance->assembly_.makeLocation) {
        instance->location_ = instance->assembly_.makeLocation();
    }
}

// ===== Push notifications ===================================================

std::optional<std::string> Halcyon::getChallengeIdIfExist(const std::shared_ptr<platform::Dictionary>& payload)
{
    if (!payload || payload->stringForKey("notification_type") != std::optional<std::string>("challenge")) {
        return std::nullopt;
    }
    return payload->stringForKey("resource_id");
}

bool Halcyon::respondToApplicationLaunchOptions(const std::shared_ptr<platform::Dictionary>& launchOptions)
{
    HC_CHECK_MAIN_THREAD();
    auto notification =
        launchOptions ? launchOptions->get<platform::Dictionary>("UIApplicationLaunchOptionsRemoteNotificationKey")
                      : nullptr;
    if (!notification) {
        return false;
    }
    auto instance = sharedInstance();
    if (auto challengeId = getChallengeIdIfExist(notification);
        challengeId && instance && instance->assembly_.showChallengeDetail) {
        instance->assembly_.showChallengeDetail(*challengeId);
        return true;
    }
    return allowAddOnsToRespondToPushNotification(notification, true);
}

bool Halcyon::applicationDidReceiveRemoteNotification(const std::shared_ptr<platform::Dictionary>& notification)
{
    HC_CHECK_MAIN_THREAD();
    if (!notification) {
        return false;
    }
    auto instance = sharedInstance();
    if (auto challengeId = getChallengeIdIfExist(notification);
        challengeId && instance && instance->assembly_.showChallengeNotification) {
        setUnviewedChallengesCount(unviewedChallengesCount() + 1);
        instance->assembly_.showChallengeNotification(*challengeId);
        return true;
    }
    return allowAddOnsToRespondToPushNotification(notification, false);
}

void Halcyon::applicationDidRegisterForRemoteNotificationsWithDeviceToken(
    const std::shared_ptr<platform::Data>& deviceToken)
{
    HC_CHECK_MAIN_THREAD();
    HCPushNotificationService::setDeviceToken(deviceToken, HCDelegate(), HCDelegate());
}

// ===== Log-in state =======================================================

bool Halcyon::isSuccessfullyBootstrapped()
{
    auto instance = sharedInstance();
    return instance && instance->successfullyBootstrapped_;
}

bool Halcyon::isBootstrapInProgress() { return instanceField(&Halcyon::bootstrapInProgress_); }

bool Halcyon::isOnlineNow() const
{
    if (!successfullyBootstrapped_) {
        return false;
    }
    auto reachability = HCReachability::Instance();
    return reachability && reachability->isGameServerReachable();
}

bool Halcyon::isOnline()
{
    auto instance = sharedInstance();
    return instance && instance->isOnlineNow();
}
