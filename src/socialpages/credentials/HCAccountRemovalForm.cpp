#include "socialpages/credentials/HCAccountRemovalForm.h"

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "socialpages/HCTopLevelSheet.h"

void HCAccountRemovalForm::addParts(std::initializer_list<platform::ui::ViewPtr> parts,
                                    const std::shared_ptr<platform::ui::Button>& submit)
{
    HC_CHECK_MAIN_THREAD();
    for (const auto& part : parts) view()->addSubview(part);
    std::weak_ptr<HCAccountRemovalForm> weakSelf = std::static_pointer_cast<HCAccountRemovalForm>(platform::self(this));
    submit->addTarget(this, [weakSelf](platform::ui::Control&) {
        if (auto page = weakSelf.lock()) page->onSubmitPressed();
    }, platform::ui::ControlEventTouchUpInside);
}

void HCAccountRemovalForm::onSubmitPressed()
{
    onSubmitForm(view());
}

void HCAccountRemovalForm::showWarning(const std::string& title)
{
    showSheetInTopLevelView(title, std::static_pointer_cast<HCAccountRemovalForm>(platform::self(this)), "Go Back",
                            "Continue", view());
}

void HCAccountRemovalForm::actionSheetDidDismissWithButtonIndex(platform::ui::ActionSheet& sheet, int buttonIndex)
{
    HC_CHECK_MAIN_THREAD();
    sheet.setDelegate({});
    if (buttonIndex == sheet.destructiveButtonIndex()) {
        onWarningAccepted();
    } else if (auto navigation = navigationController()) {
        navigation->popViewController(true);
    }
}
