#include "core/replies/HCTableSectionDescription.h"

std::shared_ptr<HCTableSectionDescription> HCTableSectionDescription::sectionWithTitle(
    std::optional<std::string> title, std::shared_ptr<HCPaginatedSeries> page)
{
    auto section = std::make_shared<HCTableSectionDescription>();
    section->setTitle(std::move(title));
    section->setPage(std::move(page));
    return section;
}
