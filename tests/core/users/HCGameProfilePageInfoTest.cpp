// A game's profile info: its reply keys, its archive, the running game's default.
#include <gtest/gtest.h>

#include "core/clientstate/HCClientState.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResourceClass.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "kernel/xml/HCXmlDocument.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"

namespace {

class HCGameProfilePageInfoTest : public ::testing::Test {
protected:
    void TearDown() override { HCClientState::setQueries({}); }

    static HCGameProfilePageInfoPtr read(const std::string& xml)
    {
        HCResourceNameMap map;
        HCAddKnownResource<HCGameProfilePageInfo>(map);
        auto document = HCXmlDocument::xmlDocumentWithData("<resources>" + xml + "</resources>");
        return platform::as<HCGameProfilePageInfo>(HCResource::resourcesFromXml(*document, &map)->objectAtIndex(0));
    }
};

TEST_F(HCGameProfilePageInfoTest, ReadsTheServiceKeysAndSurvivesTheArchive)
{
    auto info = read(
        "<game_profile_page_info><id>77</id><name>Tolva</name><short_name>Tv</short_name>"
        "<has_chat_rooms>true</has_chat_rooms><has_leaderboards>false</has_leaderboards>"
        "<has_challenges>1</has_challenges><has_achievements>0</has_achievements><has_ipurchase>true</has_ipurchase>"
        "<is_owned_by_local_player>false</is_owned_by_local_player><suggestions_topic_id>903</suggestions_topic_id>"
        "<has_featured_application>true</has_featured_application></game_profile_page_info>");
    ASSERT_TRUE(info);
    // Each text of a flag reads by its rule, and the archive keeps what was read.
    auto back = platform::as<HCGameProfilePageInfo>(
        platform::KeyedUnarchiver::unarchiveObjectWithData(platform::KeyedArchiver::archivedDataWithRootObject(info)));
    ASSERT_TRUE(back);
    for (const auto& i : {info, back}) {
        EXPECT_EQ(i->shortName(), "Tv");
        EXPECT_EQ(i->iconUrl(), std::nullopt);
        EXPECT_TRUE(i->hasChatRooms());
        EXPECT_FALSE(i->hasLeaderboards());
        EXPECT_TRUE(i->hasChallenges());
        EXPECT_FALSE(i->hasAchievements());
        EXPECT_EQ(i->suggestionsForumId(), "903");
    }
}

TEST_F(HCGameProfilePageInfoTest, DefaultInfoAndTheLocalGameTest)
{
    auto stored = read("<game_profile_page_info><id>77</id></game_profile_page_info>");
    HCClientStateQueries queries;
    queries.applicationDisplayName = [] { return std::string("Tolvarine Ruvuru"); };
    queries.applicationShortDisplayName = [] { return std::string("Tolvarine"); };
    queries.localGameProfileInfo = [&] { return stored; };
    HCClientState::setQueries(queries);

    auto fallback = HCGameProfilePageInfo::defaultInfo();
    EXPECT_EQ(fallback->name(), "Tolvarine Ruvuru");
    EXPECT_EQ(fallback->shortName(), "Tolvarine");
    EXPECT_EQ(fallback->resourceId(), std::nullopt);
    EXPECT_TRUE(fallback->ownedByLocalPlayer());
    EXPECT_FALSE(fallback->hasLeaderboards());
    EXPECT_EQ(fallback->suggestionsForumId(), "0");

    EXPECT_TRUE(read("<game_profile_page_info><id>77</id></game_profile_page_info>")->isLocalGameInfo());
    EXPECT_FALSE(read("<game_profile_page_info><id>770</id></game_profile_page_info>")->isLocalGameInfo());
    // Two infos without ids are not the same game.
    stored = HCGameProfilePageInfo::defaultInfo();
    EXPECT_FALSE(HCGameProfilePageInfo::defaultInfo()->isLocalGameInfo());
}

}  // namespace
