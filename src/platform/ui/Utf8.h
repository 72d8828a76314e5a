#pragma once
// Character positions in UTF-8 text. A "character" here is one Unicode code
// point: lengths, ranges and cuts count code points and never split a
// multi-byte sequence. A byte that does not start a valid sequence counts as
// one character of its own (it decodes as U+FFFD), so hostile text still has
// a defined length.
//
// Thread: pure functions; any thread.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::ui::utf8 {

// Decodes the code point starting at byte `pos` and moves `pos` past it.
// Precondition: pos < text.size().
char32_t next(std::string_view text, size_t& pos);
std::vector<char32_t> decode(std::string_view text);
void append(std::string& out, char32_t cp);
std::string encode(const std::vector<char32_t>& cps);

size_t length(std::string_view text);
// The byte offset where character `index` starts; text.size() when index >= length.
size_t byteOffset(std::string_view text, size_t index);
// The first `count` characters (the whole text when it is shorter).
std::string prefix(std::string_view text, size_t count);
// Characters [location, location + count), clamped to the text.
std::string substring(std::string_view text, size_t location, size_t count);
// Replaces characters [location, location + count), clamped to the text.
std::string replace(std::string_view text, size_t location, size_t count, std::string_view replacement);

}  // namespace platform::ui::utf8
