#pragma once
// What changes on the device when the player flips a setting, by its key:
// location sharing, the presence channel, and the log-in pages that the
// stream permissions and the newsletter need first.
//
// The change is applied before the service answers, so the page gets back
// how to take it back: a refused change must not leave the device sharing
// a position (or hiding the player) against the setting the service kept.
//
// Thread: main thread.
#include <functional>

#include "social/settings/HCUserSetting.h"

class HCUserSettingDelegate final {
public:
    using Undo = std::function<void()>;

    // Applies the local side of `setting` now `value`; answers how to undo
    // it (empty when there is nothing to undo, such as a page opened).
    static Undo settingValueToggled(const std::shared_ptr<HCUserSetting>& setting, bool value);
};
