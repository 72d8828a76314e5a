#include "kernel/xml/HCXmlTreeStorage.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "kernel/xml/HCXmlElement.h"

namespace {

// A reply's elements and child lists take about four times its text; the
// arena's first block is sized from the document so that most replies need
// one or two blocks.
constexpr std::size_t kArenaBytesPerDocumentByte = 4;
constexpr std::size_t kSmallestFirstBlock = 4096;
constexpr std::size_t kLargestFirstBlock = 64u * 1024u * 1024u;
// A power of two.
constexpr std::size_t kFirstNameSlots = 64;

}  // namespace

std::shared_ptr<HCXmlTreeStorage> HCXmlTreeStorage::create(std::size_t expectedBytes)
{
    return std::shared_ptr<HCXmlTreeStorage>(new HCXmlTreeStorage(expectedBytes));
}

HCXmlTreeStorage::HCXmlTreeStorage(std::size_t expectedBytes)
    : arena_(std::clamp(std::min(expectedBytes, kLargestFirstBlock) * kArenaBytesPerDocumentByte, kSmallestFirstBlock,
                        kLargestFirstBlock))
{
}

HCXmlTreeStorage::~HCXmlTreeStorage()
{
    for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) (*it)->~HCXmlElement();
}

const std::string* HCXmlTreeStorage::intern(const char* name)
{
    // Element names are short and few: their length and three of their
    // bytes tell them apart well enough, and a full compare settles it.
    const std::size_t length = std::strlen(name);
    const auto byte = [&](std::size_t i) { return static_cast<std::uint64_t>(static_cast<unsigned char>(name[i])); };
    std::uint64_t hash = length;
    if (length > 0) hash |= byte(0) << 32 | byte(length / 2) << 40 | byte(length - 1) << 48;
    hash *= 0x9E3779B97F4A7C15ull;
    hash ^= hash >> 32;
    const std::string_view wanted(name, length);
    if (nameSlots_.empty()) nameSlots_.resize(kFirstNameSlots);
    const std::size_t mask = nameSlots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        NameSlot& slot = nameSlots_[i];
        if (slot.name == nullptr) break;
        if (slot.hash == hash && *slot.name == wanted) return slot.name;
    }
    const std::string* kept = &names_.emplace_back(wanted);
    // Kept at most half full, so that a miss ends at an empty slot soon.
    if (names_.size() * 2 > nameSlots_.size()) {
        std::vector<NameSlot> old(nameSlots_.size() * 2);
        old.swap(nameSlots_);
        for (const NameSlot& slot : old)
            if (slot.name != nullptr) place(slot);
    }
    place(NameSlot{hash, kept});
    return kept;
}

void HCXmlTreeStorage::place(const NameSlot& entry)
{
    const std::size_t mask = nameSlots_.size() - 1;
    std::size_t i = entry.hash & mask;
    while (nameSlots_[i].name != nullptr) i = (i + 1) & mask;
    nameSlots_[i] = entry;
}

HCXmlElement* HCXmlTreeStorage::makeElement(const char* name)
{
    const std::string* interned = intern(name);
    void* memory = arena_.allocate(sizeof(HCXmlElement), alignof(HCXmlElement));
    auto* element = new (memory) HCXmlElement(interned, this, &arena_);
    elements_.push_back(element);
    return element;
}

void HCXmlTreeStorage::setValue(HCXmlElement* element, std::string_view text)
{
    // One copy into the arena instead of a heap block per text: most replies
    // are leaves of short text, and they all go at once with the tree.
    char* kept = static_cast<char*>(arena_.allocate(text.size() + 1, 1));
    std::memcpy(kept, text.data(), text.size());
    kept[text.size()] = '\0';
    element->ownValue_.reset();
    element->text_ = kept;
    element->textLength_ = text.size();
}

HCPointer<HCXmlElement> HCXmlTreeStorage::pointerTo(HCXmlElement* element)
{
    return HCPointer<HCXmlElement>(shared_from_this(), element);
}

void HCXmlTreeStorage::appendChildren(HCXmlElement* parent, HCXmlElement* const* children, std::size_t count)
{
    if (count == 0) return;
    auto& list = parent->children_;
    list.reserve(list.size() + count);
    for (std::size_t i = 0; i < count; ++i) list.push_back(HCXmlElement::Child{children[i], false});
}
