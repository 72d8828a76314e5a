#pragma once
// An offscreen bitmap to draw images into and take the result as an Image,
// like the platform's image context. User space starts with the origin at
// the top left and y growing downwards, in points; the bitmap has
// size * scale pixels and starts fully transparent (or opaque black).
//
// The current transformation matrix (CTM) maps user space to the bitmap; the
// scale/rotate/translate calls apply their operation before the existing CTM,
// as the platform's do. Sampling is nearest-neighbour at pixel centres and
// blending is "source over".
//
// Thread: one thread at a time; a context is not shared.
#include <memory>
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/ui/Image.h"

namespace platform::ui {

class BitmapContext {
public:
    // A size that is not positive (or too large for an Image) gives a context
    // whose draws do nothing and whose makeImage() answers nullptr.
    explicit BitmapContext(Size size, bool opaque = false, double scale = 1.0);

    int pixelWidth() const { return width_; }
    int pixelHeight() const { return height_; }

    AffineTransform ctm() const { return ctm_; }
    void scaleCTM(double sx, double sy);
    void rotateCTM(double radians);
    void translateCTM(double dx, double dy);
    void saveGState();
    // Without a matching save: nothing.
    void restoreGState();

    // The image upright in `rect` (its top row along the rectangle's top).
    void drawInRect(const Image& image, const Rect& rect);
    // The image's bitmap as the low-level call draws it, which assumes y grows
    // upwards: its top row lies along the rectangle's max-y edge, so in this
    // top-down space it comes out upside down unless the CTM flips it.
    void drawBitmap(const Image& image, const Rect& rect);

    // A copy of the bitmap; nullptr for an empty context.
    std::shared_ptr<Image> makeImage() const;

private:
    void draw(const Image& image, const Rect& rect, bool flipped);

    int width_ = 0;
    int height_ = 0;
    double scale_ = 1.0;
    std::vector<uint8_t> pixels_;
    AffineTransform ctm_;
    std::vector<AffineTransform> saved_;
};

}  // namespace platform::ui
