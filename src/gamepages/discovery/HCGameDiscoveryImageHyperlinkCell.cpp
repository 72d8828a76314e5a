#include "gamepages/discovery/HCGameDiscoveryImageHyperlinkCell.h"

#include "gamepages/HCDescriptionOpener.h"
#include "gamepages/discovery/HCPlayedGameController.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "social/discovery/HCGameDiscoveryImageHyperlink.h"
#include "uiframework/HCControllerLoader.h"

HCGameDiscoveryImageHyperlinkCell::HCGameDiscoveryImageHyperlinkCell()
    : imageView_(HCImageView::make(platform::ui::Rect(0, 0, 320, kHeight)))
{
    setFrame(platform::ui::Rect(0, 0, 320, kHeight));
}

bool HCGameDiscoveryImageHyperlinkCell::openLink(const std::shared_ptr<HCGameDiscoveryImageHyperlink>& link,
                                                 const std::shared_ptr<platform::ui::NavigationController>& navigation)
{
    HC_CHECK_MAIN_THREAD();
    if (!link || !navigation) return false;
    if (link->isIPurchaseLink()) {
        auto page = HCDescriptionOpener::descriptionPage(
            link->targetApplicationIPurchaseId(), "gameDiscoveryImageHyperlink_" + link->appBannerPlacement().value_or(""));
        if (!page) return false;
        navigation->pushViewController(page, true);
        return true;
    }
    if (!link->isCategoryLink()) return false;
    auto page = HCControllerLoader::load<HCPlayedGameController>("PlayedGame");
    if (!page) return false;
    page->setTargetDiscoveryPageName(*link->targetDiscoveryActionName());
    page->navigationItem()->setTitle(link->targetDiscoveryPageTitle().value_or(""));
    navigation->pushViewController(page, true);
    return true;
}

bool HCGameDiscoveryImageHyperlinkCell::onCellWasClicked(
    const std::shared_ptr<platform::ui::NavigationController>& navigation)
{
    return openLink(platform::as<HCGameDiscoveryImageHyperlink>(resource()), navigation);
}

void HCGameDiscoveryImageHyperlinkCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    if (!imageView_->superview()) contentView()->addSubview(imageView_);
    auto link = platform::as<HCGameDiscoveryImageHyperlink>(resource);
    imageView_->setUnframed(true);
    imageView_->setShouldScaleImageToFillRect(false);
    imageView_->setImageUrl(link ? link->imageUrl() : std::nullopt);
}

void HCGameDiscoveryImageHyperlinkCell::layoutSubviews()
{
    HCBannerCell::layoutSubviews();
    const platform::ui::Rect frame = bounds();
    // The large screen's banner art carries a margin at the top.
    const double lift = platform::DeviceFacts::isLargeScreen() ? 4.0 : 0.0;
    imageView_->setFrame(platform::ui::Rect(frame.minX(), frame.minY() - lift, frame.width(), frame.height()));
}

void HCGameDiscoveryImageHyperlinkCell::touchesEnded(const platform::ui::TouchSet&, const platform::ui::Event&)
{
    HC_CHECK_MAIN_THREAD();
    auto navigation = providerNavigationController();
    if (!navigation) {
        if (auto page = std::dynamic_pointer_cast<platform::ui::ViewController>(owner()))
            navigation = page->navigationController();
    }
    onCellWasClicked(navigation);
}
