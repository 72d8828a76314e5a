#include "core/replies/HCTableSectionDescription.h"

std::shared_ptr<HCTableSectionDescription> HCTableSectionDescription::sectionWithTitle(
    std::optional<std::string> title, std::shared_ptr<HCPaginatedSeries> page)
{
    auto section = std::make_shared<HCTableSectionDescription>();
    section->setTitle(std::move(title));
    section->setPage(std::move(page));
    return section;
}

std::shared_ptr<HCTableSectionDescription> HCTableSectionDescription::sectionWithTitleAndStaticCells(
    std::optional<std::string> title, std::vector<platform::ui::TableViewCellPtr> staticCells)
{
    auto section = std::make_shared<HCTableSectionDescription>();
    section->setTitle(std::move(title));
    section->setStaticCells(std::move(staticCells));
    return section;
}

size_t HCTableSectionDescription::count() const
{
    if (hasStaticCells()) return staticCells_.size();
    return page_ ? page_->count() : 0;
}

platform::ObjectPtr HCTableSectionDescription::objectAtIndex(size_t row) const
{
    if (hasStaticCells() || !page_) return nullptr;
    return page_->objectAtIndex(row);
}
