#pragma once
// One titled section of a table: its title, its identifier and either its
// page of objects (a sectioned reply yields one per "resource_section") or
// ready-made static cells (menus and fixed rows that a page builds itself),
// and an optional header view. The table pages merge a freshly loaded page
// into the section on screen without repeating rows (ResourceAdditions below).
//
// Thread: built on the thread that reads the reply; merged on the main
// thread by the table pages. One thread uses it at a time; a section with
// static cells or a header view holds views and lives on the main thread.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/replies/HCPaginatedSeries.h"
#include "platform/ui/TableViewCell.h"

class HCTableSectionDescription : public platform::Object {
public:
    HCTableSectionDescription() = default;
    // A section without a title. Its own constructor rather than a nullopt
    // title: gcc's optimiser takes a moved empty optional string for an
    // uninitialised read.
    explicit HCTableSectionDescription(std::shared_ptr<HCPaginatedSeries> page) : page_(std::move(page)) {}
    HCTableSectionDescription(std::optional<std::string> title, std::shared_ptr<HCPaginatedSeries> page)
        : title_(std::move(title)), page_(std::move(page))
    {
    }

    static std::shared_ptr<HCTableSectionDescription> sectionWithTitle(std::optional<std::string> title,
                                                                       std::shared_ptr<HCPaginatedSeries> page);
    static std::shared_ptr<HCTableSectionDescription> sectionWithTitleAndStaticCells(
        std::optional<std::string> title, std::vector<platform::ui::TableViewCellPtr> staticCells);

    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title) { title_ = std::move(title); }
    const std::optional<std::string>& identifier() const { return identifier_; }
    void setIdentifier(std::optional<std::string> identifier) { identifier_ = std::move(identifier); }
    const std::shared_ptr<HCPaginatedSeries>& page() const { return page_; }
    void setPage(std::shared_ptr<HCPaginatedSeries> page) { page_ = std::move(page); }
    // A section of static cells shows them and not its page.
    const std::vector<platform::ui::TableViewCellPtr>& staticCells() const { return staticCells_; }
    void setStaticCells(std::vector<platform::ui::TableViewCellPtr> cells) { staticCells_ = std::move(cells); }
    bool hasStaticCells() const { return !staticCells_.empty(); }
    // Shown above the section instead of its title; nil for none.
    const platform::ui::ViewPtr& headerView() const { return headerView_; }
    void setHeaderView(platform::ui::ViewPtr view) { headerView_ = std::move(view); }

    // The section's own rows: its static cells, else its page's objects.
    size_t count() const;
    // The resource of a row (nil for static sections and rows out of range).
    platform::ObjectPtr objectAtIndex(size_t row) const;
    // YES for the section's last row.
    bool isRowLastObject(size_t row) const { return count() > 0 && row == count() - 1; }

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
    std::vector<platform::ui::TableViewCellPtr> staticCells_;
    platform::ui::ViewPtr headerView_;
};
