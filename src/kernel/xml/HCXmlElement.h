#pragma once
// One element of a parsed XML tree: its name, its text and its children in
// document order, each child with a "read" mark.
//
// Readers walk a reply by taking children one at a time; a child that has been
// taken is marked read so that later look-ups skip it. Attributes are not
// kept: the service's XML carries everything in elements.
//
// A parsed element lives in its tree's storage (HCXmlTreeStorage.h): a
// pointer to it keeps the whole tree alive. An element made with the public
// constructor stands alone in its own shared_ptr.
//
// Thread: an element belongs to the thread that reads its document; it has no
// lock.
#include <cstddef>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/memory/HCSmartObject.h"

class HCXmlTreeStorage;

class HCXmlElement final : public HCSmartObject {
public:
    explicit HCXmlElement(std::string name, std::optional<std::string> value = std::nullopt);

    const std::string& name() const { return *name_; }
    // nullopt (nil) when the element has no text of its own. A copy: a parsed
    // element's text lives in its tree's arena, not in a string of its own.
    std::optional<std::string> value() const;
    void setValue(std::optional<std::string> value);

    // Appends an unread child. A null child is ignored.
    void addChild(HCPointer<HCXmlElement> child);
    size_t numChildren() const { return children_.size(); }
    // nullptr when the index is out of range.
    HCPointer<HCXmlElement> getChild(size_t index) const;
    bool isChildRead(size_t index) const;

    // The first unread child, now marked read; nullptr when every child is read.
    HCPointer<HCXmlElement> dequeueNextUnreadChild();
    // The first unread child with that name, now marked read; unread children
    // of other names before it stay unread. nullptr when there is none.
    HCPointer<HCXmlElement> dequeueNextUnreadChild(const char* name);
    // The text of the first unread child with that name (nil when that child
    // has no text), marking the child read when `markRead` is set. Answers
    // false and leaves `outValue` untouched when there is no such child.
    bool getValueWithName(const char* name, std::optional<std::string>& outValue, bool markRead);

    // The first child with that name, read or not; nullptr when none. Does not
    // change any read mark.
    HCPointer<HCXmlElement> firstChildNamed(const char* name) const;

private:
    friend class HCXmlTreeStorage;
    // An element of a tree (made by its storage), with an interned name.
    HCXmlElement(const std::string* internedName, HCXmlTreeStorage* storage, std::pmr::memory_resource* arena);

    struct Child {
        HCXmlElement* element;
        bool read = false;
    };

    HCPointer<HCXmlElement> pointerTo(HCXmlElement* child) const;
    // Index of the first unread child with that name at or after firstUnread_,
    // or children_.size().
    size_t findUnread(const char* name) const;
    void markRead(size_t index);
    std::optional<std::string_view> text() const;

    // A stand-alone element's own name; a tree's elements share interned
    // names. Held apart, like adopted_, to keep a tree's elements small.
    std::unique_ptr<const std::string> ownName_;
    const std::string* name_;
    // The text: in the tree's arena for a parsed element (set by its
    // storage), else in ownValue_. Null with no value.
    const char* text_ = nullptr;
    size_t textLength_ = 0;
    std::unique_ptr<const std::string> ownValue_;
    std::pmr::vector<Child> children_;
    // Children from outside this element's tree, kept alive here.
    std::unique_ptr<std::vector<HCPointer<HCXmlElement>>> adopted_;
    // Null for a stand-alone element.
    HCXmlTreeStorage* const storage_ = nullptr;
    // Every child before this index is read; keeps walks over long lists linear.
    size_t firstUnread_ = 0;
};
