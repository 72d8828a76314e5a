#include "uiframework/HCPageRequestDelegates.h"

#include "platform/ui/AlertView.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

bool pageIsShown(const platform::Object& page)
{
    HC_CHECK_MAIN_THREAD();
    if (const auto* controller = dynamic_cast<const platform::ui::ViewController*>(&page)) {
        const auto& view = controller->viewIfLoaded();
        return view && view->window();
    }
    if (const auto* view = dynamic_cast<const platform::ui::View*>(&page)) return view->window() != nullptr;
    // Not a screen of its own (a helper working for a page): its own handlers look.
    return true;
}

void showRequestFailureAlert(const std::string& title, const std::string& message, const std::string& button)
{
    platform::ui::AlertView::make(title, message, {}, button)->show();
}
