#pragma once
// What the discovery pages are drawn with: a grey ground, a light line
// above and a dark line below each band (a category row, the index's
// footer), and a frame around each icon. Each strip is the named picture
// stretched across its view; a picture the bundle lacks leaves it empty.
//
// Thread: main thread.
#include <memory>

#include "platform/ui/ImageView.h"

class HCGameDiscoveryLook {
public:
    static constexpr const char* kGreyBackground = "HCGameDiscoveryGreyBG.png";
    static constexpr const char* kGreyBackgroundSelected = "HCGameDiscoveryGreyBGSelected.png";
    static constexpr const char* kDividerTop = "HCGameDiscoveryDividerTop.png";
    static constexpr const char* kDividerBottom = "HCGameDiscoveryDividerBottom.png";
    static constexpr const char* kIconFrame = "HCGameDiscoveryIconFrame.png";
    static constexpr double kDividerHeight = 1.0;

    // A strip showing the named picture, stretching across with its parent.
    static platform::ui::ImageViewPtr strip(const char* imageName, const platform::ui::Rect& frame);
    // An icon frame: the frame picture, stretched from its fixed corners.
    static platform::ui::ImageViewPtr iconFrame(const platform::ui::Rect& frame);
};
