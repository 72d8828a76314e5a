#pragma once
// The Facebook log-in dialog as the dashboard places it on a large screen:
// narrowed to 400 points in landscape (50 points further right in
// orientation 3), and slid 150 points away from the keyboard while the
// keyboard is up instead of being resized. A dialog moved up is put back
// along the axis it was moved on, even when the dashboard has turned
// meanwhile. On a small screen the keyboard changes nothing here.
//
// Thread: main thread.
#include <memory>

#include "platform/ui/View.h"

class HCFacebookDialog : public platform::ui::View {
public:
    static constexpr double kLandscapeWidth = 400.0;
    static constexpr double kOrientation3Shift = 50.0;
    static constexpr double kKeyboardShift = 150.0;

    explicit HCFacebookDialog(const platform::ui::Rect& frame = platform::ui::Rect());
    ~HCFacebookDialog() override;

    // Shows the dialog in the application's top window and follows the
    // keyboard; `view` is not used.
    void showInView(const platform::ui::ViewPtr& view);
    void keyboardWillShow();
    void keyboardWillHide();
    void moveUp(bool up);
    bool isSlidUp() const { return isSlidUp_; }

    std::string kindName() const override { return "HCFacebookDialog"; }

private:
    bool isSlidUp_ = false;
    // The dashboard orientation the dialog was moved up in.
    int slidInOrientation_ = 0;
};
