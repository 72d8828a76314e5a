#pragma once
// The picture a player uploads as their own: drawn upright into 50 x 50
// points, whichever way the camera recorded it (its image orientation), so
// the service never stores a sideways or mirrored face.
//
// Thread: any thread; images are immutable.
#include "platform/ui/Image.h"

namespace HCProfilePictureDrawing {

constexpr double kSide = 50.0;

// The image's pixels turned as its orientation says, with orientation Up;
// nil for nil.
platform::ui::ImagePtr uprightCopy(const platform::ui::ImagePtr& image);
// The upright image drawn to fill kSide x kSide; nil for nil.
platform::ui::ImagePtr profilePictureFrom(const platform::ui::ImagePtr& image);

}  // namespace HCProfilePictureDrawing
