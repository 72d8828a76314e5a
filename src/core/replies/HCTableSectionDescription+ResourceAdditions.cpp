#include <cstdint>

#include "core/replies/HCTableSectionDescription.h"
#include "core/resources/HCResource.h"
#include "platform/foundation/TextConversions.h"

namespace {

// 0 for an object that is no resource, has no id or whose id is no number.
uint64_t idOf(const platform::ObjectPtr& object)
{
    auto resource = platform::as<HCResource>(object);
    if (!resource || !resource->resourceId()) {
        return 0;
    }
    return static_cast<uint64_t>(platform::longLongValue(*resource->resourceId()));
}

}  // namespace

std::vector<platform::ObjectPtr> HCTableSectionDescription::arrayWithoutDuplicates(
    const std::shared_ptr<HCTableSectionDescription>& other, bool areSortedDescending) const
{
    std::vector<platform::ObjectPtr> unique;
    if (!other || !other->page()) {
        return unique;
    }
    const HCPaginatedSeries::Objects noObjects;
    const auto& shown = page_ ? page_->objects() : noObjects;
    for (const auto& candidate : other->page()->objects()) {
        const uint64_t candidateId = idOf(candidate);
        if (candidateId == 0) {
            unique.push_back(candidate);
            continue;
        }
        for (const auto& existing : shown) {
            const uint64_t existingId = idOf(existing);
            if (areSortedDescending && candidateId > existingId) {
                break;
            }
            if (candidateId == existingId) {
                // Everything from here on is taken to be on screen already.
                return unique;
            }
        }
        unique.push_back(candidate);
    }
    return unique;
}

size_t HCTableSectionDescription::addContentsOfSectionWhereUnique(const std::shared_ptr<HCTableSectionDescription>& other,
                                                                  bool areSortedDescending, bool shouldPrependContents)
{
    if (!other) {
        return 0;
    }
    if (!page_) {
        page_ = other->page();
        return page_ ? page_->count() : 0;
    }
    std::vector<platform::ObjectPtr> unique = arrayWithoutDuplicates(other, areSortedDescending);
    if (unique.empty()) {
        return 0;
    }
    const size_t taken = unique.size();
    if (shouldPrependContents) {
        unique.insert(unique.end(), page_->objects().begin(), page_->objects().end());
        page_->setObjects(std::move(unique));
    } else {
        for (const auto& object : unique) {
            page_->addObject(object);
        }
    }
    page_->setHeader(other->page() ? other->page()->header() : nullptr);
    return taken;
}
