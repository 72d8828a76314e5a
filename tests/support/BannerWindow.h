#pragma once
// A key window that remembers every banner that slid into it, for tests of
// the callers of banners: what each said, and whether it showed the failure
// status icon ("text [failed]") or none ("text [ok]").
//
// Header-only; include it only in test programs that link the core layer.
#include <memory>
#include <string>
#include <vector>

#include "core/banners/HCNotificationView.h"
#include "platform/ui/Driver.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace testsupport {

class BannerWindow final : public platform::ui::Window {
public:
    using Window::Window;

    static std::shared_ptr<BannerWindow> show()
    {
        auto window = std::make_shared<BannerWindow>(platform::ui::Screen::mainScreen()->bounds());
        window->makeKeyAndVisible();
        return window;
    }

    // Shown but not key: for a game's presentation window beside screens
    // that make their own key windows.
    static std::shared_ptr<BannerWindow> showAside()
    {
        auto window = std::make_shared<BannerWindow>(platform::ui::Screen::mainScreen()->bounds());
        window->setHidden(false);
        return window;
    }

    void didAddSubview(const platform::ui::ViewPtr& view) override
    {
        if (auto banner = std::dynamic_pointer_cast<HCNotificationView>(view)) shown.push_back(banner);
    }

    // The visible texts of a banner, " | " between them.
    static std::string textOf(const std::shared_ptr<HCNotificationView>& banner)
    {
        std::string text;
        for (const auto& label : platform::ui::Driver::findAll<platform::ui::Label>(banner)) {
            if (label->text().empty()) continue;
            text += (text.empty() ? "" : " | ") + label->text();
        }
        return text;
    }

    static bool showsStatus(const std::shared_ptr<HCNotificationView>& banner)
    {
        return banner->statusIndicator && !banner->statusIndicator->isHidden();
    }

    // Every banner so far as "text [ok]" or "text [failed]".
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const auto& banner : shown) out.push_back(textOf(banner) + (showsStatus(banner) ? " [failed]" : " [ok]"));
        return out;
    }

    // The banners in the window now.
    std::vector<std::shared_ptr<HCNotificationView>> onScreen() const
    {
        std::vector<std::shared_ptr<HCNotificationView>> out;
        for (const auto& view : subviews())
            if (auto banner = std::dynamic_pointer_cast<HCNotificationView>(view)) out.push_back(banner);
        return out;
    }

    std::vector<std::shared_ptr<HCNotificationView>> shown;
};

}  // namespace testsupport
