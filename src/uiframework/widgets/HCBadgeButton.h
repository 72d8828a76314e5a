#pragma once
// A button with a red count at its top right corner (challenges waiting,
// unread announcements); the count hides at 0.
//
// Thread: main thread.
#include <memory>

#include "platform/ui/Button.h"
#include "uiframework/widgets/HCBadgeView.h"

class HCBadgeButton final : public platform::ui::Button {
public:
    explicit HCBadgeButton(const platform::ui::Rect& frame = platform::ui::Rect());
    static std::shared_ptr<HCBadgeButton> make(const platform::ui::Rect& frame = platform::ui::Rect());

    unsigned badgeNumber() const { return badgeNumber_; }
    void setBadgeNumber(unsigned number);
    const std::shared_ptr<HCBadgeView>& badgeView() const { return badge_; }

    void layoutSubviews() override;
    std::string kindName() const override { return "HCBadgeButton"; }

private:
    unsigned badgeNumber_ = 0;
    std::shared_ptr<HCBadgeView> badge_ = HCBadgeView::redBadge();
};
