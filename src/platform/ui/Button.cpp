#include "platform/ui/Button.h"

#include <algorithm>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/TextInput.h"

namespace platform::ui {

namespace {

constexpr double kRoundedMargin = 10;
constexpr Size kAccessoryButtonSize{22, 22};

template <class T>
void store(std::map<unsigned, T>& values, unsigned state, std::optional<T> value)
{
    if (value) {
        values[state] = std::move(*value);
    } else {
        values.erase(state);
    }
}

}  // namespace

template <class T>
T Button::lookup(const std::map<unsigned, T>& values, unsigned state)
{
    auto it = values.find(state);
    if (it == values.end()) it = values.find(ControlStateNormal);
    return it == values.end() ? T() : it->second;
}

Button::Button(ButtonType type, const Rect& frame)
    : Control(frame),
      type_(type),
      titleLabel_(Label::make()),
      imageView_(ImageView::make())
{
    titleLabel_->setFont(Font::boldSystemFontOfSize(15));
    titleLabel_->setTextAlignment(TextAlignment::Center);
    titleLabel_->setTextColor(currentTitleColor());
}

void Button::setTitle(std::optional<std::string> title, unsigned state)
{
    HC_CHECK_MAIN_THREAD();
    store(titles_, state, std::move(title));
    refresh();
}

std::optional<std::string> Button::titleForState(unsigned state) const
{
    auto it = titles_.find(state);
    if (it == titles_.end()) it = titles_.find(ControlStateNormal);
    if (it == titles_.end()) return std::nullopt;
    return it->second;
}

void Button::setTitleColor(std::optional<Color> color, unsigned state)
{
    HC_CHECK_MAIN_THREAD();
    store(titleColors_, state, color);
    refresh();
}

std::optional<Color> Button::titleColorForState(unsigned state) const
{
    auto it = titleColors_.find(state);
    if (it == titleColors_.end()) it = titleColors_.find(ControlStateNormal);
    if (it == titleColors_.end()) return std::nullopt;
    return it->second;
}

void Button::setImage(ImagePtr image, unsigned state)
{
    HC_CHECK_MAIN_THREAD();
    store(images_, state, image ? std::optional<ImagePtr>(std::move(image)) : std::nullopt);
    refresh();
}

ImagePtr Button::imageForState(unsigned state) const { return lookup(images_, state); }

void Button::setBackgroundImage(ImagePtr image, unsigned state)
{
    HC_CHECK_MAIN_THREAD();
    store(backgroundImages_, state, image ? std::optional<ImagePtr>(std::move(image)) : std::nullopt);
    refresh();
}

ImagePtr Button::backgroundImageForState(unsigned state) const { return lookup(backgroundImages_, state); }

Color Button::currentTitleColor() const
{
    if (auto color = titleColorForState(state())) return *color;
    // The platform's defaults: dark blue text on rounded buttons, white on custom ones.
    return type_ == ButtonType::RoundedRect ? Color(0.196, 0.310, 0.522) : Color::whiteColor();
}

void Button::stateDidChange() { refresh(); }

void Button::refresh()
{
    titleLabel_->setText(currentTitle().value_or(""));
    titleLabel_->setTextColor(currentTitleColor());
    imageView_->setImage(currentImage());
}

Size Button::sizeThatFits(Size size) const
{
    (void)size;
    if (type_ != ButtonType::Custom && type_ != ButtonType::RoundedRect) return kAccessoryButtonSize;
    Size fit;
    const auto title = currentTitle();
    if (title && !title->empty()) fit = sizeWithFont(*title, *titleLabel_->font());
    if (const auto image = currentImage()) {
        fit.width += image->size().width;
        fit.height = std::max(fit.height, image->size().height);
    }
    if (type_ == ButtonType::RoundedRect) {
        fit.width += 2 * kRoundedMargin;
        fit.height += kRoundedMargin;
    }
    if (const auto background = currentBackgroundImage()) {
        fit.width = std::max(fit.width, background->size().width);
        fit.height = std::max(fit.height, background->size().height);
    }
    return fit;
}

std::string Button::describe() const
{
    std::string text;
    const auto title = currentTitle();
    if (title && !title->empty()) {
        text = quotedForDump(*title);
    } else if (const auto image = currentImage(); image && !image->name().empty()) {
        text = image->name();
    }
    const auto flag = [&text](const char* word) {
        if (!text.empty()) text += " ";
        text += word;
    };
    if (!isEnabled()) flag("disabled");
    if (isSelected()) flag("selected");
    return text;
}

}  // namespace platform::ui
