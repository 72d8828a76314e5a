#include "localserver/Server.h"
#include "localserver/routes/AchievementRoutes.h"
#include "localserver/routes/ActivityRoutes.h"
#include "localserver/routes/AnnouncementRoutes.h"
#include "localserver/routes/ChallengeRoutes.h"
#include "localserver/routes/ChatLineRoutes.h"
#include "localserver/routes/ChatRoutes.h"
#include "localserver/routes/CloudStoreRoutes.h"
#include "localserver/routes/ConversationRoutes.h"
#include "localserver/routes/CredentialRoutes.h"
#include "localserver/routes/DiscoveryRoutes.h"
#include "localserver/routes/ForumRoutes.h"
#include "localserver/routes/HelpRoutes.h"
#include "localserver/routes/IndexRoute.h"
#include "localserver/routes/InviteRoutes.h"
#include "localserver/routes/LeaderboardRoutes.h"
#include "localserver/routes/LocationRoutes.h"
#include "localserver/routes/LoginRoutes.h"
#include "localserver/routes/PictureRoutes.h"
#include "localserver/routes/ProfileRoutes.h"
#include "localserver/routes/ScoreQueryRoutes.h"
#include "localserver/routes/ScoreRoutes.h"
#include "localserver/routes/SettingRoutes.h"
#include "localserver/routes/ShowcaseRoutes.h"
#include "localserver/routes/SocialAppRoutes.h"
#include "localserver/routes/SocialPostRoutes.h"
#include "localserver/routes/SocialUserRoutes.h"
#include "localserver/routes/StorageRoutes.h"
#include "localserver/routes/TimeRoutes.h"
#include "localserver/routes/WebUIRoutes.h"

namespace localserver {

// Each family of routes lives in its own file under routes/ and is added here.
void registerServiceRoutes(Server& server)
{
    registerIndexRoute(server);
    registerTimeRoutes(server);
    auto feed = registerActivityRoutes(server);
    registerChatLineRoutes(server, registerChatRoutes(server, feed));
    registerCloudStoreRoutes(server);
    auto bucket = registerStorageRoutes(server);
    auto scores = registerScoreRoutes(server, bucket);
    registerLoginRoutes(server);
    auto forums = registerForumRoutes(server);
    registerConversationRoutes(server, forums);
    registerSocialUserRoutes(server);
    registerPictureRoutes(server);
    registerSocialAppRoutes(server);
    registerInviteRoutes(server);
    registerProfileRoutes(server);
    registerSettingRoutes(server);
    registerCredentialRoutes(server);
    registerSocialPostRoutes(server);
    registerAnnouncementRoutes(server);
    registerShowcaseRoutes(server);
    registerDiscoveryRoutes(server);
    auto achievements = registerAchievementRoutes(server);
    registerChallengeRoutes(server);
    auto leaderboards = registerLeaderboardRoutes(server, scores, achievements);
    registerScoreQueryRoutes(server, scores, bucket, [leaderboards](const std::string& leaderboardId) {
        for (const auto& board : leaderboards->definitions()) {
            if (board.id == leaderboardId) return board.descendingSortOrder;
        }
        return true;
    });
    registerLocationRoutes(server);
    registerWebUIRoutes(server);
    registerHelpRoutes(server);
}

}  // namespace localserver
