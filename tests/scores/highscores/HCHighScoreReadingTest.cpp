// Score elements read from replies: texts that are empty become nil, a
// score shows its number when it has no text, an empty blob URL offers no
// attachment, and an abridged score without a picture URL fails its
// picture at once.
#include <gtest/gtest.h>

#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResource.h"
#include "kernel/xml/HCXmlDocument.h"
#include "scores/highscores/HCAbridgedHighScore.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/support/ServiceXml.h"
#include "support/TestSupport.h"

namespace {

struct PictureHeard final : HCAbridgedHighScoreDelegate {
    int failed = 0;
    void didFailGetProfilePictureHCAbridgedHighScore(const std::shared_ptr<HCAbridgedHighScore>&) override
    {
        ++failed;
    }
};

class HighScoreReadingTest : public testsupport::ServiceXmlTest<HCHighScoreService> {
protected:
    void TearDown() override
    {
        HCAbridgedHighScore::setDelegate(nullptr);
        ServiceXmlTest::TearDown();
    }
};

TEST_F(HighScoreReadingTest, EmptyTextsAreNilAndAScoreShowsItsNumber)
{
    auto series = read(
        "<resources><high_score><id>9</id><score>-9000000000</score><rank>3</rank><display_text></display_text>"
        "<blob_url></blob_url><lat>51.5</lat><lng>-0.25</lng><distance>12.5</distance>"
        "<gamecenter_timestamp>1700000000</gamecenter_timestamp></high_score>"
        "<high_score><id>10</id><score>5</score><to_high_rank_text>Top 10%</to_high_rank_text>"
        "<blob_url>http://storage/x.blob</blob_url></high_score>"
        "<abridged_score><id>4</id><score>77</score><leaderboard_id>1</leaderboard_id><display_text></display_text>"
        "<user_id>1002</user_id><user_name></user_name><user_profile_picture_url></user_profile_picture_url>"
        "<user_gamer_score>120</user_gamer_score></abridged_score></resources>");
    ASSERT_EQ(series->count(), 3u);
    auto first = platform::as<HCHighScore>(series->objectAtIndex(0));
    auto second = platform::as<HCHighScore>(series->objectAtIndex(1));
    auto abridged = platform::as<HCAbridgedHighScore>(series->objectAtIndex(2));
    ASSERT_TRUE(first && second && abridged);
    EXPECT_EQ(first->displayText(), "-9000000000");
    EXPECT_EQ(first->toHighRankText(), "99,999+");
    EXPECT_FALSE(first->hasBlob());
    EXPECT_DOUBLE_EQ(first->latitude(), 51.5);
    EXPECT_DOUBLE_EQ(first->longitude(), -0.25);
    EXPECT_DOUBLE_EQ(first->distance(), 12.5);
    EXPECT_EQ(first->gameCenterSeconds(), 1700000000u);
    EXPECT_EQ(second->toHighRankText(), "Top 10%");
    EXPECT_TRUE(second->hasBlob());
    EXPECT_EQ(abridged->displayText(), "77");
    EXPECT_EQ(abridged->userId(), "1002");
    EXPECT_FALSE(abridged->userName());
    EXPECT_EQ(abridged->userGamerScore(), 120u);

    PictureHeard heard;
    HCAbridgedHighScore::setDelegate(&heard);
    EXPECT_FALSE(abridged->getProfilePicture());
    EXPECT_EQ(heard.failed, 1);
}

}  // namespace
