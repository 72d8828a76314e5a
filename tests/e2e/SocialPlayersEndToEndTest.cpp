// The player classes as a game meets them, with the client started against
// the local server: HCUser's look-up (the local player answered inside the
// call, another player from the device's store while offline), the friends
// lists, HCCurrentUser's counts and operations, and the featured games.
#include <gtest/gtest.h>

#include "core/halcyon/Halcyon.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/users/HCUser.h"
#include "core/users/HCUserDelegate.h"
#include "core/users/HCUserService.h"
#include "e2e/support/SocialClientTest.h"
#include "kernel/reachability/HCReachability.h"
#include "localserver/Fixtures.h"
#include "scores/offline/HCUserService+Private.h"
#include "social/playedgames/HCPlayedGame.h"
#include "social/playedgames/HCPlayedGameDelegate.h"
#include "social/users/HCCurrentUser.h"
#include "social/users/HCCurrentUserDelegate.h"
#include "support/TestSupport.h"

namespace defaults = localserver::defaults;

namespace {

std::string namesOf(const std::vector<HCUserPtr>& users)
{
    std::string out;
    for (const auto& user : users) out += (out.empty() ? "" : ",") + user->name().value_or("?");
    return out;
}

// Each call as a line: "user Ben", "no user", "friends of Ann: Ben" ...
class Players final : public HCUserDelegate, public HCCurrentUserDelegate, public HCPlayedGameDelegate {
public:
    void didGetFeaturedGames(const std::vector<platform::ObjectPtr>& games) override
    {
        std::string names;
        for (const auto& object : games)
            if (auto game = platform::as<HCPlayedGame>(object)) names += (names.empty() ? "" : ",") + game->name().value_or("?");
        calls.push_back("featured: " + names);
    }
    void didFailGetFeaturedGames() override { calls.push_back("no featured games"); }
    void didGetUser(const HCUserPtr& user) override { calls.push_back("user " + user->name().value_or("?")); }
    void didFailGetUser() override { calls.push_back("no user"); }
    void didGetFriends(const std::vector<HCUserPtr>& friends, const HCUserPtr& user) override
    {
        calls.push_back("friends of " + user->name().value_or("?") + ": " + namesOf(friends));
    }
    void didFailGetFriendsHCUser(const HCUserPtr&) override { calls.push_back("no friends"); }
    void didGetFriendsWithThisApplication(const std::vector<HCUserPtr>& friends, const HCUserPtr& user) override
    {
        calls.push_back("players of " + user->name().value_or("?") + ": " + namesOf(friends));
    }
    void didFailGetFriendsWithThisApplicationHCUser(const HCUserPtr&) override { calls.push_back("no players"); }
    void didCheckConnectedToSocialNetwork(bool connected) override
    {
        calls.push_back(connected ? "connected" : "not connected");
    }
    void didFailCheckConnectedToSocialNetwork() override { calls.push_back("check failed"); }
    void didUnfriend() override { calls.push_back("unfriended"); }
    void didFailUnfriend() override { calls.push_back("unfriend failed"); }
    void didSendFriendRequest() override { calls.push_back("followed"); }
    void didFailSendFriendRequest() override { calls.push_back("follow failed"); }
    void didFavoriteCurrentGame() override { calls.push_back("favourite"); }
    void didFailFavoriteCurrentGame() override { calls.push_back("favourite failed"); }
    std::vector<std::string> calls;
};

class SocialPlayersEndToEndTest : public SocialClientTest {
protected:
    void SetUp() override
    {
        SocialClientTest::SetUp();
        HCUser::setDelegate(&players);
        HCCurrentUser::setDelegate(&players);
        HCPlayedGame::setDelegate(&players);
    }
    void TearDown() override
    {
        HCUser::setDelegate(nullptr);
        HCCurrentUser::setDelegate(nullptr);
        HCPlayedGame::setDelegate(nullptr);
        SocialClientTest::TearDown();
    }
    void start()
    {
        SocialClientTest::start();
        players.calls.clear();
    }
    bool called(size_t count)
    {
        return waitUntil([&] { return players.calls.size() >= count; });
    }
    localserver::Request last() { return server->log().entries().back().request; }

    Players players;
};

}  // namespace


TEST_F(SocialPlayersEndToEndTest, GetUserAnswersTheLocalPlayerInsideTheCallAndOfflineFromTheDevicesStore)
{
    start();
    EXPECT_EQ(HCUser::getUser(std::string(defaults::kUserId)), nullptr);
    EXPECT_EQ(players.calls, std::vector<std::string>{"user Ann"}) << "answered before the call returned";

    ASSERT_TRUE(HCUser::getUser(std::string(defaults::kOtherUserId)));
    ASSERT_TRUE(called(2));
    EXPECT_EQ(players.calls.back(), "user Ben");
    EXPECT_EQ(last().path, std::string("users/") + defaults::kOtherUserId + "/");
    ASSERT_TRUE(HCUser::getUser(std::string("9999")));
    ASSERT_TRUE(called(3));
    EXPECT_EQ(players.calls.back(), "no user");

    // Offline: Ben was stored on this device, 9998 was not; neither asks the server.
    ASSERT_TRUE(HCUserServicePrivate::createLocalUser(std::string(defaults::kOtherUserId), std::string("Ben"), std::nullopt));
    HCReachability::Instance()->setOverride(HCReachability::NotReachable);
    ASSERT_TRUE(waitUntil([] { return !Halcyon::isOnline(); }));
    const auto before = server->log().size();
    EXPECT_EQ(HCUser::getUser(std::string(defaults::kOtherUserId)), nullptr);
    EXPECT_EQ(players.calls.back(), "user Ben");
    EXPECT_EQ(HCUser::getUser(std::string("9998")), nullptr);
    EXPECT_EQ(players.calls.back(), "no user");
    EXPECT_EQ(players.calls.size(), 5u);

    // The service's own answer offline is a series, as a reply would be.
    std::shared_ptr<HCPaginatedSeries> series;
    HCUserService::getUser(std::string(defaults::kOtherUserId), HCDelegate::withFunction([&](const platform::ObjectPtr& o) {
                               series = platform::as<HCPaginatedSeries>(o);
                           }),
                           HCDelegate());
    ASSERT_TRUE(series);
    EXPECT_EQ(series->count(), 1u);
    testsupport::drainMain();
    EXPECT_EQ(server->log().size(), before);
}

TEST_F(SocialPlayersEndToEndTest, FriendsListsAndTheCurrentPlayersOperations)
{
    start();
    auto ann = HCCurrentUser::currentUser();
    ASSERT_TRUE(ann);
    EXPECT_EQ(ann->resourceId(), defaults::kUserId);

    ASSERT_EQ(Halcyon::clientApplicationId(), defaults::kGameId) << "the log-in keeps this game's id";
    // The alphabetical list comes in sections, the list with the game flat.
    ASSERT_TRUE(ann->getFriends());
    ASSERT_TRUE(called(1));
    EXPECT_EQ(players.calls.back(), "friends of Ann: Ben");
    EXPECT_FALSE(last().param("not_sectioned"));
    ASSERT_TRUE(ann->getFriendsWithThisApplication());
    ASSERT_TRUE(called(2));
    EXPECT_EQ(players.calls.back(), "players of Ann: Ben");
    EXPECT_EQ(last().param("not_sectioned"), "yes");
    EXPECT_EQ(last().param("with_client_application"), defaults::kGameId);

    // Ann's one login is her e-mail: no social network.
    ASSERT_TRUE(HCCurrentUser::checkConnectedToSocialNetwork());
    ASSERT_TRUE(called(3));
    EXPECT_EQ(players.calls.back(), "not connected");

    auto dora = HCUser::initWithId<HCUser>(std::string("1005"));
    ASSERT_TRUE(HCCurrentUser::sendFriendRequest(dora));
    ASSERT_TRUE(called(4));
    EXPECT_EQ(players.calls.back(), "followed");
    EXPECT_FALSE(dora->followedByLocalUser()) << "nothing changes locally";
    ASSERT_TRUE(ann->getFriends());
    ASSERT_TRUE(called(5));
    EXPECT_EQ(players.calls.back(), "friends of Ann: Ben,Dora");
    ASSERT_TRUE(HCCurrentUser::unfriend(dora));
    ASSERT_TRUE(called(6));
    EXPECT_EQ(players.calls.back(), "unfriended");
    EXPECT_EQ(last().method, "DELETE");

    ASSERT_TRUE(HCCurrentUser::favoriteCurrentGame(std::string("Calm and clever")));
    ASSERT_TRUE(called(7));
    EXPECT_EQ(players.calls.back(), "favourite");
    EXPECT_EQ(last().path, std::string("client_applications/") + defaults::kGameId + "/users/review.xml");
    EXPECT_EQ(last().param("client_application_user[review]"), "Calm and clever");

    // A player that names nobody fails inside the call; a user without an
    // id does not stand for the local player.
    const auto before = server->log().size();
    EXPECT_EQ(HCCurrentUser::unfriend(nullptr), nullptr);
    EXPECT_EQ(players.calls.back(), "unfriend failed");
    auto nobody = HCUser::initWithId<HCUser>(std::nullopt);
    EXPECT_EQ(nobody->getFriends(), nullptr);
    EXPECT_EQ(players.calls.back(), "no friends");
    EXPECT_EQ(nobody->getFriendsWithThisApplication(), nullptr);
    EXPECT_EQ(players.calls.back(), "no players");
    testsupport::drainMain();
    EXPECT_EQ(server->log().size(), before);

    Halcyon::setUnviewedChallengesCount(2);
    Halcyon::setPendingFriendsCount(3);
    Halcyon::setUnreadIMCount(1, 4, 5);
    EXPECT_EQ(HCCurrentUser::unviewedChallengesCount(), 2);
    EXPECT_EQ(HCCurrentUser::HalcyonBadgeCount(), 2 + 3 + 1 + 4 + 5);
}

TEST_F(SocialPlayersEndToEndTest, FeaturedGamesAreTheDevelopersPicksInTheServicesOrder)
{
    start();
    ASSERT_TRUE(HCPlayedGame::getFeaturedGames());
    ASSERT_TRUE(called(1));
    EXPECT_EQ(players.calls.back(), "featured: Pebble Tide,Tolvarine Ruvuru");
    EXPECT_EQ(last().path, "game_discovery_categories/developers_picks.xml");
    EXPECT_EQ(last().param("page"), "1");

    // A failed page reaches the failure method.
    server->faults().injectFor("GET", "game_discovery_categories/developers_picks.xml", localserver::Fault::reply(500));
    ASSERT_TRUE(HCPlayedGame::getFeaturedGames());
    ASSERT_TRUE(called(2));
    EXPECT_EQ(players.calls.back(), "no featured games");
}

