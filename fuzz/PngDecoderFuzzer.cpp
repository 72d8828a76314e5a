// The PNG decoder on arbitrary bytes: banners and profile pictures come from
// the network. A decoded image stays within the decode caps, and its PNG
// encoding decodes back to the same pixels.
// Fuzz links: hc_platform PNG::PNG JPEG::JPEG
// Fuzz sources: src/platform/ui/Image.cpp src/platform/ui/Geometry.cpp src/platform/ui/PngCodec.cpp src/platform/ui/JpegCodec.cpp
#include "FuzzSupport.h"
#include "platform/ui/ImageCodecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace platform::ui;
    const auto image = codecs::decodePng(data, size);
    if (!image) return 0;
    fuzz::check(codecs::withinDecodeCaps(image->pixelWidth(), image->pixelHeight()), "decoded PNG past the caps");
    const auto encoded = codecs::encodePng(*image);
    fuzz::check(!encoded.empty(), "a decoded image cannot be encoded");
    const auto again = codecs::decodePng(encoded.data(), encoded.size());
    fuzz::check(again && again->pixelWidth() == image->pixelWidth() && again->rgba() == image->rgba(),
                "PNG decoded, encoded and decoded again differs");
    return 0;
}
