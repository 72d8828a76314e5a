#pragma once
// A push button: a title, an image and a background image for each control
// state, shown through its titleLabel and imageView. What the button shows
// in a state is that state's value, or the normal state's when the state has
// none of its own.
//
// A person's tap (Control::tap) highlights it, sends touch down, unhighlights
// it and sends touch up inside; a disabled, hidden or untouchable button (or
// one inside a hidden or untouchable view) ignores the tap.
//
// Thread: main thread only.
#include <map>
#include <optional>
#include <string>

#include "platform/ui/Control.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace platform::ui {

// Numbers match the platform's button types.
enum class ButtonType : int {
    Custom = 0,
    RoundedRect = 1,
    DetailDisclosure = 2,
    InfoLight = 3,
    InfoDark = 4,
    ContactAdd = 5,
};

class Button : public Control {
public:
    explicit Button(ButtonType type = ButtonType::Custom, const Rect& frame = Rect());
    static std::shared_ptr<Button> buttonWithType(ButtonType type) { return std::make_shared<Button>(type); }

    ButtonType buttonType() const { return type_; }

    // `state` is a ControlState value; nullopt / nullptr clears that state's own value.
    void setTitle(std::optional<std::string> title, unsigned state);
    std::optional<std::string> titleForState(unsigned state) const;
    void setTitleColor(std::optional<Color> color, unsigned state);
    std::optional<Color> titleColorForState(unsigned state) const;
    void setImage(ImagePtr image, unsigned state);
    ImagePtr imageForState(unsigned state) const;
    void setBackgroundImage(ImagePtr image, unsigned state);
    ImagePtr backgroundImageForState(unsigned state) const;

    // For the current state.
    std::optional<std::string> currentTitle() const { return titleForState(state()); }
    Color currentTitleColor() const;
    ImagePtr currentImage() const { return imageForState(state()); }
    ImagePtr currentBackgroundImage() const { return backgroundImageForState(state()); }

    // Kept showing the current title and image; not subviews of the button.
    const LabelPtr& titleLabel() const { return titleLabel_; }
    const ImageViewPtr& imageView() const { return imageView_; }

    // The title beside the image, with the rounded style's margins; at least
    // the background image's size.
    Size sizeThatFits(Size size) const override;

    std::string kindName() const override { return "Button"; }
    // The title in double quotes (or the image's name when there is no
    // title), then "disabled" and "selected" when they hold.
    std::string describe() const override;

protected:
    void stateDidChange() override;

private:
    template <class T>
    static T lookup(const std::map<unsigned, T>& values, unsigned state);
    void refresh();

    ButtonType type_;
    std::map<unsigned, std::string> titles_;
    std::map<unsigned, Color> titleColors_;
    std::map<unsigned, ImagePtr> images_;
    std::map<unsigned, ImagePtr> backgroundImages_;
    LabelPtr titleLabel_;
    ImageViewPtr imageView_;
};

using ButtonPtr = std::shared_ptr<Button>;

}  // namespace platform::ui
