#pragma once
// A row of the player's own achievements (cell "AchievementProgressionList"):
// icon (the achievement's once unlocked, a lock before), title and
// description ("Secret" until a secret one has progress), the gamerscore,
// and for progress between 1 and 99 percent a bar with the percentage in a
// bubble over its end. The row takes no touches unless its page makes it
// (the brag page): then it shows a disclosure sign instead of the
// gamerscore. An achievement is unlocked here at exactly 100 percent.
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCAchievementProgressionList : public HCTableCellHelper {
public:
    static constexpr double kHeight = 80;
    static constexpr const char* kSecretTitle = "Secret";
    static constexpr const char* kSecretDescription = "You must unlock this achievement to view its description.";

    HCAchievementProgressionList();

    void onResourceChanged(const platform::ObjectPtr& resource) override;
    void layoutSubviews() override;
    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCAchievementProgressionList"; }

private:
    std::shared_ptr<platform::ui::Label> titleLabel_;
    std::shared_ptr<platform::ui::Label> descriptionLabel_;
    std::shared_ptr<HCImageView> unlockedIcon_;
    std::shared_ptr<platform::ui::View> gamerScoreContainer_;
    std::shared_ptr<platform::ui::Label> gamerScoreLabel_;
    std::shared_ptr<HCImageView> progressBackground_;
    std::shared_ptr<HCImageView> progressBar_;
    std::shared_ptr<platform::ui::View> progressionBubbleContainer_;
    std::shared_ptr<platform::ui::Label> progressAmountBubbleLabel_;
    std::shared_ptr<platform::ui::ImageView> disclosureIcon_;
    // No bar: title and description move up.
    bool textNeedsRearrangement_ = true;
    double percentComplete_ = 0;
};
