#pragma once
// The chat and IM message boxes come and go with their page: their controls
// fade to `alpha` over a quarter of a second, or at once when the page moves
// without animation.
//
// Thread: main thread.
#include <initializer_list>
#include <vector>

#include "platform/ui/View.h"

inline void fadeMessageBoxControls(std::initializer_list<platform::ui::ViewPtr> controls, double alpha, bool animated)
{
    constexpr double kFadeSeconds = 0.25;
    auto apply = [controls = std::vector<platform::ui::ViewPtr>(controls), alpha] {
        for (const auto& control : controls) control->setAlpha(alpha);
    };
    if (animated) {
        platform::ui::View::animate(kFadeSeconds, apply);
    } else {
        apply();
    }
}
