#include "platform/ui/Graphemes.h"

#include <utf8proc.h>

namespace platform::ui::graphemes {

size_t clusterEnd(std::span<const char32_t> text, size_t start)
{
    // The library carries what it has seen since the cluster began (a run
    // of regional indicators, a pictograph before a joiner) in `state`; a
    // fresh state starts at `start`, so a cluster never reaches back
    // before it.
    utf8proc_int32_t state = 0;
    size_t end = start + 1;
    while (end < text.size() &&
           !utf8proc_grapheme_break_stateful(static_cast<utf8proc_int32_t>(text[end - 1]),
                                             static_cast<utf8proc_int32_t>(text[end]), &state)) {
        ++end;
    }
    return end;
}

}  // namespace platform::ui::graphemes
