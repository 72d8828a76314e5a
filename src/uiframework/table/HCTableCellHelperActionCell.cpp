#include "uiframework/table/HCTableCellHelperActionCell.h"

#include "platform/runtime/ThreadChecker.h"
#include "uiframework/table/HCTableControllerHelper.h"

void HCTableCellHelperActionCell::buttonPressed(const platform::ui::View& button)
{
    HC_CHECK_MAIN_THREAD();
    auto page = std::dynamic_pointer_cast<HCTableControllerHelper>(owner());
    if (!page) return;
    auto indexPath = page->tableView()->indexPathForCell(platform::self(this));
    if (!indexPath) return;
    page->actionPressedForTag(button.tag(), *indexPath);
}
