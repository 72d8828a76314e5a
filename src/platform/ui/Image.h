#pragma once
// A decoded bitmap: straight (not premultiplied) RGBA, 8 bits per channel,
// rows from top to bottom. Images are immutable; a stretchable copy shares
// the pixels and only adds its caps.
//
// Images come from the application bundle by name, from a file, from encoded
// bytes (PNG or JPEG) or from a bitmap context. Bytes that are not a complete
// image of a supported kind give nullptr: a decoder never crashes on hostile,
// damaged or truncated input. Decoded images have tighter caps than bitmaps
// (see ImageCodecs.h); bitmaps larger than kMaxDimension on a side or
// kMaxPixels in all are refused rather than allocated.
//
// Thread: any thread; images are immutable once made.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Values.h"
#include "platform/ui/Geometry.h"

namespace platform::ui {

struct Pixel {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Pixel&) const = default;
};

// How the stored bitmap must be turned to stand upright, as a camera
// records it instead of turning the pixels. Numbers match the platform's.
enum class ImageOrientation : int {
    Up = 0,
    Down = 1,           // turned 180 degrees
    Left = 2,           // turned 90 degrees counter-clockwise
    Right = 3,          // turned 90 degrees clockwise
    UpMirrored = 4,     // flipped left to right
    DownMirrored = 5,   // flipped top to bottom
    LeftMirrored = 6,   // flipped left to right, then as Left
    RightMirrored = 7,  // flipped left to right, then as Right
};

class Image final : public Object {
public:
    static constexpr int kMaxDimension = 8192;
    static constexpr size_t kMaxPixels = size_t{4096} * 4096;

    // nullptr when the sizes are not positive, exceed the limits, or the
    // buffer does not hold width * height * 4 bytes.
    static std::shared_ptr<Image> withPixels(int pixelWidth, int pixelHeight, std::vector<uint8_t> rgba,
                                             double scale = 1.0);
    // Decodes PNG or JPEG bytes (told apart by their signature).
    static std::shared_ptr<Image> imageWithData(const Data& data);
    static std::shared_ptr<Image> imageWithData(const std::shared_ptr<Data>& data);
    static std::shared_ptr<Image> imageWithContentsOfFile(const std::string& path);
    // A resource of the main bundle: the name as given, with ".png" added
    // when it has no extension (no "@2x" variants). Names that would leave
    // the bundle (absolute, with a ".." component) find nothing.
    static std::shared_ptr<Image> imageNamed(const std::string& name);

    // In points: pixels divided by the scale.
    Size size() const;
    int pixelWidth() const { return width_; }
    int pixelHeight() const { return height_; }
    double scale() const { return scale_; }
    const std::vector<uint8_t>& rgba() const { return *pixels_; }
    // Out of range: a transparent pixel.
    Pixel pixelAt(int x, int y) const;

    // A copy that, when drawn larger, keeps `leftCapWidth` columns and
    // `topCapHeight` rows at its edges and stretches the rest (the caps are
    // recorded; nothing here draws). Negative caps count as 0.
    std::shared_ptr<Image> stretchableImage(int leftCapWidth, int topCapHeight) const;
    int leftCapWidth() const { return leftCap_; }
    // Up unless the image was given another; sizes and pixels are those of
    // the stored bitmap whatever the orientation.
    ImageOrientation imageOrientation() const { return orientation_; }
    // A copy sharing the pixels that is to be shown turned as `orientation` says.
    std::shared_ptr<Image> withOrientation(ImageOrientation orientation) const;
    int topCapHeight() const { return topCap_; }

    // The resource name the image was loaded by; empty for other images.
    const std::string& name() const { return name_; }
    // "Image name.png (50x50)"
    std::string description() const override;

    Image(int width, int height, std::shared_ptr<const std::vector<uint8_t>> pixels, double scale);

private:
    int width_;
    int height_;
    double scale_;
    std::shared_ptr<const std::vector<uint8_t>> pixels_;
    int leftCap_ = 0;
    int topCap_ = 0;
    ImageOrientation orientation_ = ImageOrientation::Up;
    std::string name_;
};

using ImagePtr = std::shared_ptr<Image>;

// The image as JPEG at `quality` from 0 (smallest) to 1 (best); transparent
// pixels come out dark, as the alpha channel is dropped. nullptr for nil.
std::shared_ptr<Data> JPEGRepresentation(const ImagePtr& image, double quality);
// The image as PNG, alpha kept. nullptr for nil.
std::shared_ptr<Data> PNGRepresentation(const ImagePtr& image);

}  // namespace platform::ui
