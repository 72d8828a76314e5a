#pragma once
// A message box that starts as one line and grows with its text, from
// minLines up to maxLines lines (past that its text scrolls), and shrinks
// again as text goes. It starts as high as one line of its font; a height
// its owner gives it is its height for the lines it shows then (a phone's
// box gives it less than a line and its insets), and each line more or
// fewer moves it by one line's height. After each change of its height it
// tells its delegate (multilineTextFieldDidResize), which moves what sits
// around it. Its origin stays where it is.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "platform/ui/TextView.h"
#include "platform/ui/View.h"

class HCExpandableSinglelineTextField;

class HCExpandableSinglelineTextFieldDelegate {
public:
    virtual ~HCExpandableSinglelineTextFieldDelegate() = default;
    virtual void multilineTextFieldDidResize(HCExpandableSinglelineTextField& field) = 0;
};

class HCExpandableSinglelineTextField final : public platform::ui::View {
public:
    explicit HCExpandableSinglelineTextField(const platform::ui::Rect& frame);
    ~HCExpandableSinglelineTextField() override;
    static std::shared_ptr<HCExpandableSinglelineTextField> make(const platform::ui::Rect& frame);

    const std::shared_ptr<platform::ui::TextView>& textView() const { return textView_; }
    const std::string& text() const { return textView_->text(); }
    void setText(std::string text);
    // Bounds are kept in order (at least one line; max at least min).
    void setMinLines(unsigned lines);
    void setMaxLines(unsigned lines);
    unsigned minLines() const { return minLines_; }
    unsigned maxLines() const { return maxLines_; }
    // The lines the field is high now.
    unsigned visibleLines() const { return visibleLines_; }

    // Not retained.
    void setDelegate(const std::shared_ptr<HCExpandableSinglelineTextFieldDelegate>& delegate) { delegate_ = delegate; }

    bool becomeFirstResponder() { return textView_->becomeFirstResponder(); }
    // Takes the keyboard away.
    bool resignFirstResponder() { return textView_->resignFirstResponder(); }

    std::string kindName() const override { return "HCExpandableSinglelineTextField"; }

private:
    class Watcher;
    // Moves the field's height by the lines its text gains or loses within
    // the bounds; tells the delegate when the height changed.
    void fitToText();
    double lineHeight() const;

    std::shared_ptr<platform::ui::TextView> textView_;
    std::shared_ptr<Watcher> watcher_;
    std::weak_ptr<HCExpandableSinglelineTextFieldDelegate> delegate_;
    unsigned minLines_ = 1;
    unsigned maxLines_ = 1;
    unsigned visibleLines_ = 1;
};
