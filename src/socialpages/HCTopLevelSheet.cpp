#include "socialpages/HCTopLevelSheet.h"

#include "dashboard/HalcyonDashboard.h"

std::shared_ptr<platform::ui::ActionSheet> showSheetInTopLevelView(
    const std::string& title, const std::shared_ptr<platform::ui::ActionSheetDelegate>& delegate,
    const std::string& cancel, const std::string& destructive, const platform::ui::ViewPtr& fallback)
{
    auto sheet = platform::ui::ActionSheet::make(title, delegate, cancel, destructive);
    auto top = HalcyonDashboard::getTopLevelView();
    sheet->showInView(top ? top : fallback);
    return sheet;
}
