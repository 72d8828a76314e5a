#include "uiframework/HCLoadingView.h"

#include "platform/runtime/ThreadChecker.h"

namespace {
constexpr double kLabelHeight = 24;
constexpr double kGap = 8;
}  // namespace

HCLoadingView::HCLoadingView(const platform::ui::Rect& frame) : platform::ui::View(frame)
{
    setBackgroundColor(platform::ui::Color(0, 0, 0, 0.5));
    setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth | platform::ui::AutoresizingFlexibleHeight);
}

std::shared_ptr<HCLoadingView> HCLoadingView::make(const platform::ui::Rect& frame)
{
    HC_CHECK_MAIN_THREAD();
    auto view = std::make_shared<HCLoadingView>(frame);
    view->indicator_ = platform::ui::ActivityIndicatorView::make(platform::ui::ActivityIndicatorStyle::WhiteLarge);
    view->indicator_->sizeToFit();
    view->label_ = platform::ui::Label::make();
    view->label_->setText(kText);
    view->label_->setTextAlignment(platform::ui::TextAlignment::Center);
    view->label_->setTextColor(platform::ui::Color::whiteColor());
    view->addSubview(view->indicator_);
    view->addSubview(view->label_);
    view->indicator_->startAnimating();
    view->layoutSubviews();
    return view;
}

void HCLoadingView::layoutSubviews()
{
    const auto b = bounds();
    const auto spin = indicator_->frame().size;
    const double top = (b.size.height - spin.height - kGap - kLabelHeight) / 2;
    indicator_->setFrame(platform::ui::Rect((b.size.width - spin.width) / 2, top, spin.width, spin.height));
    label_->setFrame(platform::ui::Rect(0, top + spin.height + kGap, b.size.width, kLabelHeight));
}
