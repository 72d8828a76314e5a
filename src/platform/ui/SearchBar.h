#pragma once
// A search field with its search key and an optional cancel button. A person
// taps it to take the focus, types (each change tells the delegate the whole
// new text), presses the search key or taps cancel.
//
// Delegate questions answer std::nullopt when not implemented (then the
// answer is yes); notifications have empty defaults.
//
// Thread: main thread only.
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Responder.h"
#include "platform/ui/TextInput.h"
#include "platform/ui/View.h"

namespace platform::ui {

class SearchBar;

class SearchBarDelegate {
public:
    virtual ~SearchBarDelegate() = default;
    virtual std::optional<bool> searchBarShouldBeginEditing(SearchBar& bar);
    virtual void searchBarTextDidBeginEditing(SearchBar& bar);
    virtual std::optional<bool> searchBarShouldEndEditing(SearchBar& bar);
    virtual void searchBarTextDidEndEditing(SearchBar& bar);
    // After every change a person makes, with the new text.
    virtual void searchBarTextDidChange(SearchBar& bar, const std::string& searchText);
    virtual void searchBarSearchButtonClicked(SearchBar& bar);
    virtual void searchBarCancelButtonClicked(SearchBar& bar);
};

class SearchBar : public View, public Responder {
public:
    // The platform's search bars are 44 points high.
    static constexpr double kHeight = 44;

    explicit SearchBar(const Rect& frame = Rect());
    static std::shared_ptr<SearchBar> make(const Rect& frame = Rect()) { return std::make_shared<SearchBar>(frame); }

    const std::string& text() const { return text_; }
    void setText(std::string text) { HC_CHECK_MAIN_THREAD(); text_ = std::move(text); }
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(std::string placeholder) { HC_CHECK_MAIN_THREAD(); placeholder_ = std::move(placeholder); }
    bool showsCancelButton() const { return showsCancelButton_; }
    void setShowsCancelButton(bool shows, bool animated = false);
    TextInputTraits& traits() { return traits_; }
    const TextInputTraits& traits() const { return traits_; }

    // Not retained.
    std::shared_ptr<SearchBarDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<SearchBarDelegate>& delegate)
    {
        HC_CHECK_MAIN_THREAD();
        delegate_ = delegate;
    }

    // --- what a person does -------------------------------------------------
    // Takes the focus when the bar can be touched and the delegate agrees.
    bool tap();
    // Types at the end, taking the focus first; answers the characters typed.
    size_t typeText(const std::string& text);
    bool deleteBackward();
    // The keyboard's search key (only while the bar holds the focus).
    bool pressSearch();
    // Only while the cancel button shows.
    bool tapCancelButton();

    Size sizeThatFits(Size size) const override;
    std::string kindName() const override { return "SearchBar"; }
    // As a text field, then "cancel" when the cancel button shows.
    std::string describe() const override;

protected:
    void didMoveToWindow() override;
    View& responderView() override { return *this; }
    bool shouldBeginEditing() override;
    void didBeginEditing() override;
    bool shouldEndEditing() override;
    void didEndEditing() override;

private:
    void changed();

    std::string text_;
    std::string placeholder_;
    bool showsCancelButton_ = false;
    TextInputTraits traits_;
    std::weak_ptr<SearchBarDelegate> delegate_;
};

using SearchBarPtr = std::shared_ptr<SearchBar>;

}  // namespace platform::ui
