#include "platform/ui/SearchBar.h"

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Control.h"
#include "platform/ui/Utf8.h"

namespace platform::ui {

std::optional<bool> SearchBarDelegate::searchBarShouldBeginEditing(SearchBar&) { return std::nullopt; }
void SearchBarDelegate::searchBarTextDidBeginEditing(SearchBar&) {}
std::optional<bool> SearchBarDelegate::searchBarShouldEndEditing(SearchBar&) { return std::nullopt; }
void SearchBarDelegate::searchBarTextDidEndEditing(SearchBar&) {}
void SearchBarDelegate::searchBarTextDidChange(SearchBar&, const std::string&) {}
void SearchBarDelegate::searchBarSearchButtonClicked(SearchBar&) {}
void SearchBarDelegate::searchBarCancelButtonClicked(SearchBar&) {}

SearchBar::SearchBar(const Rect& frame) : View(frame) {}

void SearchBar::setShowsCancelButton(bool shows, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    (void)animated;
    showsCancelButton_ = shows;
}

void SearchBar::changed()
{
    if (auto d = delegate()) d->searchBarTextDidChange(*this, text_);
}

bool SearchBar::tap()
{
    if (!canReceiveTouches(*this)) return false;
    return becomeFirstResponder();
}

size_t SearchBar::typeText(const std::string& text)
{
    const auto keepAlive = weak_from_this().lock();
    if (!isFirstResponder() && !tap()) return 0;
    size_t typed = 0;
    for (size_t pos = 0; pos < text.size() && isFirstResponder(); ++typed) {
        const size_t start = pos;
        utf8::next(text, pos);
        text_ += text.substr(start, pos - start);
        changed();
    }
    return typed;
}

bool SearchBar::deleteBackward()
{
    if (!isFirstResponder() || text_.empty()) return false;
    const auto keepAlive = weak_from_this().lock();
    text_ = utf8::prefix(text_, utf8::length(text_) - 1);
    changed();
    return true;
}

bool SearchBar::pressSearch()
{
    if (!isFirstResponder()) return false;
    const auto keepAlive = weak_from_this().lock();
    if (auto d = delegate()) d->searchBarSearchButtonClicked(*this);
    return true;
}

bool SearchBar::tapCancelButton()
{
    if (!showsCancelButton_ || !canReceiveTouches(*this)) return false;
    const auto keepAlive = weak_from_this().lock();
    if (auto d = delegate()) d->searchBarCancelButtonClicked(*this);
    return true;
}

Size SearchBar::sizeThatFits(Size size) const { return {size.width, kHeight}; }

void SearchBar::didMoveToWindow() { resignIfOffWindow(); }

bool SearchBar::shouldBeginEditing()
{
    if (auto d = delegate()) return d->searchBarShouldBeginEditing(*this).value_or(true);
    return true;
}

void SearchBar::didBeginEditing()
{
    if (auto d = delegate()) d->searchBarTextDidBeginEditing(*this);
}

bool SearchBar::shouldEndEditing()
{
    if (auto d = delegate()) return d->searchBarShouldEndEditing(*this).value_or(true);
    return true;
}

void SearchBar::didEndEditing()
{
    if (auto d = delegate()) d->searchBarTextDidEndEditing(*this);
}

std::string SearchBar::describe() const
{
    std::string text = describeTextInput(text_, placeholder_, false, isFirstResponder());
    if (showsCancelButton_) text += " cancel";
    return text;
}

}  // namespace platform::ui
