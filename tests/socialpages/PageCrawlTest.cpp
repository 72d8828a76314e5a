// The dashboard crawled from each tab and each launch call the game has,
// with the service answering, failing, and the network gone (see PageCrawl).
// One case per start and service, so they run side by side.
#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "localserver/Fixtures.h"
#include "socialpages/crawl/PageCrawl.h"

namespace {

using crawltest::CrawlStart;
using crawltest::PageCrawl;
using crawltest::Service;

std::vector<CrawlStart> gameLaunches()
{
    return {
        {"who's playing", &Halcyon::launchDashboardWithWhosPlayingPage},
        {"achievements", &Halcyon::launchDashboardWithAchievementsPage},
        {"leaderboards", &Halcyon::launchDashboardWithListLeaderboardsPage},
        {"high scores", [] { Halcyon::launchDashboardWithHighscorePage(std::string("1")); }},
        {"challenges", &Halcyon::launchDashboardWithChallengesPage},
        {"forums", &Halcyon::launchDashboardWithForumsPage},
        {"chat rooms", &Halcyon::launchDashboardWithListGlobalChatRoomsPage},
    };
}

std::vector<CrawlStart> playerLaunches()
{
    return {
        {"find friends", &Halcyon::launchDashboardWithFindFriendsPage},
        {"invite", &Halcyon::launchDashboardWithInvitePage},
        {"specific invite", [] { Halcyon::launchDashboardWithSpecificInvite("rivals"); }},
        {"message to Ben",
         [] {
             auto ben = HCResource::initWithId<HCUser>(std::string(localserver::defaults::kOtherUserId));
             ben->setName("Ben");
             Halcyon::launchDashboardWithIMToUser(ben, std::string("Rematch?"));
         }},
        {"switch user", &Halcyon::launchDashboardWithSwitchUserPage},
        {"social post",
         [] { Halcyon::launchDashboardWithSocialNotificationWithPrepopulatedText(std::string("I won"), {}, {}, {}); }},
    };
}

#define CRAWL_CASES(Service_)                                                                                  \
    TEST_F(PageCrawl, NowPlayingTab##Service_) { crawl(Service::Service_, {tab("GameProfile")}); }          \
    TEST_F(PageCrawl, MyHalcyonTab##Service_) { crawl(Service::Service_, {tab("MyHalcyon")}); }             \
    TEST_F(PageCrawl, GamesTab##Service_) { crawl(Service::Service_, {tab("GameDiscovery")}); }             \
    TEST_F(PageCrawl, GameLaunches##Service_) { crawl(Service::Service_, gameLaunches()); }                 \
    TEST_F(PageCrawl, PlayerLaunches##Service_) { crawl(Service::Service_, playerLaunches()); }

CRAWL_CASES(Normal)
CRAWL_CASES(Failing)
CRAWL_CASES(Dropped)

// Offline the dashboard shows its offline pages whatever was asked for; the
// network goes while the player's own tab loads, with the most to load.
TEST_F(PageCrawl, EveryStartOffline)
{
    std::vector<CrawlStart> starts = {tab("MyHalcyon"), tab("GameProfile"), tab("GameDiscovery")};
    for (auto launches : {gameLaunches(), playerLaunches()}) starts.insert(starts.end(), launches.begin(), launches.end());
    crawl(Service::Offline, starts);
}

}  // namespace
