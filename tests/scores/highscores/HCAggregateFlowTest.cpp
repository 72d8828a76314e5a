// How a score's change is laid out over the aggregate links: each board's
// links read once, each loop after every loop that feeds it, and a chain of
// any length without recursion.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "scores/highscores/HCAggregateFlow.h"

namespace {

struct Links {
    std::vector<std::string> operator()(const std::string& id)
    {
        ++reads[id];
        const auto found = parents.find(id);
        return found == parents.end() ? std::vector<std::string>{} : found->second;
    }
    std::map<std::string, std::vector<std::string>> parents;
    std::map<std::string, int> reads;
};

// The ids of each loop's boards, in flow order.
std::vector<std::vector<std::string>> loopIds(const HCAggregateFlow& flow)
{
    std::vector<std::vector<std::string>> ids;
    for (const auto& loop : flow.loops()) {
        ids.emplace_back();
        for (const std::size_t board : loop.boards) {
            ids.back().push_back(flow.boardId(board));
        }
    }
    return ids;
}

TEST(AggregateFlowTest, ALoopComesAfterEveryLoopThatFeedsItHoweverLongThePath)
{
    // 0 feeds 3 directly and through 1 -> 2; 2 and 4 link to each other.
    Links links;
    links.parents = {{"0", {"3", "1"}}, {"1", {"2"}}, {"2", {"4", "3"}}, {"4", {"2", "0"}}};
    const auto flow = HCAggregateFlow::from("0", std::ref(links));
    ASSERT_TRUE(flow.has_value());
    EXPECT_EQ(loopIds(*flow), (std::vector<std::vector<std::string>>{{"1"}, {"2", "4"}, {"3"}}));
    // 3 is entered by 0 and by 2; 4's link back to the written board is none.
    const auto& last = flow->loops().back();
    ASSERT_EQ(last.feeders.size(), 2u);
    EXPECT_EQ(flow->boardId(last.feeders[0]), "0");
    EXPECT_EQ(flow->boardId(last.feeders[1]), "2");
    EXPECT_EQ(flow->loops()[1].feeders.size(), 1u);
}

TEST(AggregateFlowTest, EachBoardsLinksAreReadOnceAndEachLinkEntersOnce)
{
    // 1 feeds eight boards that all link to each other and to themselves.
    Links links;
    std::vector<std::string> tangle;
    for (int id = 2; id <= 9; ++id) {
        tangle.push_back(std::to_string(id));
    }
    links.parents["1"] = tangle;
    for (const auto& id : tangle) {
        links.parents[id] = tangle;
    }
    const auto flow = HCAggregateFlow::from("1", std::ref(links));
    ASSERT_TRUE(flow.has_value());
    ASSERT_EQ(flow->loops().size(), 1u);
    EXPECT_EQ(flow->loops()[0].boards.size(), 8u);
    EXPECT_EQ(flow->loops()[0].feeders.size(), 8u);
    EXPECT_EQ(links.reads.size(), 9u);
    for (const auto& [id, reads] : links.reads) {
        EXPECT_EQ(reads, 1) << id;
    }
}

TEST(AggregateFlowTest, AChainOfAHundredThousandLinksIsLaidOutInOrder)
{
    constexpr long long kLength = 100000;
    const auto next = [](const std::string& id) {
        const long long number = std::stoll(id);
        return number < kLength ? std::vector<std::string>{std::to_string(number + 1)} : std::vector<std::string>{};
    };
    const auto flow = HCAggregateFlow::from("0", next);
    ASSERT_TRUE(flow.has_value());
    ASSERT_EQ(flow->loops().size(), static_cast<std::size_t>(kLength));
    EXPECT_EQ(flow->boardId(flow->loops().front().boards[0]), "1");
    EXPECT_EQ(flow->boardId(flow->loops().back().boards[0]), std::to_string(kLength));
}

TEST(AggregateFlowTest, AnIdThatIsNotANumberLaysOutNothing)
{
    Links links;
    links.parents["1"] = {"2"};
    links.parents["2"] = {"two"};
    EXPECT_FALSE(HCAggregateFlow::from("1", std::ref(links)).has_value());
    EXPECT_FALSE(HCAggregateFlow::from("one", std::ref(links)).has_value());
}

}  // namespace
