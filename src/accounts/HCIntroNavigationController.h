#pragma once
// The navigation controller that carries an intro screen (approval, confirm
// account, social-network linking, the web intro) with its bar hidden, over
// the dashboard's background unless the screen brings its own. The one on
// screen is known process-wide, so a second approval question is never
// stacked on a flow that is already asking.
//
// Thread: main thread.
#include <memory>

#include "uiframework/HCNavigationController.h"

class HCIntroNavigationController final : public HCNavigationController {
public:
    static std::shared_ptr<HCIntroNavigationController> withScreen(const platform::ui::ViewControllerPtr& screen);
    // The intro navigation controller being shown, or nil.
    static std::shared_ptr<HCIntroNavigationController> activeIntroNavigationController();

    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    std::string kindName() const override { return "HCIntroNavigationController"; }
};
