#include "core/banners/HCNotificationView.h"

#include "core/banners/HCBannerLayouts.h"
#include "core/banners/HCNotificationData.h"
#include "core/banners/HCNotificationPlacement.h"
#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Application.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Screen.h"

using platform::ui::Point;

namespace {

// The background's stretchable middle starts this far from its right end.
constexpr int kBackgroundRightCap = 50;

bool isLargeScreen()
{
    return platform::ui::Screen::mainScreen()->bounds().maxX() >= 768.0;
}

}  // namespace

platform::ui::ViewPtr HCNotificationView::loadBannerView(const std::string& nibName)
{
    HC_CHECK_MAIN_THREAD();
    return HCBannerLayouts::loadView(nibName);
}

void HCNotificationView::scheduleConfigure(std::function<void()> configure)
{
    platform::performOnMain(std::move(configure));
}

void HCNotificationView::showNotificationWithText(const std::string& text, const std::optional<std::string>& imageName,
                                                  const std::optional<std::string>& status,
                                                  const platform::ui::ViewPtr& inView)
{
    auto banner = loadBanner<HCNotificationView>(notificationViewName());
    if (!banner) return;
    scheduleConfigure([banner, text, imageName, status, inView] {
        banner->configureWithText(text, imageName, status, inView);
    });
}

bool HCNotificationView::showNotificationWithRequest(const OAuthAPIRequestLoaderPtr& loader, const std::string& notice,
                                                     const platform::ui::ViewPtr& inView)
{
    auto banner = loadBanner<HCNotificationView>(notificationViewName());
    if (!banner) return false;
    scheduleConfigure([banner, loader, notice, inView] { banner->configureWithRequest(loader, notice, inView); });
    return true;
}

void HCNotificationView::configureWithText(const std::string& text, const std::optional<std::string>& imageName,
                                           const std::optional<std::string>& status,
                                           const platform::ui::ViewPtr& inView)
{
    HC_CHECK_MAIN_THREAD();
    setupDefaultImages();
    if (imageName && !imageName->empty() && notificationImage) {
        notificationImage->setDefaultImage(HCImageLoader::loadImage(*imageName));
        notificationImage->setUnframed(true);
        notificationImage->setUseSharpCorners(true);
        notificationImage->setShouldScaleImageToFillRect(false);
    }
    _setPresentationView(inView);
    _buildViewWithText(text);
    _makeStatusIconActiveAndDismiss(status);
}

void HCNotificationView::configureWithRequest(const OAuthAPIRequestLoaderPtr& loader, const std::string& noticeText,
                                              const platform::ui::ViewPtr& inView)
{
    HC_CHECK_MAIN_THREAD();
    setupDefaultImages();
    _setPresentationView(inView);
    _buildViewWithText(noticeText);
    auto self = platform::self(this);
    loader->setOnSuccess(HCDelegate(self, &HCNotificationView::_requestSucceeded, loader->getOnSuccess()));
    loader->setOnFailure(HCDelegate(self, &HCNotificationView::_requestFailed, loader->getOnFailure()));
    loader->loadSynchronously(false);
}

void HCNotificationView::_requestSucceeded(std::shared_ptr<platform::Object> result,
                                           std::shared_ptr<HCDelegateChained> nextCall)
{
    _makeStatusIconActiveAndDismiss(HCNotificationStatusSuccess);
    if (nextCall) nextCall->invokeWith(result);
}

void HCNotificationView::_requestFailed(std::shared_ptr<platform::Object> result,
                                        std::shared_ptr<HCDelegateChained> nextCall)
{
    _makeStatusIconActiveAndDismiss(std::string(HCNotificationStatusFailure));
    if (nextCall) nextCall->invokeWith(result);
}

void HCNotificationView::setupDefaultImages()
{
    if (backgroundImage) {
        backgroundImage->setDefaultImage(HCImageLoader::loadImage(_getBackgroundImageName()));
        backgroundImage->setUnframed(true);
        backgroundImage->setUseSharpCorners(true);
    }
    if (statusIndicator) statusIndicator->setUnframed(true);
}

std::string HCNotificationView::_getBackgroundImageName()
{
    const int position = Halcyon::notificationPosition();
    if (!isLargeScreen()) {
        return position == 0 || position == 2 ? "HCNotificationBackgroundIPhoneTop.png"
                                              : "HCNotificationBackgroundIPhoneBottom.png";
    }
    switch (position) {
    case 0: return "HCNotificationBackgroundIPadTopLeft.png";
    case 2: return "HCNotificationBackgroundIPadTopRight.png";
    case 3: return "HCNotificationBackgroundIPadBottomRight.png";
    default: return "HCNotificationBackgroundIPadBottomLeft.png";
    }
}

void HCNotificationView::_buildViewWithText(const std::string& text)
{
    if (statusIndicator) statusIndicator->setHidden(true);
    if (notice) notice->setText(text);
    if (backgroundImage) {
        backgroundImage->setContentMode(platform::ui::ContentMode::ScaleToFill);
        if (auto image = backgroundImage->image()) {
            const int leftCap = static_cast<int>(image->size().width - kBackgroundRightCap);
            backgroundImage->setDefaultImage(image->stretchableImage(leftCap, 0));
        }
    }
}

void HCNotificationView::_makeStatusIconActiveAndDismiss(const std::optional<std::string>& status)
{
    _presentForDuration(kShownSeconds);
    if (!statusIndicator) return;
    if (status) {
        statusIndicator->setImage(HCImageLoader::loadImage(*status));
        statusIndicator->setHidden(false);
        return;
    }
    statusIndicator->setHidden(true);
    if (notice && notificationImage && !notificationImage->image()) {
        // No icon and no status: the text takes the icon's room.
        auto frame = notice->frame();
        const double iconWidth = notificationImage->frame().size.width;
        notice->setFrame({frame.origin.x - iconWidth, frame.origin.y, frame.size.width + iconWidth, frame.size.height});
    }
}

void HCNotificationView::_setPresentationView(const platform::ui::ViewPtr& view)
{
    presentationView_ = view;
    _calcFrameAndTransform();
}

bool HCNotificationView::isParentViewRotatedInternally(const platform::ui::ViewPtr& view)
{
    const int orientation = Halcyon::getDashboardOrientation();
    if (!view || (orientation != 3 && orientation != 4)) return false;
    const auto screen = platform::ui::Screen::mainScreen()->bounds().size;
    return view->bounds().size.width <= (screen.width + screen.height) / 2;
}

void HCNotificationView::_calcFrameAndTransform()
{
    if (!presentationView_) return;
    HCNotificationPlacementInput input;
    input.presentationSize = presentationView_->bounds().size;
    input.bannerHeight = bounds().size.height;
    input.position = Halcyon::notificationPosition();
    input.orientation = Halcyon::getDashboardOrientation();
    input.statusBar = platform::ui::Application::shared()->statusBarFrame().size;
    input.largeScreen = isLargeScreen();
    input.mainScreen = platform::ui::Screen::mainScreen()->bounds().size;
    const auto placement = HCPlaceNotification(input);
    parentViewRotatedInternally_ = placement.rotatedInternally;
    setTransform(platform::ui::AffineTransform::identity());
    setBounds({0, 0, placement.size.width, placement.size.height});
    setCenter(placement.center);
    setTransform(placement.transform);
    if (viewToMove) {
        auto frame = viewToMove->frame();
        frame.origin = {frame.origin.x + placement.contentNudge.x, frame.origin.y + placement.contentNudge.y};
        viewToMove->setFrame(frame);
    }
}

Point HCNotificationView::_calcOffScreenPosition(Point position) const
{
    return HCNotificationOffScreenPosition(position, bounds().size.height, parentViewRotatedInternally_,
                                          Halcyon::getDashboardOrientation(), Halcyon::invertNotifications());
}

void HCNotificationView::_presentForDuration(double seconds)
{
    if (!presentationView_) return;  // already on its way
    presenting_ = true;
    notificationDuration_ = seconds;
    const Point position = layer()->position();
    _animateFromPosition(_calcOffScreenPosition(position), position, kSlideInSeconds, true,
                         platform::ui::FillMode::Removed);
    auto into = std::move(presentationView_);
    into->addSubview(platform::self<View>(this));
}

void HCNotificationView::_dismiss()
{
    const Point position = layer()->position();
    _animateFromPosition(position, _calcOffScreenPosition(position), kSlideOutSeconds, false,
                         platform::ui::FillMode::Forwards);
}

void HCNotificationView::animationDidStop(const std::shared_ptr<platform::ui::Animation>& animation, bool)
{
    if (presenting_) {
        presenting_ = false;
        platform::Thread::mainThread()->runLoop()->postAfter(notificationDuration_,
                                                             [self = platform::self(this)] { self->_dismiss(); });
        return;
    }
    if (auto basic = std::dynamic_pointer_cast<platform::ui::BasicAnimation>(animation))
        layer()->removeAnimationForKey(basic->keyPath());
    removeFromSuperview();
}

void HCNotificationView::_animateFromPosition(Point from, Point to, double seconds, bool removeOnCompletion,
                                              platform::ui::FillMode fillMode)
{
    if (from.x != to.x) _animateKeypath("position.x", from.x, to.x, seconds, removeOnCompletion, fillMode);
    if (from.y != to.y) _animateKeypath("position.y", from.y, to.y, seconds, removeOnCompletion, fillMode);
}

void HCNotificationView::_animateKeypath(const std::string& keyPath, double from, double to, double seconds,
                                         bool removeOnCompletion, platform::ui::FillMode fillMode)
{
    auto animation = platform::ui::BasicAnimation::make(keyPath);
    animation->setFromValue(from);
    animation->setToValue(to);
    animation->setDuration(seconds);
    animation->setTimingFunction(platform::ui::TimingFunction::EaseOut);
    animation->setDelegate(std::dynamic_pointer_cast<platform::ui::AnimationDelegate>(shared_from_this()));
    animation->setRemovedOnCompletion(removeOnCompletion);
    animation->setFillMode(fillMode);
    layer()->addAnimation(animation, keyPath);
}
