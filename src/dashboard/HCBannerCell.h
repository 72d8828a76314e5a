#pragma once
// The cell the dashboard's frame shows as a page's banner. It keeps the
// page that provides it weakly, so a banner left in the frame never keeps
// a closed page alive.
//
// Thread: main thread.
#include <memory>

#include "dashboard/HCBannerProvider.h"
#include "platform/ui/NavigationController.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCBannerCell : public HCTableCellHelper {
public:
    using HCTableCellHelper::HCTableCellHelper;

    // The provider whose banner the cell shows; nil once it is gone.
    std::shared_ptr<HCBannerProvider> bannerProvider() const { return provider_.lock(); }
    void setBannerProvider(const std::shared_ptr<HCBannerProvider>& provider) { provider_ = provider; }
    // The navigation controller of the providing page; nil when it has none.
    std::shared_ptr<platform::ui::NavigationController> providerNavigationController() const;

    std::string kindName() const override { return "HCBannerCell"; }

private:
    std::weak_ptr<HCBannerProvider> provider_;
};
