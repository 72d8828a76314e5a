// Games over real HTTP: the profile info (answered from the stored info for
// this game), the comparison, the favourite with its review, and a game id
// that is not known yet.
#include <gtest/gtest.h>

#include "core/clientstate/HCClientState.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "e2e/support/LiveServerTest.h"
#include "localserver/Fixtures.h"
#include "social/applications/HCClientApplicationService.h"
#include "social/applications/HCGameProfilePageComparisonInfo.h"

namespace {

using namespace localserver::defaults;

class SocialAppsEndToEndTest : public LiveServerTest {
protected:
    void SetUp() override
    {
        LiveServerTest::SetUp();
        HCClientApplicationService::initializeService();
        stored = std::make_shared<HCGameProfilePageInfo>();
        stored->setResourceId(kGameId);
        stored->setName("Stored");
        HCClientStateQueries queries;
        queries.clientApplicationId = [] { return std::optional<std::string>(kGameId); };
        queries.localGameProfileInfo = [this] { return stored; };
        HCClientState::setQueries(queries);
    }
    void TearDown() override
    {
        HCClientState::setQueries({});
        HCClientApplicationService::shutdownService();
        LiveServerTest::TearDown();
    }
    localserver::Request last() { return server->log().entries().back().request; }
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
