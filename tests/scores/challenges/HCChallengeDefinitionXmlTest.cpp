// Challenge definitions and their statistics read from the server's XML and
// written back out: an empty flag reads as no and is written as "0", and an
// empty compared value counts nothing and proves no comparison.
#include <gtest/gtest.h>

#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeDefinitionService.h"
#include "scores/challenges/HCChallengeDefinitionStats.h"
#include "scores/support/ServiceXml.h"

namespace {

using ChallengeDefinitionXmlTest = testsupport::ServiceXmlTest<HCChallengeDefinitionService>;

TEST_F(ChallengeDefinitionXmlTest, EmptyFlagsAndComparedValuesReadAsNothing)
{
    auto series = read(
        "<resources><challenge_definition><id>1</id><name>Beat it</name><multi_attempt></multi_attempt>"
        "</challenge_definition><challenge_definition><id>2</id><multi_attempt>1</multi_attempt>"
        "</challenge_definition><challenge_definition_stats><id>3</id><local_users_wins>4</local_users_wins>"
        "<compared_users_wins></compared_users_wins></challenge_definition_stats><challenge_definition_stats>"
        "<id>5</id><compared_users_wins></compared_users_wins><compared_users_losses>2</compared_users_losses>"
        "</challenge_definition_stats></resources>");
    ASSERT_EQ(series->count(), 4u);
    auto once = platform::as<HCChallengeDefinition>(series->objectAtIndex(0));
    auto again = platform::as<HCChallengeDefinition>(series->objectAtIndex(1));
    ASSERT_TRUE(once && again);
    EXPECT_FALSE(once->multiAttempt());
    EXPECT_EQ(once->getMultiAttemptAsString(), "0");
    EXPECT_NE(once->toResourceArrayXml().find("<multi_attempt>0</multi_attempt>"), std::string::npos);
    EXPECT_TRUE(again->multiAttempt());
    EXPECT_NE(again->toResourceArrayXml().find("<multi_attempt>1</multi_attempt>"), std::string::npos);

    auto alone = platform::as<HCChallengeDefinitionStats>(series->objectAtIndex(2));
    auto compared = platform::as<HCChallengeDefinitionStats>(series->objectAtIndex(3));
    ASSERT_TRUE(alone && compared);
    EXPECT_EQ(alone->localUsersWins(), 4);
    EXPECT_EQ(alone->comparedUsersWins(), 0);
    EXPECT_FALSE(alone->comparison());
    EXPECT_EQ(compared->comparedUsersWins(), 0);
    EXPECT_EQ(compared->comparedUsersLosses(), 2);
    EXPECT_TRUE(compared->comparison());
}

}  // namespace
