// The scores near the player, opened from a leaderboard's map button: the
// pins, the first framing, a refresh of the area in view, "Find Me", and a
// failed, dropped or overtaken request, on screen or after the player left
// the map.
#include <cmath>

#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "gamepages/highscores/HCHighScoreController.h"
#include "gamepages/nearme/HCHighScoreAnnotation.h"
#include "gamepages/nearme/HCHighScoreMapViewController.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Fixtures.h"
#include "platform/ui/AlertView.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/widgets/HCBadgeView.h"

namespace {

constexpr const char* kScores = "client_applications/@me/high_scores.xml";

class NearMeMapTest : public pagetest::PageHarness {
protected:
    void openBoard()
    {
        openPage("HighScore", [](const platform::ui::ViewControllerPtr& page) {
            std::dynamic_pointer_cast<HCHighScoreController>(page)->setLeaderboard(
                HCLeaderboardService::getLeaderboard("1"));
        });
    }
    // The high-score page's map button, and the map's first answer.
    void openMap()
    {
        openBoard();
        ASSERT_TRUE(tapRightBarButton()) << "no map button";
        ASSERT_TRUE(topPageAs<HCHighScoreMapViewController>());
        waitForIdle();
    }
    static bool saysItFailed()
    {
        auto alerts = platform::ui::AlertView::visibleAlerts();
        return !alerts.empty() && alerts.back()->message() == HCHighScoreMapViewController::kFailureMessage;
    }
    // The player drags the map until the refresh button comes (the moves
    // of the first framing are let pass first).
    bool dragUntilRefreshShows(const platform::ui::CoordinateRegion& region)
    {
        for (int move = 0; move < 5; ++move) {
            auto map = screenMap();
            auto shifted = region;
            shifted.center.longitude += 0.001 * move;
            map->setRegion(shifted, false);
            waitForIdle();
            if (auto refresh = platform::ui::Driver::findByText("Refresh"); refresh && !refresh->isHidden()) return true;
        }
        return false;
    }
};

TEST_F(NearMeMapTest, TheMapButtonShowsOnlyWhileThePlayersLocationIsShared)
{
    startOnline();
    placePlayerAt(59.9139, 10.7522, 1);
    openBoard();
    EXPECT_FALSE(topPage()->navigationItem()->rightBarButtonItem());
}

TEST_F(NearMeMapTest, PinsAreFramedOnThePlayerAcrossTheEquatorAndTheDateLine)
{
    startOnline();
    placePlayerAt(-0.3, 179.9);
    seedScore(localserver::defaults::kUserId, "1", 900, 0, std::make_pair(-0.3, 179.9));
    seedScore(localserver::defaults::kOtherUserId, "1", 800, 0, std::make_pair(0.4, -179.9));
    openMap();
    EXPECT_EQ(lastParam(kScores, "geolocation"), "1");
    EXPECT_EQ(lastParam(kScores, "radius"), "100");
    EXPECT_EQ(lastParam(kScores, "map_me"), "location");
    EXPECT_EQ(topPage()->title(), "Near Me");
    EXPECT_EQ(screenPins(), (std::vector<std::string>{"Ann [0.0 kms] / Rank in area 1. 900 (1)",
                                                      "Ben [81.0 kms] / Rank in area 2. 800 (2)"}));
    // Centred on the player; the spans reach the other pin the short way.
    const auto region = screenMap()->region();
    EXPECT_NEAR(region.center.latitude, -0.3, 1e-9);
    EXPECT_NEAR(region.center.longitude, 179.9, 1e-9);
    EXPECT_NEAR(region.span.latitudeDelta, 1.401, 1e-9);
    EXPECT_NEAR(region.span.longitudeDelta, 0.401, 1e-9);

    // A score finds its pin: Ben's by its id, any of the player's the player's own.
    auto map = topPageAs<HCHighScoreMapViewController>();
    ASSERT_TRUE(map);
    ASSERT_EQ(map->mapView()->annotations().size(), 2u);
    auto annPin = std::dynamic_pointer_cast<HCHighScoreAnnotation>(map->mapView()->annotations()[0]);
    auto benPin = std::dynamic_pointer_cast<HCHighScoreAnnotation>(map->mapView()->annotations()[1]);
    ASSERT_TRUE(annPin && annPin->highScore() && benPin && benPin->highScore());
    EXPECT_EQ(map->getAnnotationForHighScore(benPin->highScore()), benPin);
    auto elsewhere = HCResource::initWithId<HCHighScore>(std::string("990"));
    elsewhere->setUser(benPin->highScore()->user());
    EXPECT_FALSE(map->getAnnotationForHighScore(elsewhere));
    elsewhere->setUser(annPin->highScore()->user());
    EXPECT_EQ(map->getAnnotationForHighScore(elsewhere), annPin);
}

TEST_F(NearMeMapTest, ARefreshAsksForTheAreaInViewAndFindMeReframesOnThePlayer)
{
    startOnline();
    placePlayerAt(59.9139, 10.7522);
    seedScore(localserver::defaults::kUserId, "1", 900, 0, std::make_pair(59.9139, 10.7522));
    openMap();
    EXPECT_EQ(screenPins(), std::vector<std::string>{"Ann [0.0 kms] / Rank in area 1. 900 (1)"});
    // Alone at the centre: half a degree each way.
    EXPECT_EQ(screenMap()->region().span, (platform::ui::CoordinateSpan{0.5, 0.5}));

    // Far away, two degrees across at the equator: about 69 miles to each edge.
    const platform::ui::CoordinateRegion away{{0, 100}, {2, 2}};
    ASSERT_TRUE(dragUntilRefreshShows(away));
    ASSERT_TRUE(tapButton("Refresh"));
    waitForIdle();
    EXPECT_EQ(lastParam(kScores, "radius"), "86");
    EXPECT_EQ(lastParam(kScores, "map_me"), "no");
    EXPECT_EQ(lastParam(kScores, "lat"), "0.000000");
    EXPECT_TRUE(screenPins().empty());

    ASSERT_TRUE(tapRightBarButton());  // "Find Me"
    waitForIdle();
    EXPECT_EQ(lastParam(kScores, "radius"), "100");
    EXPECT_EQ(lastParam(kScores, "lat"), "59.913900");
    EXPECT_NEAR(screenMap()->region().center.latitude, 59.9139, 1e-9);
    EXPECT_NEAR(screenMap()->region().center.longitude, 10.7522, 1e-9);
    EXPECT_EQ(screenPins().size(), 1u);
}

TEST_F(NearMeMapTest, AnOlderSlowerReplyDoesNotReplaceTheNewerOnesPins)
{
    startOnline();
    placePlayerAt(59.9139, 10.7522);
    seedScore(localserver::defaults::kUserId, "1", 900, 0, std::make_pair(59.9139, 10.7522));
    openMap();
    ASSERT_TRUE(dragUntilRefreshShows({{0, 100}, {2, 2}}));
    // The refresh of the empty area answers late; "Find Me", asked right
    // after it, at once.
    server->faults().injectWhere("GET", kScores, "map_me", "no", localserver::Fault::heldBack());
    ASSERT_TRUE(tapButton("Refresh"));
    ASSERT_TRUE(tapRightBarButton());
    releaseHeldLast();
    waitForIdle();
    EXPECT_EQ(screenPins(), std::vector<std::string>{"Ann [0.0 kms] / Rank in area 1. 900 (1)"});
}

TEST_F(NearMeMapTest, AFailedOrDroppedRequestTakesTheLoadingScreenDownAndSaysSo)
{
    startOnline();
    placePlayerAt(59.9139, 10.7522);
    seedScore(localserver::defaults::kUserId, "1", 900, 0, std::make_pair(59.9139, 10.7522));
    openMap();
    server->faults().injectFor("GET", kScores, localserver::Fault::reply(500, "down"));
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    EXPECT_TRUE(saysItFailed());
    EXPECT_EQ(screenPins().size(), 1u) << "the pins stay";
    for (const auto& alert : platform::ui::AlertView::visibleAlerts()) alert->dismissWithClickedButtonIndex(0, false);
    waitForIdle();
    EXPECT_FALSE(saysItFailed());

    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(tapRightBarButton());
        EXPECT_TRUE(showsLoadingScreen());
        Halcyon::provider()->destroyAllPendingRequests();
    }
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_TRUE(saysItFailed());
    for (const auto& alert : platform::ui::AlertView::visibleAlerts()) alert->dismissWithClickedButtonIndex(0, false);

    // The player goes back to the scores before the map's request fails:
    // the score page says nothing of the map's failure.
    server->faults().injectFor("GET", kScores, localserver::Fault::reply(500, "down"));
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(tapRightBarButton());
        ASSERT_TRUE(driver->tapBack());
        settle();
    }
    waitForReplies();
    settle();
    EXPECT_TRUE(topPageAs<HCHighScoreController>());
    EXPECT_FALSE(saysItFailed());
}

TEST_F(NearMeMapTest, APinsDisclosureButtonOpensThePlayersProfileButThePlayersOwnEmptyPinOpensNothing)
{
    startOnline();
    placePlayerAt(59.9139, 10.7522);
    seedScore(localserver::defaults::kOtherUserId, "1", 800, 0, std::make_pair(59.92, 10.76));
    openMap();
    auto map = screenMap();
    std::shared_ptr<HCHighScoreAnnotation> ben;
    std::shared_ptr<HCHighScoreAnnotation> mine;
    for (const auto& annotation : map->annotations()) {
        auto pin = std::dynamic_pointer_cast<HCHighScoreAnnotation>(annotation);
        if (pin && pin->highScore()) ben = pin;
    }
    ASSERT_TRUE(ben);
    EXPECT_EQ(ben->title().value_or("").rfind("Ben", 0), 0u);
    const auto mapPage = topPage();

    // The player's own pin, not yet scored, has no profile behind it.
    mine = std::make_shared<HCHighScoreAnnotation>(nullptr, nullptr);
    map->addAnnotations({mine});
    map->selectAnnotation(mine, false);
    settle();
    ASSERT_TRUE(map->tapCalloutAccessory(mine));
    settle();
    EXPECT_EQ(topPage(), mapPage);

    map->selectAnnotation(ben, false);
    settle();
    ASSERT_TRUE(map->tapCalloutAccessory(ben));
    settle();
    ASSERT_TRUE(topPage());
    EXPECT_EQ(topPage()->kindName(), "HCProfileController");
}

// Pins ranked among themselves: the better score by the board's order
// first (ascending for a board without a local definition), its place on
// the badge.
TEST(HCHighScoreAnnotation, PinsCompareByTheBoardsOrderAndShowTheirPlaceOnTheBadge)
{
    auto score = [](std::int64_t value) {
        auto made = HCResource::initWithId<HCHighScore>(std::to_string(value));
        made->setScore(value);
        return made;
    };
    HCHighScoreAnnotation low(score(10), nullptr);
    HCHighScoreAnnotation high(score(90), nullptr);
    EXPECT_EQ(low.compareScores(high), std::strong_ordering::less);
    EXPECT_EQ(high.compareScores(low), std::strong_ordering::greater);
    EXPECT_EQ(low.compareScores(low), std::strong_ordering::equal);
    auto descending = HCResource::initWithId<HCLeaderboard>(std::string("9"));
    descending->setDescendingScoreOrder("true");
    EXPECT_EQ(HCHighScoreAnnotation(score(90), descending).compareScores(HCHighScoreAnnotation(score(10), descending)),
              std::strong_ordering::less);

    high.setRank(12);
    high.updateRankBadge();
    EXPECT_EQ(high.rankBadge()->valueText(), "12");
}

// The badge of a pin: a place in the area, 1 to 9; anything else "-".
TEST(HCHighScoreAnnotation, OnlyRanksOneToNineShowOnTheBadge)
{
    for (const auto& [rank, badge] : std::vector<std::pair<const char*, std::string>>{
             {"-1", "-"}, {"0", "-"}, {"1", "1"}, {"9", "9"}, {"10", "-"}}) {
        auto score = HCResource::initWithId<HCHighScore>(std::string("7"));
        score->setRank(rank);
        HCHighScoreAnnotation created(score, nullptr);
        EXPECT_EQ(created.rankBadge()->valueText(), badge) << rank;
        HCHighScoreAnnotation mine(nullptr, nullptr);
        mine.setScore(score, true);
        EXPECT_EQ(mine.rankBadge()->valueText(), badge) << rank;
    }
}

}  // namespace
