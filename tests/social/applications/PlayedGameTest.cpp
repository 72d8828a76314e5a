// A played game and an application description read from replies: the
// statistics of each player, the local player's own entry, and the texts
// that stay nil.
#include <gtest/gtest.h>

#include "core/clientstate/HCClientState.h"
#include "core/replies/HCPaginatedSeries.h"
#include "kernel/xml/HCXmlDocument.h"
#include "social/applications/HCApplicationDescription.h"
#include "social/applications/HCApplicationDescriptionService.h"
#include "social/applications/HCClientApplicationService.h"
#include "social/playedgames/HCPlayedGame.h"

namespace {

class PlayedGameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HCClientApplicationService::initializeService();
        HCApplicationDescriptionService::initializeService();
    }
    void TearDown() override
    {
        HCApplicationDescriptionService::shutdownService();
        HCClientApplicationService::shutdownService();
        HCClientState::setQueries({});
    }

    template <class T, class S>
    static std::shared_ptr<T> readOne(const std::string& xml)
    {
        auto document = HCXmlDocument::xmlDocumentWithData("<resources>" + xml + "</resources>");
        auto series = HCResource::resourcesFromXml(*document, S::sharedInstance()->getKnownResources().get());
        return series->count() == 1 ? platform::as<T>(series->objectAtIndex(0)) : nullptr;
    }
    static void logIn(const std::optional<std::string>& id)
    {
        HCClientStateQueries queries;
        queries.lastLoggedInUserId = [id] { return id; };
        HCClientState::setQueries(queries);
    }
    static std::string stat(const std::string& user, bool has)
    {
        return "<user_game_stat><user_id>" + user + "</user_id><user_has_game>" + (has ? "true" : "false") +
               "</user_has_game><user_gamerscore>40</user_gamerscore><user_favorited_game>1</user_favorited_game>"
               "</user_game_stat>";
    }
};

TEST_F(PlayedGameTest, TheLocalPlayersEntryDecidesOwnership)
{
    auto game = readOne<HCPlayedGame, HCClientApplicationService>(
        "<played_game><id>2</id><name>Pebble Tide</name><client_application_id>2</client_application_id>"
        "<total_gamerscore>1000</total_gamerscore><friends_with_app>2</friends_with_app><user_game_stats>" +
        stat("1002", true) + stat("1001", false) + stat("1001", true) +
        "</user_game_stats><favorite>yes</favorite><review>Calm</review></played_game>");
    ASSERT_TRUE(game);
    ASSERT_EQ(game->userGameStats().size(), 3u);
    EXPECT_EQ(game->totalGamerscore(), 1000u);
    EXPECT_EQ(game->friendsWithApp(), 2u);
    EXPECT_TRUE(game->favorite());
    EXPECT_EQ(game->review(), "Calm");
    // Counts the service sends below zero read as none, not as four thousand million.
    auto odd = readOne<HCPlayedGame, HCClientApplicationService>(
        "<played_game><id>3</id><total_gamerscore>-5</total_gamerscore><friends_with_app>-1</friends_with_app>"
        "</played_game>");
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->totalGamerscore(), 0u);
    EXPECT_EQ(odd->friendsWithApp(), 0u);

    logIn("1001");
    // The first entry for the player counts, not any later one.
    ASSERT_EQ(game->getLocalUsersGameStat(), game->userGameStats()[1]);
    EXPECT_FALSE(game->isOwnedByCurrentUser());
    logIn("1002");
    EXPECT_TRUE(game->isOwnedByCurrentUser());
    EXPECT_EQ(game->getLocalUsersGameStat()->userGamerScore(), 40u);
    logIn("1009");
    EXPECT_FALSE(game->getLocalUsersGameStat());
    EXPECT_FALSE(game->isOwnedByCurrentUser());
    logIn(std::nullopt);
    EXPECT_FALSE(game->isOwnedByCurrentUser()) << "nobody logged in owns nothing";
}

TEST_F(PlayedGameTest, AnEmptyIconTextLeavesTheDescriptionsIconNil)
{
    auto described = readOne<HCApplicationDescription, HCApplicationDescriptionService>(
        "<application_description><name>Pebble Tide</name><icon_url></icon_url><price>0.99</price>"
        "<description_brief>Short</description_brief><client_application_id>2</client_application_id>"
        "</application_description>");
    ASSERT_TRUE(described);
    EXPECT_FALSE(described->iconUrl());
    EXPECT_EQ(described->applicationId(), "2");
    EXPECT_EQ(described->briefDescription(), "Short");
}

}  // namespace
