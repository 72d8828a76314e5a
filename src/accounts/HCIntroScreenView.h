#pragma once
// The plain layout the intro screens share: a message and a row of buttons,
// each calling back its action when tapped.
//
// Thread: main thread.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/View.h"

namespace hcintro {

using ButtonAction = std::pair<std::string, std::function<void()>>;

platform::ui::ViewPtr makeScreenView(const std::string& message, const std::vector<ButtonAction>& buttons);

}  // namespace hcintro
