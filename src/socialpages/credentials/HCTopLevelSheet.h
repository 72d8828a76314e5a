#pragma once
// The account pages' warning sheet: "Go Back" (cancel) and "Continue"
// (destructive), shown in the dashboard's top-level view, else in `fallback`.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "platform/ui/ActionSheet.h"

std::shared_ptr<platform::ui::ActionSheet> showSheetInTopLevelView(
    const std::string& title, const std::shared_ptr<platform::ui::ActionSheetDelegate>& delegate,
    const platform::ui::ViewPtr& fallback);
