#pragma once
// A one-line text entry. Its text changes in code through setText (which
// tells nobody) and by a person through the entries below, which go the way
// typing on the keyboard goes: the field takes the focus first, the delegate
// is asked about every single change and may refuse it, and every accepted
// change sends editing changed.
//
// Delegate questions answer std::nullopt when not implemented; the field
// then does what it does without a delegate (allow). Notifications have
// empty defaults.
//
// Thread: main thread only.
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Control.h"
#include "platform/ui/Font.h"
#include "platform/ui/Responder.h"
#include "platform/ui/TextInput.h"
#include "platform/ui/TextMetrics.h"

namespace platform::ui {

class TextField;

class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;
    virtual std::optional<bool> textFieldShouldBeginEditing(TextField& field);
    virtual void textFieldDidBeginEditing(TextField& field);
    virtual std::optional<bool> textFieldShouldEndEditing(TextField& field);
    virtual void textFieldDidEndEditing(TextField& field);
    // `range` in characters (code points) of the current text; `replacement`
    // is what would stand there instead (empty for a deletion).
    virtual std::optional<bool> textFieldShouldChangeCharactersInRange(TextField& field, TextRange range,
                                                                       const std::string& replacement);
    virtual std::optional<bool> textFieldShouldClear(TextField& field);
    virtual std::optional<bool> textFieldShouldReturn(TextField& field);
};

// Numbers match the platform's.
enum class TextBorderStyle : int { None = 0, Line = 1, Bezel = 2, RoundedRect = 3 };
enum class TextFieldViewMode : int { Never = 0, WhileEditing = 1, UnlessEditing = 2, Always = 3 };

class TextField : public Control, public Responder {
public:
    explicit TextField(const Rect& frame = Rect());
    static std::shared_ptr<TextField> make(const Rect& frame = Rect()) { return std::make_shared<TextField>(frame); }

    const std::string& text() const { return text_; }
    void setText(std::string text) { HC_CHECK_MAIN_THREAD(); text_ = std::move(text); }
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(std::string placeholder) { HC_CHECK_MAIN_THREAD(); placeholder_ = std::move(placeholder); }
    // Never null: a null font restores the default, the system font of 12.
    const FontPtr& font() const { return font_; }
    void setFont(FontPtr font);
    const Color& textColor() const { return textColor_; }
    void setTextColor(const Color& color) { HC_CHECK_MAIN_THREAD(); textColor_ = color; }
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment alignment) { HC_CHECK_MAIN_THREAD(); alignment_ = alignment; }
    TextBorderStyle borderStyle() const { return borderStyle_; }
    void setBorderStyle(TextBorderStyle style) { HC_CHECK_MAIN_THREAD(); borderStyle_ = style; }
    TextFieldViewMode clearButtonMode() const { return clearButtonMode_; }
    void setClearButtonMode(TextFieldViewMode mode) { HC_CHECK_MAIN_THREAD(); clearButtonMode_ = mode; }
    bool clearsOnBeginEditing() const { return clearsOnBeginEditing_; }
    void setClearsOnBeginEditing(bool clears) { HC_CHECK_MAIN_THREAD(); clearsOnBeginEditing_ = clears; }
    TextInputTraits& traits() { return traits_; }
    const TextInputTraits& traits() const { return traits_; }
    // The common traits by name.
    KeyboardType keyboardType() const { return traits_.keyboardType; }
    void setKeyboardType(KeyboardType type) { HC_CHECK_MAIN_THREAD(); traits_.keyboardType = type; }
    ReturnKeyType returnKeyType() const { return traits_.returnKeyType; }
    void setReturnKeyType(ReturnKeyType type) { HC_CHECK_MAIN_THREAD(); traits_.returnKeyType = type; }
    bool isSecureTextEntry() const { return traits_.secureTextEntry; }
    void setSecureTextEntry(bool secure) { HC_CHECK_MAIN_THREAD(); traits_.secureTextEntry = secure; }
    AutocorrectionType autocorrectionType() const { return traits_.autocorrectionType; }
    void setAutocorrectionType(AutocorrectionType type) { HC_CHECK_MAIN_THREAD(); traits_.autocorrectionType = type; }
    AutocapitalizationType autocapitalizationType() const { return traits_.autocapitalizationType; }
    void setAutocapitalizationType(AutocapitalizationType type)
    {
        HC_CHECK_MAIN_THREAD();
        traits_.autocapitalizationType = type;
    }

    // Not retained.
    std::shared_ptr<TextFieldDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<TextFieldDelegate>& delegate)
    {
        HC_CHECK_MAIN_THREAD();
        delegate_ = delegate;
    }

    // True while the field holds the focus.
    bool isEditing() const { return isFirstResponder(); }
    // Whether the clear button shows now (by the mode, and only with text).
    bool isClearButtonVisible() const;

    // --- what a person does -------------------------------------------------
    // Types the text one character at a time at the end of the field, taking
    // the focus first when the field does not hold it (nothing is typed when
    // it cannot). Each character is offered to the delegate; only accepted
    // ones are inserted, each followed by editing changed. A "\n" presses the
    // return key instead, and typing stops if the field then loses the focus.
    // Answers how many characters were inserted.
    size_t typeText(const std::string& text);
    // Deletes the last character, when the delegate agrees.
    bool deleteBackward();
    // The return key. Answers the delegate's textFieldShouldReturn (true
    // without one); when it is true and actions wait for editing did end on
    // exit, they are sent and the field gives up the focus.
    bool pressReturn();
    // The clear button: empties the field when the button shows and the
    // delegate agrees, then sends editing changed.
    bool tapClearButton();

    Size sizeThatFits(Size size) const override;
    std::string kindName() const override { return "TextField"; }
    std::string describe() const override;

protected:
    void handleTap() override;
    void didMoveToWindow() override;
    View& responderView() override { return *this; }
    bool shouldBeginEditing() override;
    void didBeginEditing() override;
    bool shouldEndEditing() override;
    void didEndEditing() override;

private:
    bool offerChange(TextRange range, const std::string& replacement);

    std::string text_;
    std::string placeholder_;
    FontPtr font_;
    Color textColor_ = Color::blackColor();
    TextAlignment alignment_ = TextAlignment::Left;
    TextBorderStyle borderStyle_ = TextBorderStyle::None;
    TextFieldViewMode clearButtonMode_ = TextFieldViewMode::Never;
    bool clearsOnBeginEditing_ = false;
    TextInputTraits traits_;
    std::weak_ptr<TextFieldDelegate> delegate_;
};

using TextFieldPtr = std::shared_ptr<TextField>;

}  // namespace platform::ui
