#pragma once
// A read-only text: what it says, in which font and colour, and how it is
// laid out in its bounds (see TextMetrics.h). A label with one line can
// shrink its font to fit its width, never below minimumFontSize.
//
// Thread: main thread only.
#include <optional>
#include <string>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Font.h"
#include "platform/ui/TextMetrics.h"
#include "platform/ui/View.h"

namespace platform::ui {

class Label : public View {
public:
    explicit Label(const Rect& frame = Rect());
    static std::shared_ptr<Label> make(const Rect& frame = Rect()) { return std::make_shared<Label>(frame); }

    const std::string& text() const { return text_; }
    void setText(std::string text) { HC_CHECK_MAIN_THREAD(); text_ = std::move(text); }
    // Never null: a null font restores the default, the system font of 17.
    const FontPtr& font() const { return font_; }
    void setFont(FontPtr font);
    const Color& textColor() const { return textColor_; }
    void setTextColor(const Color& color) { HC_CHECK_MAIN_THREAD(); textColor_ = color; }
    const std::optional<Color>& highlightedTextColor() const { return highlightedTextColor_; }
    void setHighlightedTextColor(std::optional<Color> color) { HC_CHECK_MAIN_THREAD(); highlightedTextColor_ = color; }
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted) { HC_CHECK_MAIN_THREAD(); highlighted_ = highlighted; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { HC_CHECK_MAIN_THREAD(); enabled_ = enabled; }
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment alignment) { HC_CHECK_MAIN_THREAD(); alignment_ = alignment; }
    // 0: as many lines as the text needs.
    int numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(int lines) { HC_CHECK_MAIN_THREAD(); numberOfLines_ = lines < 0 ? 0 : lines; }
    LineBreakMode lineBreakMode() const { return lineBreakMode_; }
    void setLineBreakMode(LineBreakMode mode) { HC_CHECK_MAIN_THREAD(); lineBreakMode_ = mode; }
    // Empty: no shadow.
    const std::optional<Color>& shadowColor() const { return shadowColor_; }
    void setShadowColor(std::optional<Color> color) { HC_CHECK_MAIN_THREAD(); shadowColor_ = color; }
    Size shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(Size offset) { HC_CHECK_MAIN_THREAD(); shadowOffset_ = offset; }
    bool adjustsFontSizeToFitWidth() const { return adjustsFontSize_; }
    void setAdjustsFontSizeToFitWidth(bool adjusts) { HC_CHECK_MAIN_THREAD(); adjustsFontSize_ = adjusts; }
    double minimumFontSize() const { return minimumFontSize_; }
    void setMinimumFontSize(double size) { HC_CHECK_MAIN_THREAD(); minimumFontSize_ = size < 0 ? 0 : size; }

    // The point size the text is shown at: the font's, or smaller when a
    // one-line label shrinks its text to fit its width.
    double displayedFontSize() const;
    // The lines as shown in the current bounds, truncated as the mode says.
    TextLayout displayedLayout() const;

    // The text's size within `size`: one line for one-line labels, wrapped at
    // size.width (and as many lines as numberOfLines allows) otherwise.
    Size sizeThatFits(Size size) const override;

    std::string kindName() const override { return "Label"; }
    // The text in double quotes, on one line (see quotedForDump).
    std::string describe() const override;

private:
    std::string text_;
    FontPtr font_;
    Color textColor_ = Color::blackColor();
    std::optional<Color> highlightedTextColor_;
    bool highlighted_ = false;
    bool enabled_ = true;
    TextAlignment alignment_ = TextAlignment::Left;
    int numberOfLines_ = 1;
    LineBreakMode lineBreakMode_ = LineBreakMode::TruncateTail;
    std::optional<Color> shadowColor_;
    Size shadowOffset_{0, -1};
    bool adjustsFontSize_ = false;
    double minimumFontSize_ = 0;
};

using LabelPtr = std::shared_ptr<Label>;

}  // namespace platform::ui
