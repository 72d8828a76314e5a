// The achievement routes: definitions in pages with the player's and a
// compared player's progress, and the upload form answered entry by entry
// with progress that never goes down.
#include <gtest/gtest.h>

#include "localserver/routes/AchievementRoutes.h"
#include "localserver/routes/LoginRoutes.h"
#include "support/ServerFixture.h"
#include "support/XmlTree.h"

using namespace localserver;
using namespace localserver_test;

namespace {

constexpr const char* kDefinitions = "client_applications/@me/achievement_definitions.xml";
constexpr const char* kUnlocks = "users/@me/unlocked_achievements.xml";

class AchievementRoutesTest : public ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        store = registerAchievementRoutes(*server);
        server->setClock([] { return std::int64_t{1767225605}; });
    }

    HttpResult post(const Pairs& entries)
    {
        Pairs form;
        for (const auto& [id, percent] : entries) {
            form.emplace_back("achievement_list[][achievement_definition_id]", id);
            form.emplace_back("achievement_list[][percent_complete]", percent);
        }
        return signedRequest("POST", kUnlocks, {}, form);
    }

    static std::vector<const XmlElement*> resources(const XmlElement& root)
    {
        std::vector<const XmlElement*> found;
        for (const auto& child : root.children)
            if (child.name != "pagination_header") found.push_back(&child);
        return found;
    }

    std::shared_ptr<AchievementStore> store;
};

}  // namespace

TEST_F(AchievementRoutesTest, UploadAnswersEachEntryInOrderAndNeverLowersProgress)
{
    auto reply = post({{"2", "40.000000"}, {"999", "100.000000"}, {"1", "150.000000"}, {"3", "nan"}});
    ASSERT_EQ(reply.status, 200);
    auto tree = parseXml(reply.body);
    ASSERT_TRUE(tree);
    auto entries = resources(*tree);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0]->child("result")->text, "updated");
    EXPECT_EQ(entries[0]->child("percent_complete")->text, "40.000000");
    EXPECT_EQ(entries[0]->child("achievement_definition")->child("gamerscore")->text, "20");
    EXPECT_EQ(entries[0]->child("achievement_definition")->child("unlock_date"), nullptr);
    EXPECT_EQ(entries[1]->child("result")->text, "invalid");
    EXPECT_EQ(entries[1]->child("achievement_definition")->child("id")->text, "999");
    EXPECT_EQ(entries[2]->child("result")->text, "unlocked");
    EXPECT_EQ(entries[2]->child("percent_complete")->text, "100.000000");
    EXPECT_EQ(entries[2]->child("achievement_definition")->child("unlock_date")->text, "2026-01-01 00:00:05");
    EXPECT_EQ(entries[3]->child("result")->text, "invalid");
    EXPECT_FALSE(store->progress(defaults::kUserId, "3"));

    // A lower value later is answered with what the server holds; the
    // unlock date stays the first one.
    server->setClock([] { return std::int64_t{1767225999}; });
    tree = parseXml(post({{"2", "10.000000"}, {"1", "100.000000"}}).body);
    entries = resources(*tree);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0]->child("percent_complete")->text, "40.000000");
    EXPECT_EQ(entries[1]->child("achievement_definition")->child("unlock_date")->text, "2026-01-01 00:00:05");
    EXPECT_EQ(store->progress(defaults::kUserId, "2")->percentComplete, 40.0);
    EXPECT_EQ(store->progressOf(defaults::kUserId).size(), 2u);
    EXPECT_TRUE(store->progressOf(defaults::kOtherUserId).empty());
    EXPECT_EQ(store->acceptedEntries(), 4u);

    // Ids and percentages that do not pair up store nothing.
    Pairs odd{{"achievement_list[][achievement_definition_id]", "3"},
              {"achievement_list[][achievement_definition_id]", "4"},
              {"achievement_list[][percent_complete]", "50"}};
    EXPECT_EQ(signedRequest("POST", kUnlocks, {}, odd).status, 422);
    EXPECT_FALSE(store->progress(defaults::kUserId, "3"));
    EXPECT_EQ(signedRequest("POST", kUnlocks, {}, {}, defaultConsumerCredentials()).status, 401);
}

TEST_F(AchievementRoutesTest, DefinitionsCarryOwnAndComparedProgressWhenAsked)
{
    store->record(defaults::kUserId, "2", 55.5, 100);
    store->record(defaults::kOtherUserId, "1", 100, 100);

    auto plain = parseXml(signedRequest("GET", kDefinitions, {{"page", "1"}, {"per_page", "25"}}).body);
    ASSERT_TRUE(plain);
    auto list = resources(*plain);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0]->child("id")->text, "1");
    EXPECT_EQ(list[0]->child("percent_complete"), nullptr);
    EXPECT_EQ(list[3]->child("is_secret")->text, "true");
    EXPECT_EQ(list[4]->child("end_version")->text, "0000.09.00");

    auto rich = parseXml(signedRequest("GET", kDefinitions,
                                       {{"compared_to_user_id", defaults::kOtherUserId},
                                        {"page", "1"},
                                        {"per_page", "25"},
                                        {"get_unlocked_info", "1"}})
                             .body);
    list = resources(*rich);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0]->child("percent_complete")->text, "0.000000");
    EXPECT_EQ(list[0]->child("is_unlocked_by_compared_to_user")->text, "true");
    EXPECT_EQ(list[0]->child("compared_to_user_id")->text, defaults::kOtherUserId);
    EXPECT_EQ(list[1]->child("percent_complete")->text, "55.500000");
    EXPECT_EQ(list[1]->child("is_unlocked_by_compared_to_user")->text, "false");

    // Another game's list is its own; a game with none has an empty one.
    auto other = parseXml(signedRequest("GET", kDefinitions, {{"by_app", defaults::kOtherGameId}}).body);
    list = resources(*other);
    ASSERT_EQ(list.size(), 25u);
    EXPECT_EQ(list[0]->child("title")->text, "Comet 1");
    auto none = parseXml(signedRequest("GET", kDefinitions, {{"by_app", "99"}}).body);
    EXPECT_TRUE(resources(*none).empty());
    // Progress on another game's achievement is refused.
    auto refused = parseXml(post({{"201", "100"}}).body);
    list = resources(*refused);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->child("result")->text, "invalid");
}

TEST_F(AchievementRoutesTest, DefinitionsComeInPagesOfTwentyFive)
{
    ServerOptions options;
    for (int i = 1; i <= 30; ++i)
        options.fixtures.records.push_back(
            FixtureRecord{"achievement", {{"id", std::to_string(100 + i)}, {"position", std::to_string(131 - i)}}, "t"});
    restartWith(options);
    store = registerAchievementRoutes(*server);

    auto first = parseXml(signedRequest("GET", kDefinitions, {{"page", "1"}, {"per_page", "25"}}).body);
    auto second = parseXml(signedRequest("GET", kDefinitions, {{"page", "2"}, {"per_page", "25"}}).body);
    ASSERT_TRUE(first && second);
    auto a = resources(*first);
    auto b = resources(*second);
    ASSERT_EQ(a.size(), 25u);
    ASSERT_EQ(b.size(), 10u);
    // Position order: the five built-in ones, then the last defined first.
    EXPECT_EQ(a[5]->child("id")->text, "130");
    EXPECT_EQ(b[9]->child("id")->text, "101");
    const auto* header = first->child("pagination_header");
    ASSERT_TRUE(header);
    EXPECT_EQ(header->child("total_entries")->text, "35");
    EXPECT_EQ(header->child("total_pages")->text, "2");
}

TEST(AchievementStoreTest, FixtureWithoutAnIdIsReported)
{
    Fixtures fixtures;
    fixtures.records.push_back(FixtureRecord{"achievement", {{"title", "nameless"}}, "f.ini:3"});
    AchievementStore store;
    EXPECT_EQ(store.load(fixtures), "f.ini:3: [achievement] needs a positive \"id\"");
    EXPECT_TRUE(store.definitions().empty());
    EXPECT_FALSE(store.record("1", "1", 50, 0));
}

// The bootstrap names the player's gamerscore as the unlocks the server
// holds make it: each unlock's points once, however often it is sent, and
// nothing for progress short of 100 or for an entry refused.
TEST_F(AchievementRoutesTest, BootstrapGamerscoreCountsEachHeldUnlockOnce)
{
    registerLoginRoutes(*server);
    server->login().setOfflineBlockSource(nullptr);
    auto gamerscore = [&] {
        auto reply = signedRequest("POST", "bootstrap.xml", {}, {{"udid", "dev-1"}, {"user_id", defaults::kUserId}},
                                   defaultConsumerCredentials());
        auto tree = parseXml(reply.body);
        const auto* user = tree && tree->child("bootstrap") ? tree->child("bootstrap")->child("user") : nullptr;
        return user && user->child("gamer_score") ? user->child("gamer_score")->text : std::string("(none)");
    };
    EXPECT_EQ(gamerscore(), "0");
    ASSERT_EQ(post({{"1", "100.000000"}, {"2", "40.000000"}, {"999", "100.000000"}}).status, 200);
    EXPECT_EQ(gamerscore(), "10");
    ASSERT_EQ(post({{"1", "100.000000"}, {"2", "100.000000"}}).status, 200);
    EXPECT_EQ(gamerscore(), "30");
}
