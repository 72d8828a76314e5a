#include "core/images/HCImageCache.h"

#include <algorithm>

#include "platform/runtime/Guarded.h"

namespace {

platform::Guarded<std::shared_ptr<HCImageCache>>& sharedSlot()
{
    static auto* slot = new platform::Guarded<std::shared_ptr<HCImageCache>>();  // outlives exit-time destructors
    return *slot;
}

size_t weightOf(const platform::ui::Image& image)
{
    return static_cast<size_t>(image.pixelWidth()) * static_cast<size_t>(image.pixelHeight()) * 4;
}

}  // namespace

void HCImageCache::initializeCache()
{
    if (!sharedSlot().get()) sharedSlot().set(std::make_shared<HCImageCache>());
}

void HCImageCache::shutdownCache()
{
    sharedSlot().set(nullptr);
}

std::shared_ptr<HCImageCache> HCImageCache::sharedInstance()
{
    return sharedSlot().get();
}

platform::ui::ImagePtr HCImageCache::fetch(const std::string& identifier) const
{
    std::lock_guard lock(mutex_);
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.identifier == identifier; });
    return it != entries_.end() ? it->image : nullptr;
}

void HCImageCache::store(const platform::ui::ImagePtr& image, const std::string& identifier)
{
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [&](const Entry& e) {
        if (e.identifier != identifier) return false;
        totalBytes_ -= e.bytes;
        return true;
    });
    if (!image) return;
    const size_t bytes = weightOf(*image);
    entries_.push_back(Entry{identifier, image, bytes});
    totalBytes_ += bytes;
    while (totalBytes_ > kMaxBytes && !entries_.empty()) {
        totalBytes_ -= entries_.front().bytes;
        entries_.erase(entries_.begin());
    }
}

void HCImageCache::purge()
{
    std::lock_guard lock(mutex_);
    entries_.clear();
    totalBytes_ = 0;
}
