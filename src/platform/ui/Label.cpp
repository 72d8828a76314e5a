#include "platform/ui/Label.h"

#include <cmath>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/TextInput.h"

namespace platform::ui {

namespace {

constexpr double kDefaultFontSize = 17;

}  // namespace

Label::Label(const Rect& frame) : View(frame), font_(Font::systemFontOfSize(kDefaultFontSize)) {}

void Label::setFont(FontPtr font)
{
    HC_CHECK_MAIN_THREAD();
    font_ = font ? std::move(font) : Font::systemFontOfSize(kDefaultFontSize);
}

double Label::displayedFontSize() const
{
    if (!adjustsFontSize_ || numberOfLines_ != 1) return font_->pointSize();
    return fittingFontSize(text_, *font_, minimumFontSize_, bounds().size.width);
}

TextLayout Label::displayedLayout() const
{
    const Size size = bounds().size;
    const auto font = font_->fontWithSize(displayedFontSize());
    int maxLines = numberOfLines_;
    // Lines below the bottom edge are not shown either.
    const double fitting = std::floor(size.height / font->lineHeight());
    if (fitting >= 1 && (maxLines == 0 || fitting < maxLines)) maxLines = static_cast<int>(fitting);
    return layoutText(text_, *font, size.width, maxLines, lineBreakMode_);
}

Size Label::sizeThatFits(Size size) const
{
    if (numberOfLines_ == 1) return layoutText(text_, *font_, 0, 1, lineBreakMode_).size;
    return layoutText(text_, *font_, size.width, numberOfLines_, lineBreakMode_).size;
}

std::string Label::describe() const { return quotedForDump(text_); }

}  // namespace platform::ui
