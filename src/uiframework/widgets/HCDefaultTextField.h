#pragma once
// The dashboard's one-line text entry. It can give the keyboard up when the
// player presses return (closeKeyboardOnReturn), and, inside a scroll view,
// scroll its content so the field shows above the keyboard while it has the
// focus, and scroll back when it gives the focus up (manageScrollViewOnFocus).
//
// Thread: main thread.
#include <memory>
#include <optional>

#include "platform/ui/ScrollView.h"
#include "platform/ui/TextField.h"

class HCDefaultTextField : public platform::ui::TextField {
public:
    // The gap kept between the field and the keyboard.
    static constexpr double kKeyboardMargin = 10;

    explicit HCDefaultTextField(const platform::ui::Rect& frame = platform::ui::Rect());
    ~HCDefaultTextField() override;

    void setCloseKeyboardOnReturn(bool close);
    bool closeKeyboardOnReturn() const { return closeKeyboardOnReturn_; }
    void setManageScrollViewOnFocus(bool manage) { manageScrollViewOnFocus_ = manage; }
    bool manageScrollViewOnFocus() const { return manageScrollViewOnFocus_; }

    std::string kindName() const override { return "HCDefaultTextField"; }

protected:
    void didBeginEditing() override;
    void didEndEditing() override;

private:
    std::shared_ptr<platform::ui::ScrollView> enclosingScrollView() const;

    bool closeKeyboardOnReturn_ = false;
    bool manageScrollViewOnFocus_ = false;
    std::weak_ptr<platform::ui::ScrollView> scrolled_;
    std::optional<platform::ui::Point> offsetBeforeFocus_;
};
