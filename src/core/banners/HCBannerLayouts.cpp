#include "core/banners/HCBannerLayouts.h"

#include "core/banners/HCAchievementNotificationView.h"
#include "core/banners/HCChallengeNotificationView.h"
#include "core/banners/HCNotificationHooks.h"
#include "core/banners/HCNotificationView.h"
#include "core/banners/HCServerNotificationView.h"
#include "core/images/HCImageLoader.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NibRegistry.h"

using platform::ui::Rect;

namespace {

constexpr double kWidth = 320;
constexpr double kHeight = 50;
constexpr unsigned kFlexibleWidth = platform::ui::AutoresizingFlexibleWidth;
constexpr unsigned kStickRight = platform::ui::AutoresizingFlexibleLeftMargin;

std::shared_ptr<platform::ui::Label> label(const Rect& frame, unsigned mask, double fontSize)
{
    auto made = std::make_shared<platform::ui::Label>(frame);
    made->setAutoresizingMask(mask);
    made->setFont(platform::ui::Font::boldSystemFontOfSize(fontSize));
    made->setTextColor(platform::ui::Color::whiteColor());
    made->setBackgroundColor(std::nullopt);
    return made;
}

HCImageViewPtr imageView(const Rect& frame, unsigned mask)
{
    auto made = HCImageView::make(frame);
    made->setAutoresizingMask(mask);
    return made;
}

// The parts every banner has: a content group holding the background strip,
// the icon, the text and the status icon.
void buildCommon(HCNotificationView& banner)
{
    banner.setAutoresizesSubviews(true);
    banner.setOpaque(false);
    banner.viewToMove = platform::ui::View::make(Rect(0, 0, kWidth, kHeight));
    banner.viewToMove->setAutoresizingMask(kFlexibleWidth);
    banner.backgroundImage = imageView(Rect(0, 0, kWidth, kHeight), kFlexibleWidth);
    banner.notificationImage = imageView(Rect(8, 9, 32, 32), 0);
    banner.notice = label(Rect(48, 5, 228, 40), kFlexibleWidth, 14);
    banner.statusIndicator = imageView(Rect(284, 13, 24, 24), kStickRight);
    banner.viewToMove->addSubview(banner.backgroundImage);
    banner.viewToMove->addSubview(banner.notificationImage);
    banner.viewToMove->addSubview(banner.notice);
    banner.viewToMove->addSubview(banner.statusIndicator);
}

template <class T>
std::vector<platform::ObjectPtr> build(void (*extra)(T&))
{
    auto banner = std::make_shared<T>(Rect(0, 0, kWidth, kHeight));
    buildCommon(*banner);
    if (extra) extra(*banner);
    banner->addSubview(banner->viewToMove);
    return {banner};
}

void addAchievementParts(HCAchievementNotificationView& banner)
{
    banner.notice->setFrame(Rect(48, 5, 188, 40));
    banner.achievementValueText = label(Rect(236, 5, 44, 40), kStickRight, 14);
    banner.viewToMove->addSubview(banner.achievementValueText);
}

void addChallengeParts(HCChallengeNotificationView& banner)
{
    banner.notice->setFrame(Rect(48, 5, 228, 20));
    banner.notificationImage->removeFromSuperview();
    banner.notificationImage = nullptr;
    banner.challengeIcon = imageView(Rect(8, 9, 32, 32), 0);
    banner.challengerText = label(Rect(48, 25, 228, 20), kFlexibleWidth, 12);
    banner.challengerProfileImage = imageView(Rect(280, 9, 32, 32), kStickRight);
    banner.statusIndicator->removeFromSuperview();
    banner.statusIndicator = nullptr;
    for (const platform::ui::ViewPtr& part :
         std::initializer_list<platform::ui::ViewPtr>{banner.challengeIcon, banner.challengerText,
                                                      banner.challengerProfileImage})
        banner.viewToMove->addSubview(part);
}

void addServerParts(HCServerNotificationView& banner)
{
    banner.notificationImage->removeFromSuperview();
    banner.notificationImage = nullptr;
    banner.icon = imageView(Rect(8, 9, 32, 32), 0);
    banner.notice->setFrame(Rect(48, 5, 184, 40));
    banner.twoLineTopLabel = label(Rect(48, 5, 184, 20), kFlexibleWidth, 14);
    banner.twoLineBottomLabel = label(Rect(48, 25, 184, 20), kFlexibleWidth, 12);
    banner.numberLabel = label(Rect(232, 5, 32, 40), kStickRight, 14);
    banner.smallHalcyonIconForNumber = platform::ui::ImageView::make(Rect(264, 17, 16, 16));
    banner.smallHalcyonIconForNumber->setImage(HCImageLoader::loadImage("HCHalcyonPointsWhite.png"));
    banner.smallHalcyonIconForNumber->setAutoresizingMask(kStickRight);
    for (const platform::ui::ViewPtr& part : std::initializer_list<platform::ui::ViewPtr>{
             banner.icon, banner.twoLineTopLabel, banner.twoLineBottomLabel, banner.numberLabel,
             banner.smallHalcyonIconForNumber})
        banner.viewToMove->addSubview(part);
}

template <class T>
void registerUnlessPresent(void (*extra)(T&))
{
    const std::string name = T::notificationViewName();
    if (platform::ui::NibRegistry::exists(name)) return;
    platform::ui::NibRegistry::registerNib(name, [extra](const platform::ObjectPtr&) { return build<T>(extra); });
}

}  // namespace

void HCBannerLayouts::registerMissing()
{
    HC_CHECK_MAIN_THREAD();
    registerUnlessPresent<HCNotificationView>(nullptr);
    registerUnlessPresent<HCAchievementNotificationView>(&addAchievementParts);
    registerUnlessPresent<HCChallengeNotificationView>(&addChallengeParts);
    registerUnlessPresent<HCServerNotificationView>(&addServerParts);
}

platform::ui::ViewPtr HCBannerLayouts::loadView(const std::string& name)
{
    HC_CHECK_MAIN_THREAD();
    registerMissing();
    if (auto loader = HCNotificationHooks::installed().loadView) {
        if (auto view = loader(name)) return view;
    }
    auto objects = platform::ui::NibRegistry::loadNibNamed(name, nullptr);
    if (objects) {
        for (const auto& object : objects->items())
            if (auto view = std::dynamic_pointer_cast<platform::ui::View>(object)) return view;
    }
    platform::log(platform::LogLevel::Error, "No banner layout \"" + name + "\".");
    return nullptr;
}
