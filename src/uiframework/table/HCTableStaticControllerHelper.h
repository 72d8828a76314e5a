#pragma once
// A table page of fixed rows (menus, settings): its sections, usually of
// static cells, come from buildTableSectionDescriptions each time the page
// loads, at once and without the service.
//
// Thread: main thread.
#include "uiframework/table/HCTableControllerHelper.h"

class HCTableStaticControllerHelper : public HCTableControllerHelper {
public:
    using HCTableControllerHelper::HCTableControllerHelper;

    virtual Sections buildTableSectionDescriptions();
    void _refreshData() override;
    std::string kindName() const override { return "HCTableStaticControllerHelper"; }
};
