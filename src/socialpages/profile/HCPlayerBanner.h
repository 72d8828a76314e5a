#pragma once
// The strip at the top of the player's own pages: a player's picture and
// name. A touch on it runs the page's action (My Halcyon opens the own
// profile; the own profile opens the picture page).
//
// Thread: main thread.
#include <functional>
#include <memory>

#include "core/images/HCImageView.h"
#include "core/users/HCUser.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

class HCPlayerBanner final : public platform::ui::View {
public:
    static constexpr double kHeight = 56;

    static std::shared_ptr<HCPlayerBanner> make(double width);
    explicit HCPlayerBanner(double width);

    void showUser(const std::shared_ptr<HCUser>& user);
    void setTouchedAction(std::function<void()> action) { touched_ = std::move(action); }
    // The control the player touches.
    const platform::ui::ButtonPtr& touchArea() const { return touchArea_; }

    std::string kindName() const override { return "HCPlayerBanner"; }

private:
    std::shared_ptr<HCImageView> picture_;
    std::shared_ptr<platform::ui::Label> name_;
    platform::ui::ButtonPtr touchArea_;
    std::function<void()> touched_;
};
