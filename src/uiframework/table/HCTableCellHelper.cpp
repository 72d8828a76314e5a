#include "uiframework/table/HCTableCellHelper.h"

#include "platform/runtime/ThreadChecker.h"

HCTableCellHelper::HCTableCellHelper(platform::ui::TableViewCellStyle style, std::string reuseIdentifier)
    : platform::ui::TableViewCell(style, std::move(reuseIdentifier))
{
}

void HCTableCellHelper::setResource(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    resource_ = resource;
    onResourceChanged(resource);
}

void HCTableCellHelper::onResourceChanged(const platform::ObjectPtr&) {}
