#include "uiframework/widgets/HCDefaultButton.h"

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Layer.h"
#include "uiframework/HCUIKitCategories.h"

namespace {

const platform::ui::Color kGreen(0.2, 0.6, 0.2);
const platform::ui::Color kRed(0.8, 0.1, 0.1);
const platform::ui::Color kDefault(0.25, 0.27, 0.3);
constexpr double kCornerRadius = 6;

void applyLook(platform::ui::Button& button, const platform::ui::Color& fill)
{
    button.setBackgroundColor(fill);
    button.layer()->setCornerRadius(kCornerRadius);
    button.setTitleColor(platform::ui::Color::whiteColor(), platform::ui::ControlStateNormal);
    button.setTitleColor(platform::ui::Color::lightGrayColor(), platform::ui::ControlStateDisabled);
}

// A bordered button keeps a clear face: the border and the title carry the colour.
void applyBorder(platform::ui::Button& button, const platform::ui::Color& color)
{
    HC_CHECK_MAIN_THREAD();
    button.setBackgroundColor(platform::ui::Color::clearColor());
    button.layer()->setCornerRadius(kCornerRadius);
    button.layer()->setBorderWidth(2);
    button.layer()->setBorderColor(color);
    button.setTitleColor(color, platform::ui::ControlStateNormal);
}

}  // namespace

HCDefaultButton::HCDefaultButton(const platform::ui::Rect& frame)
    : platform::ui::Button(platform::ui::ButtonType::Custom, frame)
{
    applyLook(*this, kDefault);
}

std::shared_ptr<HCDefaultButton> HCDefaultButton::greenButton(const platform::ui::Rect& frame)
{
    HC_CHECK_MAIN_THREAD();
    auto button = std::make_shared<HCDefaultButton>(frame);
    applyLook(*button, kGreen);
    return button;
}

void HCDefaultButton::setTitleForAllStates(const std::string& title)
{
    ::setTitleForAllStates(*this, title);
}

void HCRedBorderedButton::setupButton(platform::ui::Button& button)
{
    applyBorder(button, kRed);
}

void HCGreenBorderedButton::setupButton(platform::ui::Button& button)
{
    applyBorder(button, kGreen);
}
