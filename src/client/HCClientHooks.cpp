#include "client/HCClientHooks.h"
#include "client/HCClientPresence.h"

#include "uiframework/HCControllerLoader.h"

#include "accounts/HCLinkSocialNetworksController.h"

#include "core/banners/HCNotification.h"
#include "core/banners/HCNotificationHooks.h"
#include "core/bootstrap/HCBootstrapService.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/HCGamePages.h"
#include "socialpages/HCSocialPages.h"
#include "core/clientstate/HCClientState.h"
#include "core/halcyon/HCLocation.h"
#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageCache.h"
#include "core/poller/HCResourcePollerReplyReader.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCService.h"
#include "core/xp/HCSession.h"
#include "core/xp/HCXPClientHooks.h"
#include "gamepages/challenges/HCChallengeModals.h"
#include "core/storage/HCBlobObserverHooks.h"
#include "core/storage/HCCompressableData.h"
#include "kernel/http/HCHttpService.h"
#include "kernel/reachability/HCReachability.h"
#include "kernel/settings/HCSettings.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ProgrammingError.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/net/CookieStore.h"
#include "platform/runtime/Clock.h"
#include "platform/ui/Application.h"
#include "platform/ui/LocationManager.h"
#include "scores/achievements/HCAchievement.h"
#include "scores/achievements/HCAchievementGameCenter.h"
#include "scores/achievements/HCAchievementService.h"
#include "scores/achievements/HCUnlockedAchievement.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/offline/HCOfflineBootstrapSync.h"
#include "scores/offline/HCOfflineService.h"
#include "transport/handles/HCRequestHandlesForModule.h"
#include "transport/poller/HCPoller.h"
#include "transport/presence/HCPresenceService.h"
#include "transport/provider/HCProvider.h"

namespace {

HCProviderHooks providerHooks()
{
    HCProviderHooks hooks;
    hooks.willSilentlyDiscardAction = [] { return !Halcyon::hasUserApprovedHalcyon() || Halcyon::isDisabled(); };
    hooks.didDestroyLocalCredentials = [] { Halcyon::notifyAddOnsUserLoggedOut(); };
    hooks.parentalControlsEnabled = [] {
        auto session = Halcyon::session();
        return session && session->parentalControlsEnabled();
    };
    hooks.launchLoginFlowForRequest = &Halcyon::launchLoginFlowForRequest;
    hooks.showBackgroundNoticeForLoader = [](const OAuthAPIRequestLoaderPtr& loader, const platform::ObjectPtr& notice) {
        HCNotification::sharedInstance()->showBackgroundNoticeForLoader(loader, notice);
    };
    // Read on the request thread: the flag the dashboard's appearance sets.
    hooks.isDashboardFullScreen = &Halcyon::dashboardVisible;
    hooks.displayUpgradeRequiredErrorMessage = &HalcyonDashboard::displayUpgradeRequiredErrorMessage;
    hooks.displayServerMaintenanceNotice = &HalcyonDashboard::displayServerMaintenanceNotice;
    return hooks;
}

HCClientStateQueries clientStateQueries()
{
    HCClientStateQueries queries;
    queries.lastLoggedInUserId = [] { return std::optional<std::string>(Halcyon::lastLoggedInUserId()); };
    queries.localUser = &Halcyon::localUser;
    queries.isOnline = &Halcyon::isOnline;
    queries.clientApplicationId = &Halcyon::clientApplicationId;
    queries.suggestionsForumId = &Halcyon::suggestionsForumId;
    queries.applicationDisplayName = &Halcyon::applicationDisplayName;
    queries.applicationShortDisplayName = &Halcyon::applicationShortDisplayName;
    queries.localGameProfileInfo = &Halcyon::localGameProfileInfo;
    return queries;
}

// The achievement and high-score services' parts of the offline store; each
// joins here once it is built.
HCOfflineHooks offlineHooks()
{
    HCOfflineHooks hooks;
    hooks.sendPendingHighScores = [](const std::string& userId) {
        HCHighScoreService::sendPendingHighScores(userId, true, HCDelegate(), HCDelegate());
    };
    hooks.recordServerScore = &HCHighScoreService::recordServerScore;
    hooks.shareKnownResources = [](HCResourceNameMap& map) {
        HCAddKnownResource<HCAchievement>(map);
        HCAddKnownResource<HCUnlockedAchievement>(map);
        HCAddKnownResource<HCHighScore>(map);
    };
    hooks.achievementsLastSyncDate = &HCAchievementService::getLastSyncDateForUserId;
    hooks.synchAchievementsList = [](const std::shared_ptr<platform::Array>& list,
                                     const std::optional<std::string>& userId) {
        std::vector<std::shared_ptr<HCAchievement>> achievements;
        if (list)
            for (const auto& item : list->items())
                if (auto achievement = platform::as<HCAchievement>(item)) achievements.push_back(achievement);
        return HCAchievementService::synchAchievementsList(achievements, userId);
    };
    hooks.sendPendingAchievements = [](const std::string& userId) {
        HCAchievementService::sendPendingAchievements(userId, true, HCDelegate(), HCDelegate());
    };
    return hooks;
}

}  // namespace

void HCClientHooks::install()
{
    HCClientState::setQueries(clientStateQueries());
    HCXPClientHooks xp;
    xp.session = &Halcyon::session;
    xp.localUser = &Halcyon::localUser;
    xp.releaseVersionString = &Halcyon::releaseVersionString;
    HCXPClientHooks::install(xp);
    HCHttpService::setCompleteRequestHook(&HCRequestHandlesForModule::completeRequest);
    HCSettings::setAddOnHook(Halcyon::addOnSettingsHook());
    HCProvider::setHooks(providerHooks());
    HCPoller::setReplyReader(std::make_shared<HCResourcePollerReplyReader>());
    HCPresenceService::setHooks(HCClientPresenceHooks());
    HCBlobObserverHooks::install();
    HCGamePages::registerClasses();
    HCSocialPages::registerClasses();
    HCChallengeService::setScreens(HCChallengeModals::screens());
    HCOfflineService::setHooks(offlineHooks());
    HCBootstrapService::setOfflineSync(std::make_shared<HCOfflineBootstrapSync>());
    HCNotificationHooks banners;
    banners.loadView = [](const std::string& name) { return HCControllerLoader::loadView(name); };
    banners.isDashboardHubOpen = &HalcyonDashboard::isDashboardHubOpen;
    HCNotificationHooks::install(banners);
    Halcyon::setDashboardHooks(HalcyonDashboard::hooks());
}

void HCClientHooks::remove()
{
    HCHttpService::setCompleteRequestHook(nullptr);
    HCSettings::setAddOnHook(nullptr);
    HCProvider::setHooks({});
    HCPoller::setReplyReader(nullptr);
    HCPresenceService::setHooks({});
    HCNotificationHooks::install({});
    HCBlobObserverHooks::remove();
    HCClientState::setQueries({});
    HCXPClientHooks::install({});
    HCBootstrapService::setOfflineSync(nullptr);
    HCOfflineService::setHooks({});
    Halcyon::setDashboardHooks({});
    HCAchievementGameCenter::install({});
    HCChallengeService::setScreens({});
}

void HCClientHooks::resetForTesting()
{
    Halcyon::shutdown();
    remove();
    Halcyon::_resetAddOnsForTesting();
    Halcyon::_resetUserStatsForTesting();
    HCControllerLoader::resetNamingRules();
    HalcyonDashboard::_resetForTesting();
    HCLinkSocialNetworksController::invalidateSessionSeenLinkSocialNetworksScreen();
    HCService::setProvider(nullptr);
    HCCompressableData::setDisableCompression(false);
    HCImageCache::shutdownCache();
    HCNotification::sharedInstance()->clearDefaultNotice();
    HCSettings::Shutdown();
    HCSettings::resetDefaultOverrides();
    HCReachability::Shutdown();
    platform::UserDefaults::resetStandardUserDefaults();
    platform::Sandbox::reset();
    platform::DeviceFacts::reset();
    platform::ui::Application::resetShared();
    platform::ui::LocationManager::resetDevice();
    HCLocation::_resetRetriesForTesting();
    for (const auto& cookie : platform::CookieStore::shared().cookies()) {
        platform::CookieStore::shared().deleteCookiesNamed(cookie.name);
    }
    platform::Clock::install(nullptr);
    platform::setLogSink(nullptr);
    platform::setProgrammingErrorHandler(nullptr);
}
