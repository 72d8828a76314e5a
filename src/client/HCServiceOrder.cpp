#include "client/HCServiceOrder.h"

#include "core/bootstrap/HCBootstrapService.h"
#include "core/push/HCPushNotificationService.h"
#include "core/storage/HCCloudStorageService.h"
#include "core/users/HCUserService.h"
#include "scores/achievements/HCAchievementService.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/offline/HCOfflineService.h"
#include "dashboard/HCWebViewManifestService.h"
#include "scores/servertime/HCTimeStampService.h"
#include "social/forums/HCForumService.h"
#include "social/invitations/HCInviteService.h"
#include "social/profiles/HCProfileService.h"
#include "social/settings/HCUserSettingService.h"
#include "social/socialposts/HCSocialNotificationService.h"
#include "social/ticker/HCTickerService.h"

namespace {

template <class Service>
HCServiceEntry entry(const char* name, int startUpPlace, int shutDownPlace)
{
    return HCServiceEntry{name, &Service::initializeService, &Service::shutdownService, startUpPlace, shutDownPlace,
                          nullptr};
}

}  // namespace

const std::vector<HCServiceEntry>& HCServiceOrder::services()
{
    // Places are fixed for all thirty services of the client, built or not,
    // so a service added later slots in at its own numbers. The offline
    // service is first up (its database must be open before the others
    // start); the presence service is last down.
    //
    //                                  service       start-up  shut-down
    static const std::vector<HCServiceEntry> table = {
        entry<HCOfflineService>("HCOfflineService", 1, 26),
        entry<HCBootstrapService>("HCBootstrapService", 2, 25),
        entry<HCUserSettingService>("HCUserSettingService", 3, 22),
        entry<HCHighScoreService>("HCHighScoreService", 4, 19),
        entry<HCSocialNotificationService>("HCSocialNotificationService", 5, 21),
        entry<HCPushNotificationService>("HCPushNotificationService", 6, 20),
        entry<HCLeaderboardService>("HCLeaderboardService", 7, 18),
        entry<HCProfileService>("HCProfileService", 12, 13),
        entry<HCUserService>("HCUserService", 14, 11),
        entry<HCAchievementService>("HCAchievementService", 15, 10),
        entry<HCForumService>("HCForumService", 20, 5),
        entry<HCTickerService>("HCTickerService", 25, 23),
        entry<HCCloudStorageService>("HCCloudStorageService", 26, 24),
        entry<HCInviteService>("HCInviteService", 28, 27),
        entry<HCWebViewManifestService>("HCWebViewManifestService", 29, 28),
        entry<HCTimeStampService>("HCTimeStampService", 30, 29),
    };
    return table;
}
