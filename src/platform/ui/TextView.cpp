#include "platform/ui/TextView.h"

#include <algorithm>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Control.h"
#include "platform/ui/Utf8.h"

namespace platform::ui {

namespace {

constexpr double kTextViewDefaultFontSize = 12;

}  // namespace

std::optional<bool> TextViewDelegate::textViewShouldBeginEditing(TextView&) { return std::nullopt; }
void TextViewDelegate::textViewDidBeginEditing(TextView&) {}
std::optional<bool> TextViewDelegate::textViewShouldEndEditing(TextView&) { return std::nullopt; }
void TextViewDelegate::textViewDidEndEditing(TextView&) {}
std::optional<bool> TextViewDelegate::textViewShouldChangeTextInRange(TextView&, TextRange, const std::string&)
{
    return std::nullopt;
}
void TextViewDelegate::textViewDidChange(TextView&) {}

TextView::TextView(const Rect& frame) : ScrollView(frame), font_(Font::systemFontOfSize(kTextViewDefaultFontSize))
{
    updateContentSize();
}

void TextView::setText(std::string text)
{
    HC_CHECK_MAIN_THREAD();
    text_ = std::move(text);
    updateContentSize();
}

void TextView::setFont(FontPtr font)
{
    HC_CHECK_MAIN_THREAD();
    font_ = font ? std::move(font) : Font::systemFontOfSize(kTextViewDefaultFontSize);
    updateContentSize();
}

void TextView::setEditable(bool editable)
{
    HC_CHECK_MAIN_THREAD();
    editable_ = editable;
    if (!editable_) resignFirstResponder();
}

void TextView::setDelegate(const std::shared_ptr<TextViewDelegate>& delegate)
{
    HC_CHECK_MAIN_THREAD();
    delegate_ = delegate;
    ScrollView::setDelegate(delegate);
}

void TextView::updateContentSize()
{
    const Size size = bounds().size;
    const double textWidth = std::max(1.0, size.width - 2 * kTextInset);
    const Size textSize = sizeWithFont(text_, *font_, Size(textWidth, 0), LineBreakMode::WordWrap);
    setContentSize(Size(size.width, std::max(size.height, textSize.height + 2 * kTextInset)));
}

void TextView::layoutSubviews()
{
    ScrollView::layoutSubviews();
    updateContentSize();
}

bool TextView::offerChange(TextRange range, const std::string& replacement)
{
    auto d = delegate();
    if (d && !d->textViewShouldChangeTextInRange(*this, range, replacement).value_or(true)) return false;
    text_ = utf8::replace(text_, range.location, range.length, replacement);
    updateContentSize();
    if (d) d->textViewDidChange(*this);
    return true;
}

bool TextView::tap()
{
    if (!canReceiveTouches(*this)) return false;
    return becomeFirstResponder();
}

size_t TextView::typeText(const std::string& text)
{
    const auto keepAlive = weak_from_this().lock();
    if (!isFirstResponder() && !tap()) return 0;
    size_t inserted = 0;
    for (size_t pos = 0; pos < text.size() && isFirstResponder();) {
        const size_t start = pos;
        utf8::next(text, pos);
        if (offerChange(TextRange{utf8::length(text_), 0}, text.substr(start, pos - start))) ++inserted;
    }
    return inserted;
}

bool TextView::deleteBackward()
{
    if (!isFirstResponder() || text_.empty()) return false;
    const auto keepAlive = weak_from_this().lock();
    return offerChange(TextRange{utf8::length(text_) - 1, 1}, "");
}

void TextView::didMoveToWindow() { resignIfOffWindow(); }

bool TextView::shouldBeginEditing()
{
    if (!editable_) return false;
    if (auto d = delegate()) return d->textViewShouldBeginEditing(*this).value_or(true);
    return true;
}

void TextView::didBeginEditing()
{
    if (auto d = delegate()) d->textViewDidBeginEditing(*this);
}

bool TextView::shouldEndEditing()
{
    if (auto d = delegate()) return d->textViewShouldEndEditing(*this).value_or(true);
    return true;
}

void TextView::didEndEditing()
{
    if (auto d = delegate()) d->textViewDidEndEditing(*this);
}

std::string TextView::describe() const { return describeTextInput(text_, "", false, isFirstResponder()); }

}  // namespace platform::ui
