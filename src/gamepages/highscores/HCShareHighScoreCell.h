#pragma once
// The row under the player's own ranked score that offers to brag about it.
//
// Thread: main thread.
#include "uiframework/table/HCTableCellHelper.h"

class HCShareHighScoreCell : public HCTableCellHelper {
public:
    static constexpr const char* kTitle = "Share your high score";
    HCShareHighScoreCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCShareHighScoreCell"; }
};
