#include "uiframework/table/HCTableCellBackgroundView.h"

#include "platform/runtime/ThreadChecker.h"

std::shared_ptr<HCTableCellBackgroundView> HCTableCellBackgroundView::defaultBackgroundView()
{
    HC_CHECK_MAIN_THREAD();
    auto view = std::make_shared<HCTableCellBackgroundView>(platform::ui::Rect());
    view->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth | platform::ui::AutoresizingFlexibleHeight);
    view->setContentMode(platform::ui::ContentMode::ScaleToFill);
    return view;
}
