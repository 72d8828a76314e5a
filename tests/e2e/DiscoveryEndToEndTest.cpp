// Game discovery against the local server with the whole client running:
// the root without ".xml", the orientation the dashboard is shown in, page
// names from replies kept to one path segment, and banners' links.
#include <gtest/gtest.h>

#include "core/halcyon/Halcyon.h"
#include "e2e/support/LiveServerTest.h"
#include "e2e/support/SocialClientTest.h"
#include "localserver/Fixtures.h"
#include "platform/foundation/DeviceFacts.h"
#include "social/discovery/HCGameDiscoveryCategory.h"
#include "social/discovery/HCGameDiscoveryImageHyperlink.h"
#include "social/discovery/HCGameDiscoveryNewsItem.h"
#include "social/discovery/HCGameDiscoveryService.h"
#include "transport/oauth/OAuthAPIRequestLoader.h"

namespace {

class DiscoveryEndToEndTest : public SocialClientTest {
protected:
    void TearDown() override
    {
        platform::DeviceFacts::setLargeScreen(false);
        SocialClientTest::TearDown();
    }

    Reached page(const std::optional<std::string>& name)
    {
        Reached reached;
        HCGameDiscoveryService::getDiscoveryPageNamed(name, 1, reached.success(), reached.failure());
        EXPECT_TRUE(waitFor(reached));
        return reached;
    }


    localserver::Request lastRequest() const { return server->log().entries().back().request; }
};

TEST_F(DiscoveryEndToEndTest, PagesSayHowTheDashboardIsShownAndFollowNamesFromReplies)
{
    start();
    Reached root;
    ASSERT_TRUE(HCGameDiscoveryService::getGameDiscoveryCategories(root.success(), root.failure()));
    ASSERT_TRUE(waitFor(root));
    auto request = lastRequest();
    EXPECT_EQ(request.path, "game_discovery_categories");
    std::vector<std::string> params;
    for (const auto& [name, value] : request.params) params.push_back(name + "=" + value);
    EXPECT_EQ(params, (std::vector<std::string>{"page=1", "orientation=portrait", "client_application_id=1"}));
    auto categories = root.objects<HCGameDiscoveryCategory>();
    ASSERT_EQ(categories.size(), 3u);

    // A name from the reply that is no plain segment stays one segment.
    const auto& odd = categories[2]->targetDiscoveryActionName();
    ASSERT_EQ(odd, "top 10 & more?");
    auto top = page(odd);
    EXPECT_FALSE(top.failed);
    EXPECT_NE(lastRequest().target.find("game_discovery_categories/top%2010%20%26%20more%3F.xml?"), std::string::npos)
        << lastRequest().target;
    EXPECT_EQ(top.objects<HCGameDiscoveryCategory>().size(), 1u);
    auto escaping = page(std::string("../users/1001"));
    EXPECT_TRUE(escaping.failed);
    EXPECT_NE(lastRequest().target.find("game_discovery_categories/..%2Fusers%2F1001.xml"), std::string::npos);
    const size_t sent = server->log().entries().size();
    EXPECT_TRUE(page(std::string("")).failed);
    EXPECT_EQ(server->log().entries().size(), sent);

    // Landscape, then a large screen whatever the dashboard's orientation.
    Halcyon::setDashboardOrientation(3);
    Reached banners;
    HCGameDiscoveryService::getNowPlayingFeaturedPlacement(banners.success(), banners.failure());
    ASSERT_TRUE(waitFor(banners));
    EXPECT_EQ(lastRequest().path, "game_discovery_categories/now_playing_featured_placement.xml");
    EXPECT_EQ(lastRequest().param("orientation"), "landscape");
    auto links = banners.objects<HCGameDiscoveryImageHyperlink>();
    ASSERT_EQ(links.size(), 2u);
    EXPECT_FLOAT_EQ(links[0]->secondsToDisplay(), 2.5f);
    EXPECT_TRUE(links[0]->isCategoryLink());
    EXPECT_FALSE(links[0]->isIPurchaseLink());
    EXPECT_FALSE(links[1]->isCategoryLink());  // an empty page name
    EXPECT_TRUE(links[1]->isIPurchaseLink());
    EXPECT_EQ(links[0]->imageUrl(), "images/banner_10_landscape.png");

    platform::DeviceFacts::setLargeScreen(true);
    Halcyon::setDashboardOrientation(1);
    auto news = page(std::string("news"));
    EXPECT_EQ(lastRequest().param("orientation"), "ipad");
    ASSERT_EQ(news.objects<HCGameDiscoveryNewsItem>().size(), 1u);
    EXPECT_EQ(news.objects<HCGameDiscoveryNewsItem>()[0]->subtitle(), "Twenty new levels");
}

class DiscoveryWithoutPlayerTest : public LiveServerTest {
protected:
    void SetUp() override
    {
        LiveServerTest::SetUp();
        HCGameDiscoveryService::initializeService();
    }
    void TearDown() override
    {
        HCGameDiscoveryService::shutdownService();
        LiveServerTest::TearDown();
    }
};

TEST_F(DiscoveryWithoutPlayerTest, PagesAreReadWithoutALoggedInSession)
{
    useProvider(localserver::defaults::kProductSecret, "", "");
    Outcome outcome;
    ASSERT_TRUE(HCGameDiscoveryService::getDiscoveryPageNamed(std::string("puzzle"), 1, outcome.success(),
                                                              outcome.failed()));
    ASSERT_TRUE(waitFor(outcome));
    ASSERT_FALSE(outcome.failure);
    EXPECT_EQ(outcome.series->count(), 1u);
    const auto request = server->log().entries().back().request;
    EXPECT_EQ(localserver::firstValue(request.oauth, "oauth_token").value_or(""), "");
}

}  // namespace
