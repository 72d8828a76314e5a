// Game Center scores merged into a leaderboard page: which take part, their
// place among the service's scores in either order, the sections the page
// gets back, the player's own row re-ranked, and the caller's page left as
// it was.
#include <gtest/gtest.h>

#include "core/replies/HCTableSectionDescription.h"
#include "platform/gamecenter/GameCenter.h"
#include "scores/highscores/HCGameCenterScoreMerge.h"
#include "scores/highscores/HCHighScore.h"

namespace {

namespace gc = platform::gamecenter;
using HCGameCenterScoreMerge::combineScope;
using HCGameCenterScoreMerge::combineSections;

std::shared_ptr<HCHighScore> service(const std::string& id, std::int64_t value, int rank, int gameCenterSecond = 0)
{
    auto score = HCResource::initWithId<HCHighScore>(id);
    score->setScore(value);
    score->setRank(std::to_string(rank));
    score->setGameCenterSeconds(std::to_string(gameCenterSecond));
    return score;
}

std::shared_ptr<gc::Score> gameCenter(std::int64_t value, double date, const std::string& player = "G:9")
{
    return std::make_shared<gc::Score>(gc::StoredScore{"board", player, value, date}, 0);
}

HCPaginatedSeriesPtr page(std::vector<platform::ObjectPtr> objects)
{
    return HCPaginatedSeries::paginatedSeriesFromArray(objects);
}

// "s<id>:<value>#<rank>" for a service score, "g:<value>#<rank>" for Game Center's.
std::vector<std::string> rows(const HCPaginatedSeriesPtr& series)
{
    std::vector<std::string> texts;
    if (!series) return texts;
    for (const auto& object : series->objects()) {
        auto score = platform::as<HCHighScore>(object);
        if (!score) {
            texts.push_back("?");
            continue;
        }
        texts.push_back((score->resourceId() ? "s" + *score->resourceId() : std::string("g")) + ":" +
                        std::to_string(score->score()) + "#" + std::to_string(score->rank()));
    }
    return texts;
}

std::shared_ptr<HCTableSectionDescription> section(const HCPaginatedSeriesPtr& series, size_t index)
{
    return platform::as<HCTableSectionDescription>(series->objectAtIndex(index));
}

std::vector<std::string> titles(const HCPaginatedSeriesPtr& series)
{
    std::vector<std::string> texts;
    for (const auto& object : series->objects()) {
        texts.push_back(platform::as<HCTableSectionDescription>(object)->title().value_or("(nil)"));
    }
    return texts;
}

TEST(GameCenterScoreMerge, DescendingBoardDropsWhatTheServiceHoldsAndRanksTheRest)
{
    auto merged = combineScope({gameCenter(100, 10.7), gameCenter(90, 11), gameCenter(50, 12, "G:5")},
                               page({service("1", 100, 1, 10), service("2", 80, 2)}), true);
    EXPECT_EQ(rows(merged), (std::vector<std::string>{"s1:100#1", "g:90#2", "s2:80#3", "g:50#4"}));
    auto fromGameCenter = platform::as<HCHighScore>(merged->objectAtIndex(3));
    EXPECT_EQ(fromGameCenter->gameCenterId(), "G:5");
    EXPECT_EQ(fromGameCenter->displayText(), "50");
    EXPECT_FALSE(fromGameCenter->user());

    // Same second, another value: not the service's score, so it takes part.
    EXPECT_EQ(rows(combineScope({gameCenter(99, 10)}, page({service("1", 100, 1, 10)}), true)),
              (std::vector<std::string>{"s1:100#1", "g:99#2"}));
}

TEST(GameCenterScoreMerge, EqualValuesPutTheServiceFirstInEitherOrder)
{
    EXPECT_EQ(rows(combineScope({gameCenter(80, 5), gameCenter(95, 6), gameCenter(70, 7)},
                                page({service("1", 80, 1), service("2", 90, 2)}), false)),
              (std::vector<std::string>{"g:70#1", "s1:80#2", "g:80#3", "s2:90#4", "g:95#5"}));
    EXPECT_EQ(rows(combineScope({gameCenter(60, 5), gameCenter(80, 6)}, page({service("1", 80, 1)}), true)),
              (std::vector<std::string>{"s1:80#1", "g:80#2", "g:60#3"}));
}

TEST(GameCenterScoreMerge, OfTwoGameCenterScoresInOneSecondOnlyTheLastTakesPart)
{
    EXPECT_EQ(rows(combineScope({gameCenter(70, 20.2), gameCenter(60, 20.9), gameCenter(65, 21)}, nullptr, true)),
              (std::vector<std::string>{"g:65#1", "g:60#2"}));
    // The survivor is the one the service page is checked against.
    EXPECT_EQ(rows(combineScope({gameCenter(70, 20.2), gameCenter(60, 20.9)}, page({service("1", 70, 1, 20)}), true)),
              (std::vector<std::string>{"s1:70#1", "g:60#2"}));
}

TEST(GameCenterScoreMerge, DatesTheServiceCannotHoldMatchNothingAndObjectsThatAreNoScoresAreLeftOut)
{
    auto merged = combineScope({gameCenter(5, -1), gameCenter(6, 1e12), nullptr},
                               page({service("1", 5, 1, 0), platform::String::make("stray")}), true);
    EXPECT_EQ(rows(merged), (std::vector<std::string>{"g:6#1", "s1:5#2", "g:5#3"}));
}

TEST(GameCenterScoreMerge, OneSectionGetsFriendsThenEveryoneAndTwoKeepTheSecondsTitle)
{
    auto merge = [](const HCPaginatedSeriesPtr& servicePage) {
        return combineScope({gameCenter(150, 1), gameCenter(10, 2)}, servicePage, true);
    };
    auto friends = page({service("7", 120, 1)});

    auto mine = HCTableSectionDescription::sectionWithTitle(std::string("Mine"), page({service("3", 100, 40)}));
    auto one = combineSections(page({mine}), friends, merge);
    EXPECT_EQ(titles(one), (std::vector<std::string>{"Mine", "Friends", "Everyone"}));
    EXPECT_EQ(rows(section(one, 1)->page()), (std::vector<std::string>{"s7:120#1"}));
    EXPECT_EQ(rows(section(one, 2)->page()), (std::vector<std::string>{"g:150#1", "g:10#2"}));

    auto all = HCTableSectionDescription::sectionWithTitle(std::string("All"),
                                                           page({service("8", 200, 1), service("3", 100, 2)}));
    all->setIdentifier(std::string("all-time"));
    auto two = combineSections(page({mine, all}), friends, merge);
    EXPECT_EQ(titles(two), (std::vector<std::string>{"Mine", "Friends", "All"}));
    EXPECT_EQ(section(two, 2)->identifier(), "all-time");
    EXPECT_EQ(rows(section(two, 2)->page()), (std::vector<std::string>{"s8:200#1", "g:150#2", "s3:100#3", "g:10#4"}));
    // The player's own row shows the rank it has among the merged scores.
    EXPECT_EQ(rows(section(two, 0)->page()), (std::vector<std::string>{"s3:100#3"}));

    // Without a merge only the friends section is added.
    auto unmerged = combineSections(page({mine, all}), friends, nullptr);
    EXPECT_EQ(titles(unmerged), (std::vector<std::string>{"Mine", "Friends", "All"}));
    EXPECT_EQ(rows(section(unmerged, 0)->page()), (std::vector<std::string>{"s3:100#40"}));
    EXPECT_EQ(rows(section(unmerged, 2)->page()), (std::vector<std::string>{"s8:200#1", "s3:100#2"}));
}

TEST(GameCenterScoreMerge, EverySectionShowsTwentyFiveRowsAndTheCallersSectionsStayAsTheyCame)
{
    std::vector<platform::ObjectPtr> thirty;
    for (int i = 0; i < 30; ++i) thirty.push_back(service(std::to_string(100 + i), 1000 - i, i + 1));
    auto mineRow = service("110", 990, 11);
    auto mine = HCTableSectionDescription::sectionWithTitle(std::string("Mine"), page({mineRow}));
    auto everyone = HCTableSectionDescription::sectionWithTitle(std::string("All"), page(thirty));
    auto globals = page({mine, everyone});
    auto friends = page(thirty);
    friends->setHeader(std::make_shared<HCPaginatedSeriesHeader>(1, 2, 30, 60, 30));

    auto combined = combineSections(globals, friends, [](const HCPaginatedSeriesPtr& servicePage) {
        return combineScope({gameCenter(5000, 1)}, servicePage, true);
    });
    ASSERT_EQ(combined->count(), 3u);
    EXPECT_EQ(section(combined, 1)->page()->count(), 25u);
    ASSERT_EQ(section(combined, 2)->page()->count(), 25u);
    EXPECT_EQ(rows(section(combined, 2)->page()).back(), "s123:977#25");
    ASSERT_TRUE(section(combined, 1)->page()->header()) << "the cut page is still the service's page";
    EXPECT_EQ(section(combined, 1)->page()->header()->totalObjects(), 30u);
    EXPECT_EQ(rows(section(combined, 0)->page()), (std::vector<std::string>{"s110:990#12"}));

    // The caller's series, sections, pages and scores are untouched.
    EXPECT_EQ(globals->objectAtIndex(0), mine);
    EXPECT_EQ(globals->count(), 2u);
    EXPECT_EQ(everyone->page()->count(), 30u);
    EXPECT_EQ(friends->count(), 30u);
    EXPECT_EQ(mine->page()->objectAtIndex(0), mineRow);
    EXPECT_EQ(mineRow->rank(), 11);
    EXPECT_EQ(platform::as<HCHighScore>(everyone->page()->objectAtIndex(0))->rank(), 1);
}

}  // namespace
