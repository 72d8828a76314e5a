// The local server's forum store on its own: a bad fixture is named.
#include <gtest/gtest.h>

#include "localserver/Fixtures.h"
#include "localserver/routes/ForumRoutes.h"

using namespace localserver;

// The built-in forum as the client reads it is the forum end-to-end tests' business.
TEST(ForumRoutesTest, BadRecordsAreNamed)
{
    std::string error;
    auto bad = parseFixtures("[forum_topic]\nname = x\n[forum_post]\nid = 1\n", "f.ini", error);
    ASSERT_TRUE(bad);
    ForumStore partial;
    EXPECT_EQ(partial.load(*bad), "f.ini:1: [forum_topic] needs \"id\" and \"game\"");
}
