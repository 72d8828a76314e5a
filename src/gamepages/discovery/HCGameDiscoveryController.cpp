#include "gamepages/discovery/HCGameDiscoveryController.h"

#include "gamepages/discovery/HCGameDiscoveryLook.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "social/discovery/HCGameDiscoveryService.h"

void HCGameDiscoveryController::doIndexActionWithPage(int, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HCGameDiscoveryService::getGameDiscoveryCategories(onSuccess, onFailure);
}

void HCGameDiscoveryController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    setScope(2);
    HCPlayedGameController::viewWillAppear(animated);
    setTargetDiscoveryPageName(std::string());
}

void HCGameDiscoveryController::_createAndDisplayTableHeader()
{
    HCPlayedGameController::_createAndDisplayTableHeader();
    using platform::ui::Rect;
    const double width = pageContentView()->bounds().width();
    auto footer = platform::ui::View::make(Rect(0, 0, width, kFooterHeight));
    footer->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth);
    const double line = HCGameDiscoveryLook::kDividerHeight;
    footer->addSubview(HCGameDiscoveryLook::strip(HCGameDiscoveryLook::kGreyBackground, Rect(0, 0, width, kFooterHeight)));
    footer->addSubview(HCGameDiscoveryLook::strip(HCGameDiscoveryLook::kDividerTop, Rect(0, 0, width, line)));
    footer->addSubview(
        HCGameDiscoveryLook::strip(HCGameDiscoveryLook::kDividerBottom, Rect(0, kFooterHeight - line, width, line)));
    auto label = platform::ui::Label::make(Rect(0, 0, width, kFooterHeight));
    label->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth);
    label->setBackgroundColor(platform::ui::Color::clearColor());
    label->setFont(platform::ui::Font::boldSystemFontOfSize(14.0));
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumFontSize(10.0);
    label->setTextColor(platform::ui::Color::whiteColor());
    label->setShadowColor(platform::ui::Color::blackColor());
    label->setShadowOffset(platform::ui::Size(0, -1));
    label->setTextAlignment(platform::ui::TextAlignment::Center);
    label->setText(kFooterText);
    footer->addSubview(label);
    tableView()->setTableFooterView(footer);
}
