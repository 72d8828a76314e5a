#include "uiframework/table/HCTableStaticControllerHelper.h"

#include "core/resources/HCMissingOverride.h"
#include "kernel/resources/HCResourceClassName.h"
#include "platform/runtime/ThreadChecker.h"

HCTableControllerHelper::Sections HCTableStaticControllerHelper::buildTableSectionDescriptions()
{
    HCReportMissingOverride("HCTableStaticControllerHelper", HCClassName(typeid(*this)), "buildTableSectionDescriptions");
    return {};
}

void HCTableStaticControllerHelper::_refreshData()
{
    HC_CHECK_MAIN_THREAD();
    auto series = HCPaginatedSeries::paginatedSeries();
    for (const auto& section : buildTableSectionDescriptions()) series->addObject(section);
    // A page without sections still shows as loaded (and empty).
    _onDataLoadedWrapper(series, false);
}
