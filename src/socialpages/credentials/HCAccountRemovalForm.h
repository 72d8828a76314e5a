#pragma once
// The base of the forms that take something off the player's account (a
// linked login, this device): a GET of the "users" form with a title,
// warnings and a submit button, and the sheet that warns before what could
// not be taken back: "Go Back" pops the form, "Continue" goes on
// (onWarningAccepted).
//
// Thread: main thread.
#include <initializer_list>
#include <memory>
#include <string>

#include "platform/ui/ActionSheet.h"
#include "platform/ui/Button.h"
#include "uiframework/form/HCFormControllerHelper.h"

class HCAccountRemovalForm : public HCFormControllerHelper, public platform::ui::ActionSheetDelegate {
public:
    std::string getHTTPMethod() override { return "GET"; }
    std::string singularResourceName() override { return "users"; }
    void actionSheetDidDismissWithButtonIndex(platform::ui::ActionSheet& sheet, int buttonIndex) override;

    // The submit button's action; the base submits at once.
    virtual void onSubmitPressed();

protected:
    // Puts the parts on the page, `submit` calling onSubmitPressed.
    void addParts(std::initializer_list<platform::ui::ViewPtr> parts, const std::shared_ptr<platform::ui::Button>& submit);
    void showWarning(const std::string& title);
    virtual void onWarningAccepted() {}
};
