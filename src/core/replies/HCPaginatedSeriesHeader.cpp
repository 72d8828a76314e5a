#include "core/replies/HCPaginatedSeriesHeader.h"

#include <limits>

#include "kernel/xml/HCXmlElement.h"
#include "platform/foundation/TextConversions.h"

namespace {

uint32_t readNumber(HCXmlElement& element, const char* name)
{
    std::optional<std::string> text;
    if (!element.getValueWithName(name, text, true) || !text) {
        return 0;
    }
    const long long value = platform::longLongValue(*text);
    if (value < 0 || value > std::numeric_limits<uint32_t>::max()) return std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(value);
}

}  // namespace

HCPaginatedSeriesHeader::HCPaginatedSeriesHeader(uint32_t currentOffset, uint32_t currentPage, uint32_t totalPages,
                                                 uint32_t perPage, uint32_t totalObjects)
    : currentOffset_(currentOffset),
      currentPage_(currentPage),
      totalPages_(totalPages),
      perPage_(perPage),
      totalObjects_(totalObjects)
{
}

std::shared_ptr<HCPaginatedSeriesHeader> HCPaginatedSeriesHeader::paginationHeaderWithXmlElement(HCXmlElement& element)
{
    // Read in this order so that each takes the first unread child of its name.
    uint32_t offset = readNumber(element, "current_offset");
    uint32_t page = readNumber(element, "current_page");
    uint32_t pages = readNumber(element, "total_pages");
    uint32_t perPage = readNumber(element, "per_page");
    uint32_t total = readNumber(element, "total_entries");
    return std::make_shared<HCPaginatedSeriesHeader>(offset, page, pages, perPage, total);
}

bool HCPaginatedSeriesHeader::isWithinRange() const
{
    return currentOffset_ <= kLargestNumber && currentPage_ <= kLargestNumber && totalPages_ <= kLargestNumber &&
           perPage_ <= kLargestNumber && totalObjects_ <= kLargestNumber;
}

std::shared_ptr<HCPaginatedSeriesHeader> HCPaginatedSeriesHeader::paginationHeaderClonedFrom(
    const std::shared_ptr<HCPaginatedSeriesHeader>& other)
{
    if (!other) {
        return nullptr;
    }
    return std::make_shared<HCPaginatedSeriesHeader>(other->currentOffset_, other->currentPage_, other->totalPages_,
                                                     other->perPage_, other->totalObjects_);
}
