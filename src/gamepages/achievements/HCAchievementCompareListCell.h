#pragma once
// A row of a compared achievement list (cell "AchievementCompareList"): the
// other player's state in the first column and the local player's in the
// second, title, description and gamerscore. The other player's unlock
// shows the real icon only when the local player has it too, and a secret
// achievement reads "Secret" until the local player unlocks it. Without a
// compared player only the first column shows, with the local player's state.
// The row grows with its description.
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCAchievementCompareListCell : public HCTableCellHelper {
public:
    HCAchievementCompareListCell();

    void onResourceChanged(const platform::ObjectPtr& resource) override;
    std::string kindName() const override { return "HCAchievementCompareListCell"; }

private:
    std::shared_ptr<platform::ui::Label> titleLabel_;
    std::shared_ptr<platform::ui::Label> descriptionLabel_;
    std::shared_ptr<platform::ui::View> firstIconContainer_;
    std::shared_ptr<platform::ui::View> secondIconContainer_;
    std::shared_ptr<HCImageView> firstUnlockedIcon_;
    std::shared_ptr<HCImageView> secondUnlockedIcon_;
    std::shared_ptr<platform::ui::View> gamerScoreContainer_;
    std::shared_ptr<platform::ui::Label> gamerScoreLabel_;
};
