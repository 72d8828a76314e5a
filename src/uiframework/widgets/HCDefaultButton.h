#pragma once
// The dashboard's buttons: HCDefaultButton (the plain dashboard button, and
// the small green one), and the red and green bordered looks that a page
// gives a button it already has (a friend button that turns from "Add
// Friend" to "Remove Friend").
//
// Thread: main thread.
#include <memory>
#include <string>

#include "platform/ui/Button.h"

class HCDefaultButton : public platform::ui::Button {
public:
    explicit HCDefaultButton(const platform::ui::Rect& frame = platform::ui::Rect());
    // A small green button.
    static std::shared_ptr<HCDefaultButton> greenButton(const platform::ui::Rect& frame);

    // The same title in the normal, highlighted, selected and disabled states.
    void setTitleForAllStates(const std::string& title);
    std::string kindName() const override { return "HCDefaultButton"; }
};

class HCRedBorderedButton {
public:
    static void setupButton(platform::ui::Button& button);
};

class HCGreenBorderedButton {
public:
    static void setupButton(platform::ui::Button& button);
};
