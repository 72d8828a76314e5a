#pragma once
// Where one character as the player sees it ends: a base with what extends
// it (combining marks, variation selectors, skin tones, emoji tags, whatever
// a zero-width joiner joins) and regional indicators two by two. A cut at the
// end of one never leaves a letter without its accent, half a flag, a keycap's
// bare digit or one person of a family.
//
// Close to Unicode's extended grapheme clusters, from a small table rather
// than the full character data. It covers the combining marks of the Latin,
// Greek, Cyrillic, Hebrew, Arabic, Syriac, Thaana, N'Ko, Indic, Sinhala,
// Thai, Lao, Tibetan, Myanmar, Khmer and Mongolian blocks, the combining
// blocks for symbols and half marks, kana voicing marks, Hangul vowel and
// final jamo, and the emoji extenders; CR LF is one character and no control
// takes marks. It leaves out the marks of scripts beyond those blocks (each
// then counts on its own), marks that come before their base, conjuncts
// formed without a joiner and Hangul's syllable-by-syllable rules (a vowel
// or final jamo joins whatever precedes it); a joiner joins any character
// but a control, not only two pictographs.
//
// Thread: pure functions; any thread.
#include <cstddef>
#include <span>

namespace platform::ui::graphemes {

// The index just past the character that begins at `start`.
// Precondition: start < text.size().
size_t clusterEnd(std::span<const char32_t> text, size_t start);

}  // namespace platform::ui::graphemes
