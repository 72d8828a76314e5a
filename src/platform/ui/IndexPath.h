#pragma once
// The address of a row in a table: a section and a row within it.
//
// Ordered by section, then row, so sorted lists of index paths read top to
// bottom as the table shows them.
//
// Thread: a plain value; use it anywhere.
#include <compare>
#include <string>

namespace platform::ui {

struct IndexPath {
    int section = 0;
    int row = 0;

    constexpr IndexPath() = default;
    constexpr IndexPath(int section_, int row_) : section(section_), row(row_) {}

    auto operator<=>(const IndexPath&) const = default;

    // "[1,4]": section, then row.
    std::string toString() const { return "[" + std::to_string(section) + "," + std::to_string(row) + "]"; }
};

}  // namespace platform::ui
