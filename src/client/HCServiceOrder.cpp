#include "client/HCServiceOrder.h"

#include "core/bootstrap/HCBootstrapService.h"
#include "core/push/HCPushNotificationService.h"
#include "core/storage/HCCloudStorageService.h"
#include "core/users/HCUserService.h"
#include "scores/achievements/HCAchievementService.h"
#include "scores/challenges/HCChallengeDefinitionService.h"
#include "scores/challenges/HCChallengeService.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/offline/HCOfflineService.h"
#include "dashboard/HCWebViewManifestService.h"
#include "scores/servertime/HCTimeStampService.h"
#include "social/announcements/HCAnnouncementService.h"
#include "social/applications/HCApplicationDescriptionService.h"
#include "social/applications/HCClientApplicationService.h"
#include "social/chat/HCChatMessageService.h"
#include "social/chat/HCChatRoomDefinitionService.h"
#include "social/chat/HCChatRoomInstanceService.h"
#include "social/conversations/HCConversationService.h"
#include "social/conversations/HCSubscriptionService.h"
#include "social/discovery/HCGameDiscoveryService.h"
#include "social/forums/HCForumService.h"
#include "social/friends/HCFriendsService.h"
#include "social/invitations/HCInviteService.h"
#include "social/profiles/HCProfileService.h"
#include "social/settings/HCUserSettingService.h"
#include "social/socialposts/HCSocialNotificationService.h"
#include "social/ticker/HCTickerService.h"
#include "social/users/HCUsersCredentialService.h"
#include "transport/presence/HCPresenceService.h"

namespace {

template <class Service>
HCServiceEntry entry(const char* name, int startUpPlace, int shutDownPlace)
{
    return HCServiceEntry{name, &Service::initializeService, &Service::shutdownService, startUpPlace, shutDownPlace,
                          nullptr};
}

// A service whose resources the activity poller fetches.
template <class Service>
HCServiceEntry polling(const char* name, int startUpPlace, int shutDownPlace)
{
    HCServiceEntry polled = entry<Service>(name, startUpPlace, shutDownPlace);
    polled.registerPolledResources = [](const std::shared_ptr<HCPoller>& poller) {
        if (auto service = Service::sharedInstance()) service->registerPolledResources(poller);
    };
    return polled;
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
        entry<HCApplicationDescriptionService>("HCApplicationDescriptionService", 8, 17),
        entry<HCChatRoomDefinitionService>("HCChatRoomDefinitionService", 9, 16),
        entry<HCChatRoomInstanceService>("HCChatRoomInstanceService", 10, 15),
        polling<HCChatMessageService>("HCChatMessageService", 11, 14),
        entry<HCProfileService>("HCProfileService", 12, 13),
        entry<HCClientApplicationService>("HCClientApplicationService", 13, 12),
        entry<HCUserService>("HCUserService", 14, 11),
        entry<HCAchievementService>("HCAchievementService", 15, 10),
        entry<HCChallengeService>("HCChallengeService", 16, 9),
        entry<HCChallengeDefinitionService>("HCChallengeDefinitionService", 17, 8),
        entry<HCUsersCredentialService>("HCUsersCredentialService", 18, 7),
        entry<HCFriendsService>("HCFriendsService", 19, 6),
        entry<HCForumService>("HCForumService", 20, 5),
        entry<HCAnnouncementService>("HCAnnouncementService", 21, 4),
        entry<HCGameDiscoveryService>("HCGameDiscoveryService", 22, 1),
        entry<HCSubscriptionService>("HCSubscriptionService", 23, 3),
        entry<HCConversationService>("HCConversationService", 24, 2),
        entry<HCTickerService>("HCTickerService", 25, 23),
        entry<HCCloudStorageService>("HCCloudStorageService", 26, 24),
        entry<HCPresenceService>("HCPresenceService", 27, 30),
        entry<HCInviteService>("HCInviteService", 28, 27),
        entry<HCWebViewManifestService>("HCWebViewManifestService", 29, 28),
        entry<HCTimeStampService>("HCTimeStampService", 30, 29),
    };
    return table;
}
