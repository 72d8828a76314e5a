#pragma once
// Base64 text of bytes and back (the standard alphabet with padding).
//
// Thread: any thread.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::string base64Encode(const std::vector<uint8_t>& bytes);
// Blanks and line breaks are ignored; nullopt for any other character outside
// the alphabet, bad padding or a length that is not a whole number of groups.
std::optional<std::vector<uint8_t>> base64Decode(std::string_view text);

}  // namespace platform
