#pragma once
// The client's and the game's shipped images by file name
// ("HCNotificationBackground.png", "AchievementIcon_12.jpg"): looked up in
// the resource bundle, then in the main bundle, decoded once and kept in the
// image cache (when it is up) under "bundle:" and the name, so that a
// downloaded picture with the same relative URL is never mistaken for it.
//
// Thread: any thread.
#include <string>

#include "platform/ui/Image.h"

class HCImageLoader final {
public:
    // Nil for a nil or empty name, a missing file or bytes that are no image.
    static platform::ui::ImagePtr loadImage(const std::string& fileName);
};
