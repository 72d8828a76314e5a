#include "uiframework/table/HCTableSequenceControllerHelper.h"

#include "platform/runtime/ThreadChecker.h"

namespace {

// A flat reply carries its header; a sectioned one in its last section's page.
std::shared_ptr<HCPaginatedSeriesHeader> headerOf(const HCPaginatedSeriesPtr& series)
{
    if (!series) return nullptr;
    if (series->header()) return series->header();
    for (auto it = series->objects().rbegin(); it != series->objects().rend(); ++it) {
        if (auto section = platform::as<HCTableSectionDescription>(*it)) {
            return section->page() ? section->page()->header() : nullptr;
        }
    }
    return nullptr;
}

}  // namespace

void HCTableSequenceControllerHelper::_onDataLoadedWrapper(const HCPaginatedSeriesPtr& series, bool isIncremental)
{
    HC_CHECK_MAIN_THREAD();
    metaData_ = series ? series->tableMetaDataObjects() : nullptr;
    paginationHeader_ = headerOf(series);
    HCTableControllerHelper::_onDataLoadedWrapper(series, isIncremental);
}

void HCTableSequenceControllerHelper::willDisplayCell(platform::ui::TableView& table,
                                                      const platform::ui::TableViewCellPtr& cell,
                                                      const IndexPath& indexPath)
{
    HC_CHECK_MAIN_THREAD();
    HCTableControllerHelper::willDisplayCell(table, cell, indexPath);
    const int lastSection = table.numberOfSections() - 1;
    if (indexPath.section != lastSection || indexPath.row != table.numberOfRowsInSection(lastSection) - 1) return;
    if (!allowPagination() || !hasMorePages() || isLoadingData()) return;
    if (lastSection < 0 || static_cast<size_t>(lastSection) >= sections().size() ||
        !shouldEnableNextButtonWithSection(*sections()[static_cast<size_t>(lastSection)], indexPath))
        return;
    loadNextPage(static_cast<int>(paginationHeader_->currentPage() + 1));
}

bool HCTableSequenceControllerHelper::shouldEnableNextButtonWithSection(const HCTableSectionDescription&,
                                                                        const IndexPath&)
{
    return true;
}
