#pragma once
// A JSON reply's bytes as text: in the encoding the reply names (UTF-8 when
// it names none); when the bytes are not valid in it, as ASCII; nothing when
// that fails too.
//
// Thread: pure function; any thread.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

std::optional<std::string> xpReplyText(const std::vector<uint8_t>& bytes, int netStringEncoding);
