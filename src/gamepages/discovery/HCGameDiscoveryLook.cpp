#include "gamepages/discovery/HCGameDiscoveryLook.h"

#include "core/images/HCImageLoader.h"

namespace {

// The frame picture's corners, kept as drawn when it stretches.
constexpr int kIconFrameLeftCap = 21;
constexpr int kIconFrameTopCap = 19;

}  // namespace

platform::ui::ImageViewPtr HCGameDiscoveryLook::strip(const char* imageName, const platform::ui::Rect& frame)
{
    auto view = platform::ui::ImageView::withImage(HCImageLoader::loadImage(imageName));
    view->setFrame(frame);
    view->setContentMode(platform::ui::ContentMode::ScaleToFill);
    view->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth);
    return view;
}

platform::ui::ImageViewPtr HCGameDiscoveryLook::iconFrame(const platform::ui::Rect& frame)
{
    auto picture = HCImageLoader::loadImage(kIconFrame);
    auto view = platform::ui::ImageView::withImage(picture ? picture->stretchableImage(kIconFrameLeftCap, kIconFrameTopCap)
                                                           : nullptr);
    view->setFrame(frame);
    return view;
}
