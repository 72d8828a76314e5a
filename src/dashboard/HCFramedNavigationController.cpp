#include "dashboard/HCFramedNavigationController.h"

#include <algorithm>

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "platform/foundation/NotificationCenter.h"
#include "dashboard/HCBannerCell.h"
#include "platform/runtime/ThreadChecker.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCProfileFrame.h"

namespace {
constexpr double kBannerHeight = 20;

bool samePlayer(const std::shared_ptr<HCUser>& a, const std::shared_ptr<HCUser>& b)
{
    return a == b || (a && b && a->resourceId() && a->resourceId() == b->resourceId());
}
}  // namespace

HCFramedNavigationController::HCFramedNavigationController()
{
    platform::NotificationCenter::defaultCenter().addObserver(this, HCNSNotificationUserChanged, [this](const auto&) {
        // Posted on the request thread by a log-in: the banner follows on the main thread.
        if (platform::Thread::isMainThread()) {
            refreshProfile();
        }
    });
}

HCFramedNavigationController::~HCFramedNavigationController()
{
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

std::shared_ptr<HCFramedNavigationController> HCFramedNavigationController::withRootViewController(
    const platform::ui::ViewControllerPtr& root)
{
    HC_CHECK_MAIN_THREAD();
    auto navigation = std::make_shared<HCFramedNavigationController>();
    navigation->initWithRootViewController(root);
    return navigation;
}

const HCFramedNavigationController::PageContext* HCFramedNavigationController::contextOf(
    const platform::ui::ViewController& page) const
{
    const auto& stack = viewControllers();
    if (std::none_of(stack.begin(), stack.end(), [&](const auto& c) { return c.get() == &page; })) {
        return nullptr;
    }
    for (const PageContext& context : contexts_) {
        if (context.page.lock().get() == &page) {
            return &context;
        }
    }
    return nullptr;
}

void HCFramedNavigationController::remember(const platform::ui::ViewControllerPtr& page, std::shared_ptr<HCUser> user,
                                            std::shared_ptr<HCUser> comparedTo)
{
    std::erase_if(contexts_, [&](const PageContext& c) { return c.page.expired() || c.page.lock() == page; });
    contexts_.push_back(PageContext{page, std::move(user), std::move(comparedTo)});
}

std::shared_ptr<HCUser> HCFramedNavigationController::comparisonUser() const
{
    auto top = topViewController();
    return top ? pageComparisonUser(*top) : nullptr;
}

void HCFramedNavigationController::pushViewController(const platform::ui::ViewControllerPtr& controller, bool animated,
                                                      const std::shared_ptr<HCUser>& inContextOfUser)
{
    HC_CHECK_MAIN_THREAD();
    if (!controller) {
        return;
    }
    remember(controller, inContextOfUser, nullptr);
    pushViewController(controller, animated);
}

void HCFramedNavigationController::pushViewControllerInContextOfLocalUserComparedTo(
    const platform::ui::ViewControllerPtr& controller, bool animated, const std::shared_ptr<HCUser>& user)
{
    HC_CHECK_MAIN_THREAD();
    if (!controller) {
        return;
    }
    remember(controller, Halcyon::localUser(), user);
    pushViewController(controller, animated);
}

bool HCFramedNavigationController::changeProfileUsers(const platform::ui::ViewControllerPtr& page,
                                                      const std::shared_ptr<HCUser>& user,
                                                      const std::shared_ptr<HCUser>& comparedTo)
{
    HC_CHECK_MAIN_THREAD();
    const auto& stack = viewControllers();
    if (!page || std::find(stack.begin(), stack.end(), page) == stack.end()) {
        return false;
    }
    auto* frame = dynamic_cast<HCProfileFrame*>(page.get());
    auto compared = frame && !frame->supportsComparison() ? nullptr : comparedTo;
    const PageContext* before = contextOf(*page);
    const bool changed = !samePlayer(before ? before->user : nullptr, user) ||
                         !samePlayer(before ? before->comparedTo : nullptr, compared);
    remember(page, user, compared);
    if (changed && frame) {
        frame->profileUsersChanged(user, compared);
    }
    return true;
}

std::shared_ptr<HCUser> HCFramedNavigationController::pageContextUser(const platform::ui::ViewController& page) const
{
    const PageContext* context = contextOf(page);
    return context ? context->user : nullptr;
}

std::shared_ptr<HCUser> HCFramedNavigationController::pageComparisonUser(const platform::ui::ViewController& page) const
{
    const PageContext* context = contextOf(page);
    return context ? context->comparedTo : nullptr;
}

std::shared_ptr<HCGameProfilePageInfo> HCFramedNavigationController::pageContextGame(
    const platform::ui::ViewController&) const
{
    return gameContext_;
}

void HCFramedNavigationController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    HCNavigationController::loadView();
    auto container = view();
    const platform::ui::Rect bounds = container->bounds();
    profileBanner_ = platform::ui::Label::make(
        platform::ui::Rect(0, bounds.height() - kBannerHeight, bounds.width(), kBannerHeight));
    profileBanner_->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth |
                                        platform::ui::AutoresizingFlexibleTopMargin);
    container->addSubview(profileBanner_);
    refreshProfile();
}

const std::shared_ptr<platform::ui::Label>& HCFramedNavigationController::profileBanner()
{
    view();
    return profileBanner_;
}

void HCFramedNavigationController::refreshProfile()
{
    HC_CHECK_MAIN_THREAD();
    if (!profileBanner_) {
        return;
    }
    auto user = Halcyon::localUser();
    profileBanner_->setText(user && user->name() ? *user->name() : std::string());
}

void HCFramedNavigationController::refreshBanner()
{
    HC_CHECK_MAIN_THREAD();
    if (featuredBanner_) {
        featuredBanner_->removeFromSuperview();
        featuredBanner_.reset();
    }
    auto top = topViewController();
    auto provider = std::dynamic_pointer_cast<HCBannerProvider>(top);
    if (!provider || !provider->isBannerAvailableNow()) {
        return;
    }
    auto cell = HCControllerLoader::loadCell(provider->bannerCellControllerName(), top);
    if (!cell) {
        return;
    }
    if (auto banner = std::dynamic_pointer_cast<HCBannerCell>(cell)) {
        banner->setBannerProvider(provider);
        banner->setResource(provider->getBannerResource());
    }
    auto container = view();
    platform::ui::Rect frame = cell->frame();
    // Below the navigation bar: a pushed page's Back must stay within reach.
    const double belowBar = isNavigationBarHidden() ? 0 : navigationBar()->frame().maxY();
    cell->setFrame(platform::ui::Rect(0, belowBar, container->bounds().width(), frame.height()));
    cell->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth);
    container->addSubview(cell);
    featuredBanner_ = cell;
}

void HCFramedNavigationController::refreshBottomView()
{
    HC_CHECK_MAIN_THREAD();
    auto page = std::dynamic_pointer_cast<HCCustomBottomView>(topViewController());
    auto next = page ? page->getBottomView() : nullptr;
    // The view already shown stays in place: taking it out would take the keyboard from its field.
    if (bottomView_ && bottomView_ != next) bottomView_->removeFromSuperview();
    bottomView_ = next;
    if (!bottomView_) return;
    if (bottomView_->superview() != view()) view()->addSubview(bottomView_);
    placeBottomView();
}

void HCFramedNavigationController::adjustForKeyboard(bool shown, double height)
{
    HC_CHECK_MAIN_THREAD();
    keyboardHeight_ = shown ? height : 0;
    placeBottomView();
}

void HCFramedNavigationController::placeBottomView()
{
    if (!bottomView_) return;
    const auto bounds = view()->bounds();
    const double height = bottomView_->frame().height();
    bottomView_->setFrame(platform::ui::Rect(0, bounds.height() - keyboardHeight_ - height, bounds.width(), height));
}
