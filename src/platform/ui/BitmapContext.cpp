#include "platform/ui/BitmapContext.h"

#include <algorithm>
#include <cmath>

namespace platform::ui {

BitmapContext::BitmapContext(Size size, bool opaque, double scale)
{
    scale_ = (scale > 0 && std::isfinite(scale)) ? scale : 1.0;
    const double w = std::round(size.width * scale_);
    const double h = std::round(size.height * scale_);
    if (!(w >= 1 && h >= 1 && w <= Image::kMaxDimension && h <= Image::kMaxDimension) || w * h > Image::kMaxPixels) {
        return;
    }
    width_ = static_cast<int>(w);
    height_ = static_cast<int>(h);
    pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4, 0);
    if (opaque) {
        for (size_t i = 3; i < pixels_.size(); i += 4) pixels_[i] = 255;
    }
    ctm_ = AffineTransform::scale(scale_, scale_);
}

void BitmapContext::scaleCTM(double sx, double sy) { ctm_ = ctm_.scaled(sx, sy); }
void BitmapContext::rotateCTM(double radians) { ctm_ = ctm_.rotated(radians); }
void BitmapContext::translateCTM(double dx, double dy) { ctm_ = ctm_.translated(dx, dy); }
void BitmapContext::saveGState() { saved_.push_back(ctm_); }

void BitmapContext::restoreGState()
{
    if (saved_.empty()) return;
    ctm_ = saved_.back();
    saved_.pop_back();
}

void BitmapContext::drawInRect(const Image& image, const Rect& rect) { draw(image, rect, false); }
void BitmapContext::drawBitmap(const Image& image, const Rect& rect) { draw(image, rect, true); }

void BitmapContext::draw(const Image& image, const Rect& rect, bool flipped)
{
    if (pixels_.empty() || !ctm_.isInvertible()) return;
    const Rect r = rect.standardized();
    if (r.isEmpty()) return;
    const AffineTransform toUser = ctm_.inverted();
    // Only the pixels under the rectangle's transformed bounding box can change.
    const Rect box = ctm_.apply(r).intersection(Rect(0, 0, width_, height_));
    if (box.isEmpty()) return;
    const int x0 = static_cast<int>(std::floor(box.minX()));
    const int y0 = static_cast<int>(std::floor(box.minY()));
    const int x1 = std::min(width_, static_cast<int>(std::ceil(box.maxX())));
    const int y1 = std::min(height_, static_cast<int>(std::ceil(box.maxY())));
    const int iw = image.pixelWidth();
    const int ih = image.pixelHeight();
    const uint8_t* src = image.rgba().data();
    for (int py = y0; py < y1; ++py) {
        for (int px = x0; px < x1; ++px) {
            const Point user = toUser.apply(Point(px + 0.5, py + 0.5));
            if (!r.contains(user)) continue;
            const double u = (user.x - r.minX()) / r.width();
            double v = (user.y - r.minY()) / r.height();
            if (flipped) v = 1.0 - v;
            const int sx = std::clamp(static_cast<int>(std::floor(u * iw)), 0, iw - 1);
            const int sy = std::clamp(static_cast<int>(std::floor(v * ih)), 0, ih - 1);
            const uint8_t* s = src + (static_cast<size_t>(sy) * static_cast<size_t>(iw) + static_cast<size_t>(sx)) * 4;
            uint8_t* d = pixels_.data() + (static_cast<size_t>(py) * static_cast<size_t>(width_) + static_cast<size_t>(px)) * 4;
            // Source over, in straight alpha.
            const double sa = s[3] / 255.0;
            const double da = d[3] / 255.0;
            const double oa = sa + da * (1.0 - sa);
            for (int c = 0; c < 3; ++c) {
                const double value = oa > 0 ? (s[c] * sa + d[c] * da * (1.0 - sa)) / oa : 0.0;
                d[c] = static_cast<uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
            }
            d[3] = static_cast<uint8_t>(std::lround(oa * 255.0));
        }
    }
}

std::shared_ptr<Image> BitmapContext::makeImage() const
{
    if (pixels_.empty()) return nullptr;
    return Image::withPixels(width_, height_, pixels_, scale_);
}

}  // namespace platform::ui
