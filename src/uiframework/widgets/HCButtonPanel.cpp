#include "uiframework/widgets/HCButtonPanel.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/ThreadChecker.h"

HCButtonPanel::HCButtonPanel(const platform::ui::Rect& frame) : platform::ui::View(frame) {}

void HCButtonPanel::configureMaxButtonCount(unsigned maxButtons, platform::ui::Size buttonSize, double buttonSpacing,
                                            platform::ui::ImagePtr emptyImage)
{
    HC_CHECK_MAIN_THREAD();
    maxButtons_ = maxButtons;
    buttonSize_ = buttonSize;
    spacing_ = std::max(0.0, buttonSpacing);
    emptyImage_ = std::move(emptyImage);
    for (const auto& [position, view] : emptySlots_) view->removeFromSuperview();
    emptySlots_.clear();
    // Buttons beyond the new slots leave.
    for (auto it = buttons_.begin(); it != buttons_.end();) {
        if (it->first >= maxButtons_) {
            decorations_.erase(it->second.get());
            it->second->removeFromSuperview();
            it = buttons_.erase(it);
        } else {
            ++it;
        }
    }
    relayout();
}

void HCButtonPanel::setFixedNumColumns(unsigned columns)
{
    HC_CHECK_MAIN_THREAD();
    fixedColumns_ = columns;
    relayout();
}

void HCButtonPanel::setCenteredVertically(bool centered)
{
    HC_CHECK_MAIN_THREAD();
    centeredVertically_ = centered;
    relayout();
}

void HCButtonPanel::setWithNavBar(bool withNavBar)
{
    HC_CHECK_MAIN_THREAD();
    withNavBar_ = withNavBar;
    relayout();
}

void HCButtonPanel::setHeaderView(const platform::ui::ViewPtr& header)
{
    HC_CHECK_MAIN_THREAD();
    if (header_) header_->removeFromSuperview();
    header_ = header;
    if (header_) addSubview(header_);
    relayout();
}

bool HCButtonPanel::setButton(const platform::ui::ButtonPtr& button, unsigned position)
{
    HC_CHECK_MAIN_THREAD();
    if (!button || position >= maxButtons_) return false;
    for (auto it = buttons_.begin(); it != buttons_.end(); ++it) {
        if (it->second == button) {
            buttons_.erase(it);
            break;
        }
    }
    if (auto old = buttonAtPosition(position); old && old != button) {
        decorations_.erase(old.get());
        old->removeFromSuperview();
    }
    buttons_[position] = button;
    button->setHidden(false);
    addSubview(button);
    relayout();
    return true;
}

platform::ui::ButtonPtr HCButtonPanel::buttonAtPosition(unsigned position) const
{
    auto it = buttons_.find(position);
    return it == buttons_.end() ? nullptr : it->second;
}

void HCButtonPanel::disableButton(const platform::ui::ButtonPtr& button, const platform::ui::ImagePtr& decorationImage)
{
    HC_CHECK_MAIN_THREAD();
    if (!button) return;
    button->setEnabled(false);
    button->setAlpha(kDisabledAlpha);
    disabled_.push_back(button);
    if (decorationImage) {
        auto decoration = platform::ui::ImageView::withImage(decorationImage);
        decoration->setUserInteractionEnabled(false);
        decorations_[button.get()] = decoration;
        addSubview(decoration);
    }
    relayout();
}

void HCButtonPanel::removeAllButtons()
{
    HC_CHECK_MAIN_THREAD();
    for (const auto& [position, button] : buttons_) button->removeFromSuperview();
    for (const auto& [button, decoration] : decorations_) decoration->removeFromSuperview();
    // What the panel disabled comes back whole, so a page that lays its
    // buttons out again (back online) gets working buttons.
    for (const auto& button : disabled_) {
        button->setEnabled(true);
        button->setAlpha(1);
    }
    buttons_.clear();
    decorations_.clear();
    disabled_.clear();
    relayout();
}

unsigned HCButtonPanel::numColumns() const
{
    if (fixedColumns_ > 0) return fixedColumns_;
    const double step = buttonSize_.width + spacing_;
    if (step <= 0) return 1;
    const auto fitting = static_cast<unsigned>(std::floor((bounds().width() + spacing_) / step));
    return std::clamp(fitting, 1u, std::max(1u, maxButtons_));
}

platform::ui::Rect HCButtonPanel::frameForPosition(unsigned position) const
{
    const unsigned columns = numColumns();
    const unsigned rows = maxButtons_ == 0 ? 0 : (maxButtons_ + columns - 1) / columns;
    const double gridWidth = columns * buttonSize_.width + (columns > 0 ? (columns - 1) * spacing_ : 0);
    const double gridHeight = rows * buttonSize_.height + (rows > 0 ? (rows - 1) * spacing_ : 0);
    double top = withNavBar_ ? kNavigationBarHeight : 0;
    if (header_) top += header_->frame().height();
    if (centeredVertically_) top += std::max(0.0, (bounds().height() - top - gridHeight) / 2);
    const double left = std::max(0.0, (bounds().width() - gridWidth) / 2);
    const unsigned row = position / columns;
    const unsigned column = position % columns;
    return platform::ui::Rect(left + column * (buttonSize_.width + spacing_), top + row * (buttonSize_.height + spacing_),
                              buttonSize_.width, buttonSize_.height);
}

void HCButtonPanel::relayout()
{
    setNeedsLayout();
    layoutIfNeeded();
}

void HCButtonPanel::layoutSubviews()
{
    if (header_) {
        auto frame = header_->frame();
        header_->setFrame(platform::ui::Rect(0, withNavBar_ ? kNavigationBarHeight : 0, bounds().width(), frame.height()));
    }
    for (unsigned position = 0; position < maxButtons_; ++position) {
        const auto slot = frameForPosition(position);
        auto button = buttonAtPosition(position);
        auto empty = emptySlots_.find(position);
        if (button) {
            button->setFrame(slot);
            if (auto decoration = decorations_.find(button.get()); decoration != decorations_.end()) {
                decoration->second->setCenter(button->center());
                bringSubviewToFront(decoration->second);
            }
        }
        const bool showEmpty = !button && emptyImage_;
        if (showEmpty && empty == emptySlots_.end()) {
            auto view = platform::ui::ImageView::withImage(emptyImage_);
            emptySlots_[position] = view;
            insertSubview(view, 0);
            empty = emptySlots_.find(position);
        }
        if (empty != emptySlots_.end()) {
            empty->second->setHidden(!showEmpty);
            empty->second->setFrame(slot);
        }
    }
    for (auto it = emptySlots_.begin(); it != emptySlots_.end();) {
        if (it->first >= maxButtons_ || !emptyImage_) {
            it->second->removeFromSuperview();
            it = emptySlots_.erase(it);
        } else {
            ++it;
        }
    }
}
