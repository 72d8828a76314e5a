#pragma once
// A table page of a list the service sends in pages: the base's loading,
// plus the next page when the player scrolls to the last row (while
// allowPagination, the last reply's pagination header says more pages
// are left and shouldEnableNextButtonWithSection agrees), merged below the
// rows shown without repeating one. Each page
// is asked for once: a reply whose page does not move on ends the paging. The table
// metadata of the last reply is kept for the page (getMetaDataOfType).
//
// Thread: main thread.
#include <memory>
#include <vector>

#include "core/replies/HCPaginatedSeriesHeader.h"
#include "uiframework/table/HCTableControllerHelper.h"

class HCTableSequenceControllerHelper : public HCTableControllerHelper {
public:
    using HCTableControllerHelper::HCTableControllerHelper;

    // The metadata objects of class T of the last reply.
    template <class T>
    std::vector<std::shared_ptr<T>> getMetaDataOfType() const
    {
        std::vector<std::shared_ptr<T>> out;
        if (!metaData_) return out;
        for (const auto& object : metaData_->items()) {
            if (auto typed = std::dynamic_pointer_cast<T>(object)) out.push_back(typed);
        }
        return out;
    }
    // The pagination header of the last reply; nil when it had none.
    const std::shared_ptr<HCPaginatedSeriesHeader>& paginationHeader() const { return paginationHeader_; }
    // Whether the last reply said more pages follow (in numbers a page can
    // count with: one past the current page is then at most the last).
    bool hasMorePages() const
    {
        return paginationHeader_ && paginationHeader_->isWithinRange() && !paginationHeader_->isLastPageLoaded();
    }

    // Asked with the last section and its last row as it shows, before the
    // next page is asked for; YES by default.
    virtual bool shouldEnableNextButtonWithSection(const HCTableSectionDescription& section,
                                                   const IndexPath& indexPath);

    void _onDataLoadedWrapper(const HCPaginatedSeriesPtr& series, bool isIncremental) override;
    void willDisplayCell(platform::ui::TableView& tableView, const platform::ui::TableViewCellPtr& cell,
                         const IndexPath& indexPath) override;
    std::string kindName() const override { return "HCTableSequenceControllerHelper"; }

private:
    std::shared_ptr<platform::Array> metaData_;
    std::shared_ptr<HCPaginatedSeriesHeader> paginationHeader_;
};
