#pragma once
// An on/off switch. Setting it in code sends nothing; a person's tap
// (Control::tap, or toggle()) flips it and sends value changed.
//
// Thread: main thread only.
#include <string>

#include "platform/ui/Control.h"

namespace platform::ui {

class Switch : public Control {
public:
    // The platform's switches have one size.
    static constexpr Size kSize{94, 27};

    explicit Switch(const Rect& frame = Rect());
    static std::shared_ptr<Switch> make(const Rect& frame = Rect()) { return std::make_shared<Switch>(frame); }

    bool isOn() const { return on_; }
    void setOn(bool on, bool animated = false);
    // A person flips it: same as tap(); answers whether it took the tap.
    bool toggle() { return tap(); }

    Size sizeThatFits(Size size) const override;
    std::string kindName() const override { return "Switch"; }
    // "on" or "off", then "disabled" when it is.
    std::string describe() const override;

protected:
    void handleTap() override;

private:
    bool on_ = false;
};

using SwitchPtr = std::shared_ptr<Switch>;

}  // namespace platform::ui
