#include <gtest/gtest.h>

#include <random>

#include "platform/ui/TextMetrics.h"
#include "platform/ui/Utf8.h"

using namespace platform::ui;

namespace {

const char* const kPieces[] = {"a", "i", "W", " ", "\u00e9", "\u4e2d", "\U0001F600", "-", "\u0301", ".", "M", "\n"};

std::string randomText(std::mt19937& rng, size_t length)
{
    std::uniform_int_distribution<size_t> pick(0, std::size(kPieces) - 1);
    std::string text;
    for (size_t i = 0; i < length; ++i) text += kPieces[pick(rng)];
    return text;
}

}  // namespace

TEST(TextMetricsTest, MeasuringIsStableAndNeverShrinksWhenTextGrows)
{
    std::mt19937 rng(20260101);
    const auto font = Font::systemFontOfSize(17);
    const auto bold = Font::boldSystemFontOfSize(17);
    for (int round = 0; round < 50; ++round) {
        const std::string text = randomText(rng, 40);
        double previous = 0;
        double previousRounded = 0;
        for (size_t n = 0; n <= utf8::length(text); ++n) {
            const std::string prefix = utf8::prefix(text, n);
            const double width = textAdvance(prefix, *font);
            const double rounded = sizeWithFont(prefix, *font).width;
            ASSERT_GE(width, previous) << "prefix of " << n << " characters";
            ASSERT_GE(rounded, previousRounded) << "prefix of " << n << " characters";
            ASSERT_EQ(width, textAdvance(prefix, *font));
            ASSERT_GE(textAdvance(prefix, *bold), width);
            previous = width;
            previousRounded = rounded;
        }
    }
}

TEST(TextMetricsTest, NarrowerWidthsNeverGiveFewerLines)
{
    std::mt19937 rng(7);
    const auto font = Font::systemFontOfSize(14);
    for (int round = 0; round < 30; ++round) {
        const std::string text = randomText(rng, 120);
        for (auto mode : {LineBreakMode::WordWrap, LineBreakMode::CharacterWrap}) {
            size_t previousLines = 0;
            for (double width = 400; width >= 10; width -= 7) {
                const TextLayout layout = layoutText(text, *font, width, 0, mode);
                ASSERT_GE(layout.lines.size(), previousLines) << "width " << width;
                ASSERT_LE(layout.size.width, width);
                for (const auto& line : layout.lines) {
                    // Only a single character too wide for the line may overhang.
                    if (utf8::length(line) > 1) {
                        ASSERT_LE(textAdvance(line, *font), width + 1e-9) << line;
                    }
                }
                previousLines = layout.lines.size();
            }
        }
    }
}

TEST(TextMetricsTest, WordWrapBreaksBetweenWordsAndKeepsEveryWord)
{
    const auto font = Font::systemFontOfSize(10);  // "a" is 5.5 points, a space 3
    const TextLayout layout = layoutText("aaaa aaaa aaaa", *font, 50, 0, LineBreakMode::WordWrap);
    ASSERT_EQ(layout.lines.size(), 2u);
    EXPECT_EQ(layout.lines[0], "aaaa aaaa");
    EXPECT_EQ(layout.lines[1], "aaaa");
    EXPECT_EQ(layout.size.height, 2 * font->lineHeight());

    const TextLayout paragraphs = layoutText("one\n\nthree", *font, 500, 0, LineBreakMode::WordWrap);
    EXPECT_EQ(paragraphs.lines, (std::vector<std::string>{"one", "", "three"}));

    // A word longer than the line is broken between characters.
    const TextLayout longWord = layoutText("aaaaaaaaaaaa", *font, 30, 0, LineBreakMode::WordWrap);
    EXPECT_EQ(longWord.lines, (std::vector<std::string>{"aaaaa", "aaaaa", "aa"}));
}

TEST(TextMetricsTest, TruncationModesCutTheLastShownLine)
{
    const auto font = Font::systemFontOfSize(10);
    const std::string text = "abcdefghijklmnopqrstuvwxyz";
    const double width = 60;
    const auto one = [&](LineBreakMode mode) { return layoutText(text, *font, width, 1, mode); };

    const TextLayout tail = one(LineBreakMode::TruncateTail);
    EXPECT_TRUE(tail.truncated);
    EXPECT_EQ(tail.lines[0].substr(0, 3), "abc");
    EXPECT_EQ(utf8::substring(tail.lines[0], utf8::length(tail.lines[0]) - 1, 1), "\u2026");
    EXPECT_LE(textAdvance(tail.lines[0], *font), width);

    const TextLayout head = one(LineBreakMode::TruncateHead);
    EXPECT_EQ(utf8::prefix(head.lines[0], 1), "\u2026");
    EXPECT_EQ(head.lines[0].substr(head.lines[0].size() - 3), "xyz");

    const TextLayout middle = one(LineBreakMode::TruncateMiddle);
    EXPECT_EQ(middle.lines[0].substr(0, 2), "ab");
    EXPECT_EQ(middle.lines[0].substr(middle.lines[0].size() - 2), "yz");
    EXPECT_NE(middle.lines[0].find("\u2026"), std::string::npos);

    const TextLayout clip = one(LineBreakMode::Clip);
    EXPECT_EQ(clip.lines[0], utf8::prefix(text, utf8::length(clip.lines[0])));
    EXPECT_EQ(clip.lines[0].find("\u2026"), std::string::npos);

    // Text that fits is never cut.
    EXPECT_EQ(layoutText("abc", *font, width, 1, LineBreakMode::TruncateTail).lines[0], "abc");

    // Two lines allowed: the second one ends with the ellipsis.
    const TextLayout two = layoutText("aaaa aaaa aaaa aaaa aaaa", *font, 50, 2, LineBreakMode::TruncateTail);
    ASSERT_EQ(two.lines.size(), 2u);
    EXPECT_EQ(two.lines[0], "aaaa aaaa");
    EXPECT_NE(two.lines[1].find("\u2026"), std::string::npos);
    EXPECT_TRUE(two.truncated);
}

TEST(TextMetricsTest, ConstrainedSizeStopsAtTheLinesThatFit)
{
    const auto font = Font::systemFontOfSize(10);
    const std::string text = "aaaa aaaa aaaa aaaa aaaa aaaa";
    const Size unlimited = sizeWithFont(text, *font, Size(50, 0));
    EXPECT_EQ(unlimited.height, 3 * font->lineHeight());
    const Size twoLines = sizeWithFont(text, *font, Size(50, 2.5 * font->lineHeight()));
    EXPECT_EQ(twoLines.height, 2 * font->lineHeight());
    // A height below one line still shows one.
    EXPECT_EQ(sizeWithFont(text, *font, Size(50, 1)).height, font->lineHeight());
}

TEST(TextMetricsTest, ShrinkToFitStopsAtTheMinimumAndNeverGrows)
{
    const auto font = Font::systemFontOfSize(20);
    double actual = 0;
    // Fits as is: the font's own size.
    sizeWithFont("abc", *font, 8, &actual, 300, LineBreakMode::TruncateTail);
    EXPECT_EQ(actual, 20);

    // Fits once shrunk: the largest size that fits.
    const std::string text = "aaaaaaaaaaaaaaaaaaaa";  // 220 points at 20
    const Size shrunk = sizeWithFont(text, *font, 8, &actual, 110, LineBreakMode::TruncateTail);
    EXPECT_LT(actual, 20);
    EXPECT_GE(actual, 8);
    EXPECT_LE(textAdvance(text, *font->fontWithSize(actual)), 110);
    EXPECT_GT(textAdvance(text, *font->fontWithSize(actual + 0.02)), 110);
    EXPECT_LE(shrunk.width, 110);

    // Does not fit even at the minimum: the minimum, truncated.
    const TextLayout atMinimum = layoutText(text, *Font::systemFontOfSize(8), 30, 1, LineBreakMode::TruncateTail);
    EXPECT_TRUE(atMinimum.truncated);
    const Size tight = sizeWithFont(text, *font, 8, &actual, 30, LineBreakMode::TruncateTail);
    EXPECT_EQ(actual, 8);
    EXPECT_LE(tight.width, 30);

    // A minimum above the font's size does not grow the text.
    EXPECT_EQ(fittingFontSize(text, *font, 40, 10), 20);
}
