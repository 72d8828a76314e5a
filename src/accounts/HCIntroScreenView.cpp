#include "accounts/HCIntroScreenView.h"

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace hcintro {

platform::ui::ViewPtr makeScreenView(const std::string& message, const std::vector<ButtonAction>& buttons)
{
    using namespace platform::ui;
    const Rect frame = Screen::mainScreen()->applicationFrame();
    auto root = View::make(Rect(0, 0, frame.size.width, frame.size.height));
    auto label = Label::make(Rect(20, 40, frame.size.width - 40, 60));
    label->setText(message);
    root->addSubview(label);
    double y = 120;
    for (const auto& [title, action] : buttons) {
        auto button = std::make_shared<Button>(ButtonType::RoundedRect, Rect(20, y, frame.size.width - 40, 44));
        button->setTitle(title, ControlStateNormal);
        button->addTarget(button.get(), [action](Control&) { action(); }, ControlEventTouchUpInside);
        root->addSubview(button);
        y += 60;
    }
    return root;
}

}  // namespace hcintro
