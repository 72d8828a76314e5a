// The game's entry call: the start-up sequence with this build's services
// and hooks.
#include "client/HCClientHooks.h"
#include "client/HCServiceOrder.h"
#include "scores/challenges/HCChallengeService.h"
#include "scores/offline/HCOfflineService.h"
#include "social/announcements/HCAnnouncementService.h"
#include "accounts/HCAccountScreens.h"
#include "core/halcyon/HCLocation.h"
#include "core/halcyon/HCSessionLoginChain.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "dashboard/HCWebViewManifestService.h"
#include "uiframework/HCControllerLoader.h"

namespace {

std::optional<std::string> stringSetting(const std::shared_ptr<platform::Dictionary>& settings, const char* key)
{
    auto text = settings ? settings->get<platform::String>(key) : nullptr;
    return text ? std::optional<std::string>(text->value()) : std::nullopt;
}

}  // namespace

void Halcyon::initializeWithProductKey(const std::string& productKey, const std::string& secret,
                                       const std::string& displayName,
                                       const std::shared_ptr<platform::Dictionary>& settings,
                                       const std::shared_ptr<HCDelegatesContainer>& delegates)
{
    // The loader's naming rules hold before start-up can show a first screen.
    if (!sharedInstance()) {
        HCControllerLoader::setAssetFileSuffix("Hc");
        HCControllerLoader::setClassNamePrefix("HC");
        HCControllerLoader::setOverrideAssetFileSuffix(stringSetting(settings, HalcyonSettingOverrideSuffixString));
        HCControllerLoader::setOverrideClassNamePrefix(
            stringSetting(settings, HalcyonSettingOverrideClassNamePrefixString));
    }
    _initialize(productKey, secret, displayName, settings, delegates, HCClientHooks::assembly());
}

HCClientAssembly HCClientHooks::assembly()
{
    HCClientAssembly assembly;
    assembly.services = HCServiceOrder::services();
    assembly.installHooks = &HCClientHooks::install;
    assembly.removeHooks = &HCClientHooks::remove;
    assembly.loginChain = std::make_shared<HCSessionLoginChain>();
    assembly.loginScreens = std::make_shared<HCAccountScreens>();
    assembly.sendPendingData = [](const std::string& userId) {
        if (auto offline = HCOfflineService::sharedInstance()) offline->sendPendingData(userId);
    };
    assembly.downloadAnnouncements = &HCAnnouncementService::downloadAnnouncements;
    assembly.clearLocalAnnouncements = &HCAnnouncementService::clearLocalAnnouncements;
    // The web pages' files are the game's, not the player's: the mirror
    // follows the manifest from start-up on, approved or not.
    assembly.updateWebPages = [] { HCWebViewManifestService::updateToManifest(); };
    assembly.makeLocation = [] { return HCLocation::make(); };
    assembly.showChallengeDetail = [](const std::string& challengeId) {
        HCChallengeService::getChallengeToUserAndShowDetailView(challengeId);
    };
    assembly.showChallengeNotification = [](const std::string& challengeId) {
        HCChallengeService::getChallengeToUserAndShowNotification(challengeId);
    };
    return assembly;
}
