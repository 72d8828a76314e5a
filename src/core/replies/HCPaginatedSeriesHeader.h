#pragma once
// The pagination header of a list reply: where the page stands in the whole
// list. Read from the reply's "pagination_header" element, whose children
// "current_offset", "current_page", "total_pages", "per_page" and
// "total_entries" are decimal integers; a missing child reads as 0.
//
// Tables and score enumerators count pages in int and step one page on, so
// a header is usable only while every number lies in 0 .. kLargestNumber
// (isWithinRange); they treat any other header as a bad reply.
//
// Thread: immutable once made; any thread.
#include <cstdint>
#include <memory>

#include "platform/runtime/Object.h"

class HCXmlElement;

class HCPaginatedSeriesHeader final : public platform::Object {
public:
    static constexpr uint32_t kLargestNumber = 2147483647;

    HCPaginatedSeriesHeader(uint32_t currentOffset, uint32_t currentPage, uint32_t totalPages, uint32_t perPage,
                            uint32_t totalObjects);

    static const char* getElementName() { return "pagination_header"; }

    // Reads the five numbers from the element's first unread children of
    // their names (marking them read). A number that is negative or above
    // 2^32-1 reads as 2^32-1: it is as unusable as any number past
    // kLargestNumber, and must not pass for a small one.
    static std::shared_ptr<HCPaginatedSeriesHeader> paginationHeaderWithXmlElement(HCXmlElement& element);
    // A copy of the five numbers; nil for nil.
    static std::shared_ptr<HCPaginatedSeriesHeader> paginationHeaderClonedFrom(
        const std::shared_ptr<HCPaginatedSeriesHeader>& other);

    uint32_t currentOffset() const { return currentOffset_; }
    uint32_t currentPage() const { return currentPage_; }
    uint32_t totalPages() const { return totalPages_; }
    uint32_t perPage() const { return perPage_; }
    // The element is "total_entries".
    uint32_t totalObjects() const { return totalObjects_; }

    // YES when the current page is the last (or beyond it, or no count came).
    bool isLastPageLoaded() const { return currentPage_ >= totalPages_; }
    // NO when a number is past kLargestNumber: the reply that carried it is bad.
    bool isWithinRange() const;

private:
    uint32_t currentOffset_;
    uint32_t currentPage_;
    uint32_t totalPages_;
    uint32_t perPage_;
    uint32_t totalObjects_;
};
