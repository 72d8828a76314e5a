// Games over real HTTP: the profile info (answered from the stored info for
// this game), the comparison, the favourite with its review, the lists of
// played games, a player's review, taking a game off the list, the fan club
// and the store description, and a game id that is not known yet.
#include <gtest/gtest.h>

#include "core/clientstate/HCClientState.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "e2e/support/LiveServerTest.h"
#include "localserver/Fixtures.h"
#include "social/applications/HCApplicationDescription.h"
#include "social/applications/HCApplicationDescriptionService.h"
#include "social/applications/HCClientApplicationService.h"
#include "social/applications/HCGameProfilePageComparisonInfo.h"
#include "social/playedgames/HCPlayedGame.h"

namespace {

using namespace localserver::defaults;

class SocialAppsEndToEndTest : public LiveServerTest {
protected:
    void SetUp() override
    {
        LiveServerTest::SetUp();
        HCClientApplicationService::initializeService();
        HCApplicationDescriptionService::initializeService();
        stored = std::make_shared<HCGameProfilePageInfo>();
        stored->setResourceId(kGameId);
        stored->setName("Stored");
        HCClientStateQueries queries;
        queries.clientApplicationId = [] { return std::optional<std::string>(kGameId); };
        queries.localGameProfileInfo = [this] { return stored; };
        queries.lastLoggedInUserId = [] { return std::optional<std::string>(kUserId); };
        HCClientState::setQueries(queries);
    }
    void TearDown() override
    {
        HCClientState::setQueries({});
        HCApplicationDescriptionService::shutdownService();
        HCClientApplicationService::shutdownService();
        LiveServerTest::TearDown();
    }
    localserver::Request last() { return server->log().entries().back().request; }
    // Waits for a call that must reach the server.
    Outcome sent(const std::function<HCRequestHandlePtr(const HCDelegate&, const HCDelegate&)>& call)
    {
        Outcome outcome;
        EXPECT_TRUE(call(outcome.success(), outcome.failed()));
        EXPECT_TRUE(waitFor(outcome));
        return outcome;
    }
    // "id:owned" of each played game of a reply.
    static std::vector<std::string> games(const Outcome& outcome)
    {
        std::vector<std::string> out;
        if (!outcome.series) return out;
        for (const auto& object : outcome.series->objects())
            if (auto game = platform::as<HCPlayedGame>(object))
                out.push_back(game->clientApplicationId().value_or("?") + (game->isOwnedByCurrentUser() ? ":owned" : ":not owned"));
        return out;
    }
    std::shared_ptr<HCGameProfilePageInfo> stored;
};

TEST_F(SocialAppsEndToEndTest, ThisGamesInfoIsAnsweredBeforeReturnAndAComparisonIsAlwaysFetched)
{
    fence();
    const auto before = server->log().size();
    for (const std::optional<std::string>& own :
         {std::optional<std::string>(), std::optional<std::string>(""), std::optional<std::string>(kGameId)}) {
        Outcome outcome;
        EXPECT_EQ(HCClientApplicationService::getGameProfilePageInfo(own, outcome.success(), outcome.failed()), nullptr);
        ASSERT_EQ(outcome.calls, 1) << "answered inside the call";
        ASSERT_EQ(outcome.series->count(), 1u);
        EXPECT_EQ(outcome.series->objectAtIndex(0), stored);
    }
    fence();
    EXPECT_EQ(server->log().size(), before + 1);

    Outcome compared;
    ASSERT_TRUE(HCClientApplicationService::getGameProfilePageComparisonInfo(std::nullopt, std::string(kOtherUserId),
                                                                             compared.success(), compared.failed()));
    ASSERT_TRUE(waitFor(compared));
    EXPECT_EQ(last().path, std::string("apps/") + kGameId + ".xml");
    EXPECT_EQ(last().param("game_profile_page_info"), "1");
    EXPECT_EQ(last().param("compared_user_id"), kOtherUserId);
    ASSERT_TRUE(compared.series && compared.series->count() == 1);
    auto comparison = platform::as<HCGameProfilePageComparisonInfo>(compared.series->objectAtIndex(0));
    ASSERT_TRUE(comparison);
    EXPECT_EQ(comparison->localUsersAchievementsScore(), 30);
    EXPECT_EQ(comparison->comparedUsersAchievementsScore(), 10);
    ASSERT_TRUE(comparison->gameProfilePageInfo());
    EXPECT_EQ(comparison->gameProfilePageInfo()->name(), kGameName);
}

TEST_F(SocialAppsEndToEndTest, AFavouriteCarriesItsReviewInsideItsScopeAndUnfavouringSendsNone)
{
    Outcome favourite;
    ASSERT_TRUE(HCClientApplicationService::makeGameFavorite(std::nullopt, std::string("Great & fast"),
                                                             favourite.success(), favourite.failed()));
    ASSERT_TRUE(waitFor(favourite));
    EXPECT_FALSE(favourite.failure);
    EXPECT_EQ(last().path, std::string("client_applications/") + kGameId + "/users/review.xml");
    EXPECT_EQ(last().param("client_application_user[review]"), "Great & fast");
    EXPECT_EQ(last().param("client_application_user[favorite]"), "1");
    ASSERT_GE(last().params.size(), 2u);
    EXPECT_EQ(last().params[0].first, "client_application_user[review]");

    Outcome dropped;
    ASSERT_TRUE(HCClientApplicationService::unfavoriteGame(std::nullopt, dropped.success(), dropped.failed()));
    ASSERT_TRUE(waitFor(dropped));
    EXPECT_EQ(last().param("client_application_user[favorite]"), "0");
    EXPECT_FALSE(last().param("client_application_user[review]"));
}

TEST_F(SocialAppsEndToEndTest, PlayedGamesReviewsTheListAndTheStoreDescription)
{
    // Ben, whom Ann follows, plays both games; Ann has only the first.
    auto friends = sent([](auto& s, auto& f) { return HCClientApplicationService::getPlayedGamesForLocalUsersFriends(1, s, f); });
    EXPECT_EQ(last().path, "apps.xml");
    EXPECT_EQ(last().param("scope"), "people-of-interest");
    EXPECT_EQ(games(friends), (std::vector<std::string>{"1:owned", "2:not owned"}));

    // Another player's list names him and compares with "me"; each game
    // carries both players' statistics.
    auto bens = sent([](auto& s, auto& f) {
        return HCClientApplicationService::getPlayedGamesForUser(std::string(kOtherUserId), 1, 5, s, f);
    });
    EXPECT_EQ(last().path, std::string("profiles/") + kOtherUserId + "/list_games");
    EXPECT_EQ(last().param("compared_to_user_id"), "me");
    EXPECT_EQ(last().param("per_page"), "5");
    ASSERT_EQ(games(bens), (std::vector<std::string>{"1:owned", "2:not owned"}));
    auto second = platform::as<HCPlayedGame>(bens.series->objectAtIndex(1));
    ASSERT_EQ(second->userGameStats().size(), 2u);
    EXPECT_EQ(second->name(), "Pebble Tide");
    ASSERT_TRUE(second->getLocalUsersGameStat());
    EXPECT_FALSE(second->getLocalUsersGameStat()->userHasGame());

    // Ann's favourite and review come back in her review and her favourites.
    sent([](auto& s, auto& f) { return HCClientApplicationService::makeGameFavorite(std::nullopt, std::string("Calm"), s, f); });
    auto review = sent([](auto& s, auto& f) {
        return HCClientApplicationService::getPlayerReviewForGame(std::nullopt, std::nullopt, s, f);
    });
    EXPECT_EQ(last().path, std::string("client_applications/") + kGameId + "/users/" + kUserId + ".xml");
    EXPECT_FALSE(review.failure);
    auto favourites = sent([](auto& s, auto& f) {
        return HCClientApplicationService::getFavoriteGamesForUser(std::nullopt, 1, 10, s, f);
    });
    EXPECT_EQ(last().path, "profiles/me/list_games");
    EXPECT_EQ(last().param("only_favorites"), "1");
    EXPECT_FALSE(last().param("compared_to_user_id"));
    ASSERT_EQ(games(favourites), std::vector<std::string>{"1:owned"});
    EXPECT_EQ(platform::as<HCPlayedGame>(favourites.series->objectAtIndex(0))->review(), "Calm");

    // Taking the game off her list leaves it empty.
    auto removed = sent([](auto& s, auto& f) {
        return HCClientApplicationService::removeGameFromLocalUsersList(std::string(kGameId), s, f);
    });
    EXPECT_FALSE(removed.failure);
    EXPECT_EQ(last().method, "DELETE");
    EXPECT_EQ(last().path, std::string("profile/games/") + kGameId);
    auto own = sent([](auto& s, auto& f) { return HCClientApplicationService::getPlayedGamesForUser(std::nullopt, 1, 10, s, f); });
    EXPECT_TRUE(games(own).empty());

    // Nobody hears the fan club's outcome; the server sees this game's id.
    ASSERT_TRUE(HCClientApplicationService::viewedFanClub(std::nullopt));
    fence();
    const auto& entries = server->log().entries();
    ASSERT_GE(entries.size(), 2u);
    const auto& fanClub = entries[entries.size() - 2];
    EXPECT_EQ(fanClub.request.path, "client_application_users/fan_club");
    EXPECT_EQ(fanClub.request.param("client_application_id"), kGameId);
    EXPECT_EQ(fanClub.status, 200);

    auto described = sent([](auto& s, auto& f) { return HCApplicationDescriptionService::sharedInstance()->getShowWithId(std::string("2"), s, f); });
    EXPECT_EQ(last().path, "client_applications/2/application_descriptions.xml");
    ASSERT_TRUE(described.series && described.series->count() == 1);
    auto description = platform::as<HCApplicationDescription>(described.series->objectAtIndex(0));
    ASSERT_TRUE(description);
    EXPECT_EQ(description->name(), "Pebble Tide");
    EXPECT_FALSE(description->iconUrl()) << "an empty icon text stays nil";
}

TEST_F(SocialAppsEndToEndTest, BeforeTheFirstLogInThisGamesIdIsUnknownAndCallsFailWithoutARequest)
{
    HCClientState::setQueries({});
    fence();
    const auto before = server->log().size();
    std::vector<Outcome> outcomes(3);
    EXPECT_EQ(HCClientApplicationService::getGameProfilePageComparisonInfo(std::nullopt, std::string(kOtherUserId),
                                                                           outcomes[0].success(), outcomes[0].failed()),
              nullptr);
    EXPECT_EQ(HCClientApplicationService::makeGameFavorite(std::nullopt, std::nullopt, outcomes[1].success(),
                                                           outcomes[1].failed()),
              nullptr);
    EXPECT_EQ(HCClientApplicationService::getPlayerReviewForGame(std::nullopt, std::nullopt, outcomes[2].success(),
                                                                 outcomes[2].failed()),
              nullptr);
    for (auto& outcome : outcomes) {
        ASSERT_TRUE(waitFor(outcome));
        EXPECT_FALSE(outcome.series);
    }
    fence();
    EXPECT_EQ(server->log().size(), before + 1);
}

}  // namespace
