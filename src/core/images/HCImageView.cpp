#include "core/images/HCImageView.h"

#include <algorithm>

#include "core/images/HCImageCache.h"
#include "core/images/HCImageLoader.h"
#include "core/users/HCUser.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Layer.h"

namespace {

constexpr double kFrameBorderWidth = 1.0;
constexpr double kFrameCornerRadius = 5.0;
// The Facebook mark's share of the picture's shorter side.
constexpr double kOverlayShare = 1.0 / 3.0;

}  // namespace

HCImageView::HCImageView(const platform::ui::Rect& frame) : ImageView(frame)
{
    setOpaque(false);
    setContentMode(platform::ui::ContentMode::ScaleAspectFit);
    applyFrameStyle();
}

std::shared_ptr<HCImageView> HCImageView::make(const platform::ui::Rect& frame)
{
    return std::make_shared<HCImageView>(frame);
}

void HCImageView::setImageUrl(const std::optional<std::string>& url)
{
    HC_CHECK_MAIN_THREAD();
    HCImageDownload::destroyHttpService(slots_.mHttpService);
    slots_.mHttpServiceObserver = nullptr;
    image_ = nullptr;
    url_ = url && !url->empty() ? url : std::nullopt;
    show();
    if (!url_) return;

    std::weak_ptr<HCImageView> weakSelf = std::static_pointer_cast<HCImageView>(shared_from_this());
    const std::string wanted = *url_;
    auto onBytes = HCDelegate::withFunction([weakSelf, wanted](const platform::ObjectPtr& bytes) {
        auto self = weakSelf.lock();
        if (!self || self->url_ != wanted) return;
        auto data = platform::as<platform::Data>(bytes);
        auto image = data ? platform::ui::Image::imageWithData(*data) : nullptr;
        if (image) {
            if (auto cache = HCImageCache::sharedInstance()) cache->store(image, wanted);
        }
        self->settled(image);
    });
    auto onFailure = HCDelegate::withFunction([weakSelf, wanted](const platform::ObjectPtr&) {
        auto self = weakSelf.lock();
        if (self && self->url_ == wanted) self->settled(nullptr);
    });
    platform::ui::ImagePtr cached;
    HCImageDownload::getImageFromUrl(wanted, cached, slots_, onBytes, onFailure);
    if (cached) settled(cached);
}

void HCImageView::settled(const platform::ui::ImagePtr& image)
{
    slots_.mHttpServiceObserver = nullptr;
    if (image) image_ = image;
    show();
    finished_.invoke(image);
}

bool HCImageView::isDownloading() const
{
    return slots_.mHttpServiceObserver != nullptr;
}

void HCImageView::setImage(const platform::ui::ImagePtr& image)
{
    HC_CHECK_MAIN_THREAD();
    HCImageDownload::destroyHttpService(slots_.mHttpService);
    slots_.mHttpServiceObserver = nullptr;
    url_ = std::nullopt;
    image_ = image;
    show();
}

platform::ui::ImagePtr HCImageView::image() const
{
    return image_ ? image_ : defaultImage_;
}

void HCImageView::setDefaultImage(const platform::ui::ImagePtr& image)
{
    HC_CHECK_MAIN_THREAD();
    defaultImage_ = image;
    show();
}

void HCImageView::setUnframed(bool unframed)
{
    unframed_ = unframed;
    applyFrameStyle();
}

void HCImageView::setUseSharpCorners(bool sharp)
{
    sharpCorners_ = sharp;
    applyFrameStyle();
}

void HCImageView::setShouldScaleImageToFillRect(bool scale)
{
    scaleToFill_ = scale;
    setContentMode(scale ? platform::ui::ContentMode::ScaleToFill : platform::ui::ContentMode::ScaleAspectFit);
    setNeedsDisplay();
}

void HCImageView::useProfilePictureFromUser(const std::shared_ptr<HCUser>& user)
{
    setDefaultImage(HCImageLoader::loadImage(kProfileDefaultImageName));
    setImageUrl(user ? user->profilePictureUrl() : std::nullopt);
    setUseFacebookOverlay(user && user->usesFacebookProfilePicture());
}

void HCImageView::useOtherPlayerProfilePictureDefault()
{
    useDefaultOnly(kProfileDefaultImageName);
}

void HCImageView::useLocalPlayerProfilePictureDefault()
{
    useDefaultOnly(kLocalProfileDefaultImageName);
}

void HCImageView::useDefaultOnly(const char* imageName)
{
    setUseFacebookOverlay(false);
    setImage(nullptr);
    setDefaultImage(HCImageLoader::loadImage(imageName));
}

void HCImageView::setUseFacebookOverlay(bool use)
{
    HC_CHECK_MAIN_THREAD();
    if (!use) {
        if (facebookOverlay_) facebookOverlay_->setHidden(true);
        return;
    }
    if (!facebookOverlay_) {
        const auto box = bounds();
        const double side = std::min(box.width(), box.height()) * kOverlayShare;
        facebookOverlay_ = platform::ui::ImageView::withImage(HCImageLoader::loadImage(kFacebookOverlayImageName));
        facebookOverlay_->setFrame(platform::ui::Rect(box.maxX() - side, box.maxY() - side, side, side));
        facebookOverlay_->setAutoresizingMask(platform::ui::AutoresizingFlexibleLeftMargin |
                                              platform::ui::AutoresizingFlexibleTopMargin);
        addSubview(facebookOverlay_);
    }
    facebookOverlay_->setHidden(false);
}

platform::ui::ImageViewPtr HCImageView::facebookOverlay() const
{
    return facebookOverlay_ && !facebookOverlay_->isHidden() ? facebookOverlay_ : nullptr;
}

void HCImageView::useGameCenterProfilePicture()
{
    setUseFacebookOverlay(false);
    setImage(nullptr);
    setDefaultImage(HCImageLoader::loadImage(kGameCenterProfileImageName));
}

void HCImageView::show()
{
    ImageView::setImage(image());
    setNeedsDisplay();
}

void HCImageView::applyFrameStyle()
{
    layer()->setBorderWidth(unframed_ ? 0.0 : kFrameBorderWidth);
    layer()->setCornerRadius(sharpCorners_ ? 0.0 : kFrameCornerRadius);
    layer()->setMasksToBounds(!sharpCorners_);
}
