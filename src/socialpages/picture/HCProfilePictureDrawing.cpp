#include "socialpages/picture/HCProfilePictureDrawing.h"

#include "platform/ui/BitmapContext.h"

namespace HCProfilePictureDrawing {

namespace {

using platform::ui::ImageOrientation;

bool turnsSideways(ImageOrientation orientation)
{
    switch (orientation) {
    case ImageOrientation::Left:
    case ImageOrientation::Right:
    case ImageOrientation::LeftMirrored:
    case ImageOrientation::RightMirrored: return true;
    default: return false;
    }
}

// The stored pixel shown at (x, y) of the upright image, w x h being the stored size.
std::pair<int, int> storedPixelFor(ImageOrientation orientation, int x, int y, int w, int h)
{
    switch (orientation) {
    case ImageOrientation::Up: return {x, y};
    case ImageOrientation::Down: return {w - 1 - x, h - 1 - y};
    case ImageOrientation::Left: return {w - 1 - y, x};
    case ImageOrientation::Right: return {y, h - 1 - x};
    case ImageOrientation::UpMirrored: return {w - 1 - x, y};
    case ImageOrientation::DownMirrored: return {x, h - 1 - y};
    case ImageOrientation::LeftMirrored: return {y, x};
    case ImageOrientation::RightMirrored: return {w - 1 - y, h - 1 - x};
    }
    return {x, y};
}

}  // namespace

platform::ui::ImagePtr uprightCopy(const platform::ui::ImagePtr& image)
{
    if (!image) return nullptr;
    const auto orientation = image->imageOrientation();
    if (orientation == ImageOrientation::Up) return image;
    const int w = image->pixelWidth();
    const int h = image->pixelHeight();
    const int outW = turnsSideways(orientation) ? h : w;
    const int outH = turnsSideways(orientation) ? w : h;
    const auto& in = image->rgba();
    std::vector<uint8_t> out(static_cast<size_t>(outW) * static_cast<size_t>(outH) * 4);
    for (int y = 0; y < outH; ++y) {
        for (int x = 0; x < outW; ++x) {
            const auto [sx, sy] = storedPixelFor(orientation, x, y, w, h);
            const size_t from = (static_cast<size_t>(sy) * static_cast<size_t>(w) + static_cast<size_t>(sx)) * 4;
            const size_t to = (static_cast<size_t>(y) * static_cast<size_t>(outW) + static_cast<size_t>(x)) * 4;
            std::copy_n(in.begin() + static_cast<std::ptrdiff_t>(from), 4, out.begin() + static_cast<std::ptrdiff_t>(to));
        }
    }
    return platform::ui::Image::withPixels(outW, outH, std::move(out), image->scale());
}

platform::ui::ImagePtr profilePictureFrom(const platform::ui::ImagePtr& image)
{
    auto upright = uprightCopy(image);
    if (!upright) return nullptr;
    platform::ui::BitmapContext context(platform::ui::Size(kSide, kSide));
    context.drawInRect(*upright, platform::ui::Rect(0, 0, kSide, kSide));
    return context.makeImage();
}

}  // namespace HCProfilePictureDrawing
