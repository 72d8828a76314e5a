#include "gamepages/HCGamePages.h"

#include "dashboard/HCPlayerBannerCell.h"
#include "gamepages/achievements/HCAchievementCompareListCell.h"
#include "gamepages/achievements/HCAchievementListController.h"
#include "gamepages/achievements/HCAchievementProgressionList.h"
#include "gamepages/achievements/HCAchievementShareCells.h"
#include "gamepages/achievements/HCSelectAchievementToShareController.h"
#include "gamepages/challenges/HCChallengeCells.h"
#include "gamepages/challenges/HCChallengeDetailController.h"
#include "gamepages/challenges/HCChallengeDetailHeaderController.h"
#include "gamepages/challenges/HCChallengeListController.h"
#include "gamepages/challenges/HCCompletedChallengeHeaderController.h"
#include "gamepages/challenges/HCSendChallengeController.h"
#include "gamepages/challenges/HCSendChallengeHeaderController.h"
#include "gamepages/discovery/HCFeaturedGameCell.h"
#include "gamepages/discovery/HCFeaturedGamesController.h"
#include "gamepages/discovery/HCGameDiscoveryCategoryCell.h"
#include "gamepages/discovery/HCGameDiscoveryController.h"
#include "gamepages/discovery/HCGameDiscoveryNewsItemCell.h"
#include "gamepages/discovery/HCPlayedGameCell.h"
#include "gamepages/fanclub/HCFanClubCell.h"
#include "gamepages/fanclub/HCFanClubController.h"
#include "gamepages/fanclub/HCFavoriteThisGameController.h"
#include "gamepages/fanclub/HCNewsLetterController.h"
#include "gamepages/gameprofile/HCGameProfileController.h"
#include "gamepages/highscores/HCHighScoreCell.h"
#include "gamepages/highscores/HCHighScoreController.h"
#include "gamepages/highscores/HCShareHighScoreCell.h"
#include "gamepages/leaderboards/HCLeaderboardCell.h"
#include "gamepages/leaderboards/HCLeaderboardController.h"
#include "gamepages/nearme/HCHighScoreMapViewController.h"
#include "platform/runtime/ClassRegistry.h"

void HCGamePages::registerClasses()
{
    platform::registerClass<HCGameProfileController>("HCGameProfileController");
    // The large screen's form of the same page.
    platform::registerClass<HCGameProfileController>("HCGameProfileWithNavBarController");
    platform::registerClass<HCFanClubController>("HCFanClubController");
    platform::registerClass<HCFanClubCell>("HCFanClubCell");
    platform::registerClass<HCFavoriteThisGameController>("HCFavoriteThisGameController");
    platform::registerClass<HCNewsLetterController>("HCNewsLetterController");
    platform::registerClass<HCLeaderboardController>("HCLeaderboardController");
    platform::registerClass<HCLeaderboardCell>("HCLeaderboardCell");
    platform::registerClass<HCHighScoreController>("HCHighScoreController");
    platform::registerClass<HCHighScoreCell>("HCHighScoreCell");
    platform::registerClass<HCShareHighScoreCell>("HCShareHighScoreCell");
    // Loaded as "Mapping".
    platform::registerClass<HCHighScoreMapViewController>("HCMappingController");
    platform::registerClass<HCAchievementListController>("HCAchievementListController");
    platform::registerClass<HCAchievementProgressionList>("HCAchievementProgressionListCell");
    platform::registerClass<HCAchievementCompareListCell>("HCAchievementCompareListCell");
    platform::registerClass<HCAchievementProgressionListLeadingCell>("HCAchievementProgressionListLeadingCell");
    platform::registerClass<HCSelectAchievementToShareController>("HCSelectAchievementToShareController");
    platform::registerClass<HCSelectAchievementToShareLeadingCell>("HCSelectAchievementToShareLeadingCell");
    platform::registerClass<HCPlayedGameController>("HCPlayedGameController");
    platform::registerClass<HCPlayedGameCell>("HCPlayedGameCell");
    platform::registerClass<HCGameDiscoveryController>("HCGameDiscoveryController");
    platform::registerClass<HCGameDiscoveryCategoryCell>("HCGameDiscoveryCategoryCell");
    platform::registerClass<HCGameDiscoveryNewsItemCell>("HCGameDiscoveryNewsItemCell");
    platform::registerClass<HCGameDiscoveryImageHyperlinkCell>("HCGameDiscoveryImageHyperlinkCell");
    platform::registerClass<HCFeaturedGameCell>("HCFeaturedGameCell");
    platform::registerClass<HCFeaturedGamesController>("HCFeaturedGamesController");
    // The dashboard's banner of a player's pages.
    platform::registerClass<HCPlayerBannerCell>("HCPlayerBannerCell");
    platform::registerClass<HCChallengeListController>("HCChallengeListController");
    HCChallengeListController::registerSectionHeaderView();
    platform::registerClass<HCChallengeDetailController>("HCChallengeDetailController");
    platform::registerClass<HCChallengeDetailHeaderController>("HCChallengeDetailHeaderController");
    platform::registerClass<HCChallengeToUserCell>("HCChallengeToUserCell");
    platform::registerClass<HCChallengeSentCell>("HCChallengeSentCell");
    platform::registerClass<HCChallengeDetailCell>("HCChallengeDetailCell");
    platform::registerClass<HCChallengeDefinitionStatsCell>("HCChallengeDefinitionStatsCell");
    platform::registerClass<HCSendChallengeController>("HCSendChallengeController");
    platform::registerClass<HCSendChallengeHeaderController>("HCSendChallengeHeaderController");
    platform::registerClass<HCCompletedChallengeHeaderController>("HCCompletedChallengeHeaderController");
}
