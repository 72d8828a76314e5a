#pragma once
// Where one character as the player sees it ends: Unicode's extended
// grapheme cluster (UAX #29), as utf8proc finds it. A cut at the end of one
// never leaves a letter without its accent or vowel sign, a Prepend without
// its letter, a Hangul syllable in pieces, half a flag, a keycap's bare digit
// or one person of a family; CR LF is one character and no control takes
// the marks after it.
//
// The rules and the character data are the library's, so a new Unicode
// version arrives with the library, not with an edit here.
//
// Thread: pure functions; any thread.
#include <cstddef>
#include <span>

namespace platform::ui::graphemes {

// The index just past the character that begins at `start`. A value that is
// no code point (above U+10FFFF) counts as a character of its own.
// Precondition: start < text.size().
size_t clusterEnd(std::span<const char32_t> text, size_t start);

}  // namespace platform::ui::graphemes
