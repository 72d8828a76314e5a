#pragma once
// The service's optional texts: a value that is absent and one that is empty
// mean the same to most callers, "nothing given".
//
// Thread: any thread.
#include <optional>
#include <string>

namespace platform {

inline bool hasText(const std::optional<std::string>& text)
{
    return text && !text->empty();
}

}  // namespace platform
