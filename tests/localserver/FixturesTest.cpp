#include <gtest/gtest.h>

#include <fstream>

#include "localserver/Accounts.h"
#include "localserver/Fixtures.h"
#include "support/TestSupport.h"

using namespace localserver;

TEST(FixturesTest, RecordsKeepFileOrderFieldsAndOrigins)
{
    std::string error;
    const auto fixtures = parseFixtures("# games\n[game]\r\nid = 5\nname =  Two words = here \n\n[user]\nid=9\n"
                                        "[leaderboard]\nid = 1\nid = 2\n",
                                        "f.ini", error);
    ASSERT_TRUE(fixtures) << error;
    ASSERT_EQ(fixtures->records.size(), 3u);
    EXPECT_EQ(fixtures->records[0].kind, "game");
    EXPECT_EQ(fixtures->records[0].origin, "f.ini:2");
    EXPECT_EQ(fixtures->records[0].field("name"), "Two words = here");
    EXPECT_EQ(fixtures->records[1].field("id"), "9");
    EXPECT_EQ(allValues(fixtures->records[2].fields, "id"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(fixtures->ofKind("user").size(), 1u);
}

TEST(FixturesTest, MalformedLinesNameTheirPlace)
{
    const auto failsAt = [](const std::string& text) {
        std::string error;
        EXPECT_FALSE(parseFixtures(text, "x.ini", error)) << text;
        return error.substr(0, error.find(": ", 6));
    };
    EXPECT_EQ(failsAt("id = 1\n"), "x.ini:1");
    EXPECT_EQ(failsAt("[game]\nid 1\n"), "x.ini:2");
    EXPECT_EQ(failsAt("[game]\n= 1\n"), "x.ini:2");
    EXPECT_EQ(failsAt("\n\n[Game]\n"), "x.ini:3");
    EXPECT_EQ(failsAt("[game\n"), "x.ini:1");
    EXPECT_EQ(failsAt("[]\n"), "x.ini:1");
}

TEST(FixturesTest, DirectoryReadsIniFilesInNameOrder)
{
    testsupport::TempDir dir;
    std::ofstream(dir.path() / "b.ini") << "[user]\nid = 2\n";
    std::ofstream(dir.path() / "a.ini") << "[user]\nid = 1\n";
    std::ofstream(dir.path() / "notes.txt") << "not a fixture";
    std::string error;
    const auto fixtures = loadFixtureDirectory(dir.path(), error);
    ASSERT_TRUE(fixtures) << error;
    ASSERT_EQ(fixtures->records.size(), 2u);
    EXPECT_EQ(fixtures->records[0].origin, "a.ini:1");
    EXPECT_EQ(fixtures->records[1].field("id"), "2");

    std::ofstream(dir.path() / "c.ini") << "oops\n";
    EXPECT_FALSE(loadFixtureDirectory(dir.path(), error));
    EXPECT_EQ(error.rfind("c.ini:1", 0), 0u) << error;
    EXPECT_FALSE(loadFixtureDirectory(dir.path() / "missing", error));
}

TEST(AccountsTest, IncompleteRecordsAreRefusedWithTheirOrigin)
{
    std::string error;
    const auto load = [&](const std::string& text) {
        Accounts accounts;
        return accounts.load(*parseFixtures(text, "a.ini", error));
    };
    EXPECT_EQ(load("[game]\nid = 1\nsecret = s\n"), "a.ini:1: [game] needs \"product_key\"");
    EXPECT_EQ(load("[game]\nproduct_key = k\nsecret = s\n"), "a.ini:1: [game] needs \"id\"");
    EXPECT_EQ(load("\n[user]\nname = x\n"), "a.ini:2: [user] needs \"id\"");
    EXPECT_NE(load("[user]\nid = 1\ntoken = t\n"), "");
    EXPECT_EQ(load("[user]\nid = 1\n"), "");
}

TEST(AccountsTest, IssuedTokensAreFreshAndBelongToTheirUser)
{
    Accounts accounts;
    accounts.addUser(User{"7", "Gus"});
    const auto first = accounts.issueToken("7");
    const auto second = accounts.issueToken("7");
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->token, second->token);
    EXPECT_NE(first->secret, second->secret);
    EXPECT_EQ(first->token.size(), 32u);
    EXPECT_EQ(accounts.token(second->token)->userId, "7");
    EXPECT_FALSE(accounts.issueToken("8"));
}
