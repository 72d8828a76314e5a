#include "scores/highscores/HCAggregateFlow.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <unordered_map>

#include "scores/offline/HCIntegerText.h"

std::optional<HCAggregateFlow> HCAggregateFlow::from(const std::string& boardId, const ParentsOf& parentsOf)
{
    const auto written = HCIntegerFromText(boardId);
    if (!written) {
        return std::nullopt;
    }
    HCAggregateFlow flow;
    std::unordered_map<std::int64_t, std::size_t> boardOfNumber{{*written, 0}};
    flow.ids_.push_back(boardId);
    // Breadth first over the boards as they are found, so each board's links
    // are read once however many links reach it.
    for (std::size_t board = 0; board < flow.ids_.size(); ++board) {
        std::vector<std::size_t> parents;
        for (const auto& parentId : parentsOf(flow.ids_[board])) {
            const auto number = HCIntegerFromText(parentId);
            if (!number) {
                return std::nullopt;
            }
            const auto [found, added] = boardOfNumber.emplace(*number, flow.ids_.size());
            if (added) {
                flow.ids_.push_back(parentId);
            }
            if (found->second != 0) {
                parents.push_back(found->second);
            }
        }
        std::sort(parents.begin(), parents.end());
        parents.erase(std::unique(parents.begin(), parents.end()), parents.end());
        flow.parents_.push_back(std::move(parents));
    }
    flow.findLoops();
    return flow;
}

// Tarjan's strongly connected components, with an explicit stack: a chain of
// links as long as the service cares to send must not exhaust the thread's.
void HCAggregateFlow::findLoops()
{
    constexpr std::size_t kUnseen = std::numeric_limits<std::size_t>::max();
    const std::size_t count = ids_.size();
    std::vector<std::size_t> visitOrder(count, kUnseen);
    std::vector<std::size_t> lowest(count, 0);
    std::vector<std::size_t> loopOf(count, kUnseen);
    std::vector<bool> open(count, false);
    std::vector<std::size_t> openBoards;
    struct Visit {
        std::size_t board;
        std::size_t nextParent;
    };
    std::vector<Visit> visits;
    std::vector<std::vector<std::size_t>> sinksFirst;
    std::size_t visited = 0;
    const auto enter = [&](std::size_t board) {
        visitOrder[board] = lowest[board] = visited++;
        open[board] = true;
        openBoards.push_back(board);
        visits.push_back({board, 0});
    };
    // Every board was reached from board 0, so one walk from it finds all.
    enter(0);
    while (!visits.empty()) {
        Visit& visit = visits.back();
        const auto& parents = parents_[visit.board];
        if (visit.nextParent < parents.size()) {
            const std::size_t parent = parents[visit.nextParent++];
            if (visitOrder[parent] == kUnseen) {
                enter(parent);
            } else if (open[parent]) {
                lowest[visit.board] = std::min(lowest[visit.board], visitOrder[parent]);
            }
            continue;
        }
        const std::size_t board = visit.board;
        visits.pop_back();
        if (!visits.empty()) {
            lowest[visits.back().board] = std::min(lowest[visits.back().board], lowest[board]);
        }
        if (lowest[board] == visitOrder[board]) {
            std::vector<std::size_t> loop;
            std::size_t member = 0;
            do {
                member = openBoards.back();
                openBoards.pop_back();
                open[member] = false;
                loopOf[member] = sinksFirst.size();
                loop.push_back(member);
            } while (member != board);
            std::sort(loop.begin(), loop.end());
            sinksFirst.push_back(std::move(loop));
        }
    }
    // A loop is found after every loop it feeds; the change flows the other
    // way. The written board, which nothing enters, is found last.
    const std::size_t loops = sinksFirst.size();
    std::vector<Loop> flowing(loops);
    for (std::size_t found = 0; found < loops; ++found) {
        flowing[loops - 1 - found].boards = std::move(sinksFirst[found]);
    }
    for (std::size_t board = 0; board < count; ++board) {
        for (const std::size_t parent : parents_[board]) {
            if (loopOf[parent] != loopOf[board]) {
                flowing[loops - 1 - loopOf[parent]].feeders.push_back(board);
            }
        }
    }
    loops_.assign(std::make_move_iterator(flowing.begin() + 1), std::make_move_iterator(flowing.end()));
}
