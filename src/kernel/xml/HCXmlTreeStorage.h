#pragma once
// The memory of one parsed XML tree: its elements, their child lists, their
// texts and their names (each distinct name kept once) come from one arena that is
// freed at once with the tree.
//
// Every pointer to an element of the tree shares ownership of the whole
// storage: holding any one element keeps the tree it came from alive, and
// the tree goes when the last of them is dropped. Elements are neither
// freed nor moved one by one.
//
// Thread: built on one thread (the parse's); afterwards each element belongs
// to the thread that reads its document, like any element. Ownership counts
// are atomic, so pointers may be dropped on any thread.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/memory/HCSmartObject.h"

class HCXmlElement;

class HCXmlTreeStorage final : public std::enable_shared_from_this<HCXmlTreeStorage> {
public:
    // `expectedBytes` sizes the arena's first block (the document's length is a fair hint).
    static std::shared_ptr<HCXmlTreeStorage> create(std::size_t expectedBytes);
    ~HCXmlTreeStorage();
    HCXmlTreeStorage(const HCXmlTreeStorage&) = delete;
    HCXmlTreeStorage& operator=(const HCXmlTreeStorage&) = delete;

    // A new element of this tree, with no value and no children yet.
    HCXmlElement* makeElement(const char* name);
    // Appends elements of this tree to `parent` (of this tree too), unread.
    void appendChildren(HCXmlElement* parent, HCXmlElement* const* children, std::size_t count);
    // Gives an element of this tree a copy of `text` as its value, kept in
    // the arena.
    void setValue(HCXmlElement* element, std::string_view text);
    // A pointer to an element of this tree that shares the tree's ownership.
    HCPointer<HCXmlElement> pointerTo(HCXmlElement* element);

private:
    struct NameSlot {
        std::uint64_t hash = 0;
        const std::string* name = nullptr;
    };

    explicit HCXmlTreeStorage(std::size_t expectedBytes);
    const std::string* intern(const char* name);
    void place(const NameSlot& entry);

    std::pmr::monotonic_buffer_resource arena_;
    // Destroyed last to first; their memory goes with the arena.
    std::vector<HCXmlElement*> elements_;
    // Each distinct name once, found through an open-addressed table: a
    // reply has a few dozen names, met thousands of times each.
    std::deque<std::string> names_;
    std::vector<NameSlot> nameSlots_;
};
