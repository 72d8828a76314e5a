#pragma once
// The two rows that lead to bragging about achievements.
//
// HCAchievementProgressionListLeadingCell ("AchievementProgressionListLeading"):
// above the player's own list, opens the brag page.
//
// HCSelectAchievementToShareLeadingCell ("SelectAchievementToShareLeading"):
// atop the brag page, brags about all achievements at once; it shows
// "<unlocked> out of <total> achievements unlocked", counted on the device
// when shown, beside the running game's icon.
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCAchievementProgressionListLeadingCell : public HCTableCellHelper {
public:
    static constexpr const char* kText = "Share your achievements";
    HCAchievementProgressionListLeadingCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCAchievementProgressionListLeadingCell"; }
};

class HCSelectAchievementToShareLeadingCell : public HCTableCellHelper {
public:
    HCSelectAchievementToShareLeadingCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCSelectAchievementToShareLeadingCell"; }

private:
    std::shared_ptr<platform::ui::Label> label_;
    std::shared_ptr<HCImageView> gameIcon_;
};
