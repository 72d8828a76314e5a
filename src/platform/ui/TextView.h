#pragma once
// A scrolling, multi-line text entry (or, when not editable, a multi-line
// text to read). Its content size follows its text, wrapped at its width.
// A person edits it through the entries below, which take the focus first
// and offer every change to the delegate; "\n" is typed like any other
// character.
//
// Delegate questions answer std::nullopt when not implemented (then the
// change is allowed); notifications have empty defaults.
//
// Thread: main thread only.
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Font.h"
#include "platform/ui/Responder.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextInput.h"
#include "platform/ui/TextMetrics.h"

namespace platform::ui {

class TextView;

class TextViewDelegate : public ScrollViewDelegate {
public:
    virtual std::optional<bool> textViewShouldBeginEditing(TextView& view);
    virtual void textViewDidBeginEditing(TextView& view);
    virtual std::optional<bool> textViewShouldEndEditing(TextView& view);
    virtual void textViewDidEndEditing(TextView& view);
    // `range` in characters (code points) of the current text.
    virtual std::optional<bool> textViewShouldChangeTextInRange(TextView& view, TextRange range,
                                                                const std::string& replacement);
    // After every accepted change made by a person (not after setText).
    virtual void textViewDidChange(TextView& view);
};

class TextView : public ScrollView, public Responder {
public:
    // The gap between the edges and the text.
    static constexpr double kTextInset = 8;

    explicit TextView(const Rect& frame = Rect());
    static std::shared_ptr<TextView> make(const Rect& frame = Rect()) { return std::make_shared<TextView>(frame); }

    const std::string& text() const { return text_; }
    void setText(std::string text);
    // Never null: a null font restores the default, the system font of 12.
    const FontPtr& font() const { return font_; }
    void setFont(FontPtr font);
    const Color& textColor() const { return textColor_; }
    void setTextColor(const Color& color) { HC_CHECK_MAIN_THREAD(); textColor_ = color; }
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment alignment) { HC_CHECK_MAIN_THREAD(); alignment_ = alignment; }
    // A view that is not editable never takes the focus.
    bool isEditable() const { return editable_; }
    void setEditable(bool editable);
    TextInputTraits& traits() { return traits_; }
    const TextInputTraits& traits() const { return traits_; }

    // Not retained; also hears the scroll view's messages.
    std::shared_ptr<TextViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<TextViewDelegate>& delegate);

    // --- what a person does -------------------------------------------------
    // Takes the focus (when editable, shown and the delegate agrees).
    bool tap();
    // Types the text one character at a time at the end, each offered to the
    // delegate and followed by textViewDidChange when accepted; taking the
    // focus first. Answers how many characters were inserted.
    size_t typeText(const std::string& text);
    bool deleteBackward();

    std::string kindName() const override { return "TextView"; }
    std::string describe() const override;

protected:
    void layoutSubviews() override;
    void didMoveToWindow() override;
    View& responderView() override { return *this; }
    bool shouldBeginEditing() override;
    void didBeginEditing() override;
    bool shouldEndEditing() override;
    void didEndEditing() override;

private:
    bool offerChange(TextRange range, const std::string& replacement);
    void updateContentSize();

    std::string text_;
    FontPtr font_;
    Color textColor_ = Color::blackColor();
    TextAlignment alignment_ = TextAlignment::Left;
    bool editable_ = true;
    TextInputTraits traits_;
    std::weak_ptr<TextViewDelegate> delegate_;
};

using TextViewPtr = std::shared_ptr<TextView>;

}  // namespace platform::ui
