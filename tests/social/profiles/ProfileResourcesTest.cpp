// Gamer scores read from replies whatever text the service puts in them.
#include <gtest/gtest.h>

#include "core/replies/HCPaginatedSeries.h"
#include "kernel/xml/HCXmlDocument.h"
#include "social/profiles/HCGamerscore.h"
#include "social/profiles/HCProfileService.h"
#include "social/profiles/HCUserGameStat.h"

namespace {

class ProfileResourcesTest : public ::testing::Test {
protected:
    void SetUp() override { HCProfileService::initializeService(); }
    void TearDown() override { HCProfileService::shutdownService(); }

    template <class T>
    static std::shared_ptr<T> readOne(const std::string& xml)
    {
        auto document = HCXmlDocument::xmlDocumentWithData("<resources>" + xml + "</resources>");
        auto series =
            HCResource::resourcesFromXml(*document, HCProfileService::sharedInstance()->getKnownResources().get());
        return series->count() == 1 ? platform::as<T>(series->objectAtIndex(0)) : nullptr;
    }
};

TEST_F(ProfileResourcesTest, AScoreThatIsNoNumberOrBelowZeroReadsAsZero)
{
    struct Case {
        const char* text;
        uint32_t score;
    };
    for (const auto& c : {Case{"lots", 0}, Case{"", 0}, Case{"-5", 0}, Case{"-2147483648", 0}, Case{"410", 410},
                          Case{"12 points", 12}, Case{"99999999999", 2147483647}}) {
        auto score = readOne<HCGamerscore>(std::string("<gamerscore><user_id>1001</user_id><gamerscore>") + c.text +
                                           "</gamerscore></gamerscore>");
        ASSERT_TRUE(score) << c.text;
        EXPECT_EQ(score->gamerscore(), c.score) << c.text;
        auto stat = readOne<HCUserGameStat>(std::string("<user_game_stat><user_gamerscore>") + c.text +
                                            "</user_gamerscore></user_game_stat>");
        ASSERT_TRUE(stat) << c.text;
        EXPECT_EQ(stat->userGamerScore(), c.score) << c.text;
    }
    auto noUser = readOne<HCGamerscore>("<gamerscore><user_id>someone</user_id></gamerscore>");
    ASSERT_TRUE(noUser);
    EXPECT_EQ(noUser->userId(), 0u);
    EXPECT_EQ(noUser->gamerscore(), 0u);
}

}  // namespace
