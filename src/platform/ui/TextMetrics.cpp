#include "platform/ui/TextMetrics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/ui/Utf8.h"

namespace platform::ui {

namespace {

using Chars = std::vector<char32_t>;

bool isFullWidth(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) || (c >= 0x20000 && c <= 0x3FFFD);
}

bool isLineBreak(char32_t c) { return c == '\n' || c == '\r' || c == 0x2028; }
bool isSpace(char32_t c) { return c == ' ' || c == '\t' || c == 0x3000; }

// Thousandths of the point size.
int64_t units(char32_t c)
{
    if (isLineBreak(c)) return 300;  // drawn on one line, a break reads as a space
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || (c >= 0x300 && c <= 0x36F) || (c >= 0x200B && c <= 0x200F) ||
        (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF) {
        return 0;
    }
    if (c < 0x80) {
        static constexpr std::string_view narrow = " !'(),./:;I[\\]`fijlt|";
        static constexpr std::string_view wide = "MWmw@%";
        if (narrow.find(static_cast<char>(c)) != std::string_view::npos) return 300;
        if (wide.find(static_cast<char>(c)) != std::string_view::npos) return 800;
        return 550;
    }
    if (isFullWidth(c)) return 1000;
    return 550;
}

struct Measure {
    double scale;  // points per unit

    explicit Measure(const Font& font) : scale(font.pointSize() / 1000.0 * (font.isBold() ? 1.1 : 1.0)) {}

    int64_t sum(const Chars& cs, size_t from, size_t to) const
    {
        int64_t total = 0;
        for (size_t i = from; i < to; ++i) total += units(cs[i]);
        return total;
    }
    double width(const Chars& cs) const { return static_cast<double>(sum(cs, 0, cs.size())) * scale; }
    bool fits(int64_t u, double limit) const { return static_cast<double>(u) * scale <= limit + 1e-9; }
};

Chars slice(const Chars& cs, size_t from, size_t to) { return Chars(cs.begin() + from, cs.begin() + to); }

void trimTrailingSpaces(Chars& cs)
{
    while (!cs.empty() && isSpace(cs.back())) cs.pop_back();
}

std::vector<Chars> paragraphs(const Chars& cs)
{
    std::vector<Chars> out(1);
    for (size_t i = 0; i < cs.size(); ++i) {
        if (!isLineBreak(cs[i])) {
            out.back().push_back(cs[i]);
            continue;
        }
        if (cs[i] == '\r' && i + 1 < cs.size() && cs[i + 1] == '\n') ++i;
        out.emplace_back();
    }
    return out;
}

bool canBreakBefore(const Chars& cs, size_t j)
{
    if (j == 0) return false;
    return isSpace(cs[j]) || isFullWidth(cs[j]) || isFullWidth(cs[j - 1]) || cs[j - 1] == '-';
}

// Greedy line filling of one paragraph.
void wrapParagraph(const Chars& p, const Measure& m, double width, bool byWords, std::vector<Chars>& out)
{
    if (p.empty()) {
        out.emplace_back();
        return;
    }
    size_t i = 0;
    bool first = true;
    while (i < p.size()) {
        if (!first) {
            while (i < p.size() && isSpace(p[i])) ++i;
            if (i == p.size()) break;
        }
        first = false;
        int64_t used = 0;
        size_t j = i;
        size_t breakAt = i;
        while (j < p.size()) {
            if (byWords && j > i && canBreakBefore(p, j)) breakAt = j;
            const int64_t next = used + units(p[j]);
            if (!isSpace(p[j]) && !m.fits(next, width)) break;
            used = next;
            ++j;
        }
        size_t end;
        if (j == p.size()) {
            end = j;
        } else if (byWords && breakAt > i) {
            end = breakAt;
        } else {
            end = std::max(j, i + 1);  // a line holds at least one character
        }
        Chars line = slice(p, i, end);
        trimTrailingSpaces(line);
        out.push_back(std::move(line));
        i = end;
    }
}

// The longest prefix (or suffix) of `cs` that fits `width` beside `reserved` units.
size_t fittingPrefix(const Chars& cs, const Measure& m, double width, int64_t reserved)
{
    int64_t used = reserved;
    size_t n = 0;
    while (n < cs.size() && m.fits(used + units(cs[n]), width)) used += units(cs[n++]);
    return n;
}

size_t fittingSuffix(const Chars& cs, const Measure& m, double width, int64_t reserved)
{
    int64_t used = reserved;
    size_t n = 0;
    while (n < cs.size() && m.fits(used + units(cs[cs.size() - 1 - n]), width)) used += units(cs[cs.size() - 1 - n++]);
    return n;
}

Chars ellipsisChars() { return utf8::decode(kEllipsis); }

// Cuts `text` to `width` the way the mode says. `forced`: text follows that
// is not shown, so a truncating mode shows an ellipsis even when the line fits.
Chars cutLine(const Chars& text, const Chars& wrapped, const Measure& m, double width, LineBreakMode mode, bool forced)
{
    const bool fitsWhole = m.fits(m.sum(text, 0, text.size()), width);
    if (fitsWhole && !forced) return text;
    const Chars ell = ellipsisChars();
    const int64_t ellUnits = m.sum(ell, 0, ell.size());
    switch (mode) {
    case LineBreakMode::WordWrap:
    case LineBreakMode::CharacterWrap:
        return wrapped;
    case LineBreakMode::Clip:
        return slice(text, 0, fittingPrefix(text, m, width, 0));
    case LineBreakMode::TruncateTail: {
        if (!m.fits(ellUnits, width)) return {};
        // When everything would fit, the cut falls where the shown line ends.
        const Chars& base = fitsWhole ? wrapped : text;
        Chars head = slice(base, 0, fittingPrefix(base, m, width, ellUnits));
        trimTrailingSpaces(head);
        head.insert(head.end(), ell.begin(), ell.end());
        return head;
    }
    case LineBreakMode::TruncateHead: {
        if (!m.fits(ellUnits, width)) return {};
        const size_t n = fittingSuffix(text, m, width, ellUnits);
        Chars out = ell;
        out.insert(out.end(), text.end() - static_cast<std::ptrdiff_t>(n), text.end());
        return out;
    }
    case LineBreakMode::TruncateMiddle: {
        if (!m.fits(ellUnits, width)) return {};
        // Alternate between the ends so the two halves stay balanced.
        int64_t used = ellUnits;
        size_t front = 0, back = 0;
        bool takeFront = true;
        while (front + back < text.size()) {
            const char32_t c = takeFront ? text[front] : text[text.size() - 1 - back];
            if (!m.fits(used + units(c), width)) break;
            used += units(c);
            (takeFront ? front : back) += 1;
            takeFront = !takeFront;
        }
        Chars out = slice(text, 0, front);
        out.insert(out.end(), ell.begin(), ell.end());
        out.insert(out.end(), text.end() - static_cast<std::ptrdiff_t>(back), text.end());
        return out;
    }
    }
    return text;
}

Chars joinWithSpace(const Chars& a, const Chars& b)
{
    Chars out = a;
    if (!out.empty() && !b.empty()) out.push_back(' ');
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

Size roundedSize(double width, double limit, size_t lineCount, const Font& font)
{
    double w = std::ceil(width - 1e-9);
    if (limit > 0 && std::isfinite(limit)) w = std::min(w, limit);
    return {std::max(0.0, w), static_cast<double>(lineCount) * font.lineHeight()};
}

}  // namespace

double textAdvance(std::string_view text, const Font& font)
{
    const Measure m(font);
    return m.width(utf8::decode(text));
}

TextLayout layoutText(std::string_view text, const Font& font, double width, int maxLines, LineBreakMode mode)
{
    TextLayout result;
    if (text.empty()) return result;
    const Measure m(font);
    const Chars all = utf8::decode(text);
    const bool limited = width > 0 && std::isfinite(width);
    const double limit = limited ? width : std::numeric_limits<double>::infinity();

    std::vector<Chars> lines;
    if (maxLines == 1) {
        Chars one;
        for (char32_t c : all) one.push_back(isLineBreak(c) ? ' ' : c);
        std::vector<Chars> wrapped;
        wrapParagraph(one, m, limit, mode != LineBreakMode::CharacterWrap, wrapped);
        const bool more = wrapped.size() > 1;
        result.truncated = more;
        lines.push_back(more ? cutLine(one, wrapped.front(), m, limit, mode, false) : wrapped.front());
    } else {
        for (const Chars& p : paragraphs(all)) {
            if (limited) {
                wrapParagraph(p, m, limit, mode != LineBreakMode::CharacterWrap, lines);
            } else {
                Chars line = p;
                trimTrailingSpaces(line);
                lines.push_back(std::move(line));
            }
        }
        if (maxLines > 0 && lines.size() > static_cast<size_t>(maxLines)) {
            result.truncated = true;
            Chars rest;
            for (size_t i = static_cast<size_t>(maxLines); i < lines.size(); ++i) rest = joinWithSpace(rest, lines[i]);
            Chars& last = lines[static_cast<size_t>(maxLines) - 1];
            last = cutLine(joinWithSpace(last, rest), last, m, limit, mode, true);
            lines.resize(static_cast<size_t>(maxLines));
        }
    }

    double widest = 0;
    for (const Chars& line : lines) {
        widest = std::max(widest, m.width(line));
        result.lines.push_back(utf8::encode(line));
    }
    result.size = roundedSize(widest, limit, lines.size(), font);
    return result;
}

Size sizeWithFont(std::string_view text, const Font& font) { return layoutText(text, font, 0, 1, LineBreakMode::Clip).size; }

Size sizeWithFont(std::string_view text, const Font& font, double forWidth, LineBreakMode mode)
{
    return layoutText(text, font, forWidth, 1, mode).size;
}

Size sizeWithFont(std::string_view text, const Font& font, Size constrainedToSize, LineBreakMode mode)
{
    int maxLines = 0;
    if (std::isfinite(constrainedToSize.height) && constrainedToSize.height > 0) {
        const double lines = std::floor(constrainedToSize.height / font.lineHeight());
        maxLines = lines >= static_cast<double>(std::numeric_limits<int>::max())
                       ? 0
                       : std::max(1, static_cast<int>(lines));
    }
    return layoutText(text, font, constrainedToSize.width, maxLines, mode).size;
}

double fittingFontSize(std::string_view text, const Font& font, double minFontSize, double width)
{
    const double size = font.pointSize();
    const double floorSize = std::clamp(minFontSize, 0.0, size);
    const double full = textAdvance(text, font);
    if (full <= width + 1e-9 || size <= 0) return size;
    if (width <= 0) return floorSize;
    // Widths grow linearly with the point size.
    double candidate = std::floor(size * width / full * 100.0) / 100.0;
    while (candidate > floorSize && textAdvance(text, *font.fontWithSize(candidate)) > width + 1e-9) candidate -= 0.01;
    return std::max(floorSize, candidate);
}

Size sizeWithFont(std::string_view text, const Font& font, double minFontSize, double* actualFontSize, double forWidth,
                  LineBreakMode mode)
{
    const double fitted = fittingFontSize(text, font, minFontSize, forWidth);
    if (actualFontSize) *actualFontSize = fitted;
    return layoutText(text, *font.fontWithSize(fitted), forWidth, 1, mode).size;
}

}  // namespace platform::ui
