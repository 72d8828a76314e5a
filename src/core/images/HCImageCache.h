#pragma once
// The client's memory cache of decoded images: downloaded pictures keyed by
// their URL, and the bundle's images keyed by their file name (through
// HCImageLoader).
//
// Storing under a key replaces what the key held. An entry weighs what it
// costs in memory: 4 bytes a pixel, its key (held twice, in the order and in
// the index) and kEntryOverheadBytes of bookkeeping, so a flood of tiny
// pictures cannot hold an unbounded number of entries. While the entries
// weigh more than kMaxBytes, the least recently used go first (a fetch that
// finds an image counts as a use). A single entry heavier than the bound is
// not kept at all.
//
// Thread: any thread; one mutex guards the entries.
#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/ui/Image.h"

class HCImageCache final {
public:
    static constexpr size_t kMaxBytes = 2'000'000;
    // An entry's fixed cost beside its pixels and key: the order's list node,
    // the index's node and bucket, the Image and the pixel vector each with
    // its shared control block, and an allocator header on each of the six
    // allocations (the pixel buffer's too). 384 bytes on a 64-bit build;
    // weightOf checks at compile time that the structures fit in it.
    static constexpr size_t kEntryOverheadBytes = 392;

    // What an entry holding `image` under `identifier` weighs against kMaxBytes.
    static size_t weightOf(const platform::ui::Image& image, const std::string& identifier);

    // Creates the shared cache unless it exists; shutdownCache drops it.
    static void initializeCache();
    static void shutdownCache();
    // Nil before initializeCache and after shutdownCache.
    static std::shared_ptr<HCImageCache> sharedInstance();

    // Nil when nothing is stored under the key.
    platform::ui::ImagePtr fetch(const std::string& identifier);
    // A nil image removes the key.
    void store(const platform::ui::ImagePtr& image, const std::string& identifier);
    void purge();

    // What the held images weigh now, and how many there are.
    size_t totalBytes() const;
    size_t count() const;

private:
    struct Entry {
        std::string identifier;
        platform::ui::ImagePtr image;
        size_t bytes;
    };
    using Order = std::list<Entry>;  // least recently used first

    void eraseLocked(Order::iterator entry);

    mutable std::mutex mutex_;
    Order order_;
    std::unordered_map<std::string, Order::iterator> index_;
    size_t totalBytes_ = 0;
};
