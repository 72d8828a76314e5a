#include "uiframework/HCViewController.h"

#include <algorithm>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "uiframework/HCCustomBottomView.h"
#include "uiframework/HCPageContextSource.h"

namespace {

const HCPageContextSource* contextSourceOf(const platform::ui::ViewController& page)
{
    return dynamic_cast<const HCPageContextSource*>(page.navigationController().get());
}

}  // namespace

HCViewController::HCViewController(std::string nibName) : platform::ui::ViewController(std::move(nibName)) {}

void HCViewController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    platform::ui::ViewController::viewWillAppear(animated);
    if (auto host = std::dynamic_pointer_cast<HCBottomViewHost>(navigationController())) host->refreshBottomView();
}

platform::ui::ViewPtr HCViewController::loadingScreenParentView()
{
    return view();
}

void HCViewController::showLoadingScreen()
{
    HC_CHECK_MAIN_THREAD();
    auto parent = loadingScreenParentView();
    if (loadingView_) {
        // Kept in front of whatever the page added since.
        if (loadingView_->superview() == parent) parent->bringSubviewToFront(loadingView_);
        return;
    }
    loadingView_ = HCLoadingView::make(parent->bounds());
    parent->addSubview(loadingView_);
}

void HCViewController::hideLoadingScreen()
{
    HC_CHECK_MAIN_THREAD();
    if (!loadingView_) return;
    loadingView_->removeFromSuperview();
    loadingView_ = nullptr;
}

void HCViewController::setOwningTabBarItem(const HCTabBarItemPtr& item)
{
    HC_CHECK_MAIN_THREAD();
    owningTabBarItem_ = item;
}

void HCViewController::setBadgeValue(std::optional<std::string> text)
{
    HC_CHECK_MAIN_THREAD();
    if (auto item = owningTabBarItem()) {
        item->tabBarItem()->setBadgeValue(std::move(text));
    } else if (auto navigation = navigationController()) {
        navigation->tabBarItem()->setBadgeValue(std::move(text));
    } else {
        tabBarItem()->setBadgeValue(std::move(text));
    }
}

std::shared_ptr<HCUser> HCViewController::getPageContextUser() const
{
    HC_CHECK_MAIN_THREAD();
    const auto* source = contextSourceOf(*this);
    return source ? source->pageContextUser(*this) : nullptr;
}

std::shared_ptr<HCUser> HCViewController::getPageComparisonUser() const
{
    HC_CHECK_MAIN_THREAD();
    const auto* source = contextSourceOf(*this);
    return source ? source->pageComparisonUser(*this) : nullptr;
}

std::shared_ptr<HCGameProfilePageInfo> HCViewController::getPageContextGame() const
{
    HC_CHECK_MAIN_THREAD();
    const auto* source = contextSourceOf(*this);
    return source ? source->pageContextGame(*this) : nullptr;
}

bool HCViewController::isOnNavigationStack() const
{
    auto navigation = navigationController();
    if (!navigation) return false;
    const auto& stack = navigation->viewControllers();
    return std::any_of(stack.begin(), stack.end(), [this](const auto& vc) { return vc.get() == this; });
}

bool HCViewController::canReceiveCallbacksNow() const
{
    HC_CHECK_MAIN_THREAD();
    return isOnNavigationStack();
}
