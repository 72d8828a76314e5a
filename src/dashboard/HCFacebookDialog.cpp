#include "dashboard/HCFacebookDialog.h"

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Window.h"

HCFacebookDialog::HCFacebookDialog(const platform::ui::Rect& frame) : View(frame) {}

HCFacebookDialog::~HCFacebookDialog()
{
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

void HCFacebookDialog::showInView(const platform::ui::ViewPtr& /*view*/)
{
    HC_CHECK_MAIN_THREAD();
    if (auto window = HalcyonDashboard::getTopApplicationWindow()) {
        window->addSubview(platform::self<View>(this));
    }
    auto& center = platform::NotificationCenter::defaultCenter();
    center.removeObserver(this);
    center.addObserver(this, platform::ui::KeyboardWillShowNotification, [this](const auto&) { keyboardWillShow(); });
    center.addObserver(this, platform::ui::KeyboardWillHideNotification, [this](const auto&) { keyboardWillHide(); });
    if (Halcyon::isLargeScreen() && Halcyon::isInLandscapeModeOniPad()) {
        platform::ui::Rect rect = frame();
        rect.size.width = kLandscapeWidth;
        if (Halcyon::getDashboardOrientation() == 3) {
            rect.origin.x += kOrientation3Shift;
        }
        setFrame(rect);
    }
}

void HCFacebookDialog::keyboardWillShow()
{
    moveUp(true);
}

void HCFacebookDialog::keyboardWillHide()
{
    moveUp(false);
}

void HCFacebookDialog::moveUp(bool up)
{
    HC_CHECK_MAIN_THREAD();
    if (!Halcyon::isLargeScreen() || up == isSlidUp_) {
        return;
    }
    isSlidUp_ = up;
    const double s = up ? 1.0 : -1.0;
    if (up) {
        slidInOrientation_ = Halcyon::getDashboardOrientation();
    }
    platform::ui::Rect rect = frame();
    switch (slidInOrientation_) {
    case 1:
        rect.origin.y -= kKeyboardShift * s;
        break;
    case 2:
        rect.origin.y += kKeyboardShift * s;
        break;
    case 3:
        rect.origin.x += kKeyboardShift * s;
        break;
    case 4:
        rect.origin.x -= kKeyboardShift * s;
        break;
    default:
        break;
    }
    platform::ui::View::beginAnimations("");
    setFrame(rect);
    platform::ui::View::commitAnimations();
}
