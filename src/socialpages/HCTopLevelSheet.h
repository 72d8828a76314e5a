#pragma once
// A sheet of the player's own pages that asks before something that cannot
// be taken back, shown in the dashboard's top-level view (so it covers the
// whole dashboard), else in `fallback`.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "platform/ui/ActionSheet.h"

std::shared_ptr<platform::ui::ActionSheet> showSheetInTopLevelView(
    const std::string& title, const std::shared_ptr<platform::ui::ActionSheetDelegate>& delegate,
    const std::string& cancel, const std::string& destructive, const platform::ui::ViewPtr& fallback);
