#include <gtest/gtest.h>

#include "localserver/RouteTable.h"

using namespace localserver;

TEST(RouteTableTest, PlaceholdersTakeOneNonEmptySegmentBetweenTheirLiterals)
{
    EXPECT_EQ(*RouteTable::matchPattern("leaderboards/{id}/high_scores.xml", "leaderboards/17/high_scores.xml"),
              (Params{{"id", "17"}}));
    EXPECT_EQ(*RouteTable::matchPattern("users/{user}/games/{game}.xml", "users/@me/games/3.xml"),
              (Params{{"user", "@me"}, {"game", "3"}}));
    EXPECT_TRUE(RouteTable::matchPattern("server_timestamp", "server_timestamp")->empty());
    EXPECT_FALSE(RouteTable::matchPattern("server_timestamp", "server_timestamp.xml"));
    EXPECT_FALSE(RouteTable::matchPattern("users/{id}.xml", "users/.xml"));
    EXPECT_FALSE(RouteTable::matchPattern("users/{id}.xml", "users/1.json"));
    EXPECT_FALSE(RouteTable::matchPattern("users/{id}.xml", "users/a/b.xml"));
    EXPECT_FALSE(RouteTable::matchPattern("users/{id}", "users/"));
    EXPECT_FALSE(RouteTable::matchPattern("a/b", "a//b"));
}

TEST(RouteTableTest, FindsByMethodAndTellsAWrongMethodFromAnUnknownPath)
{
    RouteTable table;
    table.add("GET", "users/{id}.xml", Access::User, [](const Request&) { return Reply::xml("get"); });
    table.add("PUT", "users/{id}.xml", Access::Consumer, [](const Request&) { return Reply::xml("put"); });
    RouteMatch match;
    ASSERT_EQ(table.find("PUT", "users/4.xml", match), RouteTable::Lookup::Found);
    EXPECT_EQ(match.access, Access::Consumer);
    EXPECT_EQ(match.handler(Request{}).body, "put");
    EXPECT_EQ(match.pathParams, (Params{{"id", "4"}}));
    EXPECT_EQ(table.find("DELETE", "users/4.xml", match), RouteTable::Lookup::WrongMethod);
    EXPECT_EQ(table.find("GET", "users.xml", match), RouteTable::Lookup::NoSuchPath);

    table.add("GET", "users/{id}.xml", Access::Open, [](const Request&) { return Reply::xml("replaced"); });
    ASSERT_EQ(table.find("GET", "users/4.xml", match), RouteTable::Lookup::Found);
    EXPECT_EQ(match.access, Access::Open);
    EXPECT_EQ(match.handler(Request{}).body, "replaced");
}
