#pragma once
// What the social pages' tests read off the screen beyond the harness.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/AlertView.h"

namespace socialtest {

// The alerts shown, oldest first, as "title: message".
inline std::vector<std::string> alertMessages()
{
    std::vector<std::string> out;
    for (const auto& panel : platform::ui::AlertPanel::shownPanels())
        if (auto alert = std::dynamic_pointer_cast<platform::ui::AlertView>(panel))
            out.push_back(alert->title() + ": " + alert->message());
    return out;
}

}  // namespace socialtest
