#pragma once
// The client's memory cache of downloaded images, keyed by their URL.
//
// Storing under a key replaces what the key held; while the images held
// weigh more than kMaxBytes (4 bytes a pixel), the oldest stored go first.
// Players' pictures and game icons come through here, so a picture shown
// twice is downloaded once.
//
// Thread: any thread; one mutex guards the entries.
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ui/Image.h"

class HCImageCache final {
public:
    static constexpr size_t kMaxBytes = 2'000'000;

    // Creates the shared cache unless it exists; shutdownCache drops it.
    static void initializeCache();
    static void shutdownCache();
    // Nil before initializeCache and after shutdownCache.
    static std::shared_ptr<HCImageCache> sharedInstance();

    // Nil when nothing is stored under the key.
    platform::ui::ImagePtr fetch(const std::string& identifier) const;
    // A nil image removes the key.
    void store(const platform::ui::ImagePtr& image, const std::string& identifier);
    void purge();

private:
    struct Entry {
        std::string identifier;
        platform::ui::ImagePtr image;
        size_t bytes;
    };

    mutable std::mutex mutex_;
    std::vector<Entry> entries_;  // oldest first
    size_t totalBytes_ = 0;
};
