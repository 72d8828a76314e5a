#include "core/images/HCImageCache.h"

#include "platform/runtime/Guarded.h"

namespace {

platform::Guarded<std::shared_ptr<HCImageCache>>& sharedSlot()
{
    static auto* slot = new platform::Guarded<std::shared_ptr<HCImageCache>>();  // outlives exit-time destructors
    return *slot;
}

}  // namespace

size_t HCImageCache::weightOf(const platform::ui::Image& image, const std::string& identifier)
{
    constexpr size_t kAllocatorHeader = 16;
    constexpr size_t kControlBlock = 16;  // a make_shared block's own part: its table and two counts
    static_assert(sizeof(Order::value_type) + 2 * sizeof(void*)                   // list node
                          + sizeof(decltype(index_)::value_type) + 3 * sizeof(void*)  // index node and bucket
                          + sizeof(platform::ui::Image) + kControlBlock + sizeof(std::vector<uint8_t>) +
                          kControlBlock + 6 * kAllocatorHeader <=
                      kEntryOverheadBytes,
                  "an entry's bookkeeping outgrew kEntryOverheadBytes");
    return static_cast<size_t>(image.pixelWidth()) * static_cast<size_t>(image.pixelHeight()) * 4 +
           2 * identifier.size() + kEntryOverheadBytes;
}

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

platform::ui::ImagePtr HCImageCache::fetch(const std::string& identifier)
{
    std::lock_guard lock(mutex_);
    auto found = index_.find(identifier);
    if (found == index_.end()) return nullptr;
    order_.splice(order_.end(), order_, found->second);
    return found->second->image;
}

void HCImageCache::store(const platform::ui::ImagePtr& image, const std::string& identifier)
{
    std::lock_guard lock(mutex_);
    if (auto found = index_.find(identifier); found != index_.end()) eraseLocked(found->second);
    if (!image) return;
    const size_t bytes = weightOf(*image, identifier);
    if (bytes > kMaxBytes) return;
    order_.push_back(Entry{identifier, image, bytes});
    index_[identifier] = std::prev(order_.end());
    totalBytes_ += bytes;
    while (totalBytes_ > kMaxBytes) eraseLocked(order_.begin());
}

void HCImageCache::purge()
{
    std::lock_guard lock(mutex_);
    order_.clear();
    index_.clear();
    totalBytes_ = 0;
}

size_t HCImageCache::totalBytes() const
{
    std::lock_guard lock(mutex_);
    return totalBytes_;
}

size_t HCImageCache::count() const
{
    std::lock_guard lock(mutex_);
    return order_.size();
}

void HCImageCache::eraseLocked(Order::iterator entry)
{
    totalBytes_ -= entry->bytes;
    index_.erase(entry->identifier);
    order_.erase(entry);
}
