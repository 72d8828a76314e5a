#pragma once
// The aggregate links reached from the board a score write changes, laid out
// so that the change flows through them once: every board reached is written
// once and every link carries its board's change once, so a write's work
// grows with the links, not with the paths through them.
//
// Boards that reach each other through links (a cycle, a board linked to
// itself) form one loop. Every board of a loop gains the sum of what the
// links entering the loop carry, one term per link; links inside a loop
// carry nothing, nor do links back to the written board, whose change is the
// write itself. A board fed by two boards of the same write sums both, so a
// diamond counts each path. Boards are told apart by number ("041" is board
// 41), and a link listed twice is one link.
//
// Thread: any thread; one object is used by one thread at a time.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class HCAggregateFlow {
public:
    // The boards of one loop (a single board unless links make a cycle), and
    // the boards outside it whose links enter it, one entry per link.
    struct Loop {
        std::vector<std::size_t> boards;
        std::vector<std::size_t> feeders;
    };
    using ParentsOf = std::function<std::vector<std::string>(const std::string& boardId)>;

    // Reads the links of every board reached from `boardId`, each board's
    // once; nothing when an id, the written one or a linked one, is not a
    // whole number.
    static std::optional<HCAggregateFlow> from(const std::string& boardId, const ParentsOf& parentsOf);

    // Board 0 is the written board; the others as first listed by a link.
    std::size_t boardCount() const { return ids_.size(); }
    const std::string& boardId(std::size_t board) const { return ids_[board]; }
    // The loops in the order the change reaches them, each after every loop
    // that feeds it; the written board's own is left out.
    const std::vector<Loop>& loops() const { return loops_; }

private:
    void findLoops();

    std::vector<std::string> ids_;
    std::vector<std::vector<std::size_t>> parents_;
    std::vector<Loop> loops_;
};
