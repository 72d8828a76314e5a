#include "socialpages/picture/HCCustomImagePickerController.h"

#include "dashboard/HCRootController.h"
#include "dashboard/HalcyonDashboard.h"

std::shared_ptr<HCCustomImagePickerController> HCCustomImagePickerController::make()
{
    return std::make_shared<HCCustomImagePickerController>();
}

void HCCustomImagePickerController::show()
{
    HC_CHECK_MAIN_THREAD();
    if (auto root = HalcyonDashboard::getRootController())
        root->presentModalViewController(std::static_pointer_cast<HCCustomImagePickerController>(platform::self(this)),
                                         true);
}

void HCCustomImagePickerController::hide()
{
    HC_CHECK_MAIN_THREAD();
    auto root = HalcyonDashboard::getRootController();
    // Only this picker: the root's modal may since have become another page.
    if (root && root->modalViewController().get() == this) root->dismissModalViewController(true);
}
