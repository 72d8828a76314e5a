// The JPEG decoder on arbitrary bytes: banners and profile pictures come from
// the network. A decoded image stays within the decode caps, and its JPEG
// encoding (lossy) decodes back to an image of the same size.
// Fuzz links: hc_platform PNG::PNG JPEG::JPEG
// Fuzz sources: src/platform/ui/Image.cpp src/platform/ui/Geometry.cpp src/platform/ui/PngCodec.cpp src/platform/ui/JpegCodec.cpp
#include "FuzzSupport.h"
#include "platform/ui/ImageCodecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace platform::ui;
    const auto image = codecs::decodeJpeg(data, size);
    if (!image) return 0;
    fuzz::check(codecs::withinDecodeCaps(image->pixelWidth(), image->pixelHeight()), "decoded JPEG past the caps");
    const auto encoded = codecs::encodeJpeg(*image, 90);
    fuzz::check(!encoded.empty(), "a decoded image cannot be encoded");
    const auto again = codecs::decodeJpeg(encoded.data(), encoded.size());
    fuzz::check(again && again->pixelWidth() == image->pixelWidth() && again->pixelHeight() == image->pixelHeight(),
                "JPEG decoded, encoded and decoded again changes size");
    return 0;
}
