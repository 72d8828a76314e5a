#pragma once
// Byte-level helpers the server's writers and state share. Pure functions
// apart from the random source; any thread.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace localserver {

// Length of the well-formed UTF-8 sequence at `i` and its code point; 0 when
// the bytes there are not one (overlong forms included).
std::size_t decodeUtf8(std::string_view text, std::size_t i, std::uint32_t& cp);

// `bytes` random bytes as lower-case hex; empty when the random source fails.
std::string randomHex(std::size_t bytes);

}  // namespace localserver
