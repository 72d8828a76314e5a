#include "uiframework/widgets/HCBadgeView.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Layer.h"
#include "platform/ui/TextMetrics.h"

namespace {
constexpr double kPadding = 6;
}  // namespace

HCBadgeView::HCBadgeView(const platform::ui::Color& color)
    : platform::ui::View(platform::ui::Rect(0, 0, kHeight, kHeight))
{
    setBackgroundColor(color);
    layer()->setCornerRadius(kHeight / 2);
    layer()->setBorderWidth(2);
    layer()->setBorderColor(platform::ui::Color::whiteColor());
    label_->setTextColor(platform::ui::Color::whiteColor());
    label_->setTextAlignment(platform::ui::TextAlignment::Center);
    label_->setFont(platform::ui::Font::boldSystemFontOfSize(13));
    setHidden(true);
}

std::shared_ptr<HCBadgeView> HCBadgeView::make(const platform::ui::Color& color)
{
    HC_CHECK_MAIN_THREAD();
    auto badge = std::make_shared<HCBadgeView>(color);
    badge->addSubview(badge->label_);
    return badge;
}

std::shared_ptr<HCBadgeView> HCBadgeView::greenBadge()
{
    return make(platform::ui::Color(0.2, 0.65, 0.2));
}

std::shared_ptr<HCBadgeView> HCBadgeView::redBadge()
{
    return make(platform::ui::Color(0.85, 0.1, 0.1));
}

void HCBadgeView::setValue(int value)
{
    setValueText(std::to_string(value));
}

void HCBadgeView::setValueText(const std::string& text)
{
    HC_CHECK_MAIN_THREAD();
    label_->setText(text);
    setHidden(text.empty() || text == "0");
    // Keeps its centre: badges are placed by their centre.
    const auto center = this->center();
    const double width = std::max(kHeight, std::ceil(platform::ui::textAdvance(text, *label_->font())) + 2 * kPadding);
    setBounds(platform::ui::Rect(0, 0, width, kHeight));
    setCenter(center);
    label_->setFrame(platform::ui::Rect(0, 0, width, kHeight));
}
