#include "scores/offline/HCIntegerText.h"

#include <charconv>

std::optional<std::int64_t> HCIntegerFromText(std::string_view text)
{
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}
