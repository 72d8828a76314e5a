#include "uiframework/HCNavigationController.h"

#include "platform/runtime/ThreadChecker.h"

namespace {
const platform::ui::Color kBackgroundColor(0.11, 0.12, 0.14);
}  // namespace

std::shared_ptr<HCNavigationController> HCNavigationController::withRootViewController(
    const platform::ui::ViewControllerPtr& root)
{
    HC_CHECK_MAIN_THREAD();
    auto navigation = std::make_shared<HCNavigationController>();
    navigation->initWithRootViewController(root);
    return navigation;
}

void HCNavigationController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    platform::ui::NavigationController::loadView();
    auto container = view();
    backgroundView_ = platform::ui::View::make(container->bounds());
    backgroundView_->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth |
                                         platform::ui::AutoresizingFlexibleHeight);
    backgroundView_->setBackgroundColor(kBackgroundColor);
    backgroundView_->setHidden(backgroundHidden_);
    container->insertSubview(backgroundView_, 0);
}

void HCNavigationController::hideBackground()
{
    HC_CHECK_MAIN_THREAD();
    backgroundHidden_ = true;
    if (backgroundView_) backgroundView_->setHidden(true);
}

void HCNavigationController::addCloseButtonToViewController(const platform::ui::ViewControllerPtr& controller,
                                                            std::function<void()> action)
{
    HC_CHECK_MAIN_THREAD();
    if (!controller) return;
    controller->navigationItem()->setLeftBarButtonItem(platform::ui::BarButtonItem::withTitle(
        kCloseButtonTitle, platform::ui::BarButtonStyle::Bordered,
        [action = std::move(action)](platform::ui::BarButtonItem&) {
            if (action) action();
        }));
}
