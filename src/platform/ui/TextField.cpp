#include "platform/ui/TextField.h"

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Utf8.h"

namespace platform::ui {

namespace {

constexpr double kTextFieldDefaultFontSize = 12;

}  // namespace

std::optional<bool> TextFieldDelegate::textFieldShouldBeginEditing(TextField&) { return std::nullopt; }
void TextFieldDelegate::textFieldDidBeginEditing(TextField&) {}
std::optional<bool> TextFieldDelegate::textFieldShouldEndEditing(TextField&) { return std::nullopt; }
void TextFieldDelegate::textFieldDidEndEditing(TextField&) {}
std::optional<bool> TextFieldDelegate::textFieldShouldChangeCharactersInRange(TextField&, TextRange, const std::string&)
{
    return std::nullopt;
}
std::optional<bool> TextFieldDelegate::textFieldShouldClear(TextField&) { return std::nullopt; }
std::optional<bool> TextFieldDelegate::textFieldShouldReturn(TextField&) { return std::nullopt; }

TextField::TextField(const Rect& frame) : Control(frame), font_(Font::systemFontOfSize(kTextFieldDefaultFontSize)) {}

void TextField::setFont(FontPtr font)
{
    HC_CHECK_MAIN_THREAD();
    font_ = font ? std::move(font) : Font::systemFontOfSize(kTextFieldDefaultFontSize);
}

bool TextField::isClearButtonVisible() const
{
    if (text_.empty()) return false;
    switch (clearButtonMode_) {
    case TextFieldViewMode::Never: return false;
    case TextFieldViewMode::WhileEditing: return isEditing();
    case TextFieldViewMode::UnlessEditing: return !isEditing();
    case TextFieldViewMode::Always: return true;
    }
    return false;
}

bool TextField::offerChange(TextRange range, const std::string& replacement)
{
    if (auto d = delegate()) {
        if (!d->textFieldShouldChangeCharactersInRange(*this, range, replacement).value_or(true)) return false;
    }
    text_ = utf8::replace(text_, range.location, range.length, replacement);
    sendActionsForControlEvents(ControlEventEditingChanged);
    return true;
}

size_t TextField::typeText(const std::string& text)
{
    const auto keepAlive = weak_from_this().lock();
    if (!isFirstResponder() && !tap()) return 0;
    if (!isFirstResponder()) return 0;
    size_t inserted = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t start = pos;
        const char32_t c = utf8::next(text, pos);
        if (c == '\n') {
            pressReturn();
            if (!isFirstResponder()) break;
            continue;
        }
        if (offerChange(TextRange{utf8::length(text_), 0}, text.substr(start, pos - start))) ++inserted;
        if (!isFirstResponder()) break;  // an action took the focus away
    }
    return inserted;
}

bool TextField::deleteBackward()
{
    if (!isFirstResponder() || text_.empty()) return false;
    const auto keepAlive = weak_from_this().lock();
    return offerChange(TextRange{utf8::length(text_) - 1, 1}, "");
}

bool TextField::pressReturn()
{
    if (!isFirstResponder()) return false;
    const auto keepAlive = weak_from_this().lock();
    bool answer = true;
    if (auto d = delegate()) answer = d->textFieldShouldReturn(*this).value_or(true);
    if (answer && actionCount(ControlEventEditingDidEndOnExit) > 0) {
        sendActionsForControlEvents(ControlEventEditingDidEndOnExit);
        resignFirstResponder();
    }
    return answer;
}

bool TextField::tapClearButton()
{
    if (!acceptsTouches() || !isClearButtonVisible()) return false;
    const auto keepAlive = weak_from_this().lock();
    if (auto d = delegate()) {
        if (!d->textFieldShouldClear(*this).value_or(true)) return false;
    }
    text_.clear();
    sendActionsForControlEvents(ControlEventEditingChanged);
    return true;
}

void TextField::handleTap() { becomeFirstResponder(); }

void TextField::didMoveToWindow() { resignIfOffWindow(); }

bool TextField::shouldBeginEditing()
{
    if (!isEnabled()) return false;
    if (auto d = delegate()) return d->textFieldShouldBeginEditing(*this).value_or(true);
    return true;
}

void TextField::didBeginEditing()
{
    if (clearsOnBeginEditing_) text_.clear();
    if (auto d = delegate()) d->textFieldDidBeginEditing(*this);
    sendActionsForControlEvents(ControlEventEditingDidBegin);
}

bool TextField::shouldEndEditing()
{
    if (auto d = delegate()) return d->textFieldShouldEndEditing(*this).value_or(true);
    return true;
}

void TextField::didEndEditing()
{
    if (auto d = delegate()) d->textFieldDidEndEditing(*this);
    sendActionsForControlEvents(ControlEventEditingDidEnd);
}

Size TextField::sizeThatFits(Size size) const
{
    return {size.width, font_->lineHeight() + (borderStyle_ == TextBorderStyle::None ? 0 : 10)};
}

std::string TextField::describe() const
{
    return describeTextInput(text_, placeholder_, traits_.secureTextEntry, isEditing());
}

}  // namespace platform::ui
