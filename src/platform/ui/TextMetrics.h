#pragma once
// Deterministic text measurement and line breaking.
//
// Every character has a fixed advance by class, in thousandths of the point
// size: zero-width (controls, combining marks, joiners) 0, narrow (space,
// "ijlft.,:;'!|()[]I" and the like) 300, normal 550, wide ("MWmw@%") 800,
// full-width (CJK ideographs, kana, hangul, full-width forms, emoji) 1000.
// Bold fonts are a tenth wider. A line's width is the sum of its advances, so
// adding a character never makes a text narrower. Reported sizes are rounded
// up to whole points and never exceed the width they were constrained to.
//
// Lines break at "\n", "\r\n", "\r" and U+2028. Word wrapping breaks at
// spaces, after a hyphen and around full-width characters; a word longer than
// the line is broken between characters. Spaces at the end of a line hang
// past the edge and do not count.
//
// Thread: pure functions; any thread.
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

namespace platform::ui {

// The platform's numbering, so stored values keep their meaning.
enum class LineBreakMode { WordWrap = 0, CharacterWrap = 1, Clip = 2, TruncateHead = 3, TruncateTail = 4, TruncateMiddle = 5 };
enum class TextAlignment { Left = 0, Center = 1, Right = 2 };

// The horizontal ellipsis that truncation inserts.
inline constexpr std::string_view kEllipsis = "\u2026";

// The exact width of the text drawn on one line (line breaks count as spaces).
double textAdvance(std::string_view text, const Font& font);

struct TextLayout {
    std::vector<std::string> lines;  // what each shown line reads, truncated as the mode says
    Size size;                       // widest line (rounded up) x lines * line height
    bool truncated = false;          // some of the text is not shown
};

// Lays the text out in lines no wider than `width` (<= 0: no limit) and at
// most `maxLines` lines (0: no limit). With one line the text is not wrapped:
// line breaks read as spaces and the line is cut as the mode says (word wrap
// at the last word that fits, character wrap and clip at the last character
// that fits, truncation with an ellipsis). With more lines the text wraps by
// words (by characters for character wrap) and the mode decides how the last
// line ends when text is left over.
TextLayout layoutText(std::string_view text, const Font& font, double width, int maxLines, LineBreakMode mode);

// One line, unlimited width.
Size sizeWithFont(std::string_view text, const Font& font);
// One line at most `forWidth` wide.
Size sizeWithFont(std::string_view text, const Font& font, double forWidth, LineBreakMode mode);
// Wrapped within `constrainedToSize`: as many lines as fit in its height
// (at least one).
Size sizeWithFont(std::string_view text, const Font& font, Size constrainedToSize,
                  LineBreakMode mode = LineBreakMode::WordWrap);
// One line at most `forWidth` wide, shrinking the font until the text fits but
// never below `minFontSize` (nor above the font's own size). The size used is
// stored in `actualFontSize` when it is not null.
Size sizeWithFont(std::string_view text, const Font& font, double minFontSize, double* actualFontSize,
                  double forWidth, LineBreakMode mode);

// The largest point size between `minFontSize` and the font's size (in
// hundredths of a point) at which the text fits on one line of `width`.
double fittingFontSize(std::string_view text, const Font& font, double minFontSize, double width);

}  // namespace platform::ui
