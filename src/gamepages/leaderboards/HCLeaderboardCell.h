#pragma once
// A row of the leaderboard list: the board's name.
//
// Thread: main thread.
#include <memory>

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCLeaderboardCell : public HCTableCellHelper {
public:
    static constexpr double kHeight = 44;
    HCLeaderboardCell();

    const std::shared_ptr<platform::ui::Label>& titleLabel() const { return titleLabel_; }
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCLeaderboardCell"; }

private:
    std::shared_ptr<platform::ui::ImageView> leaderboardIcon_;
    std::shared_ptr<platform::ui::Label> titleLabel_;
};
