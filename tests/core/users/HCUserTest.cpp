// The player record: its reply element, its archive, its offline row, and
// the local-player rules.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <limits>

#include "core/clientstate/HCClientState.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResourceClass.h"
#include "core/users/HCUser.h"
#include "core/writer/HCXmlResourceWriter.h"
#include "kernel/sql/HCSqlQuery.h"
#include "kernel/xml/HCXmlDocument.h"
#include "platform/foundation/FoundationTestSupport.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"
#include "platform/foundation/Values.h"

namespace {

class HCUserTest : public ::testing::Test {
protected:
    void TearDown() override { HCClientState::setQueries({}); }

    static HCUserPtr read(const std::string& userXml)
    {
        HCResourceNameMap map;
        HCAddKnownResource<HCUser>(map);
        auto document = HCXmlDocument::xmlDocumentWithData("<resources>" + userXml + "</resources>");
        auto series = HCResource::resourcesFromXml(*document, &map);
        return series->count() == 1 ? platform::as<HCUser>(series->objectAtIndex(0)) : nullptr;
    }

    static HCUserPtr archiveRoundTrip(const HCUserPtr& user)
    {
        auto data = platform::KeyedArchiver::archivedDataWithRootObject(user);
        EXPECT_TRUE(data);
        return platform::as<HCUser>(platform::KeyedUnarchiver::unarchiveObjectWithData(data));
    }
};

const char* const kFullUser =
    "<user><id>42</id><name>Ann &amp; Bo</name><profile_picture_url>http://pics/42.png</profile_picture_url>"
    "<profile_picture_source>Upload</profile_picture_source><uses_facebook_profile_picture>true"
    "</uses_facebook_profile_picture><last_played_game_id>7</last_played_game_id><last_played_game_name>Stones"
    "</last_played_game_name><gamer_score>1250</gamer_score><following_local_user>1</following_local_user>"
    "<followed_by_local_user>false</followed_by_local_user><online>YES</online><lat>52.5</lat>"
    "<lng>-13.25</lng><unknown_child>skipped</unknown_child></user>";

TEST_F(HCUserTest, ReadsEveryFieldAndWritesTheServiceForms)
{
    auto user = read(kFullUser);
    ASSERT_TRUE(user);
    // Every field reaches the written service form, so the reads need no
    // separate check; the getters with a rule of their own are tested below.
    foundationtest::ScopedCommaLocale comma;  // numbers stay "52.500000" whatever the locale
    EXPECT_EQ(HCXmlResourceWriter::xmlStringFromResources({user}),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><resources><user><id>42</id><name>Ann &amp; Bo</name>"
              "<profile_picture_url>http://pics/42.png</profile_picture_url><profile_picture_source>Upload"
              "</profile_picture_source><uses_facebook_profile_picture>1</uses_facebook_profile_picture>"
              "<last_played_game_id>7</last_played_game_id><last_played_game_name>Stones</last_played_game_name>"
              "<gamer_score>1250</gamer_score><following_local_user>1</following_local_user>"
              "<followed_by_local_user>0</followed_by_local_user><online>1</online><lat>52.500000</lat>"
              "<lng>-13.250000</lng></user></resources>");
}

TEST_F(HCUserTest, EmptyPictureTextsLeaveNilAndScoresStayInRange)
{
    auto user = read("<user><id>1</id><profile_picture_url></profile_picture_url><profile_picture_source/>"
                     "<gamer_score>-20</gamer_score></user>");
    ASSERT_TRUE(user);
    EXPECT_EQ(user->profilePictureUrl(), std::nullopt);
    EXPECT_EQ(user->profilePictureSource(), std::nullopt);
    EXPECT_EQ(user->gamerScore(), 0u);
    EXPECT_EQ(read("<user><gamer_score>99999999999</gamer_score></user>")->gamerScore(),
              std::numeric_limits<uint32_t>::max());

    // Adjusting never wraps: below zero stops at zero, past the top at the top.
    user->adjustGamerscore(30);
    EXPECT_EQ(user->gamerScore(), 30u);
    user->adjustGamerscore(-31);
    EXPECT_EQ(user->gamerScore(), 0u);
    user->adjustGamerscore(std::numeric_limits<int32_t>::max());
    user->adjustGamerscore(std::numeric_limits<int32_t>::max());
    user->adjustGamerscore(std::numeric_limits<int32_t>::max());
    EXPECT_EQ(user->gamerScore(), std::numeric_limits<uint32_t>::max());
    user->adjustGamerscore(std::numeric_limits<int32_t>::min());
    EXPECT_EQ(user->gamerScore(), std::numeric_limits<uint32_t>::max() - 2147483648u);
}

TEST_F(HCUserTest, ArchiveKeepsEveryFieldAndMissingKeysReadEmpty)
{
    auto user = read(kFullUser);
    auto back = archiveRoundTrip(user);
    ASSERT_TRUE(back);
    EXPECT_NE(back, user);
    EXPECT_EQ(HCXmlResourceWriter::xmlStringFromResources({back}), HCXmlResourceWriter::xmlStringFromResources({user}));

    // Nil texts stay nil rather than becoming empty texts.
    auto bare = archiveRoundTrip(std::make_shared<HCUser>());
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->userId(), std::nullopt);
    EXPECT_EQ(bare->name(), std::nullopt);
    EXPECT_EQ(bare->gamerScore(), 0u);

    // An archive written with fewer keys (an older client) reads the rest as nil, NO, zero.
    platform::KeyedUnarchiver partial({{"resourceId", platform::String::make("5")},
                                       {"gamerScore", platform::Number::make(-3)}});
    HCUser fromPartial;
    fromPartial.initWithCoder(partial);
    EXPECT_EQ(fromPartial.userId(), "5");
    EXPECT_EQ(fromPartial.gamerScore(), 0u);
    EXPECT_FALSE(fromPartial.followsLocalUser());
    EXPECT_EQ(fromPartial.profilePictureUrl(), std::nullopt);
}

TEST_F(HCUserTest, OfflineRowGivesIdNameAndPictureOnly)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE users (id TEXT, name TEXT, profile_picture_url TEXT, gamer_score INTEGER);"
                           "INSERT INTO users VALUES ('17', 'Zoë', 'http://p/17', 900);"
                           "INSERT INTO users VALUES (NULL, NULL, NULL, 1);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    {
        HCSqlQuery query(db, "SELECT * FROM users ORDER BY rowid");
        ASSERT_TRUE(query.step());
        auto user = HCUser::initWithLocalSQL(query);
        EXPECT_EQ(user->userId(), "17");
        EXPECT_EQ(user->name(), "Zoë");
        EXPECT_EQ(user->profilePictureUrl(), "http://p/17");
        EXPECT_EQ(user->gamerScore(), 0u);
        EXPECT_EQ(user->lastPlayedGameName(), std::nullopt);

        // NULL columns leave nil fields, not "(null)".
        ASSERT_TRUE(query.step());
        auto empty = HCUser::initWithLocalSQL(query);
        EXPECT_EQ(empty->userId(), std::nullopt);
        EXPECT_EQ(empty->name(), std::nullopt);
        EXPECT_EQ(empty->profilePictureUrl(), std::nullopt);
    }
    sqlite3_close(db);
}

TEST_F(HCUserTest, LocalPlayerRulesFollowTheClient)
{
    auto invalid = HCUser::invalidUser();
    EXPECT_EQ(invalid->userId(), "0");
    EXPECT_EQ(invalid->name(), "Not Logged In");
    EXPECT_EQ(invalid->lastPlayedGameName(), "Halcyon Game");
    EXPECT_TRUE(invalid->isLocalUser());  // even with no one logged in

    auto me = read("<user><id>42</id><online>false</online></user>");
    auto other = read("<user><id>43</id><online>true</online></user>");
    auto anonymous = std::make_shared<HCUser>();
    EXPECT_FALSE(me->isLocalUser());
    EXPECT_FALSE(anonymous->isLocalUser());

    bool clientOnline = true;
    HCClientStateQueries queries;
    queries.lastLoggedInUserId = [] { return std::optional<std::string>("42"); };
    queries.isOnline = [&] { return clientOnline; };
    HCClientState::setQueries(queries);
    EXPECT_TRUE(me->isLocalUser());
    EXPECT_FALSE(other->isLocalUser());
    EXPECT_FALSE(anonymous->isLocalUser());
    // The local player's presence is the client's, whatever the reply said;
    // anyone else's is the reply's.
    EXPECT_TRUE(me->online());
    clientOnline = false;
    EXPECT_FALSE(me->online());
    EXPECT_TRUE(other->online());
}

TEST_F(HCUserTest, PictureSourceFollowsTheStrongestCredential)
{
    HCUser user;
    user.changeProfilePictureUrl("http://fb/1", true, true, true);
    EXPECT_EQ(user.profilePictureSource(), "FbconnectCredential");
    EXPECT_TRUE(user.usesFacebookProfilePicture());
    user.changeProfilePictureUrl("http://tw/1", false, true, true);
    EXPECT_EQ(user.profilePictureSource(), "TwitterCredential");
    EXPECT_FALSE(user.usesFacebookProfilePicture());
    user.changeProfilePictureUrl("http://up/1", false, false, true);
    EXPECT_EQ(user.profilePictureSource(), "Upload");
    user.changeProfilePictureUrl("", false, false, false);
    EXPECT_EQ(user.profilePictureSource(), std::nullopt);
    EXPECT_EQ(user.profilePictureUrl(), std::nullopt);
}

}  // namespace

// What a log line shows of a player (the presence notice logs one): the id
// and the name as a person reads them, never a type name or an address, and
// no line break a hostile name could use to forge the next log line.
TEST_F(HCUserTest, LogTextNamesThePlayerAndDefusesControlCharacters)
{
    auto ben = read("<user><id>1002</id><name>Ben</name></user>");
    ASSERT_TRUE(ben);
    EXPECT_EQ(platform::textOf(ben), "player 1002 \"Ben\"");

    auto nameless = read("<user><id>2001</id></user>");
    ASSERT_TRUE(nameless);
    EXPECT_EQ(platform::textOf(nameless), "player 2001");

    auto forger = HCResource::initWithId<HCUser>(std::string("7"));
    forger->setName(std::string("Eve\nlog: error: forged\x7f"));
    EXPECT_EQ(platform::textOf(forger), "player 7 \"Eve?log: error: forged?\"");
}
