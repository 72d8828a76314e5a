#pragma once
// One titled section of a table: its title, its identifier and its page of
// objects. A sectioned reply yields one per "resource_section"; the table
// pages merge a freshly loaded page into the section on screen without
// repeating rows (ResourceAdditions below).
//
// Thread: built on the thread that reads the reply; merged on the main
// thread by the table pages. One thread uses it at a time.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/replies/HCPaginatedSeries.h"

class HCTableSectionDescription : public platform::Object {
public:
    HCTableSectionDescription() = default;

    static std::shared_ptr<HCTableSectionDescription> sectionWithTitle(std::optional<std::string> title,
                                                                       std::shared_ptr<HCPaginatedSeries> page);

    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title) { title_ = std::move(title); }
    const std::optional<std::string>& identifier() const { return identifier_; }
    void setIdentifier(std::optional<std::string> identifier) { identifier_ = std::move(identifier); }
    const std::shared_ptr<HCPaginatedSeries>& page() const { return page_; }
    void setPage(std::shared_ptr<HCPaginatedSeries> page) { page_ = std::move(page); }

    // --- ResourceAdditions ------------------------------------------------
    // Takes over the objects of `other` (the section just loaded) that this
    // section does not show yet, in front of (prepending) or after its own,
    // and then its header. A section without a page takes the other's page
    // whole. Answers how many objects were taken; when none, nothing changes.
    size_t addContentsOfSectionWhereUnique(const std::shared_ptr<HCTableSectionDescription>& other,
                                           bool areSortedDescending, bool shouldPrependContents);
    // The objects of `other` that are new here, in the other page's order.
    // Ids compare as unsigned 64-bit numbers; an object without a numeric id
    // is always new. The walk stops at the first object already shown (it
    // and all after it are dropped); with descending order, an object whose
    // id is above an id shown here is new without looking further.
    std::vector<platform::ObjectPtr> arrayWithoutDuplicates(const std::shared_ptr<HCTableSectionDescription>& other,
                                                            bool areSortedDescending) const;

private:
    std::optional<std::string> title_;
    std::optional<std::string> identifier_;
    std::shared_ptr<HCPaginatedSeries> page_;
};
