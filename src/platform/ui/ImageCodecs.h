#pragma once
// The PNG and JPEG coders behind Image. Decoders answer nullptr for anything
// that is not a complete image of their kind, or that is larger than
// Image::kMaxDimension on a side; they never abort the process.
//
// Thread: any thread; no shared state.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ui/Image.h"

namespace platform::ui::codecs {

bool looksLikePng(const uint8_t* bytes, size_t length);
bool looksLikeJpeg(const uint8_t* bytes, size_t length);

std::shared_ptr<Image> decodePng(const uint8_t* bytes, size_t length);
std::shared_ptr<Image> decodeJpeg(const uint8_t* bytes, size_t length);

// Empty on failure.
std::vector<uint8_t> encodePng(const Image& image);
// `quality` 0...100.
std::vector<uint8_t> encodeJpeg(const Image& image, int quality);

}  // namespace platform::ui::codecs
