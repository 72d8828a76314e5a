#include "socialpages/credentials/HCTopLevelSheet.h"

#include "core/halcyon/Halcyon.h"

std::shared_ptr<platform::ui::ActionSheet> showSheetInTopLevelView(
    const std::string& title, const std::shared_ptr<platform::ui::ActionSheetDelegate>& delegate,
    const platform::ui::ViewPtr& fallback)
{
    auto sheet = platform::ui::ActionSheet::make(title, delegate, std::string("Go Back"), std::string("Continue"));
    const auto& rootView = Halcyon::dashboardHooks().rootView;
    platform::ui::ViewPtr top = rootView ? rootView() : nullptr;
    sheet->showInView(top ? top : fallback);
    return sheet;
}
