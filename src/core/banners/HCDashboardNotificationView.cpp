#include "core/banners/HCDashboardNotificationView.h"

#include <cmath>

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextMetrics.h"

using platform::ui::Rect;

namespace {

// Landscape on a large screen always; else when the dashboard is turned.
bool isInLandscapeMode()
{
    if (platform::ui::Screen::mainScreen()->bounds().maxX() >= 768.0) return true;
    const int orientation = Halcyon::getDashboardOrientation();
    return orientation == 3 || orientation == 4;
}

}  // namespace

std::shared_ptr<HCDashboardNotificationView> HCDashboardNotificationView::notificationWithText(const std::string& text)
{
    HC_CHECK_MAIN_THREAD();
    auto strip = std::make_shared<HCDashboardNotificationView>();
    strip->initWithText(text);
    return strip;
}

void HCDashboardNotificationView::initWithText(const std::string& text)
{
    const auto screen = platform::ui::Screen::mainScreen()->bounds().size;
    const double width = isInLandscapeMode() ? screen.height : screen.width;
    setFrame(Rect(0, 0, width, kHeight));

    auto backgroundImage = HCImageLoader::loadImage("HalcyonDashboardNotificationBackground.png");
    auto background = platform::ui::ImageView::withImage(backgroundImage);
    background->setFrame(Rect(0, 0, width, kHeight));
    background->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth);
    addSubview(background);

    auto font = platform::ui::Font::boldSystemFontOfSize(11);
    const double backgroundHeight = backgroundImage ? backgroundImage->size().height : kHeight;
    const double textWidth = platform::ui::sizeWithFont(text, *font, {width, backgroundHeight}).width;
    auto arrowImage = HCImageLoader::loadImage("HalcyonNotificationDisclosureArrow.png");
    const double arrowWidth = arrowImage ? arrowImage->size().width : 0;
    const double used = textWidth + arrowWidth + 2.0 < width ? textWidth + arrowWidth + 2.0 : width;
    const double left = std::floor((width - used) * 0.5);

    label = std::make_shared<platform::ui::Label>(Rect(left, 2.0, width, 21.0));
    label->setText(text);
    label->setFont(font);
    label->setTextColor(platform::ui::Color::withWhite(0.6157));
    label->setShadowColor(platform::ui::Color::withWhite(0.1686));
    label->setShadowOffset({1.0, 0.0});
    label->setBackgroundColor(platform::ui::Color::clearColor());
    label->setOpaque(false);
    addSubview(label);

    arrow = platform::ui::ImageView::withImage(arrowImage);
    const double arrowHeight = arrowImage ? arrowImage->size().height : 0;
    arrow->setFrame(Rect(used - arrowWidth + left, 2.0 + 10.5 - arrowHeight / 2, arrowWidth, arrowHeight));
    addSubview(arrow);

    setAutoresizesSubviews(true);
    setAutoresizingMask(platform::ui::AutoresizingFlexibleTopMargin);
}
