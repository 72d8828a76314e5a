// Start-up and shut-down of the client, in their fixed orders.
#include <algorithm>

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonInstanceSlot.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/images/HCImageCache.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "core/services/HCService.h"
#include "core/storage/HCCloudStorageService.h"
#include "core/storage/HCCompressableData.h"
#include "core/xp/HCSession.h"
#include "kernel/reachability/HCReachability.h"
#include "kernel/reachability/HCReachabilityObserver.h"
#include "kernel/settings/HCSettings.h"
#include "kernel/system/HCSystemChecks.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/TextConversions.h"
#include "platform/foundation/UUID.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/ThreadChecker.h"
#include "transport/poller/HCPoller.h"
#include "transport/provider/HCProvider.h"

namespace {

bool boolSetting(const std::shared_ptr<platform::Dictionary>& settings, const char* key)
{
    const platform::ObjectPtr value = settings ? settings->objectForKey(key) : nullptr;
    if (auto number = std::dynamic_pointer_cast<platform::Number>(value)) {
        return number->boolValue();
    }
    if (auto text = std::dynamic_pointer_cast<platform::String>(value)) {
        return platform::boolValue(text->value());
    }
    return false;
}

std::optional<long> integerSetting(const std::shared_ptr<platform::Dictionary>& settings, const char* key)
{
    const platform::ObjectPtr value = settings ? settings->objectForKey(key) : nullptr;
    if (auto number = std::dynamic_pointer_cast<platform::Number>(value)) {
        return static_cast<long>(number->longLongValue());
    }
    if (auto text = std::dynamic_pointer_cast<platform::String>(value)) {
        return platform::integerValue(text->value());
    }
    return std::nullopt;
}

std::optional<std::string> stringSetting(const std::shared_ptr<platform::Dictionary>& settings, const char* key)
{
    if (!settings) {
        return std::nullopt;
    }
    if (auto text = settings->get<platform::String>(key)) {
        return text->value();
    }
    return std::nullopt;
}

std::vector<HCServiceEntry> sortedBy(std::vector<HCServiceEntry> services, int HCServiceEntry::*place)
{
    std::stable_sort(services.begin(), services.end(),
                     [place](const HCServiceEntry& a, const HCServiceEntry& b) { return a.*place < b.*place; });
    return services;
}

}  // namespace

void Halcyon::readSettings(const std::shared_ptr<platform::Dictionary>& settings)
{
    pushNotificationsEnabled_ =
        is3PointOhSystemVersion() && boolSetting(settings, HalcyonSettingEnablePushNotifications);
    notificationPosition_ = static_cast<int>(integerSetting(settings, HalcyonSettingNotificationPosition).value_or(0));
    developerDisabledUGC_ = boolSetting(settings, HalcyonSettingDisableUserGeneratedContent);
    developerDisabledLocationServices_ = boolSetting(settings, HalcyonSettingDisableLocationServices);
    allowErrorScreens_ = true;
    requireOnlineStatus_ = boolSetting(settings, HalcyonSettingRequireOnlineStatus);
    cloudStorageCompressionDisabled_ = boolSetting(settings, HalcyonSettingDisableCloudStorageCompression);
    cloudStorageVerboseCompression_ = boolSetting(settings, HalcyonSettingOutputCloudStorageCompressionRatio);
    cloudStorageLegacyHeaderlessCompression_ =
        boolSetting(settings, HalcyonSettingCloudStorageLegacyHeaderlessCompression);
    usingGameCenter_ = is4Point1SystemVersion() && boolSetting(settings, HalcyonSettingGameCenterEnabled);
    dashboardOrientation_ = static_cast<int>(integerSetting(settings, HalcyonSettingDashboardOrientation).value_or(1));
    shortDisplayName_ = stringSetting(settings, HalcyonSettingShortDisplayName).value_or(displayName_);
    presentationWindow_ = settings ? settings->objectForKey(HalcyonSettingPresentationWindow) : nullptr;
    overrideAssetFileSuffix_ = stringSetting(settings, HalcyonSettingOverrideSuffixString);
    overrideClassNamePrefix_ = stringSetting(settings, HalcyonSettingOverrideClassNamePrefixString);
    useSandboxPushNotificationServer_ = boolSetting(settings, HalcyonSettingUseSandboxPushNotificationServer);
    snapDashboardRotation_ = boolSetting(settings, HalcyonSettingSnapDashboardRotation);
}

void Halcyon::applyCloudStorageSettings() const
{
    if (auto cloudStorage = HCCloudStorageService::sharedInstance()) {
        if (cloudStorageCompressionDisabled_) {
            cloudStorage->disableCompression();
        }
        if (cloudStorageVerboseCompression_) {
            cloudStorage->enableVeboseCompression();
            HCCompressableData::setVerbose(true);
        }
        if (cloudStorageLegacyHeaderlessCompression_) {
            cloudStorage->useLegacyHeaderlessCompression();
        }
    }
    HCCompressableData::setDisableCompression(cloudStorageCompressionDisabled_);
}

void Halcyon::_initialize(const std::string& productKey, const std::string& secret, const std::string& displayName,
                          const std::shared_ptr<platform::Dictionary>& settings,
                          const std::shared_ptr<HCDelegatesContainer>& delegates, HCClientAssembly assembly)
{
    HC_CHECK_MAIN_THREAD();
    if (sharedInstance()) {
        return;
    }
    preInitializeAddOns(settings);

    auto instance = std::make_shared<Halcyon>();
    instance->assembly_ = std::move(assembly);
    instance->displayName_ = displayName;
    halcyonInstanceSlot().set(instance);
    if (instance->assembly_.installHooks) {
        instance->assembly_.installHooks();
    }
    HCImageCache::initializeCache();

    // The offline service comes first, so its database is open before any
    // other service starts.
    for (const HCServiceEntry& service : sortedBy(instance->assembly_.services, &HCServiceEntry::startUpPlace)) {
        if (service.initializeService) {
            service.initializeService();
        }
    }

    instance->delegatesContainer_ = delegates ? delegates : std::make_shared<HCDelegatesContainer>();
    instance->readSettings(settings);
    instance->applyCloudStorageSettings();
    instance->sessionId_ = platform::createUUIDString();
    instance->sessionStartDate_ = platform::Date::now();

    intiailizeUserOptions();
    intiailizeSettings();

    HCSettings::Initialize();
    if (boolSetting(settings, HalcyonSettingUseInternalSettingsFile)) {
        HCSettings::Instance()->loadSettingsFile();
    }
    std::string keyInUse = productKey;
    std::string secretInUse = secret;
    if (auto key = HCSettings::Instance()->objectForKey("debug-override-key")) {
        keyInUse = *key;
    }
    if (auto overrideSecret = HCSettings::Instance()->objectForKey("debug-override-secret")) {
        secretInUse = *overrideSecret;
    }
    setMProductKey(keyInUse);
    const std::string serverUrl = HCSettings::Instance()->objectForKey("server-url").value_or("");
    HCReachability::Initialize(serverUrl);
    if (instance->assembly_.updateWebPages) {
        instance->assembly_.updateWebPages();
    }

    intiailizeUserStats();
    reserveMemory();

    instance->provider_ = HCProvider::providerWithProductKey(keyInUse, secretInUse);
    HCService::setProvider(instance->provider_);
    instance->poller_ = HCPoller::initWithProvider(instance->provider_, kActivitiesPath);
    instance->poller_->setDefaultPollingFrequency(static_cast<double>(getPollingFrequencyDefault()));
    instance->session_ = HCSession::initWithProductKey(keyInUse, secretInUse);
    if (instance->assembly_.loginChain) {
        instance->assembly_.loginChain->attachSession(instance->session_);
    }
    for (const HCServiceEntry& service : sortedBy(instance->assembly_.services, &HCServiceEntry::startUpPlace)) {
        if (service.registerPolledResources) {
            service.registerPolledResources(instance->poller_);
        }
    }

    setUnviewedChallengesCount(0);
    setPendingFriendsCount(0);

    std::optional<std::string> startUpUserId = stringSetting(settings, HalcyonSettingInitialUserId);
    if (!startUpUserId || startUpUserId->empty()) {
        startUpUserId = lastLoggedInUserId();
    }
    if (doneWithGetTheMost()) {
        startLocationManagerIfAllowed();
    }
    initializeAddOns(settings);

    // The log-in decision: a game that says PromptUserForLogin NO leaves the
    // question of a player who was never asked to the first dashboard launch.
    const bool promptKeyAbsent = !settings || !settings->contains(HalcyonSettingPromptUserForLogin);
    if (promptKeyAbsent || boolSetting(settings, HalcyonSettingPromptUserForLogin) || hasUserSetHalcyonAccess()) {
        instance->forceUserCheckOnBootstrap_ = true;
        doBootstrapAsUserId(startUpUserId, HCDelegate(), HCDelegate());
    }

    platform::log(platform::LogLevel::Info,
                  platform::format("Using Halcyon version %d (%s). %s", versionNumber(),
                                   releaseVersionString().c_str(), serverUrl.c_str()));

    instance->reachabilityObserver_ =
        std::make_unique<HCReachabilityObserver>(HCDelegate::withFunction([](const platform::ObjectPtr& status) {
            auto number = std::dynamic_pointer_cast<platform::Number>(status);
            gameServerReachabilityChanged(number ? number->intValue() : 0);
        }));
    instance->observeApplication();
}

void Halcyon::shutdown()
{
    HC_CHECK_MAIN_THREAD();
    auto instance = sharedInstance();
    if (!instance) {
        return;
    }
    setMProductKey(std::nullopt);
    // The request thread stops before any service goes down, and nothing
    // polls, sends JSON requests or answers reachability changes once
    // shut-down has begun.
    if (instance->provider_) {
        instance->provider_->destroyAllPendingRequests();
        instance->provider_->cleanupRequestThread();
    }
    if (instance->poller_) {
        instance->poller_->stopPolling();
    }
    if (instance->session_) {
        instance->session_->cancelAllRequests();
    }
    // Game Center is let go with the request thread: once shut-down has
    // begun nothing reaches it, not even an add-on shutting down.
    if (instance->usingGameCenter_) {
        releaseGameCenter();
    }
    instance->reachabilityObserver_.reset();
    platform::NotificationCenter::defaultCenter().removeObserver(instance.get());
    shutdownAddOns();
    shutdownUserStats();
    instance->shutDownServices();
    HCImageCache::shutdownCache();
    platform::UserDefaults::standardUserDefaults()->synchronize();

    HCService::setProvider(nullptr);
    if (instance->location_) {
        instance->location_->stopUpdatingLocation();
    }
    if (instance->assembly_.removeHooks) {
        instance->assembly_.removeHooks();
    }
    HCSettings::Shutdown();
    HCReachability::Shutdown();
    halcyonInstanceSlot().set(nullptr);
}

void Halcyon::shutDownServices()
{
    for (const HCServiceEntry& service : sortedBy(assembly_.services, &HCServiceEntry::shutDownPlace)) {
        if (service.shutdownService) {
            service.shutdownService();
        }
    }
}

Halcyon::~Halcyon() = default;
