#include "dashboard/HCBannerCell.h"

#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"

std::shared_ptr<platform::ui::NavigationController> HCBannerCell::providerNavigationController() const
{
    auto page = std::dynamic_pointer_cast<platform::ui::ViewController>(bannerProvider());
    return page ? page->navigationController() : nullptr;
}
